#include "platform/compositor.h"

#include <wx/toplevel.h>
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

void NameProgram(const char* id) {
  // GTK takes the program's name from argv[0] only when none is set.
  g_set_prgname(id);
}

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

void LetCompositorPlace(wxWindow* top) {
  GtkWindow* window = GtkWindowOf(top);
  if (window == nullptr) return;
  // A dialog over its parent is the one placement Wayland compositors take from a client.
  if (gtk_window_get_transient_for(window) != nullptr) {
    gtk_window_set_position(window, GTK_WIN_POS_CENTER_ON_PARENT);
  }
}

void AskForFocus(wxWindow* top, const std::string& activation_token) {
  GtkWindow* window = GtkWindowOf(top);
  // A window not yet shown gets the focus the compositor gives new windows.
  if (window == nullptr || !top->IsShown()) return;
  if (!OnWayland()) {
    // Under X11 the token is the launcher's startup id of the start that handed over: given
    // to the shown window, GTK tells the launcher the start is complete (its busy cursor and
    // dock feedback end) and takes the id's time as the window's user time.
    if (!activation_token.empty()) gtk_window_set_startup_id(window, activation_token.c_str());
    return;
  }
  // GDK spends the token at the next focus request, which asks with it instead of its own.
  if (!activation_token.empty()) {
    gdk_wayland_display_set_startup_notification_id(gdk_display_get_default(),
                                                    activation_token.c_str());
  }
  gtk_window_present_with_time(window, GDK_CURRENT_TIME);
}

void CompleteStart(const std::string& activation_token) {
  if (activation_token.empty() || gdk_display_get_default() == nullptr || OnWayland()) return;
  gdk_notify_startup_complete_with_id(activation_token.c_str());
}

wxWindow* TopLevelUnderPointer() {
  if (!OnWayland()) return nullptr;
  GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
  GdkDevice* pointer = seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
  if (pointer == nullptr) return nullptr;
  // GDK knows the surface the pointer entered, and forgets it when the pointer leaves.
  GdkWindow* under = gdk_device_get_window_at_position(pointer, nullptr, nullptr);
  if (under == nullptr) return nullptr;
  GdkWindow* surface = gdk_window_get_toplevel(under);
  for (wxWindow* top : wxTopLevelWindows) {
    auto* widget = static_cast<GtkWidget*>(top->GetHandle());
    if (widget != nullptr && gtk_widget_get_window(widget) == surface) return top;
  }
  return nullptr;
}

#else

void NameProgram(const char*) {}
bool OnWayland() { return false; }
bool BeginCompositorMove(wxWindow*, int, const wxPoint&, long) { return false; }
void LetCompositorPlace(wxWindow*) {}
void AskForFocus(wxWindow*, const std::string&) {}
void CompleteStart(const std::string&) {}
wxWindow* TopLevelUnderPointer() { return nullptr; }

#endif

}  // namespace lq
