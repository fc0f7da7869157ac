// Menu-bar items under the display's own input: status text only, never a tip.
#include <wx/menu.h>

#include <string>

#include "tests/gui/real/real_input.h"
#include "tests/gui/real/sampler.h"

namespace lq::test {
namespace {

class MenuBarRealTest : public RealInputTest {
 protected:
  Sampler::Seen Look() const { return {status()->ShownText(), tip()->IsShown()}; }
};

TEST_F(MenuBarRealTest, MenuBarItemsShowTheirStatusTextAndNeverATip) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  const wxRect bar = frame_->GetMenuBar()->GetScreenRect();
  const wxPoint file(bar.GetX() + 18, bar.GetY() + bar.GetHeight() / 2);
  MoveTo(file);
  Sampler sampler([this] { return Look(); });
  XLater(WalkDown(file + wxPoint(10, bar.GetHeight()), 200));
  XClick(1);
  Pump(3200);  // the menu bar's menus run in the main loop
  sampler.Stop();
  EXPECT_TRUE(sampler.SawStatus("Create output file containing header, files, queue"))
      << sampler.Statuses();
  EXPECT_TRUE(sampler.SawStatus("Set the name of the output file")) << sampler.Statuses();
  for (const Sampler::Seen& s : sampler.seen) {
    EXPECT_FALSE(s.tip_shown) << "a tip with the status " << s.status;
  }
}

}  // namespace
}  // namespace lq::test
