#include "platform/compositor.h"

#include <wx/window.h>

#ifdef __WXGTK__
#include <gdk/gdkwayland.h>
#include <gtk/gtk.h>
#endif

namespace lq {

#ifdef __WXGTK__
namespace {

GtkWindow* GtkWindowOf(wxWindow* top) {
  if (top == nullptr || !top->IsTopLevel()) return nullptr;
  auto* widget = static_cast<GtkWidget*>(top->GetHandle());
  return widget != nullptr && GTK_IS_WINDOW(widget) ? GTK_WINDOW(widget) : nullptr;
}

}  // namespace

bool OnWayland() {
  GdkDisplay* display = gdk_display_get_default();
  return display != nullptr && GDK_IS_WAYLAND_DISPLAY(display);
}

bool BeginCompositorMove(wxWindow* top, int button, const wxPoint& pointer, long timestamp) {
  GtkWindow* window = GtkWindowOf(top);
  if (window == nullptr || button <= 0) return false;
  gtk_window_begin_move_drag(window, button, pointer.x, pointer.y, static_cast<guint32>(timestamp));
  return true;
}

#else

bool OnWayland() { return false; }
bool BeginCompositorMove(wxWindow*, int, const wxPoint&, long) { return false; }

#endif

}  // namespace lq
