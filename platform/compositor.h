#pragma once

#include <wx/gdicmn.h>

#include <string>

class wxWindow;

namespace lq {

// What the display server lets a program do with its top-level windows. Under X11 the
// program places, moves and focuses them itself; a Wayland compositor does all three, and
// gives each window only its own coordinates.

// Names the program to the display server; called before the toolkit starts. Its windows
// then carry id as their Wayland app_id and as the instance part of their X11 WM_CLASS (the
// class part is wxApp's class name), which docks and task bars match with the desktop entry
// of that name.
void NameProgram(const char* id);

// Whether the toolkit talks to a Wayland compositor; false under X11 and XWayland.
bool OnWayland();

// Hands the move of top (a top-level window) to the compositor while the button that began
// it is held, as a title bar does; false where that cannot be done.
bool BeginCompositorMove(wxWindow* top, int button, const wxPoint& pointer, long timestamp);

// Asks the compositor to place a new top-level window, centred on its parent when it has
// one, instead of at a position set by code.
void LetCompositorPlace(wxWindow* top);

// Under Wayland, asks the compositor to bring top forward with the keyboard focus. A token
// from the program that started Loomquill (a file manager's) lets compositors that refuse
// focus to a window that asks on its own give it; an empty token asks without one. Under
// X11 the token is a startup id, which ends the launcher's feedback for that start.
void AskForFocus(wxWindow* top, const std::string& activation_token);

// Under X11, tells the launcher that the start with this startup id is complete, for a start
// whose files were taken without a window coming forward; elsewhere nothing.
void CompleteStart(const std::string& activation_token);

// The top-level window of ours that the pointer is in, or null when it is over none of
// them (under X11: null, the caller looks by position).
wxWindow* TopLevelUnderPointer();

}  // namespace lq
