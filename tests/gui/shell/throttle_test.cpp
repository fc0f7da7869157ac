// The throttle that keeps the preview's refreshes to one per interval, on the kit's fake
// clock and timers.
#include "shell/throttle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/gui/uikit/kit_fakes.h"

namespace lq::test {
namespace {

class ThrottleTest : public testing::Test {
 protected:
  void SetUp() override { kit_.UseFakeTime(); }
  long long Now() const { return kit_.clock.now; }

  KitFakes kit_;
  std::vector<long long> runs_;
  Throttle throttle_{7, 100, [this] { runs_.push_back(Now()); }};
};

TEST_F(ThrottleTest, TheFirstRequestRunsAtOnce) {
  throttle_.Request();
  EXPECT_EQ(runs_, (std::vector<long long>{1}));
  EXPECT_FALSE(throttle_.waiting());
}

TEST_F(ThrottleTest, RequestsWithinTheIntervalRunOnceWhenItIsOver) {
  throttle_.Request();
  kit_.timers.Advance(30);
  throttle_.Request();
  kit_.timers.Advance(30);
  throttle_.Request();
  EXPECT_EQ(runs_.size(), 1u);
  EXPECT_TRUE(throttle_.waiting());
  kit_.timers.Advance(39);
  EXPECT_EQ(runs_.size(), 1u);
  kit_.timers.Advance(1);
  EXPECT_EQ(runs_, (std::vector<long long>{1, 101}));
  EXPECT_FALSE(throttle_.waiting()) << "one run for all three requests";
  kit_.timers.Advance(500);
  EXPECT_EQ(runs_.size(), 2u);
}

TEST_F(ThrottleTest, ARequestAfterAQuietIntervalRunsAtOnce) {
  throttle_.Request();
  kit_.timers.Advance(100);
  throttle_.Request();
  kit_.timers.Advance(250);
  throttle_.Request();
  EXPECT_EQ(runs_, (std::vector<long long>{1, 101, 351}));
}

TEST_F(ThrottleTest, RunNowDoesTheWaitingRunsWork) {
  throttle_.Request();
  kit_.timers.Advance(10);
  throttle_.Request();
  ASSERT_TRUE(throttle_.waiting());
  kit_.timers.Advance(10);
  throttle_.RunNow();
  EXPECT_FALSE(throttle_.waiting());
  kit_.timers.Advance(300);
  EXPECT_EQ(runs_, (std::vector<long long>{1, 21}));
  // RunNow counts as a run: a request right after it waits its interval.
  throttle_.Request();
  EXPECT_EQ(runs_.size(), 3u) << "the last run was 300 ms ago";
  kit_.timers.Advance(20);
  throttle_.Request();
  EXPECT_EQ(runs_.size(), 3u);
}

TEST_F(ThrottleTest, CancelDropsTheWaitingRun) {
  throttle_.Request();
  throttle_.Request();
  throttle_.Cancel();
  kit_.timers.Advance(1000);
  EXPECT_EQ(runs_.size(), 1u);
}

// Steady requests every 10 ms for two seconds: one run per interval, and no request waits
// longer than the interval for a run.
TEST_F(ThrottleTest, SteadyRequestsRunOncePerIntervalAndNoneWaitsLonger) {
  std::vector<long long> asked;
  for (int ms = 0; ms < 2200; ++ms) {
    if (ms % 10 == 0 && ms < 2000) {
      asked.push_back(Now());
      throttle_.Request();
    }
    kit_.timers.Advance(1);
  }
  for (const long long at : asked) {
    const auto next = std::lower_bound(runs_.begin(), runs_.end(), at);
    ASSERT_NE(next, runs_.end()) << "a request at " << at << " never ran";
    EXPECT_LE(*next - at, 100) << "a request at " << at;
  }
  for (std::size_t i = 1; i < runs_.size(); ++i) {
    EXPECT_GE(runs_[i] - runs_[i - 1], 100) << "runs " << i - 1 << " and " << i;
  }
  EXPECT_EQ(runs_.size(), 21u);
}

}  // namespace
}  // namespace lq::test
