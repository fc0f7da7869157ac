// The kit's one set of services: what an empty member means, and how tests swap them.
#include "uikit/grafext/kit_services.h"

#include <gtest/gtest.h>

#include "platform/steady_clock.h"
#include "resources/hint_table.h"
#include "tests/gui/fakes/fake_clock.h"
#include "tests/gui/uikit/kit_fakes.h"
#include "uikit/grafext/popup.h"

namespace lq {
namespace {

class NoPopups : public PopupPresenter {
 public:
  void Show(wxWindow*, wxMenu&, const std::string&, const wxPoint&) override {}
};

TEST(SteadyClockTest, CountsFromItsFirstTick) {
  SteadyClock clock(5000);
  const long long now = clock.NowMs();
  EXPECT_GE(now, 5000);
  EXPECT_LT(now, 5000 + 60 * 1000);
  EXPECT_LT(SteadyClock().NowMs(), 60 * 1000);
}

TEST(KitServicesTest, EmptyMembersAreTheRealOnes) {
  test::KitFakes kit;
  // Past tick 0, so a first tip waits the short delay.
  EXPECT_GE(KitClock().NowMs(), kKitFirstTickMs);
  EXPECT_EQ(KitStrings(), &HintString);
  EXPECT_EQ(dynamic_cast<NoPopups*>(&KitPopups()), nullptr);
}

TEST(KitServicesTest, InstallingReturnsTheSetItReplaces) {
  FakeClock clock;
  NoPopups popups;
  const KitServices before = InstallKitServices({.clock = &clock, .popups = &popups});
  EXPECT_EQ(&KitClock(), &clock);
  EXPECT_EQ(&KitPopups(), &popups);
  const KitServices mine = InstallKitServices(before);
  EXPECT_EQ(mine.clock, &clock);
  EXPECT_EQ(mine.timers, nullptr);
  EXPECT_NE(&KitClock(), &clock);
}

TEST(KitFakesTest, FakesOnlyWhatTheTestAsksForAndPutsBackWhatItFound) {
  NoPopups outer;
  const KitServices before = InstallKitServices({.popups = &outer});
  {
    test::KitFakes kit;
    EXPECT_NE(&KitPopups(), &outer) << "a test starts from the real services";
    kit.UseFakeTime();
    EXPECT_EQ(&KitClock(), &kit.clock);
    EXPECT_EQ(&KitTimers(), &kit.timers);
    EXPECT_NE(&KitPointer(), &kit.pointer);
    kit.UseFakePointer();
    EXPECT_EQ(&KitPointer(), &kit.pointer);
    EXPECT_EQ(&KitClock(), &kit.clock) << "a later fake keeps the earlier ones";
  }
  EXPECT_EQ(&KitPopups(), &outer);
  EXPECT_NE(KitClock().NowMs(), 1);
  InstallKitServices(before);
}

}  // namespace
}  // namespace lq
