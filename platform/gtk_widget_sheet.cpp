#include "platform/gtk_widget_sheet.h"

#include <gtk/gtk.h>

namespace lq {
namespace {

void DropSheet(gpointer data) { g_object_unref(data); }

}  // namespace

void ReplaceWidgetSheet(void* handle, const char* key, const std::string& css) {
  if (handle == nullptr) return;
  auto* widget = static_cast<GtkWidget*>(handle);
  GtkStyleContext* style = gtk_widget_get_style_context(widget);
  if (auto* before = static_cast<GtkStyleProvider*>(g_object_get_data(G_OBJECT(widget), key))) {
    gtk_style_context_remove_provider(style, before);
  }
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
  gtk_style_context_add_provider(style, GTK_STYLE_PROVIDER(provider),
                                 GTK_STYLE_PROVIDER_PRIORITY_USER);
  // Setting the next sheet under the key lets this one go, once it is off the widget.
  g_object_set_data_full(G_OBJECT(widget), key, provider, DropSheet);
}

}  // namespace lq
