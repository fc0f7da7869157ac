#pragma once

#include <cstdint>

namespace lq {

// Command ids of template items; the window dispatches exactly this range. A header of its
// own so that the window's id table takes the range without the template scan.
inline constexpr std::int32_t kFirstTemplateId = 1303;
inline constexpr std::int32_t kLastTemplateId = 1599;

}  // namespace lq
