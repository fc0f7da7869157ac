#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/sse2_block.h"

namespace lq {

// Where a name's last component begins, found in one look at its last 32 bytes.
struct TailMarks {
  std::size_t separator;  // the last separator
  std::size_t dot;        // the last '.' after it, or npos
};

namespace tail_scan_detail {

// The one look: SSE2 masks over the last 32 bytes of name (the last 16 when it is shorter
// than 32), without a branch per byte. False when name is shorter than 16 bytes or holds no
// separator there: the caller then looks the usual way. Inline, so that the bytes sought are
// constants of each caller.
[[gnu::always_inline]] inline bool Look(std::string_view name, char a, char b, TailMarks& marks) {
  if constexpr (kHaveSse2) {
    constexpr std::size_t kWindow = 32;
    if (name.size() < kWindow / 2) return false;
    // A name shorter than the window has only its last 16 bytes looked at: the lower half
    // repeats the upper one, so it can never hold the last separator or anything after it.
    const char* end = name.data() + name.size();
    // The lower half's address is chosen, not the half itself: a choice of addresses
    // compiles to a conditional move, where names of mixed lengths would mislead a branch.
    const Block16 hi(end - 16);
    const Block32 window(Block16(end - (name.size() >= kWindow ? kWindow : 16)), hi);
    const std::uint32_t seps = window.Mask(a, b);
    if (seps == 0) return false;
    const int sep = 31 - std::countl_zero(seps);
    // Only what lies after the separator: bit sep and all below it cleared.
    const std::uint32_t after = sep == 31 ? 0 : ~std::uint32_t{0} << (sep + 1);
    const std::uint32_t dots = window.Mask('.') & after;
    // Where the window starts, before the name when only its upper half was looked at; the
    // bits found lie inside the name all the same.
    const std::ptrdiff_t base = static_cast<std::ptrdiff_t>(name.size()) - std::ptrdiff_t{kWindow};
    marks.separator = static_cast<std::size_t>(base + sep);
    marks.dot = dots == 0 ? std::string_view::npos
                          : static_cast<std::size_t>(base + 31 - std::countl_zero(dots));
    return true;
  } else {
    (void)name, (void)a, (void)b, (void)marks;
    return false;
  }
}

}  // namespace tail_scan_detail

// A Posix name's last '/' and its last dot after it.
[[gnu::always_inline]] inline bool FindPosixTail(std::string_view name, TailMarks& marks) {
  return tail_scan_detail::Look(name, '/', '/', marks);
}

// The last '/' or other separator of a name and its last dot after it.
inline bool FindNameTail(std::string_view name, char other, TailMarks& marks) {
  return tail_scan_detail::Look(name, '/', other, marks);
}

}  // namespace lq
