#include "uikit/grafext/contrast.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(ShowingOnTest, KeepsAColourThatShowsAndElseTheLeastChangeThatDoes) {
  const struct {
    wxColour background;
    wxColour preferred;
  } cases[] = {
      {{0xf6, 0xf5, 0xf4}, {0x35, 0x84, 0xe4}},  // a light theme's blue: shows as it is
      {{0x35, 0x35, 0x35}, {0x21, 0x5d, 0x9c}},  // a dark theme's blue: too dark
      {{0xc0, 0xc0, 0xc0}, {0xb0, 0xb0, 0xd0}},  // near the background: darker
      {{0x10, 0x10, 0x10}, {0x00, 0x00, 0x00}},  // darker than a dark background: lighter
      {{0xff, 0xff, 0xff}, {0xff, 0xff, 0xff}},  // the background itself
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.preferred.GetAsString(wxC2S_HTML_SYNTAX).ToStdString() + " on " +
                 c.background.GetAsString(wxC2S_HTML_SYNTAX).ToStdString());
    const wxColour shown = ShowingOn(c.background, c.preferred, kVisibleContrast);
    EXPECT_GE(Contrast(c.background, shown), kVisibleContrast);
    if (Contrast(c.background, c.preferred) >= kVisibleContrast) {
      EXPECT_EQ(shown, c.preferred);
    } else {
      // No more than a step of the search past the ratio: the hue is kept as far as it can be.
      EXPECT_LT(Contrast(c.background, shown), kVisibleContrast + 0.5);
    }
  }
}

TEST(ShowingOnTest, ADarkThemesBlueStaysBlue) {
  const wxColour shown = ShowingOn({0x35, 0x35, 0x35}, {0x21, 0x5d, 0x9c}, kVisibleContrast);
  EXPECT_GT(shown.Blue(), shown.Red());
  EXPECT_GT(shown.Blue(), shown.Green());
}

}  // namespace
}  // namespace lq
