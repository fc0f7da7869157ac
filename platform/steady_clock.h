#pragma once

#include <chrono>

#include "platform/services.h"

namespace lq {

// Milliseconds on the monotonic clock, counted from first_ms when the clock was made.
class SteadyClock : public Clock {
 public:
  explicit SteadyClock(long long first_ms = 0);
  long long NowMs() override;
  // Spins until ms have passed; events wait, as the notices want.
  void BusyWait(long long ms) override;

 private:
  std::chrono::steady_clock::time_point start_;
  long long first_ms_;
};

}  // namespace lq
