#pragma once

#include <functional>

class wxWindow;

namespace lq {

// Calls on_motion at every pointer move over window or any of its children, disabled ones
// included: GTK hands the moves over a disabled control to no one, not even its parent.
// Ends with the window. Does nothing where the toolkit offers no such watch.
void WatchMotionBeneath(wxWindow* window, std::function<void()> on_motion);

}  // namespace lq
