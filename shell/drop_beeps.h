#pragma once

#include <memory>

#include "platform/services.h"
#include "uikit/grafext/kit_services.h"

namespace lq {

inline constexpr int kDropBeepTimerId = 1031;

// One beep per dropped file, but never two within 50 ms: a drop of thousands would ring for
// as long as it takes to list them. The first few of a drop wait their turn on a timer, so
// the drop itself returns at once; later ones that come too soon stay silent. A drop made
// while beeps still wait queues its own first few after them. Clock and timer are the kit's,
// so tests move time themselves.
class DropBeeps {
 public:
  static constexpr int kSpacingMs = 50;
  static constexpr int kWaitedBeeps = 8;

  DropBeeps() = default;
  DropBeeps(const DropBeeps&) = delete;
  DropBeeps& operator=(const DropBeeps&) = delete;

  // The index-th name (from 0) of the current drop has gone in. Never waits.
  void Beep(int index, Beeper& beeper);

  // Beeps queued for the timer.
  int pending() const { return pending_; }

 private:
  void Ring(long long now);
  void OnTick();

  Beeper* beeper_ = nullptr;
  int pending_ = 0;
  long long last_ms_ = 0;
  bool rang_ = false;
  std::unique_ptr<KitTimer> timer_;  // made on first need, from the source installed then
};

}  // namespace lq
