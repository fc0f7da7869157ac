#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "engine/atomic_file.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const lq::ParsedCommandLine parsed = lq::ParseCommandLine(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "loomquill-cli: %s\nTry 'loomquill-cli --help'.\n", parsed.error.c_str());
    return lq::kExitUsage;
  }
  // Ctrl-C during a long --output must not leave the half-written temporary file behind.
  lq::RemoveTemporaryFilesOnSignals();
  return lq::RunCli(parsed.options);
}
