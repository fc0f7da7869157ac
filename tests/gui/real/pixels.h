#pragma once

#include <wx/colour.h>
#include <wx/image.h>

namespace lq::test {

// The colour most pixels of the image have: a control's face or a window's background.
wxColour MostCommonColour(const wxImage& image);
// The highest contrast any pixel of the image has against colour: the core of a glyph.
double HighestContrast(const wxImage& image, const wxColour& colour);
// Whether art shows somewhere in shot with every opaque pixel in its very colour: drawn at
// its own size, neither scaled nor smoothed.
bool ShowsPixelForPixel(const wxImage& shot, const wxImage& art);

}  // namespace lq::test
