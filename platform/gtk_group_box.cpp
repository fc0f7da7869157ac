#include "platform/gtk_group_box.h"

#include <gtk/gtk.h>

#include <string>

namespace lq {
namespace {

constexpr const char* kSheetKey = "lq-group-label-gap";

void DropSheet(gpointer data) { g_object_unref(data); }

}  // namespace

void SetGroupLabelApart(void* handle, int gap) {
  if (handle == nullptr || !GTK_IS_FRAME(handle)) return;
  GtkWidget* label = gtk_frame_get_label_widget(GTK_FRAME(handle));
  if (label == nullptr) return;
  GtkStyleContext* style = gtk_widget_get_style_context(label);
  if (auto* before =
          static_cast<GtkStyleProvider*>(g_object_get_data(G_OBJECT(label), kSheetKey))) {
    gtk_style_context_remove_provider(style, before);
  }
  // Padding lies inside the label's box, which is what the frame leaves its gap for.
  const std::string px = std::to_string(gap) + "px";
  const std::string sheet = "* { padding-left: " + px + "; padding-right: " + px + "; }";
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, sheet.c_str(), -1, nullptr);
  gtk_style_context_add_provider(style, GTK_STYLE_PROVIDER(provider),
                                 GTK_STYLE_PROVIDER_PRIORITY_USER);
  g_object_set_data_full(G_OBJECT(label), kSheetKey, provider, DropSheet);
}

}  // namespace lq
