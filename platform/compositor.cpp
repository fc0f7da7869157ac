#include "platform/compositor.h"

#ifdef __WXGTK__
#include <gdk/gdkwayland.h>
#include <gtk/gtk.h>
#endif

namespace lq {

#ifdef __WXGTK__

bool OnWayland() {
  GdkDisplay* display = gdk_display_get_default();
  return display != nullptr && GDK_IS_WAYLAND_DISPLAY(display);
}

#else

bool OnWayland() { return false; }

#endif

}  // namespace lq
