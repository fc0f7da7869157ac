#include "tests/support/run_process.h"

#include <cstdlib>

namespace lq::test {

std::string CliPath() {
  const char* dir = std::getenv("LQ_BIN_DIR");
#ifdef _WIN32
  constexpr const char* kName = "/loomquill-cli.exe";
#else
  constexpr const char* kName = "/loomquill-cli";
#endif
  return std::string(dir != nullptr ? dir : "bin") + kName;
}

ProcessResult RunCli(std::vector<std::string> args, const std::string& input,
                     const std::string& stdout_path) {
#ifdef _WIN32
  args.insert(args.begin(), {"--path-style", "posix", "--eol", "lf"});
#endif
  return RunProcess(CliPath(), args, input, stdout_path);
}

}  // namespace lq::test
