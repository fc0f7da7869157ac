#pragma once

#include <wx/gdicmn.h>

#include <string>

#include "platform/services.h"
#include "uikit/grafext/kit_services.h"

class wxWindow;

namespace lq {

// The position that centres a window of the given size on the desktop rectangle:
// (desktop width - window width) / 2 from the desktop's left, fractions dropped towards zero,
// and the same vertically. A window larger than the desktop gets a negative offset.
wxPoint CenteredOnDesktop(const wxRect& desktop, const wxSize& window);

// Moves a window to the centre of the primary display, size unchanged, and repaints it.
// Under Wayland a top-level window is left where the compositor puts it.
void CenterOnDesktop(wxWindow* window);

// The outer rectangle of a window of the given size centred on owner (fractions dropped as
// above), moved as little as needed to lie whole inside area: where it is larger than area,
// it is made no larger than area and no smaller than least, and it keeps area's top-left
// edge in sight (the title bar and the start of the controls).
wxRect CenteredWithin(const wxRect& owner, const wxSize& window, const wxRect& area,
                      const wxSize& least);

// Places a top-level window about to show: centred on its owner's top-level window and whole
// inside the work area of the owner's display, shrunk to that area where larger (never below
// its minimum size). Without a shown owner it is centred on the desktop. Under Wayland the
// compositor places it over its owner. Returns whether the size changed.
bool CenterOnOwner(wxWindow* window);

// Puts text on the clipboard as plain text (an empty text empties it as text); the caller
// and the user hear nothing of a failure.
bool CopyTextToClipboard(Clipboard& clipboard, const std::string& text);

// Whether a screen point lies inside the window's screen rectangle, left and top inclusive,
// right and bottom exclusive; false without a window.
bool IsCursorOver(const wxWindow* window, const wxPoint& screen_point);
// The same for the mouse pointer's current position.
bool IsCursorOver(const wxWindow* window);

// Hint text of a resource id, cut to 498 bytes without splitting a UTF-8 sequence, in one of
// two buffers used in turn: the result stays valid until the call after next.
const char* LoadResString(int id);
const char* LoadResString(int id, StringTableFn table);

// The toolkit's version as one number, major + minor / 100 (GTK 3.24 gives 3.24), computed
// once; it keeps its historical name for the drawing helper's comparison against 3.2.
double WindowsVersionNumber();

}  // namespace lq
