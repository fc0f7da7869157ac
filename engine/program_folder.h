#pragma once

#include <string>

namespace lq {

// The folder of the running executable, resolved through links, with a trailing separator;
// empty when it cannot be found. Both front ends look for the sample templates there.
std::string ProgramFolder();

}  // namespace lq
