#pragma once

#include <wx/gdicmn.h>

#include <functional>
#include <string>
#include <vector>

namespace lq::test {

// Handles events until done() holds or timeout_ms of real time pass.
bool PumpUntil(const std::function<bool()>& done, int timeout_ms = 5000);

// Drags names from a GTK drag source (drag_source.py) to the screen point with the X
// server's pointer, as a person drags from a file manager, handling events meanwhile.
// after_release runs on another thread once the button is released, for a menu that the drop
// opens. False when the source could not be started.
bool XDrag(const std::vector<std::string>& names, const wxPoint& to,
           const std::function<void()>& after_release = {});

// Runs a shell command line and gives its standard output.
std::string Capture(const std::string& command);

}  // namespace lq::test
