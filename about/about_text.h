#pragma once

#include <string>
#include <string_view>

#include "engine/result.h"

namespace lq {

// What `program --version` prints, as GNU programs do: the name and version, the copyright,
// the license and the warranty, each on a line.
std::string VersionText(std::string_view program);

// Writes text to standard output and flushes it; fails, located at "standard output", when
// not all of it went out, so that `--help >/dev/full` fails instead of reporting success.
Status PutStandardOutput(std::string_view text);

}  // namespace lq
