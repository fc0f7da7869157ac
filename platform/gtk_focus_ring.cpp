#include "platform/gtk_focus_ring.h"

#include <gtk/gtk.h>

#include <string>

#include "platform/gtk_widget_sheet.h"

namespace lq {
namespace {

constexpr const char* kRingKey = "lq-focus-ring";
constexpr const char* kWatchKey = "lq-focus-press-watch";

void Drop(gpointer data) { g_object_unref(data); }

GtkWindow* WindowOf(void* widget) {
  if (widget == nullptr) return nullptr;
  GtkWidget* top = gtk_widget_get_toplevel(static_cast<GtkWidget*>(widget));
  return GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr;
}

void OnPress(GtkGestureMultiPress* gesture, int, double, double, gpointer) {
  GtkWidget* widget = gtk_event_controller_get_widget(GTK_EVENT_CONTROLLER(gesture));
  if (!GTK_IS_WINDOW(widget)) return;
  GtkWindow* window = GTK_WINDOW(widget);
  if (!gtk_window_get_focus_visible(window)) return;
  gtk_window_set_focus_visible(window, FALSE);
  // A press that leaves the focus where it is repaints nothing of itself.
  if (GtkWidget* focus = gtk_window_get_focus(window)) gtk_widget_queue_draw(focus);
}

}  // namespace

void LayFocusRing(void* widget, const std::string& colour, int width) {
  const std::string px = std::to_string(width) + "px";
  // Inside the control's own allocation, where no neighbour covers it; the theme's rounding.
  ReplaceWidgetSheet(widget, kRingKey,
                     "*:focus { outline-style: solid; outline-width: " + px +
                         "; outline-color: " + colour + "; outline-offset: -" + px + "; }");
}

void HideFocusOnPointerPress(void* widget) {
  GtkWindow* window = WindowOf(widget);
  if (window == nullptr || g_object_get_data(G_OBJECT(window), kWatchKey) != nullptr) return;
  GtkGesture* press = gtk_gesture_multi_press_new(GTK_WIDGET(window));
  // Any button; the capture phase runs from the window down, before the control under the
  // pointer takes the press. The gesture never claims it, so the control still gets it.
  gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(press), 0);
  gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(press), GTK_PHASE_CAPTURE);
  g_signal_connect(press, "pressed", G_CALLBACK(OnPress), nullptr);
  // The window holds the gesture as long as it lives.
  g_object_set_data_full(G_OBJECT(window), kWatchKey, press, Drop);
}

bool WindowShowsFocus(void* widget) {
  GtkWindow* window = WindowOf(widget);
  return window != nullptr && gtk_window_get_focus_visible(window);
}

}  // namespace lq
