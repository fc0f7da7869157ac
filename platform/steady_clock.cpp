#include "platform/steady_clock.h"

#include <thread>

namespace lq {

SteadyClock::SteadyClock(long long first_ms)
    : start_(std::chrono::steady_clock::now()), first_ms_(first_ms) {}

long long SteadyClock::NowMs() {
  return first_ms_ + std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now() - start_)
                         .count();
}

void SteadyClock::BusyWait(long long ms) {
  const long long end = NowMs() + ms;
  // Yielding keeps the spin polite to other processes without handling any event of ours.
  while (NowMs() < end) std::this_thread::yield();
}

}  // namespace lq
