#pragma once

class wxWindow;

namespace lq {

// What the display server lets a program do with its top-level windows. Under X11 the
// program places, moves and focuses them itself; a Wayland compositor does all three, and
// gives each window only its own coordinates.

// Whether the toolkit talks to a Wayland compositor; false under X11 and XWayland.
bool OnWayland();

}  // namespace lq
