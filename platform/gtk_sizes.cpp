#include "platform/gtk_sizes.h"

#include <gtk/gtk.h>

namespace lq {

WidgetSize GtkMinimumSize(void* handle) {
  auto* widget = static_cast<GtkWidget*>(handle);
  // wxWidgets holds a control at the size it was given through GTK's size request: the
  // toolkit's own minimum shows without it.
  int width = -1;
  int height = -1;
  gtk_widget_get_size_request(widget, &width, &height);
  gtk_widget_set_size_request(widget, -1, -1);
  GtkRequisition minimum{0, 0};
  gtk_widget_get_preferred_size(widget, &minimum, nullptr);
  gtk_widget_set_size_request(widget, width, height);
  return {minimum.width, minimum.height};
}

}  // namespace lq
