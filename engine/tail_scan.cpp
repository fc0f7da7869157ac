#include "engine/tail_scan.h"

#include <bit>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lq {

namespace {

constexpr std::size_t kWindow = 32;

#ifdef __SSE2__
// Bit i set when the byte at i of the 32 at window is c.
struct Window {
  explicit Window(const char* at)
      : lo(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at))),
        hi(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16))) {}
  std::uint32_t Bits(char c) const {
    const __m128i v = _mm_set1_epi8(c);
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(lo, v))) |
           static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(hi, v))) << 16;
  }
  __m128i lo;
  __m128i hi;
};
#endif

}  // namespace

unsigned FindInTail(std::string_view name, std::size_t from, char a, char b) {
  const std::string_view tail = name.substr(from);
#ifdef __SSE2__
  if (name.size() >= kWindow && tail.size() <= kWindow) {
    const Window w(name.data() + name.size() - kWindow);
    const unsigned skip = static_cast<unsigned>(kWindow - tail.size());  // bytes before from
    const std::uint32_t keep = skip == kWindow ? 0 : ~std::uint32_t{0} << skip;
    return ((w.Bits(a) & keep) != 0 ? 1u : 0u) | ((w.Bits(b) & keep) != 0 ? 2u : 0u);
  }
#endif
  return (tail.find(a) != std::string_view::npos ? 1u : 0u) |
         (tail.find(b) != std::string_view::npos ? 2u : 0u);
}

bool FindTail(std::string_view name, char a, char b, char x, char y, TailMarks& marks) {
#ifdef __SSE2__
  if (name.size() < kWindow) return false;
  const Window w(name.data() + name.size() - kWindow);
  const std::uint32_t seps = w.Bits(a) | w.Bits(b);
  if (seps == 0) return false;
  const int sep = 31 - std::countl_zero(seps);
  // Only what lies after the separator: bit sep and all below it cleared.
  const auto after = [sep](std::uint32_t bits) {
    return sep == 31 ? 0 : bits >> (sep + 1) << (sep + 1);
  };
  const std::uint32_t dots = after(w.Bits('.'));
  const std::size_t base = name.size() - kWindow;
  marks.separator = base + static_cast<std::size_t>(sep);
  marks.dot = dots == 0 ? std::string_view::npos
                        : base + static_cast<std::size_t>(31 - std::countl_zero(dots));
  marks.found = (after(w.Bits(x)) != 0 ? 1u : 0u) | (after(w.Bits(y)) != 0 ? 2u : 0u);
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

}  // namespace lq
