#pragma once

// SSE2 byte masks: the one place Loomquill uses <emmintrin.h>. The fast paths (the line
// splitter, the look at a name's end) compare 16 bytes at once (_mm_cmpeq_epi8) and gather
// one bit a byte (_mm_movemask_epi8), instead of a branch per byte.

#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lq {

#ifdef __SSE2__
inline constexpr bool kHaveSse2 = true;

// 16 bytes held in a register, asked where a byte stands among them.
class Block16 {
 public:
  // Reads p[0..15], aligned or not.
  explicit Block16(const char* p) : bytes_(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))) {}
  // Bit i set where byte i is c.
  std::uint32_t Mask(char c) const {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes_, _mm_set1_epi8(c))));
  }
  // Bit i set where byte i is a or b.
  std::uint32_t Mask(char a, char b) const {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(bytes_, _mm_set1_epi8(a)), _mm_cmpeq_epi8(bytes_, _mm_set1_epi8(b)))));
  }

 private:
  __m128i bytes_;
};

// 32 bytes as two blocks: bit i of a mask for byte i.
class Block32 {
 public:
  Block32(const Block16& lo, const Block16& hi) : lo_(lo), hi_(hi) {}
  explicit Block32(const char* p) : lo_(p), hi_(p + 16) {}
  std::uint32_t Mask(char c) const { return lo_.Mask(c) | hi_.Mask(c) << 16; }
  std::uint32_t Mask(char a, char b) const { return lo_.Mask(a, b) | hi_.Mask(a, b) << 16; }

 private:
  Block16 lo_;
  Block16 hi_;
};
#else
inline constexpr bool kHaveSse2 = false;
#endif

}  // namespace lq
