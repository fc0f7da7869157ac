#include "shell/throttle.h"

#include <utility>

namespace lq {

Throttle::Throttle(int timer_id, int interval_ms, std::function<void()> action)
    : timer_id_(timer_id), interval_ms_(interval_ms), action_(std::move(action)) {}

void Throttle::Request() {
  if (waiting()) return;
  const long long since = KitClock().NowMs() - last_run_;
  if (!ran_ || since >= interval_ms_) {
    RunNow();
    return;
  }
  if (timer_ == nullptr) timer_ = KitTimers().Make(timer_id_, [this] { RunNow(); });
  timer_->Start(static_cast<int>(interval_ms_ - since));
}

void Throttle::RunNow() {
  Cancel();
  last_run_ = KitClock().NowMs();
  ran_ = true;
  action_();
}

void Throttle::Cancel() {
  if (timer_ != nullptr) timer_->Stop();
}

}  // namespace lq
