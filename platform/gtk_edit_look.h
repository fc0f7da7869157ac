#pragma once

namespace lq {

// The room inside an edit box between its border and its text, as GTK's own fields keep
// it. widget is a wxTextCtrl's GtkWidget* as wxWindow::GetHandle gives it: a GtkEntry for a
// single line, or the GtkScrolledWindow around a GtkTextView for many. A single line keeps
// margin pixels left and right and gives up the theme's room above and below, which the
// resource's short fields have no place for; many lines keep margin on every side.
void SetEditInnerMargin(void* widget, int margin);

}  // namespace lq
