// The tool buttons show their art sharp at the display's scale, as the X server shows them: at
// a scale of 2 (a run of its own with GDK_SCALE=2) the art drawn at 64 pixels, pixel for pixel
// in device pixels, neither the 32-pixel art enlarged nor a blur of it.
#include <wx/toolbar.h>

#include "resources/ids.h"
#include "resources/images.h"
#include "tests/gui/real/pixels.h"
#include "tests/gui/real/real_input.h"

namespace lq::test {
namespace {

using ToolBarScaleTest = RealInputTest;

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
    EXPECT_TRUE(ShowsPixelForPixel(shot, art))
        << "tool bitmap " << id << " at a scale of " << scale;
  }
}

}  // namespace
}  // namespace lq::test
