#include "shell/drop_beeps.h"

namespace lq {

void DropBeeps::Beep(int index, Beeper& beeper) {
  beeper_ = &beeper;
  const long long now = KitClock().NowMs();
  const long long since = now - last_ms_;
  if (pending_ == 0 && (!rang_ || since >= kSpacingMs)) {
    Ring(now);
    return;
  }
  if (index >= kWaitedBeeps) return;
  ++pending_;
  if (timer_ == nullptr) timer_ = KitTimers().Make(kDropBeepTimerId, [this] { OnTick(); });
  // A full spacing from now, never less from the last beep, whichever clock measures it.
  if (!timer_->IsRunning()) timer_->Start(kSpacingMs);
}

void DropBeeps::Ring(long long now) {
  beeper_->Beep();
  last_ms_ = now;
  rang_ = true;
}

void DropBeeps::OnTick() {
  if (pending_ > 0) {
    --pending_;
    Ring(KitClock().NowMs());
  }
  // Each later beep waits the full spacing from this one.
  if (pending_ > 0) {
    timer_->Start(kSpacingMs);
  } else {
    timer_->Stop();
  }
}

}  // namespace lq
