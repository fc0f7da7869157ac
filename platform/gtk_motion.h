#pragma once

#include <functional>

namespace lq {

// A watch on the pointer's moves over a GTK widget and every widget inside it.

// Calls on_motion at every pointer move over widget (a GtkWidget*, as wxWindow::GetHandle
// gives it) or any widget inside it, disabled ones included, until EndMotionWatch; returns
// the watch, or null when widget is null.
void* StartMotionWatch(void* widget, std::function<void()> on_motion);

// Ends watch, as StartMotionWatch returned it, and frees its on_motion.
void EndMotionWatch(void* watch);

}  // namespace lq
