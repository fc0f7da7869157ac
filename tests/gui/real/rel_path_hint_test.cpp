// The hint of the disabled relative-path field under the display's own pointer.
#include "resources/ids.h"
#include "tests/gui/real/real_input.h"

namespace lq::test {
namespace {

using RelPathHintTest = RealInputTest;

TEST_F(RelPathHintTest, TheDisabledFieldShowsItsHintAndTip) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  ASSERT_FALSE(Control(ids::kRelPathField)->IsEnabled());
  Hover(ids::kRelPathField);
  Hover(ids::kRelPathField, {3, 1});
  EXPECT_TRUE(PumpUntil([&] {
    return status()->ShownText() == "Relative path, drag a folder here to change";
  })) << status()->ShownText();
  ASSERT_TRUE(PumpUntil([&] { return tip()->IsShown(); }));
  EXPECT_EQ(tip()->engine().text(), "Rel Path");
  // Off the field onto the background: the output file's name again.
  MoveTo(FreeSpot());
  MoveTo(FreeSpot() + wxPoint(-2, -1));
  EXPECT_TRUE(PumpUntil(
      [&] { return status()->ShownText() != "Relative path, drag a folder here to change"; }));
}

}  // namespace
}  // namespace lq::test
