#include "tests/gui/real/pixels.h"

#include <algorithm>
#include <map>

#include "uikit/grafext/contrast.h"

namespace lq::test {
namespace {

// Whether every opaque pixel of art shows in shot with its very colour, art's top left at x, y.
bool ShowsAt(const wxImage& shot, const wxImage& art, int x, int y) {
  for (int ay = 0; ay < art.GetHeight(); ++ay) {
    for (int ax = 0; ax < art.GetWidth(); ++ax) {
      if (art.IsTransparent(ax, ay)) continue;
      if (shot.GetRed(x + ax, y + ay) != art.GetRed(ax, ay) ||
          shot.GetGreen(x + ax, y + ay) != art.GetGreen(ax, ay) ||
          shot.GetBlue(x + ax, y + ay) != art.GetBlue(ax, ay)) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

bool ShowsPixelForPixel(const wxImage& shot, const wxImage& art) {
  for (int y = 0; y + art.GetHeight() <= shot.GetHeight(); ++y) {
    for (int x = 0; x + art.GetWidth() <= shot.GetWidth(); ++x) {
      if (ShowsAt(shot, art, x, y)) return true;
    }
  }
  return false;
}

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
