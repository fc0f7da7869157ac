#include "platform/gtk_motion.h"

#include <gtk/gtk.h>

#include <utility>

namespace lq {
namespace {

using Handler = std::function<void()>;

void OnMotion(GtkEventControllerMotion*, double, double, gpointer data) {
  (*static_cast<Handler*>(data))();
}

void FreeHandler(gpointer data, GClosure*) { delete static_cast<Handler*>(data); }

}  // namespace

void* StartMotionWatch(void* widget, std::function<void()> on_motion) {
  if (widget == nullptr) return nullptr;
  GtkEventController* controller = gtk_event_controller_motion_new(static_cast<GtkWidget*>(widget));
  if (controller == nullptr) return nullptr;
  // The capture phase runs from the top-level window down, so the widget sees moves that
  // end at a disabled child, which GTK drops before the bubbling phase.
  gtk_event_controller_set_propagation_phase(controller, GTK_PHASE_CAPTURE);
  // The handler lives as long as the controller's signal, which ends with the controller.
  g_signal_connect_data(controller, "motion", G_CALLBACK(OnMotion),
                        new Handler(std::move(on_motion)), FreeHandler,
                        static_cast<GConnectFlags>(0));
  return controller;
}

void EndMotionWatch(void* watch) {
  if (watch != nullptr) g_object_unref(watch);
}

}  // namespace lq
