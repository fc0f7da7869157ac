#include "uikit/grafext/contrast.h"

#include <wx/gdicmn.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace lq {
namespace {

double Linear(unsigned char channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

unsigned char Blend(unsigned char from, unsigned char to, double share) {
  return static_cast<unsigned char>(std::lround(from + (to - from) * share));
}

}  // namespace

double Luminance(const wxColour& c) {
  return 0.2126 * Linear(c.Red()) + 0.7152 * Linear(c.Green()) + 0.0722 * Linear(c.Blue());
}

double Contrast(const wxColour& a, const wxColour& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

wxColour ReadableOn(const wxColour& background, const wxColour& preferred) {
  if (preferred.IsOk() && Contrast(background, preferred) >= kReadableContrast) return preferred;
  return Contrast(background, *wxBLACK) >= Contrast(background, *wxWHITE) ? *wxBLACK : *wxWHITE;
}

wxColour Mix(const wxColour& from, const wxColour& to, double share) {
  return {Blend(from.Red(), to.Red(), share), Blend(from.Green(), to.Green(), share),
          Blend(from.Blue(), to.Blue(), share)};
}

wxColour ShowingOn(const wxColour& background, const wxColour& preferred, double ratio) {
  if (Contrast(background, preferred) >= ratio) return preferred;
  // Away from the background's lightness first: lighter where it is lighter, else darker.
  const bool lighter = Luminance(preferred) >= Luminance(background);
  const wxColour away = lighter ? *wxWHITE : *wxBLACK;
  const wxColour across = lighter ? *wxBLACK : *wxWHITE;
  constexpr int kSteps = 64;
  for (const wxColour* extreme : {&away, &across}) {
    for (int step = 1; step <= kSteps; ++step) {
      const wxColour mixed = Mix(preferred, *extreme, static_cast<double>(step) / kSteps);
      if (Contrast(background, mixed) >= ratio) return mixed;
    }
  }
  return ReadableOn(background, preferred);
}

}  // namespace lq
