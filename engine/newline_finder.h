#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/sse2_block.h"

namespace lq {

// The line feeds of a text, in order. Looks at 64 bytes at a time (SSE2 masks) and keeps
// where the line feeds are as bits, so each line costs a few instructions instead of a
// search of its own: the fast path of reading names.
class NewlineFinder {
 public:
  explicit NewlineFinder(std::string_view text) : text_(text) {}

  // The position of the next line feed, or npos after the last one.
  std::size_t Next() {
    while (bits_ == 0) {
      if (next_ >= text_.size()) return std::string_view::npos;
      Load();
    }
    const std::size_t at = base_ + static_cast<std::size_t>(std::countr_zero(bits_));
    bits_ &= bits_ - 1;
    return at;
  }

 private:
  static constexpr std::size_t kBlock = 64;

  void Load() {
    base_ = next_;
#ifdef __SSE2__
    if (text_.size() - next_ >= kBlock) {
      const char* p = text_.data() + next_;
      const auto feeds = [p](int i) {
        return static_cast<std::uint64_t>(Block16(p + 16 * i).Mask('\n'));
      };
      bits_ = feeds(0) | feeds(1) << 16 | feeds(2) << 32 | feeds(3) << 48;
      next_ += kBlock;
      return;
    }
#endif
    // The last bytes, which may not be read past, one at a time.
    const std::size_t end = text_.size() - next_ < kBlock ? text_.size() : next_ + kBlock;
    std::uint64_t bits = 0;
    for (std::size_t i = next_; i < end; ++i) {
      if (text_[i] == '\n') bits |= std::uint64_t{1} << (i - next_);
    }
    bits_ = bits;
    next_ = end;
  }

  std::string_view text_;
  std::size_t next_ = 0;  // where the next block starts
  std::size_t base_ = 0;  // where the block of bits_ starts
  std::uint64_t bits_ = 0;
};

}  // namespace lq
