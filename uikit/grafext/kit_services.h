#pragma once

#include <wx/gdicmn.h>

#include <functional>
#include <memory>

#include "platform/services.h"

class wxWindow;

namespace lq {

// The kit's window timers. A timer calls its function on the GUI thread every interval until
// stopped; tests install a source whose timers fire when a fake clock passes their time.
class KitTimer {
 public:
  virtual ~KitTimer() = default;
  virtual void Start(int interval_ms) = 0;  // (re)starts from now
  virtual void Stop() = 0;
  virtual bool IsRunning() const = 0;
  virtual int id() const = 0;
};

class TimerSource {
 public:
  virtual ~TimerSource() = default;
  virtual std::unique_ptr<KitTimer> Make(int id, std::function<void()> on_tick) = 0;
};

// Where the pointer is and which window lies under a screen point.
class PointerProbe {
 public:
  virtual ~PointerProbe() = default;
  virtual wxPoint Position() = 0;
  virtual wxWindow* WindowAt(const wxPoint& screen_point) = 0;
};

// The tick count of the tooltip's delays: a monotonic millisecond clock.
Clock& KitClock();
TimerSource& KitTimers();
PointerProbe& KitPointer();

// nullptr restores the real one.
void SetKitClock(Clock* clock);
void SetKitTimers(TimerSource* source);
void SetKitPointer(PointerProbe* probe);

}  // namespace lq
