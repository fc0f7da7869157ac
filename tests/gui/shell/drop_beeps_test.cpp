// The beeps of a drop on the list: the drop returns at once and its beeps follow on the
// kit's timer, which the fake clock drives here.
#include "shell/drop_beeps.h"

#include <string>
#include <vector>

#include "resources/ids.h"
#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

// Notes when each beep rang, on the kit's clock.
class TimedBeeper : public Beeper {
 public:
  explicit TimedBeeper(FakeClock& clock) : clock_(clock) {}
  void Beep() override { at.push_back(clock_.now); }
  std::vector<long long> at;

 private:
  FakeClock& clock_;
};

class DropBeepsTest : public ShellTest {
 protected:
  void SetUp() override {
    kit_.UseFakeTime();
    ShellTest::SetUp();
    context_.services.beeper = &beeps_;
    Start();
  }

  void DropOnList(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(Src("file " + std::to_string(dropped_++)));
    const wxRect list = dlg()->FindWindow(ids::kFileList)->GetRect();
    dlg()->HandleDrop(names, list.GetPosition() + wxSize(5, 5));
  }
  bool TimerRunning() const {
    const FakeTimers::Timer* timer = kit_.timers.Find(kDropBeepTimerId);
    return timer != nullptr && timer->IsRunning();
  }
  std::size_t Rung() const { return beeps_.at.size(); }

  TimedBeeper beeps_{kit_.clock};
  int dropped_ = 0;
};

TEST_F(DropBeepsTest, ADropReturnsWithOneBeepAndTheRestFollowSpaced) {
  struct Case {
    int files;
    std::size_t beeps;  // one per file, the waited ones of a drop at most
  };
  const Case cases[] = {{1, 1}, {2, 2}, {3, 3}, {8, 8}, {9, 8}, {12, 8}, {2000, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.files << " files");
    beeps_.at.clear();
    clock_.waits.clear();
    const long long before = kit_.clock.now;
    DropOnList(c.files);
    // Back from the drop with no time gone and nothing waited for.
    EXPECT_EQ(kit_.clock.now, before);
    EXPECT_TRUE(clock_.waits.empty());
    EXPECT_EQ(Rung(), 1u);
    EXPECT_EQ(dlg()->list().Count(), dropped_);
    kit_.timers.Advance(10 * DropBeeps::kSpacingMs * DropBeeps::kWaitedBeeps);
    ASSERT_EQ(Rung(), c.beeps);
    for (std::size_t i = 1; i < Rung(); ++i) {
      EXPECT_EQ(beeps_.at[i] - beeps_.at[i - 1], DropBeeps::kSpacingMs) << "beep " << i;
    }
    EXPECT_FALSE(TimerRunning()) << "a timer left running wakes the idle window";
    EXPECT_EQ(dlg()->drop_beeps().pending(), 0);
  }
}

TEST_F(DropBeepsTest, ADropWhileBeepsWaitQueuesItsOwnAfterThem) {
  DropOnList(12);
  kit_.timers.Advance(2 * DropBeeps::kSpacingMs);
  ASSERT_EQ(Rung(), 3u);
  EXPECT_EQ(dlg()->drop_beeps().pending(), 5);
  DropOnList(3);
  EXPECT_EQ(Rung(), 3u) << "the second drop rang before the first one's waiting beeps";
  EXPECT_EQ(dlg()->drop_beeps().pending(), 8);
  kit_.timers.Advance(20 * DropBeeps::kSpacingMs);
  ASSERT_EQ(Rung(), 11u);
  for (std::size_t i = 1; i < Rung(); ++i) {
    EXPECT_EQ(beeps_.at[i] - beeps_.at[i - 1], DropBeeps::kSpacingMs) << "beep " << i;
  }
  EXPECT_FALSE(TimerRunning());
}

TEST_F(DropBeepsTest, ADropAfterAQuietSpellRingsAtOnceButNeverTooSoon) {
  DropOnList(1);
  kit_.timers.Advance(DropBeeps::kSpacingMs);
  DropOnList(1);
  EXPECT_EQ(Rung(), 2u) << "50 ms after the last beep a drop rings at once";
  kit_.timers.Advance(DropBeeps::kSpacingMs / 2);
  DropOnList(1);
  EXPECT_EQ(Rung(), 2u) << "25 ms after the last one it waits";
  kit_.timers.Advance(DropBeeps::kSpacingMs);
  ASSERT_EQ(Rung(), 3u);
  EXPECT_GE(beeps_.at[2] - beeps_.at[1], DropBeeps::kSpacingMs);
}

TEST_F(DropBeepsTest, BeepsStillWaitingWhenTheWindowClosesNeverRing) {
  DropOnList(8);
  ASSERT_EQ(Rung(), 1u);
  frame()->Destroy();
  Yield();
  ASSERT_TRUE(FrameGone());
  kit_.timers.Advance(20 * DropBeeps::kSpacingMs);
  EXPECT_EQ(Rung(), 1u);
  EXPECT_EQ(kit_.timers.Find(kDropBeepTimerId), nullptr) << "the timer outlived the window";
}

}  // namespace
}  // namespace lq::test
