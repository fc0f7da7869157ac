#pragma once

#include <string>
#include <string_view>

namespace lq {

// A name as a person can read it: valid UTF-8 as it is, each byte that is not part of a
// valid sequence as \xHH. Only for showing; the name itself is always kept byte for byte.
std::string ReadableName(std::string_view name);

}  // namespace lq
