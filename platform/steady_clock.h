#pragma once

#include <chrono>

#include "platform/services.h"

namespace lq {

// Milliseconds since the clock was made, on the monotonic clock.
class SteadyClock : public Clock {
 public:
  SteadyClock();
  long long NowMs() override;
  // Spins until ms have passed; events wait, as the notices want.
  void BusyWait(long long ms) override;

 private:
  std::chrono::steady_clock::time_point start_;
};

}  // namespace lq
