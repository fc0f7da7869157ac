#pragma once

#include <wx/gdicmn.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/services.h"

class wxCursor;
class wxWindow;

namespace lq {

class PopupPresenter;  // uikit/grafext/popup.h

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

// Hint texts by resource id and cursors by resource name.
using StringTableFn = std::string_view (*)(int id);
using CursorLoaderFn = wxCursor (*)(const std::string& name);

// Tick 0 is "the tip was just cleared" to the tooltip: the kit's real clock starts well past
// it, so the first hint of a session waits the short delay.
inline constexpr long long kKitFirstTickMs = 60 * 1000;

// Everything the kit takes from the desktop, for the whole process. A member left empty is
// the real one: a SteadyClock from kKitFirstTickMs, the toolkit's timers, pointer and menu
// loop, the resources' hint table and cursors.
struct KitServices {
  Clock* clock = nullptr;  // the program's one clock: notices, tooltip delays, throttles
  TimerSource* timers = nullptr;
  PointerProbe* pointer = nullptr;
  PopupPresenter* popups = nullptr;
  StringTableFn strings = nullptr;
  CursorLoaderFn cursors = nullptr;
};

// Makes services the kit's and returns the set they replace.
KitServices InstallKitServices(const KitServices& services);

// The installed service, or the real one.
Clock& KitClock();
TimerSource& KitTimers();
PointerProbe& KitPointer();
PopupPresenter& KitPopups();
StringTableFn KitStrings();

// The cursor of a resource name; a name that names no cursor gives the blank cursor, so the
// pointer is not shown (an empty name is the caller's "no cursor of its own").
wxCursor LoadNamedCursor(const std::string& name);

}  // namespace lq
