#pragma once

#include <string>
#include <vector>

namespace lq::test {

struct ProcessResult {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

// Runs program with args (no shell), feeding input on its standard input.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = "", const std::string& stdout_path = "");

// The built loomquill-cli.
std::string CliPath();

// Runs the built loomquill-cli. The tests speak of POSIX names and line breaks: on Windows
// they ask for those with --path-style and --eol, which later options still override.
ProcessResult RunCli(std::vector<std::string> args, const std::string& input = "",
                     const std::string& stdout_path = "");

}  // namespace lq::test
