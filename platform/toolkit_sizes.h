#pragma once

#include <wx/gdicmn.h>

class wxWindow;

namespace lq {

// What the toolkit itself knows of a control's size, beyond what wxWidgets says.

// The smallest size the toolkit lays the control out in without complaint: GTK's minimum
// (a check box's indicator and whole label, an entry's frame); elsewhere the best size.
wxSize ToolkitMinimumSize(const wxWindow* control);

}  // namespace lq
