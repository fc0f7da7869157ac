#include "tests/gui/real/pixels.h"

#include <algorithm>
#include <map>

#include "uikit/grafext/contrast.h"

namespace lq::test {

wxColour MostCommonColour(const wxImage& image) {
  std::map<unsigned long, int> counts;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      ++counts[(image.GetRed(x, y) << 16) | (image.GetGreen(x, y) << 8) | image.GetBlue(x, y)];
    }
  }
  const auto most =
      std::max_element(counts.begin(), counts.end(),
                       [](const auto& a, const auto& b) { return a.second < b.second; });
  if (most == counts.end()) return {};
  return {static_cast<unsigned char>(most->first >> 16),
          static_cast<unsigned char>(most->first >> 8), static_cast<unsigned char>(most->first)};
}

double HighestContrast(const wxImage& image, const wxColour& colour) {
  double highest = 1.0;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      const wxColour pixel(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
      highest = std::max(highest, Contrast(pixel, colour));
    }
  }
  return highest;
}

}  // namespace lq::test
