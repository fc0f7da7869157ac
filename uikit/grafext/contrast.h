#pragma once

#include <wx/colour.h>

namespace lq {

// The least contrast at which text reads on its background (WCAG 2 level AA).
inline constexpr double kReadableContrast = 4.5;
// The least contrast at which a mark that is no text, such as a focus ring, shows (WCAG 2.1).
inline constexpr double kVisibleContrast = 3.0;

// Relative luminance, 0 for black to 1 for white (WCAG 2).
double Luminance(const wxColour& colour);
// The contrast ratio of two colours, 1 to 21.
double Contrast(const wxColour& a, const wxColour& b);
// preferred when it reads on background, else black or white, whichever reads better.
wxColour ReadableOn(const wxColour& background, const wxColour& preferred);
// share parts of to, the rest of from.
wxColour Mix(const wxColour& from, const wxColour& to, double share);
// preferred, or where it shows less than ratio on background, the least mix of it towards
// black or white (whichever shows better) that reaches ratio: the same hue, lighter or darker.
wxColour ShowingOn(const wxColour& background, const wxColour& preferred, double ratio);

}  // namespace lq
