#pragma once

namespace lq {

// Keeps a group frame's line off its label: GTK breaks the frame's top line for the label
// only as wide as the label's own box, which leaves the line touching the text. gap pixels
// of room on either side of the text widen that break. frame is the GtkFrame* of a group
// box, as wxWindow::GetHandle gives it; a frame without a label is left alone.
void SetGroupLabelApart(void* frame, int gap);

}  // namespace lq
