// Output with CR LF line breaks read back by the programs it is made for: a name's own line
// breaks are data and must reach them byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace lq::test {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32  // the readers are POSIX shells and tools
// Names whose line breaks a conversion of the output would change, names holding variables'
// names, which must never be expanded again, and other hard ones.
const std::vector<std::string> kHardNames = {"two\nlines.txt",
                                             "ends in lf\n",
                                             "cr lf\r\ninside",
                                             "lone\rcr",
                                             "it's \"q\" $HOME `x`,y.txt",
                                             "ZQ_NAME\nZQ_EXT.txt",
                                             "\n",
                                             "ZQ_EXT.txt",
                                             "ZQ_GETSELINDEX",
                                             "ZQ_NAME ZQ_RELPATH/ZQ_PATH.ZQ_EXT"};

std::string NulList(const TempDir& dir) {
  std::string list;
  for (const std::string& name : kHardNames) list += dir.File(name) + '\0';
  return list;
}

// A program found on PATH, as a user would start it.
ProcessResult RunProgram(const std::string& program, std::vector<std::string> args,
                         const std::string& input = "") {
  args.insert(args.begin(), program);
  return RunProcess("/usr/bin/env", args, input);
}

TEST(CliReaders, AShellScriptWithCrLfBreaksFindsNamesHoldingLineBreaks) {
  TempDir dir;
  fs::create_directory(dir.path() / "ZQ_NAME ZQ_RELPATH");
  for (std::size_t i = 0; i < kHardNames.size(); ++i) {
    WriteFile(dir.File(kHardNames[i]), "content " + std::to_string(i) + ";");
  }
  const std::string script = dir.File("run.sh");
  // Each line ends in a comment, so that the CR of its CR LF is no part of a word.
  const auto made =
      RunCli({"-0", "--files-from", "-", "--escape", "shell", "--eol", "crlf", "--output", script,
              "--main-head", "set -e #\n", "--header", "test -e '", "--queue",
              "' || exit 3 #\ncat -- 'ZQ_PATHZQ_NAMEZQ_EXT' #\n", "--main-queue", "exit 0 #\n"},
             NulList(dir));
  ASSERT_EQ(made.status, 0) << made.err;
  ASSERT_NE(ReadFile(script).find("#\r\n"), std::string::npos) << "the texts' breaks are CR LF";
  std::string want;
  for (std::size_t i = 0; i < kHardNames.size(); ++i) {
    want += "content " + std::to_string(i) + ";";
  }
  for (const char* shell : {"sh", "bash"}) {
    const auto ran = RunProgram(shell, {script});
    EXPECT_EQ(ran.status, 0) << shell << ": " << ran.err;
    EXPECT_EQ(ran.out, want) << shell;
  }
}

TEST(CliReaders, PythonsCsvReaderGetsNamesHoldingLineBreaksByteForByte) {
  TempDir dir;
  const std::string table = dir.File("names.csv");
  const auto made =
      RunCli({"-0", "--files-from", "-", "--escape", "csv", "--eol", "crlf", "--output", table,
              "--main-head", "n,name\n", "--header", "ZQ_GETSELINDEX,\"", "--queue", "\"\n"},
             NulList(dir));
  ASSERT_EQ(made.status, 0) << made.err;
  // Each name's bytes, ended by NUL, as the csv module reads them.
  const char* reader =
      "import csv, sys\n"
      "with open(sys.argv[1], newline='', encoding='utf-8', errors='surrogateescape') as f:\n"
      "    rows = list(csv.reader(f))\n"
      "assert rows[0] == ['n', 'name'], rows[0]\n"
      "for n, row in enumerate(rows[1:], 1):\n"
      "    assert row[0] == str(n), row\n"
      "    sys.stdout.buffer.write(row[1].encode('utf-8', 'surrogateescape') + b'\\0')\n";
  const auto read = RunProgram("python3", {"-c", reader, table});
  ASSERT_EQ(read.status, 0) << read.err;
  EXPECT_EQ(read.out, NulList(dir));
}
#endif

}  // namespace
}  // namespace lq::test
