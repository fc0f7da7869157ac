#pragma once

#include <string>
#include <string_view>

namespace lq {

// What `program --version` prints, as GNU programs do: the name and version, the copyright,
// the license and the warranty, each on a line.
std::string VersionText(std::string_view program);

// Writes text to standard output and flushes it: an empty string when all of it went out,
// else the reason, so that `--help >/dev/full` fails instead of reporting success.
std::string PutStandardOutput(std::string_view text);

}  // namespace lq
