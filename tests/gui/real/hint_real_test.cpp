// Hints of the menus under the display's own input.
#include <wx/menu.h>

#include <string>

#include "resources/ids.h"
#include "tests/gui/real/real_input.h"
#include "tests/gui/real/sampler.h"

namespace lq::test {
namespace {

class HintRealTest : public RealInputTest {
 protected:
  Sampler::Seen Look() const { return {status()->ShownText(), tip()->IsShown()}; }
};

TEST_F(HintRealTest, ItemsOfTheCreateMenuShowTheirStatusTextAndNoTip) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  const wxRect button = Control(ids::kCreate)->GetScreenRect();
  Hover(ids::kCreate);
  Sampler sampler([this] { return Look(); });
  XLater(WalkDown({button.GetX() + 30, button.GetBottom() + 6}, 150));
  XClick(1);  // the menu's loop runs until the walk's Escape
  Pump(200);
  sampler.Stop();
  EXPECT_TRUE(sampler.SawStatus("Create output file, and copy it into Clipboard"))
      << sampler.Statuses();
  // Hover tips of the button aside, the menu itself shows none.
  bool tip_over_menu = false;
  for (const Sampler::Seen& s : sampler.seen) {
    if (s.tip_shown && s.status == "Create output file, and copy it into Clipboard") {
      tip_over_menu = true;
    }
  }
  EXPECT_FALSE(tip_over_menu);
}

TEST_F(HintRealTest, ItemsOfTheListMenuShowTheirStatusText) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  dlg()->HandleDrop({"/tmp/one.txt", "/tmp/two.txt"},
                    Control(ids::kFileList)->GetRect().GetTopLeft());
  Pump(100);
  const wxRect list = Control(ids::kFileList)->GetScreenRect();
  const wxPoint at(list.GetX() + 20, list.GetY() + 8);
  MoveTo(at);
  Sampler sampler([this] { return Look(); });
  XLater(WalkDown(at + wxPoint(12, 4), 120));
  XClick(3);
  Pump(200);
  sampler.Stop();
  EXPECT_TRUE(sampler.SawStatus("Copy selected file name into Clipboard")) << sampler.Statuses();
}

}  // namespace
}  // namespace lq::test
