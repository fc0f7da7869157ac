#include "uikit/grafext/motion_watch.h"

#include <wx/window.h>

#ifdef __WXGTK__
#include <dlfcn.h>
#endif

#include <memory>
#include <utility>

namespace lq {

#ifdef __WXGTK__
namespace {

// GTK is loaded with wxGTK, though its headers are not installed with it.
using ControllerNew = void* (*)(void*);
using SetPhase = void (*)(void*, int);
using Connect = unsigned long (*)(void*, const char*, void (*)(), void*, void*, int);
using Unref = void (*)(void*);
constexpr int kPhaseCapture = 1;  // GTK_PHASE_CAPTURE: ancestors see the event first

template <typename F>
F Symbol(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
}

void OnMotion(void*, double, double, void* data) { (*static_cast<std::function<void()>*>(data))(); }

}  // namespace

void WatchMotionBeneath(wxWindow* window, std::function<void()> on_motion) {
  static const auto make = Symbol<ControllerNew>("gtk_event_controller_motion_new");
  static const auto phase = Symbol<SetPhase>("gtk_event_controller_set_propagation_phase");
  static const auto connect = Symbol<Connect>("g_signal_connect_data");
  static const auto unref = Symbol<Unref>("g_object_unref");
  if (make == nullptr || phase == nullptr || connect == nullptr || unref == nullptr) return;
  if (window->GetHandle() == nullptr) return;
  // The capture phase runs from the top-level window down, so the window sees moves that
  // end at a disabled child, which GTK drops before the bubbling phase.
  void* controller = make(window->GetHandle());
  if (controller == nullptr) return;
  phase(controller, kPhaseCapture);
  auto handler = std::make_shared<std::function<void()>>(std::move(on_motion));
  connect(controller, "motion", reinterpret_cast<void (*)()>(&OnMotion), handler.get(), nullptr, 0);
  window->Bind(wxEVT_DESTROY, [window, controller, handler](wxWindowDestroyEvent& event) {
    event.Skip();
    if (event.GetEventObject() == window) unref(controller);
  });
}

#else

void WatchMotionBeneath(wxWindow*, std::function<void()>) {}

#endif

}  // namespace lq
