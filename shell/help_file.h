#pragma once

#include <string>

namespace lq {

// The help F1 opens: beside the program (a build, a copy of the program folder), else where
// the install puts it, in the desktop's help folder (<datadir>/help/C/loomquill). When neither
// exists, the one beside the program, so the desktop's message names where it was looked for.
std::string HelpFile(const std::string& program_folder);

// Where the install puts the help, reached from the program folder (with a trailing separator).
std::string InstalledHelpFolder(const std::string& program_folder);

}  // namespace lq
