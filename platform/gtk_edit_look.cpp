#include "platform/gtk_edit_look.h"

#include <gtk/gtk.h>

#include <string>

#include "platform/gtk_widget_sheet.h"

namespace lq {
namespace {

constexpr const char* kSheetKey = "lq-edit-margin";

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
  // The theme asks more height of an entry than a resource's one-line field has: without its
  // room above and below the text is centred in what the field has, not cut at the bottom.
  const std::string px = std::to_string(margin) + "px";
  ReplaceWidgetSheet(widget, kSheetKey, "entry { min-height: 0; padding: 0 " + px + "; }");
}

}  // namespace lq
