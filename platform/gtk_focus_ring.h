#pragma once

#include <string>

namespace lq {

// Keyboard focus as GTK marks it: a ring around the focused control, drawn by GTK while the
// control's window shows focus. GTK shows focus once a key is pressed in the window; the
// window here also stops showing it at a pointer press, so a clicked control wears no ring.
// Widgets are GtkWidget*, as wxWindow::GetHandle gives them.

// Gives widget a ring of colour (a CSS colour such as "#3584e4"), width pixels wide, when it
// has the focus and its window shows focus; a second call replaces the first.
void LayFocusRing(void* widget, const std::string& colour, int width);

// Makes the window that holds widget stop showing focus at each pointer press in it; once
// for each window, however often it is called.
void HideFocusOnPointerPress(void* widget);

// Whether the window that holds widget shows focus now.
bool WindowShowsFocus(void* widget);

}  // namespace lq
