#include "resources/images.h"

#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/xrc/xmlres.h>

#include <cstdlib>
#include <set>
#include <string>
#include <tuple>

#include "resources/ids.h"
#include "resources/resources.h"

namespace lq {
namespace {

// Distinct colours of the opaque pixels.
size_t OpaqueColours(const wxImage& image) {
  std::set<std::tuple<int, int, int>> colours;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      if (image.IsTransparent(x, y)) continue;
      colours.emplace(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
    }
  }
  return colours.size();
}

size_t TransparentPixels(const wxImage& image) {
  size_t n = 0;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) n += image.IsTransparent(x, y) ? 1 : 0;
  }
  return n;
}

TEST(Images, ToolBitmapsAre32x32In16ColoursOnATransparentGround) {
  for (int id : {ids::kBitmapCreate, ids::kBitmapView, ids::kBitmapPreview, ids::kBitmapClear}) {
    const wxBitmap bitmap = ToolBitmap(id);
    ASSERT_TRUE(bitmap.IsOk()) << id;
    EXPECT_EQ(bitmap.GetSize(), wxSize(32, 32)) << id;
    const wxImage image = bitmap.ConvertToImage();
    EXPECT_LE(OpaqueColours(image), 16u) << id;
    EXPECT_GE(OpaqueColours(image), 4u) << id;
    EXPECT_GT(TransparentPixels(image), 0u) << id;
    EXPECT_FALSE(image.IsTransparent(16, 16)) << id;
  }
}

TEST(Images, ToolBitmapsDiffer) {
  const auto data = [](int id) {
    const wxImage image = ToolBitmap(id).ConvertToImage();
    return std::string(reinterpret_cast<const char*>(image.GetData()), 32 * 32 * 3);
  };
  const int all[] = {ids::kBitmapCreate, ids::kBitmapView, ids::kBitmapPreview, ids::kBitmapClear};
  for (int a : all) {
    for (int b : all) {
      if (a != b) {
        EXPECT_NE(data(a), data(b)) << a << " and " << b;
      }
    }
  }
}

TEST(Images, UnknownToolBitmapIsInvalid) {
  EXPECT_FALSE(ToolBitmap(103).IsOk());  // a bitmap number the bars do not use
  EXPECT_FALSE(ToolBitmap(0).IsOk());
  EXPECT_FALSE(ToolBitmap(ids::kCreate).IsOk());
}

TEST(Images, CursorsAre32x32WithTheirHotspots) {
  struct Expected {
    const char* name;
    wxPoint hotspot;
  };
  for (const Expected& e : {Expected{"CUR_NORMAL", {0, 0}}, Expected{"CUR_MANO", {14, 20}}}) {
    const wxImage image = CursorImage(e.name);
    ASSERT_TRUE(image.IsOk()) << e.name;
    EXPECT_EQ(image.GetSize(), wxSize(32, 32)) << e.name;
    const wxPoint hot(image.GetOptionInt(wxIMAGE_OPTION_CUR_HOTSPOT_X),
                      image.GetOptionInt(wxIMAGE_OPTION_CUR_HOTSPOT_Y));
    EXPECT_EQ(hot, e.hotspot) << e.name;
    // The hotspot lies on the drawing, not on the transparent ground.
    EXPECT_FALSE(image.IsTransparent(hot.x, hot.y)) << e.name;
    const wxCursor cursor = LoadCursorResource(e.name);
    ASSERT_TRUE(cursor.IsOk()) << e.name;
    // wxGTK reports the hotspot only where the display hands the picture back.
    if (cursor.GetHotSpot() != wxDefaultPosition) {
      EXPECT_EQ(cursor.GetHotSpot(), e.hotspot) << e.name;
    }
  }
}

TEST(Images, UnknownCursorNameGivesAnInvalidCursor) {
  EXPECT_FALSE(LoadCursorResource("CUR_NONE").IsOk());
  EXPECT_FALSE(LoadCursorResource("").IsOk());
  EXPECT_FALSE(LoadCursorResource("cur_normal").IsOk());
  EXPECT_FALSE(CursorImage("CUR_NONE").IsOk());
}

TEST(Images, AppIconsAreTheIconThemesAtEverySize) {
  const wxIconBundle icons = AppIcons();
  ASSERT_EQ(icons.GetIconCount(), 6u);
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    EXPECT_EQ(icons.GetIcon(wxSize(size, size), wxIconBundle::FALLBACK_NONE).GetSize(),
              wxSize(size, size))
        << size;
  }
}

