#pragma once

#include <cstddef>

namespace lq {

// Byte capacities of the texts Loomquill keeps, terminator excluded.
inline constexpr std::size_t kNameMax = 999;        // a list item, PendingFile, FileOutput
inline constexpr std::size_t kTextMax = 999;        // MainHead, MainQueue
inline constexpr std::size_t kEditReadMax = 998;    // header and queue as read for composing
inline constexpr std::size_t kLineMax = 2999;       // one composed line
inline constexpr std::size_t kComposeWork = 65536;  // bound on a text while variables expand

}  // namespace lq
