#pragma once

namespace lq {

// What GTK itself knows of a widget's size.

struct WidgetSize {
  int width = 0;
  int height = 0;
};

// The smallest size GTK lays widget (a GtkWidget*, as wxWindow::GetHandle gives it) out
// in, whatever size was requested for it; widget must not be null.
WidgetSize GtkMinimumSize(void* widget);

}  // namespace lq
