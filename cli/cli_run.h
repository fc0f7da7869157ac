#pragma once

#include "cli/cli_options.h"

namespace lq {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Carries out a parsed command line; messages go to standard error, output where it says.
int RunCli(const CliOptions& options);

}  // namespace lq
