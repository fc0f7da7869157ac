#include "resources/images.h"

#include <wx/icon.h>

#include "resources/ids.h"

// The XPM files are drawn by art/draw_art.py.
#include "resources/art/app_icon_32.xpm"
#include "resources/art/app_icon_48.xpm"
#include "resources/art/cursor_hand.xpm"
#include "resources/art/cursor_normal.xpm"
#include "resources/art/tool_clear.xpm"
#include "resources/art/tool_create.xpm"
#include "resources/art/tool_preview.xpm"
#include "resources/art/tool_view.xpm"

namespace lq {
namespace {

struct CursorArt {
  const char* name;
  const char* const* xpm;
  int hot_x;
  int hot_y;
};

// Hotspots: the arrow's tip and the middle of the palm.
constexpr CursorArt kCursors[] = {
    {"CUR_NORMAL", cursor_normal_xpm, 0, 0},
    {"CUR_MANO", cursor_hand_xpm, 14, 20},
};

}  // namespace

wxBitmap ToolBitmap(int id) {
  switch (id) {
    case ids::kBitmapCreate:
      return wxBitmap(tool_create_xpm);
    case ids::kBitmapView:
      return wxBitmap(tool_view_xpm);
    case ids::kBitmapPreview:
      return wxBitmap(tool_preview_xpm);
    case ids::kBitmapClear:
      return wxBitmap(tool_clear_xpm);
    default:
      return wxNullBitmap;
  }
}

wxImage CursorImage(const std::string& name) {
  for (const CursorArt& art : kCursors) {
    if (name != art.name) continue;
    wxImage image(art.xpm);
    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, art.hot_x);
    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, art.hot_y);
    return image;
  }
  return wxNullImage;
}

wxCursor LoadCursorResource(const std::string& name) {
  const wxImage image = CursorImage(name);
  return image.IsOk() ? wxCursor(image) : wxNullCursor;
}

wxIconBundle AppIcons() {
  wxIconBundle icons;
  icons.AddIcon(wxIcon(app_icon_32_xpm));
  icons.AddIcon(wxIcon(app_icon_48_xpm));
  return icons;
}

}  // namespace lq
