#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "about/program_text.h"
#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "cli/program_args.h"
#include "engine/atomic_file.h"

int main(int argc, char** argv) {
  lq::UseBinaryStandardStreams();
  lq::UseProgramLocale();
  const lq::Result<lq::CliOptions> parsed = lq::ParseCommandLine(lq::ProgramArguments(argc, argv));
  if (!parsed.ok()) {
    std::fprintf(stderr, "loomquill-cli: %s\n%s\n", parsed.failure().text.c_str(),
                 lq::ProgramText("Try 'loomquill-cli --help'."));
    return lq::kExitUsage;
  }
  // Ctrl-C during a long --output must not leave the half-written temporary file behind.
  lq::RemoveTemporaryFilesOnSignals();
#ifdef SIGXFSZ
  // Past `ulimit -f` a write then fails with EFBIG and is reported, rather than killing us.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  return lq::RunCli(parsed.value());
}
