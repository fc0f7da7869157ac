#include "platform/toolkit_sizes.h"

#include <wx/window.h>

#ifdef __WXGTK__
#include "platform/gtk_sizes.h"
#endif

namespace lq {

wxSize ToolkitMinimumSize(const wxWindow* control) {
#ifdef __WXGTK__
  if (void* widget = control->GetHandle()) {
    const WidgetSize minimum = GtkMinimumSize(widget);
    return {minimum.width, minimum.height};
  }
#endif
  return control->GetBestSize();
}

}  // namespace lq
