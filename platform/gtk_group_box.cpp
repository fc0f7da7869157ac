#include "platform/gtk_group_box.h"

#include <gtk/gtk.h>

#include <string>

#include "platform/gtk_widget_sheet.h"

namespace lq {
namespace {

constexpr const char* kSheetKey = "lq-group-label-gap";

}  // namespace

void SetGroupLabelApart(void* handle, int gap) {
  if (handle == nullptr || !GTK_IS_FRAME(handle)) return;
  GtkWidget* label = gtk_frame_get_label_widget(GTK_FRAME(handle));
  if (label == nullptr) return;
  // Padding lies inside the label's box, which is what the frame leaves its gap for.
  const std::string px = std::to_string(gap) + "px";
  ReplaceWidgetSheet(label, kSheetKey,
                     "* { padding-left: " + px + "; padding-right: " + px + "; }");
}

}  // namespace lq
