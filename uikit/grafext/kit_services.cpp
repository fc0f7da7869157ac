#include "uikit/grafext/kit_services.h"

#include <wx/timer.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <utility>

#include "platform/steady_clock.h"

namespace lq {
namespace {

class WxKitTimer : public KitTimer, private wxTimer {
 public:
  WxKitTimer(int id, std::function<void()> on_tick) : id_(id), on_tick_(std::move(on_tick)) {}
  ~WxKitTimer() override { wxTimer::Stop(); }
  void Start(int interval_ms) override { wxTimer::Start(interval_ms, wxTIMER_CONTINUOUS); }
  void Stop() override { wxTimer::Stop(); }
  bool IsRunning() const override { return wxTimer::IsRunning(); }
  int id() const override { return id_; }

 private:
  // Start(int) is KitTimer's; wxTimer's own stays reachable only as wxTimer::Start.
  using wxTimer::Start;
  void Notify() override { on_tick_(); }

  int id_;
  std::function<void()> on_tick_;
};

class WxTimerSource : public TimerSource {
 public:
  std::unique_ptr<KitTimer> Make(int id, std::function<void()> on_tick) override {
    return std::make_unique<WxKitTimer>(id, std::move(on_tick));
  }
};

class WxPointerProbe : public PointerProbe {
 public:
  wxPoint Position() override { return wxGetMousePosition(); }
  wxWindow* WindowAt(const wxPoint& screen_point) override {
    return wxFindWindowAtPoint(screen_point);
  }
};

// Tick 0 is "the tip was just cleared" to the tooltip: the kit's ticks start well past it,
// so the first hint of a session waits the short delay.
class KitSteadyClock : public Clock {
 public:
  long long NowMs() override { return steady_.NowMs() + kEpochMs; }
  void BusyWait(long long ms) override { steady_.BusyWait(ms); }

 private:
  static constexpr long long kEpochMs = 60 * 1000;
  SteadyClock steady_;
};

Clock& RealClock() {
  static KitSteadyClock clock;
  return clock;
}
TimerSource& RealTimers() {
  static WxTimerSource source;
  return source;
}
PointerProbe& RealPointer() {
  static WxPointerProbe probe;
  return probe;
}

Clock* g_clock = nullptr;
TimerSource* g_timers = nullptr;
PointerProbe* g_pointer = nullptr;

}  // namespace

Clock& KitClock() { return g_clock != nullptr ? *g_clock : RealClock(); }
TimerSource& KitTimers() { return g_timers != nullptr ? *g_timers : RealTimers(); }
PointerProbe& KitPointer() { return g_pointer != nullptr ? *g_pointer : RealPointer(); }

void SetKitClock(Clock* clock) { g_clock = clock; }
void SetKitTimers(TimerSource* source) { g_timers = source; }
void SetKitPointer(PointerProbe* probe) { g_pointer = probe; }

}  // namespace lq