// At a scale of 2 the tool bar takes the 64-pixel art, which is drawn at that size: finer
// than the 32-pixel art enlarged, and never a blur of it.
TEST(Images, ToolBitmapsComeAt32And64Pixels) {
  for (const int id :
       {ids::kBitmapCreate, ids::kBitmapView, ids::kBitmapPreview, ids::kBitmapClear}) {
    const wxBitmapBundle bundle = ToolBitmapBundle(id);
    ASSERT_TRUE(bundle.IsOk()) << id;
    EXPECT_EQ(bundle.GetDefaultSize(), wxSize(32, 32));
    const wxImage small = bundle.GetBitmap(wxSize(32, 32)).ConvertToImage();
    const wxImage large = bundle.GetBitmap(wxSize(64, 64)).ConvertToImage();
    const wxImage drawn = ToolBitmap(id, 64).ConvertToImage();
    ASSERT_EQ(large.GetSize(), wxSize(64, 64));
    int finer = 0;
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        ASSERT_EQ(large.GetRed(x, y), drawn.GetRed(x, y)) << id << " at " << x << "," << y;
        ASSERT_EQ(large.GetGreen(x, y), drawn.GetGreen(x, y));
        ASSERT_EQ(large.GetBlue(x, y), drawn.GetBlue(x, y));
        ASSERT_EQ(large.IsTransparent(x, y), drawn.IsTransparent(x, y));
        const bool as_enlarged = large.IsTransparent(x, y) == small.IsTransparent(x / 2, y / 2) &&
                                 large.GetRed(x, y) == small.GetRed(x / 2, y / 2) &&
                                 large.GetGreen(x, y) == small.GetGreen(x / 2, y / 2) &&
                                 large.GetBlue(x, y) == small.GetBlue(x / 2, y / 2);
        if (!as_enlarged) ++finer;
      }
    }
    EXPECT_GT(finer, 64) << id << ": the 64-pixel art is the 32-pixel art enlarged";
  }
  EXPECT_FALSE(ToolBitmap(ids::kBitmapCreate, 48).IsOk());
  EXPECT_FALSE(ToolBitmapBundle(103).IsOk());
}

// With LQ_RENDER_DIR set, writes every image enlarged, and the dialogs as shown, as PNG
// files there, for a person to look at.
TEST(Images, RenderForReview) {
  const char* dir = std::getenv("LQ_RENDER_DIR");
  if (!dir) GTEST_SKIP() << "LQ_RENDER_DIR not set";
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  const auto save = [&](const wxImage& source, const std::string& name, int scale) {
    wxImage image = source.Scale(source.GetWidth() * scale, source.GetHeight() * scale);
    wxImage out(image.GetWidth(), image.GetHeight());
    out.SetRGB(wxRect(out.GetSize()), 0xE8, 0xE0, 0xD0);
    out.Paste(image, 0, 0, wxIMAGE_ALPHA_BLEND_COMPOSE);
    EXPECT_TRUE(out.SaveFile(std::string(dir) + "/" + name + ".png", wxBITMAP_TYPE_PNG));
  };
  save(ToolBitmap(ids::kBitmapCreate).ConvertToImage(), "tool_102_create", 4);
  save(ToolBitmap(ids::kBitmapView).ConvertToImage(), "tool_104_view", 4);
  save(ToolBitmap(ids::kBitmapPreview).ConvertToImage(), "tool_105_preview", 4);
  save(ToolBitmap(ids::kBitmapClear).ConvertToImage(), "tool_101_clear", 4);
  save(CursorImage("CUR_NORMAL"), "cursor_normal", 4);
  save(CursorImage("CUR_MANO"), "cursor_mano", 4);
  const wxIconBundle icons = AppIcons();
  for (int size : {32, 48}) {
    wxBitmap bitmap;
    bitmap.CopyFromIcon(icons.GetIcon(wxSize(size, size)));
    save(bitmap.ConvertToImage(), "icon_" + std::to_string(size), 4);
  }

  InitResources();
  for (const char* name : {kMainDialog, kInputDialog, kSendToDialog, kAboutDialog}) {
    auto* dialog = new wxDialog;
    ASSERT_TRUE(wxXmlResource::Get()->LoadDialog(dialog, nullptr, name));
    dialog->Show();
    dialog->Raise();
    for (int i = 0; i < 20; ++i) {
      wxYield();
      wxMilliSleep(20);
    }
    const wxSize size = dialog->GetClientSize();
    wxBitmap shot(size);
    {
      wxMemoryDC memory(shot);
      wxClientDC window(dialog);
      memory.Blit(0, 0, size.x, size.y, &window, 0, 0);
    }
    save(shot.ConvertToImage(), name, 1);
    dialog->Hide();
    dialog->Destroy();
    for (int i = 0; i < 5; ++i) wxYield();
  }
}

}  // namespace
}  // namespace lq
