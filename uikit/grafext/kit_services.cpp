#include "uikit/grafext/kit_services.h"

#include <wx/cursor.h>
#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <utility>

#include "platform/compositor.h"
#include "platform/steady_clock.h"
#include "resources/hint_table.h"
#include "resources/images.h"
#include "uikit/grafext/popup.h"

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

// The innermost shown window of top's tree whose screen rectangle holds the point.
wxWindow* WindowWithin(wxWindow* window, const wxPoint& screen_point) {
  if (window == nullptr || !window->IsShown()) return nullptr;
  const wxWindowList& children = window->GetChildren();
  // The last child is drawn over the others.
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if ((*it)->IsTopLevel()) continue;
    if (wxWindow* found = WindowWithin(*it, screen_point)) return found;
  }
  return window->GetScreenRect().Contains(screen_point) ? window : nullptr;
}

class WxPointerProbe : public PointerProbe {
 public:
  // Under Wayland the toolkit gives the pointer in the coordinates of the window it is in.
  wxPoint Position() override { return wxGetMousePosition(); }
  wxWindow* WindowAt(const wxPoint& screen_point) override {
    if (!OnWayland()) return wxFindWindowAtPoint(screen_point);
    // Each window's coordinates start at its own corner, so a point names a window only in
    // the one the pointer is in; over no window of ours it names none.
    return WindowWithin(TopLevelUnderPointer(), screen_point);
  }
};

// The toolkit's modal menu loop.
class WxPopupPresenter : public PopupPresenter {
 public:
  void Show(wxWindow* owner, wxMenu& menu, const std::string&, const wxPoint& pos) override {
    owner->PopupMenu(&menu, pos);
  }
};

// Made on first use only: the program installs its own clock before the kit reads one.
Clock& RealClock() {
  static SteadyClock clock(kKitFirstTickMs);
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
PopupPresenter& RealPopups() {
  static WxPopupPresenter presenter;
  return presenter;
}

KitServices g_installed;

}  // namespace

KitServices InstallKitServices(const KitServices& services) {
  return std::exchange(g_installed, services);
}

Clock& KitClock() { return g_installed.clock != nullptr ? *g_installed.clock : RealClock(); }
TimerSource& KitTimers() {
  return g_installed.timers != nullptr ? *g_installed.timers : RealTimers();
}
PointerProbe& KitPointer() {
  return g_installed.pointer != nullptr ? *g_installed.pointer : RealPointer();
}
PopupPresenter& KitPopups() {
  return g_installed.popups != nullptr ? *g_installed.popups : RealPopups();
}
StringTableFn KitStrings() {
  return g_installed.strings != nullptr ? g_installed.strings : &HintString;
}

wxCursor LoadNamedCursor(const std::string& name) {
  const CursorLoaderFn loader =
      g_installed.cursors != nullptr ? g_installed.cursors : &LoadCursorResource;
  wxCursor cursor = loader(name);
  return cursor.IsOk() ? cursor : wxCursor(wxCURSOR_BLANK);
}

}  // namespace lq
