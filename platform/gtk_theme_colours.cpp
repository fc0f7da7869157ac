#include "platform/gtk_theme_colours.h"

#include <gtk/gtk.h>

namespace lq {

void* LayWidgetColours(void* widget, const std::string& face, const std::string& text) {
  if (widget == nullptr) return nullptr;
  const std::string sheet =
      "* { background-image: none; background-color: " + face + "; color: " + text + "; }";
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, sheet.c_str(), -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(static_cast<GtkWidget*>(widget)),
                                 GTK_STYLE_PROVIDER(provider), GTK_STYLE_PROVIDER_PRIORITY_USER);
  return provider;
}

void LiftWidgetColours(void* widget, void* sheet) {
  if (sheet == nullptr) return;
  auto* provider = static_cast<GtkCssProvider*>(sheet);
  if (widget != nullptr) {
    gtk_style_context_remove_provider(gtk_widget_get_style_context(static_cast<GtkWidget*>(widget)),
                                      GTK_STYLE_PROVIDER(provider));
  }
  g_object_unref(provider);
}

}  // namespace lq
