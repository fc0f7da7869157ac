#pragma once

#include <vector>

#include "uikit/grafext/white_center_dlg.h"

namespace lq {

// The main panel's controls for a narrow window (half a screen, a phone's width): the same
// controls as the resource's, in one column of rows: the list with its counter and buttons,
// the header, the queue, the path modes two by two, the settings one below the other, then
// Auto Drag and Create, and the relative folder last.
const std::vector<TWhiteCenterPanel::PlacedControl>& NarrowMainPanel();
// Its client size, in dialog units.
wxSize NarrowMainPanelSize();

}  // namespace lq
