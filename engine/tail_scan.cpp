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

}  // namespace lq
