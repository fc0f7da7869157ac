#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lq {

// Where a name's last component begins, found in one look at its last 32 bytes.
struct TailMarks {
  std::size_t separator;  // the last separator
  std::size_t dot;        // the last '.' after it, or npos
  unsigned found;         // after the separator: bit 0 set for x, bit 1 for y
};

// Looks for the last a or b and, after it, the last '.' and any x and y among the last 32
// bytes of name (the last 16 when it is shorter than 32), without a branch per byte. False
// when name is shorter than 16 bytes or holds no separator there: the caller then looks the
// usual way. Inline, so that the bytes sought are constants.
inline bool FindTail(std::string_view name, char a, char b, char x, char y, TailMarks& marks) {
#ifdef __SSE2__
  constexpr std::size_t kWindow = 32;
  if (name.size() < kWindow / 2) return false;
  // A name shorter than the window has only its last 16 bytes looked at: the lower half
  // repeats the upper one, so it can never hold the last separator or anything after it.
  const char* end = name.data() + name.size();
  const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
  const __m128i lo = name.size() >= kWindow
                         ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - kWindow))
                         : hi;
  // Bit i set where byte i of the window is one of those sought.
  const auto bits = [&lo, &hi](char c, char d) {
    const __m128i vc = _mm_set1_epi8(c);
    const __m128i vd = _mm_set1_epi8(d);
    const auto half = [&vc, &vd](__m128i b) {
      return static_cast<std::uint32_t>(
          _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(b, vc), _mm_cmpeq_epi8(b, vd))));
    };
    return half(lo) | half(hi) << 16;
  };
  const std::uint32_t seps = bits(a, b);
  if (seps == 0) return false;
  const int sep = 31 - std::countl_zero(seps);
  // Only what lies after the separator: bit sep and all below it cleared.
  const std::uint32_t after = sep == 31 ? 0 : ~std::uint32_t{0} << (sep + 1);
  const std::uint32_t dots = bits('.', '.') & after;
  // Where the window starts, before the name when only its upper half was looked at; the
  // bits found lie inside the name all the same.
  const std::ptrdiff_t base = static_cast<std::ptrdiff_t>(name.size()) - std::ptrdiff_t{kWindow};
  marks.separator = static_cast<std::size_t>(base + sep);
  marks.dot = dots == 0 ? std::string_view::npos
                        : static_cast<std::size_t>(base + 31 - std::countl_zero(dots));
  marks.found = 0;
  if ((bits(x, y) & after) != 0) {  // rare: tell which
    marks.found = ((bits(x, x) & after) != 0 ? 1u : 0u) | ((bits(y, y) & after) != 0 ? 2u : 0u);
  }
  return true;
#else
  (void)name;
  (void)a;
  (void)b;
  (void)x;
  (void)y;
  (void)marks;
  return false;
#endif
}

// Which of a and b occur in name from from on: bit 0 set for a, bit 1 for b. A short end of
// a long name is looked at in one step.
unsigned FindInTail(std::string_view name, std::size_t from, char a, char b);

}  // namespace lq
