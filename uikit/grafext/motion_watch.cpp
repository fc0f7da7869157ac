#include "uikit/grafext/motion_watch.h"

#include <wx/window.h>

#ifdef __WXGTK__
#include "platform/gtk_motion.h"
#endif

#include <utility>

namespace lq {

#ifdef __WXGTK__
void WatchMotionBeneath(wxWindow* window, std::function<void()> on_motion) {
  void* watch = StartMotionWatch(window->GetHandle(), std::move(on_motion));
  if (watch == nullptr) return;
  window->Bind(wxEVT_DESTROY, [window, watch](wxWindowDestroyEvent& event) {
    event.Skip();
    if (event.GetEventObject() == window) EndMotionWatch(watch);
  });
}

#else

void WatchMotionBeneath(wxWindow*, std::function<void()>) {}

#endif

}  // namespace lq
