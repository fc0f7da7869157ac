#pragma once

class wxKeyEvent;
class wxWindow;

namespace lq {

// Runs the enabled item of from's frame menu bar whose shortcut is the key of event, as the
// toolkit does for a key nobody took, and says whether there was one. For a control that
// takes its keys itself (wxWANTS_CHARS): GTK offers the menu bar only the keys a focused
// control leaves alone, and a scrolled window takes every arrow, Alt+Up and Alt+Down too.
bool RunMenuShortcut(wxWindow* from, const wxKeyEvent& event);

}  // namespace lq
