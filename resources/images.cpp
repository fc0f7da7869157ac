#include "resources/images.h"

#include <wx/icon.h>
#include <wx/mstream.h>
#include <wx/vector.h>

#include <cstddef>

#include "resources/ids.h"
#include "resources/xpm_image.h"

// The XPM files are drawn by art/draw_art.py.
#include "resources/art/cursor_hand.xpm"
#include "resources/art/cursor_normal.xpm"
#include "resources/art/tool_clear.xpm"
#include "resources/art/tool_clear_64.xpm"
#include "resources/art/tool_create.xpm"
#include "resources/art/tool_create_64.xpm"
#include "resources/art/tool_preview.xpm"
#include "resources/art/tool_preview_64.xpm"
#include "resources/art/tool_view.xpm"
#include "resources/art/tool_view_64.xpm"

namespace lq {

struct EmbeddedFile {
  const unsigned char* data;
  std::size_t size;
};
extern const EmbeddedFile kAppIconPngs[];
extern const std::size_t kAppIconPngsCount;

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

wxBitmap ToolBitmap(int id, int pixels) {
  struct ToolArt {
    int id;
    const char* const* xpm_32;
    const char* const* xpm_64;
  };
  static constexpr ToolArt kTools[] = {
      {ids::kBitmapCreate, tool_create_xpm, tool_create_64_xpm},
      {ids::kBitmapView, tool_view_xpm, tool_view_64_xpm},
      {ids::kBitmapPreview, tool_preview_xpm, tool_preview_64_xpm},
      {ids::kBitmapClear, tool_clear_xpm, tool_clear_64_xpm},
  };
  if (pixels != 32 && pixels != 64) return wxNullBitmap;
  for (const ToolArt& art : kTools) {
    if (art.id == id) return wxBitmap(DecodeXpm(pixels == 32 ? art.xpm_32 : art.xpm_64));
  }
  return wxNullBitmap;
}

wxBitmapBundle ToolBitmapBundle(int id) {
  const wxBitmap art = ToolBitmap(id);
  if (!art.IsOk()) return wxBitmapBundle();
  wxVector<wxBitmap> sizes;
  sizes.push_back(art);
  sizes.push_back(ToolBitmap(id, 64));
  return wxBitmapBundle::FromBitmaps(sizes);
}

wxImage CursorImage(const std::string& name) {
  for (const CursorArt& art : kCursors) {
    if (name != art.name) continue;
    wxImage image = DecodeXpm(art.xpm);
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
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  wxIconBundle icons;
  for (std::size_t i = 0; i < kAppIconPngsCount; ++i) {
    wxMemoryInputStream in(kAppIconPngs[i].data, kAppIconPngs[i].size);
    const wxImage image(in, wxBITMAP_TYPE_PNG);
    if (!image.IsOk()) continue;
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(image));
    icons.AddIcon(icon);
  }
  return icons;
}

}  // namespace lq
