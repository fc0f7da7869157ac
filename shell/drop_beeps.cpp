#include "shell/drop_beeps.h"

namespace lq {

void DropBeeps::Beep(int index, Clock& clock, Beeper& beeper) {
  long long now = clock.NowMs();
  if (rang_ && now - last_ms_ < kSpacingMs) {
    if (index >= kWaitedBeeps) return;
    clock.BusyWait(kSpacingMs - (now - last_ms_));
    now = clock.NowMs();
  }
  beeper.Beep();
  last_ms_ = now;
  rang_ = true;
}

}  // namespace lq
