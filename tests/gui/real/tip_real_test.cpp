// The shared tooltip under the display's own pointer events and the kit's real clock.
#include <wx/utils.h>

#include "resources/ids.h"
#include "tests/gui/real/real_input.h"

namespace lq::test {
namespace {

class TipRealTest : public RealInputTest {
 protected:
  // Where the tip belongs for the pointer at p: below it, centred 5 pixels right of it.
  wxRect ExpectedTip(const wxPoint& p) const {
    const wxSize size = tip()->engine().size();
    return {p.x - (size.GetWidth() / 2 - 5), p.y + 32, size.GetWidth(), size.GetHeight()};
  }
};

TEST_F(TipRealTest, TheFirstTipOfTheSessionWaitsTheShortDelay) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  Hover(ids::kFileList);
  ASSERT_TRUE(PumpUntil([&] { return tip()->engine().has_text(); }, 1000));
  EXPECT_EQ(tip()->engine().text(), "Drag & Drop files");
  // The short delay is armed, not the 1.5 s of a pointer straight off the background; the
  // time it takes is the kit's clock's to keep, not this test's to measure.
  EXPECT_EQ(tip()->engine().show_interval(), 150);
  EXPECT_TRUE(PumpUntil([&] { return tip()->IsShown(); }, 3000));
}

TEST_F(TipRealTest, ATipPlacedUnseenShowsWhereThePointerIsNow) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  // Across the list in quick steps, each placing the list's tip while it is still hidden.
  for (int dy : {-20, -10, 0, 10}) {
    XMove(CentreOf(ids::kFileList, {0, dy}));
    Pump(10);
  }
  // The last step and the move on to Create come from one command, so the time between them
  // stays well inside the tip's delay however slowly a command starts.
  const wxPoint was = CentreOf(ids::kFileList, {0, 20});
  const wxPoint now = CentreOf(ids::kCreate);
  const wxRect old_place = ExpectedTip(was);  // the list's tip, whose size is known by now
  ASSERT_FALSE(tip()->IsShown());
  XLater("xdotool mousemove " + std::to_string(was.x) + " " + std::to_string(was.y) +
         " sleep 0.05 mousemove " + std::to_string(now.x) + " " + std::to_string(now.y));
  ASSERT_TRUE(PumpUntil([&] { return wxGetMousePosition() == now; }, 1000));
  Pump(30);  // the display's crossing and motion events
  ASSERT_TRUE(PumpUntil([&] { return tip()->IsShown(); }, 3000));
  Pump(300);  // GTK draws on its frame clock
  EXPECT_EQ(tip()->engine().text(), "Click here\nto create output");
  const wxRect place = ExpectedTip(now);
  EXPECT_EQ(tip()->GetScreenRect(), place);
  // On the screen: the X server's own record of the shown tip.
  const std::vector<wxPoint> shown = ViewableWindowsOfSize(place.GetSize());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown.front(), place.GetPosition()) << "the tip is not below the pointer";
  EXPECT_NE(shown.front(), old_place.GetPosition());
}

}  // namespace
}  // namespace lq::test
