#include "platform/toolkit_sizes.h"

#include <wx/window.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace lq {

wxSize ToolkitMinimumSize(const wxWindow* control) {
#ifdef __WXGTK__
  auto* widget = static_cast<GtkWidget*>(control->GetHandle());
  if (widget != nullptr) {
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
#endif
  return control->GetBestSize();
}

}  // namespace lq
