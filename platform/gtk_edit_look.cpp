#include "platform/gtk_edit_look.h"

#include <gtk/gtk.h>

#include <string>

namespace lq {
namespace {

constexpr const char* kSheetKey = "lq-edit-margin";

void DropSheet(gpointer data) { g_object_unref(data); }

}  // namespace

void SetEditInnerMargin(void* handle, int margin) {
  if (handle == nullptr) return;
  auto* widget = static_cast<GtkWidget*>(handle);
  if (GTK_IS_SCROLLED_WINDOW(widget)) {
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget));
    if (child == nullptr || !GTK_IS_TEXT_VIEW(child)) return;
    GtkTextView* view = GTK_TEXT_VIEW(child);
    gtk_text_view_set_left_margin(view, margin);
    gtk_text_view_set_right_margin(view, margin);
    gtk_text_view_set_top_margin(view, margin);
    gtk_text_view_set_bottom_margin(view, margin);
    return;
  }
  if (!GTK_IS_ENTRY(widget)) return;
  GtkStyleContext* style = gtk_widget_get_style_context(widget);
  if (auto* before =
          static_cast<GtkStyleProvider*>(g_object_get_data(G_OBJECT(widget), kSheetKey))) {
    gtk_style_context_remove_provider(style, before);
  }
  // The theme asks more height of an entry than a resource's one-line field has: without its
  // room above and below the text is centred in what the field has, not cut at the bottom.
  const std::string px = std::to_string(margin) + "px";
  const std::string sheet = "entry { min-height: 0; padding: 0 " + px + "; }";
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, sheet.c_str(), -1, nullptr);
  gtk_style_context_add_provider(style, GTK_STYLE_PROVIDER(provider),
                                 GTK_STYLE_PROVIDER_PRIORITY_USER);
  g_object_set_data_full(G_OBJECT(widget), kSheetKey, provider, DropSheet);
}

}  // namespace lq
