#pragma once

#include <wx/gdicmn.h>

#include <vector>

namespace lq {

// GTK's spacing: controls 6 pixels apart or a multiple of it, 12 from the window's edges.
struct SpacingGrid {
  int step = 6;
  int margin = 12;
  // Edges of one kind (two left edges, two right edges) this close were meant to line up.
  int alignment = 3;
};

// The same arrangement on the grid: the order of every edge along each axis kept (so what
// lay inside a group stays inside, what lay apart stays apart, what lined up still does),
// the outermost controls margin from the client's top left, and every distance between two
// edges of the arrangement a multiple of step, never less than step. Edges of one kind
// within alignment of each other become one; there a left or top edge takes the least, a
// right or bottom edge the greatest, so no control is made smaller by it.
// A control marked in elastic_across (a field or a list, whose text does not set its width)
// may also lose up to alignment pixels of width, so the window grows less.
std::vector<wxRect> OnSpacingGrid(const std::vector<wxRect>& rects, const SpacingGrid& grid = {},
                                  const std::vector<bool>& elastic_across = {});

// The client that holds rects with the grid's margin right and below them.
wxSize GridClient(const std::vector<wxRect>& rects, const SpacingGrid& grid = {});

}  // namespace lq
