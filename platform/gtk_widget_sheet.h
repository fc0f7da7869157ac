#pragma once

#include <string>

namespace lq {

// Gives widget a CSS sheet of its own, at the user's priority over the theme, in place of the
// one an earlier call with the same key gave it; sheets under other keys stay. widget is a
// GtkWidget*, as wxWindow::GetHandle gives it; the widget holds the sheet as long as it lives.
// key names the job the sheet does ("lq-focus-ring") and must outlive the widget.
void ReplaceWidgetSheet(void* widget, const char* key, const std::string& css);

}  // namespace lq
