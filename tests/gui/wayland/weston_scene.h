#pragma once

// What a test sees of a weston session (tests/support/with_weston.sh): where weston shows
// each window, and weston's pointer, which xdotool moves on the X display weston runs on.

#include <wx/gdicmn.h>

#include <optional>
#include <string>

class wxWindow;

namespace lq::test {

// Where weston shows the top-level window with this title, on its output.
std::optional<wxPoint> WestonViewOf(const std::string& title);

// A point of one of our windows on weston's output: under Wayland a window's screen
// coordinates start at its own top-level surface's corner.
wxPoint OnWestonOutput(const wxWindow* window, const wxPoint& client);

// The xdotool command line that drives weston's pointer: "DISPLAY=:N xdotool".
std::string WestonXdotool();

}  // namespace lq::test
