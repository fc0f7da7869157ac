#pragma once

#include <wx/window.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "tests/gui/fakes/fake_clock.h"
#include "uikit/grafext/kit_services.h"

namespace lq::test {

// Timers that fire when the fake clock passes their time, in time order, so a test can let
// a minute pass at once.
class FakeTimers : public TimerSource {
 public:
  explicit FakeTimers(FakeClock& clock) : clock_(clock) {}

  class Timer : public KitTimer {
   public:
    Timer(FakeTimers& owner, int id, std::function<void()> on_tick)
        : owner_(owner), id_(id), on_tick_(std::move(on_tick)) {
      ++owner_.live;
    }
    ~Timer() override {
      --owner_.live;
      auto& all = owner_.timers_;
      all.erase(std::remove(all.begin(), all.end(), this), all.end());
    }
    void Start(int interval_ms) override {
      interval_ = interval_ms;
      due_ = owner_.clock_.now + interval_ms;
      running_ = true;
      ++owner_.starts;
    }
    void Stop() override { running_ = false; }
    bool IsRunning() const override { return running_; }
    int id() const override { return id_; }
    int interval() const { return interval_; }
    long long due() const { return due_; }

   private:
    friend class FakeTimers;
    FakeTimers& owner_;
    int id_;
    std::function<void()> on_tick_;
    int interval_ = 0;
    long long due_ = 0;
    bool running_ = false;
  };

  std::unique_ptr<KitTimer> Make(int id, std::function<void()> on_tick) override {
    auto timer = std::make_unique<Timer>(*this, id, std::move(on_tick));
    timers_.push_back(timer.get());
    return timer;
  }

  // Moves the clock on by ms, firing every tick that falls due on the way.
  void Advance(long long ms) {
    const long long end = clock_.now + ms;
    for (;;) {
      Timer* next = nullptr;
      for (Timer* t : timers_) {
        if (t->running_ && t->due_ <= end && (next == nullptr || t->due_ < next->due_)) next = t;
      }
      if (next == nullptr) break;
      clock_.now = next->due_;
      next->due_ += next->interval_;
      ++ticks;
      next->on_tick_();  // may stop, restart or destroy timers
    }
    clock_.now = end;
  }

  int Running() const {
    return static_cast<int>(
        std::count_if(timers_.begin(), timers_.end(), [](Timer* t) { return t->running_; }));
  }
  const Timer* Find(int id) const {
    for (Timer* t : timers_) {
      if (t->id_ == id) return t;
    }
    return nullptr;
  }

  int live = 0;
  long long starts = 0;
  long long ticks = 0;

 private:
  FakeClock& clock_;
  std::vector<Timer*> timers_;
};

// A pointer the test puts where it likes; the window under it is the toolkit's answer for
// that point unless the test names one.
class FakePointer : public PointerProbe {
 public:
  wxPoint Position() override { return pos; }
  wxWindow* WindowAt(const wxPoint& p) override {
    if (at) return at(p);
    return wxFindWindowAtPoint(p);
  }

  wxPoint pos{0, 0};
  std::function<wxWindow*(const wxPoint&)> at;
};

// The one way tests change the kit's services: for its lifetime the kit has the real ones
// except those the test fakes, and then the set it found comes back. The kit's clock is the
// program's only one, so a faked time is the time of every part of the window.
class KitFakes {
 public:
  KitFakes() : KitFakes(own_clock_) {}
  // Fakes time with the test's own clock (one that also notes what it saw, say).
  explicit KitFakes(FakeClock& time) : clock(time), timers(time), saved_(InstallKitServices({})) {
    clock.now = 1;
  }
  ~KitFakes() { InstallKitServices(saved_); }
  KitFakes(const KitFakes&) = delete;
  KitFakes& operator=(const KitFakes&) = delete;

  // The clock and the timers it drives.
  void UseFakeTime() {
    set_.clock = &clock;
    set_.timers = &timers;
    InstallKitServices(set_);
  }
  // The clock alone: the toolkit's timers still fire in real time, but a notice's wait and
  // every reading of the time are the fake's.
  void UseFakeClock() {
    set_.clock = &clock;
    InstallKitServices(set_);
  }
  // The real clock and timers again, for a test that measures what the display does.
  void UseRealTime() {
    set_.clock = nullptr;
    set_.timers = nullptr;
    InstallKitServices(set_);
  }
  void UseFakePointer() {
    set_.pointer = &pointer;
    InstallKitServices(set_);
  }
  // nullptr puts the real one back.
  void UsePopups(PopupPresenter* popups) {
    set_.popups = popups;
    InstallKitServices(set_);
  }
  void UseStrings(StringTableFn strings) {
    set_.strings = strings;
    InstallKitServices(set_);
  }
  void UseCursors(CursorLoaderFn cursors) {
    set_.cursors = cursors;
    InstallKitServices(set_);
  }

  FakeClock& clock;
  FakeTimers timers;
  FakePointer pointer;

 private:
  FakeClock own_clock_;  // bound to clock before it is built, used only after
  KitServices set_;
  KitServices saved_;
};

}  // namespace lq::test
