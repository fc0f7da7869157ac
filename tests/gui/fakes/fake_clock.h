#pragma once

#include <vector>

#include "platform/services.h"

namespace lq {

// Time moves only when a test or a wait moves it.
class FakeClock : public Clock {
 public:
  // Each look at the time moves it on by step, as if work took that long.
  long long NowMs() override {
    const long long seen = now;
    now += step;
    return seen;
  }
  // Records the wait and lets the time pass at once.
  void BusyWait(long long ms) override;
  void Advance(long long ms) { now += ms; }

  long long now = 0;
  long long step = 0;
  std::vector<long long> waits;
};

}  // namespace lq
