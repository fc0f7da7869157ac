// The tool buttons show their art sharp at the display's scale, as the X server shows them: at
// a scale of 2 (a run of its own with GDK_SCALE=2) the art drawn at 64 pixels, pixel for pixel
// in device pixels, neither the 32-pixel art enlarged nor a blur of it.
#include <wx/toolbar.h>

#include "resources/ids.h"
#include "resources/images.h"
#include "tests/gui/real/real_input.h"

namespace lq::test {
namespace {

using ToolBarScaleTest = RealInputTest;

// Whether every opaque pixel of art shows in shot with its very colour, art's top left at x, y.
bool ShowsAt(const wxImage& shot, const wxImage& art, int x, int y) {
  for (int ay = 0; ay < art.GetHeight(); ++ay) {
    for (int ax = 0; ax < art.GetWidth(); ++ax) {
      if (art.IsTransparent(ax, ay)) continue;
      if (shot.GetRed(x + ax, y + ay) != art.GetRed(ax, ay) ||
          shot.GetGreen(x + ax, y + ay) != art.GetGreen(ax, ay) ||
          shot.GetBlue(x + ax, y + ay) != art.GetBlue(ax, ay)) {
        return false;
      }
    }
  }
  return true;
}

bool Shows(const wxImage& shot, const wxImage& art) {
  for (int y = 0; y + art.GetHeight() <= shot.GetHeight(); ++y) {
    for (int x = 0; x + art.GetWidth() <= shot.GetWidth(); ++x) {
      if (ShowsAt(shot, art, x, y)) return true;
    }
  }
  return false;
}

TEST_F(ToolBarScaleTest, EveryToolShowsItsArtPixelForPixelInDevicePixels) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  Pump(300);  // GTK draws on its frame clock
  wxToolBar* bar = frame_->GetToolBar();
  ASSERT_NE(bar, nullptr);
  // Window coordinates are logical; the X server's screenshot is in device pixels.
  const int scale = static_cast<int>(bar->GetContentScaleFactor());
  const wxRect logical = bar->GetScreenRect();
  const wxImage shot = Grab(wxRect(logical.GetX() * scale, logical.GetY() * scale,
                                   logical.GetWidth() * scale, logical.GetHeight() * scale));
  ASSERT_TRUE(shot.IsOk());
  for (const int id :
       {ids::kBitmapCreate, ids::kBitmapView, ids::kBitmapPreview, ids::kBitmapClear}) {
    const wxImage art = ToolBitmap(id, 32 * scale).ConvertToImage();
    ASSERT_TRUE(art.IsOk()) << "no art for a scale of " << scale;
    EXPECT_TRUE(Shows(shot, art)) << "tool bitmap " << id << " at a scale of " << scale;
  }
}

}  // namespace
}  // namespace lq::test
