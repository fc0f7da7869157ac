#pragma once

#include <vector>

#include "platform/services.h"

namespace lq {

// Time moves only when a test or a wait moves it.
class FakeClock : public Clock {
 public:
  long long NowMs() override { return now; }
  // Records the wait and lets the time pass at once.
  void BusyWait(long long ms) override;
  void Advance(long long ms) { now += ms; }

  long long now = 0;
  std::vector<long long> waits;
};

}  // namespace lq
