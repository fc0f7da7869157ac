#pragma once

#include <functional>
#include <memory>

#include "uikit/grafext/kit_services.h"

namespace lq {

// Runs an action at most once per interval: at once when the last run is at least that old,
// otherwise once the interval since the last run is over, however many requests came
// meanwhile. Clock and timer are the kit's, so tests move time themselves.
class Throttle {
 public:
  Throttle(int timer_id, int interval_ms, std::function<void()> action);

  void Request();
  // Runs at once; a run that was waiting is dropped, since this one does its work.
  void RunNow();
  void Cancel();
  bool waiting() const { return timer_ != nullptr && timer_->IsRunning(); }

 private:
  int timer_id_;
  int interval_ms_;
  std::function<void()> action_;
  std::unique_ptr<KitTimer> timer_;  // made on first need, from the source installed then
  long long last_run_ = 0;
  bool ran_ = false;
};

}  // namespace lq
