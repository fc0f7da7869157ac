#include "resources/xpm_image.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace lq {
namespace {

struct Rgb {
  unsigned char r = 0;
  unsigned char g = 0;
  unsigned char b = 0;
  bool operator==(const Rgb&) const = default;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "#RRGGBB" into colour; false for any other form.
bool ReadHexColour(const char* text, Rgb& colour) {
  if (text[0] != '#' || std::strlen(text) != 7) return false;
  unsigned char parts[3];
  for (int i = 0; i < 3; ++i) {
    const int high = HexDigit(text[1 + 2 * i]);
    const int low = HexDigit(text[2 + 2 * i]);
    if (high < 0 || low < 0) return false;
    parts[i] = static_cast<unsigned char>(high * 16 + low);
  }
  colour = {parts[0], parts[1], parts[2]};
  return true;
}

}  // namespace

wxImage DecodeXpm(const char* const* xpm) {
  const auto toolkit = [xpm] { return wxImage(xpm); };
  if (xpm == nullptr || xpm[0] == nullptr) return toolkit();
  int width = 0, height = 0, colours = 0, per_pixel = 0;
  if (std::sscanf(xpm[0], "%d %d %d %d", &width, &height, &colours, &per_pixel) != 4 ||
      per_pixel != 1 || width <= 0 || height <= 0 || colours <= 0 || colours > 256) {
    return toolkit();
  }
  std::array<Rgb, 256> palette{};
  std::array<bool, 256> known{};
  int transparent = -1;
  for (int i = 0; i < colours; ++i) {
    const char* line = xpm[1 + i];
    if (line == nullptr || std::strncmp(line + 1, " c ", 3) != 0) return toolkit();
    const auto key = static_cast<unsigned char>(line[0]);
    if (std::strcmp(line + 4, "None") == 0) {
      transparent = key;
    } else if (!ReadHexColour(line + 4, palette[key])) {
      return toolkit();
    }
    known[key] = true;
  }
  // The toolkit takes for the mask the first colour that no pixel has, counting 0xRRGGBB
  // from 1 on.
  Rgb mask{0, 0, 1};
  if (transparent >= 0) {
    const auto used = [&](const Rgb& colour) {
      for (int key = 0; key < 256; ++key) {
        if (known[key] && key != transparent && palette[key] == colour) return true;
      }
      return false;
    };
    for (unsigned value = 2; used(mask); ++value) {
      mask = {static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 8),
              static_cast<unsigned char>(value)};
    }
    palette[transparent] = mask;
  }
  wxImage image(width, height, false);
  unsigned char* out = image.GetData();
  for (int y = 0; y < height; ++y) {
    const char* row = xpm[1 + colours + y];
    if (row == nullptr || std::strlen(row) < static_cast<std::size_t>(width)) return wxNullImage;
    for (int x = 0; x < width; ++x) {
      const auto key = static_cast<unsigned char>(row[x]);
      if (!known[key]) return wxNullImage;
      const Rgb& colour = palette[key];
      *out++ = colour.r;
      *out++ = colour.g;
      *out++ = colour.b;
    }
  }
  if (transparent >= 0) image.SetMaskColour(mask.r, mask.g, mask.b);
  return image;
}

}  // namespace lq
