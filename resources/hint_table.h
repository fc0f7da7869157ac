#pragma once

#include <string_view>

namespace lq {

// The hint text of a command or control id: the status text, then after the first line
// feed the tooltip text (which may have several lines). Empty when the id has no hint.
std::string_view HintString(int id);

}  // namespace lq
