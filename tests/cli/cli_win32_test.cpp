// loomquill-cli on Windows: bytes out as composed, arguments and file names of any character.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/path_text.h"
#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace lq::test {
namespace {

namespace fs = std::filesystem;

// Without RunCli's POSIX options: what a Windows user gets.
ProcessResult Native(const std::vector<std::string>& args) { return RunProcess(CliPath(), args); }

TEST(CliWindows, StandardOutputCarriesTheChosenLineBreaksExactly) {
  struct Case {
    const char* eol;
    const char* out;
  };
  for (const Case& c : {Case{"lf", "a\nb\n"}, Case{"crlf", "a\r\nb\r\n"}}) {
    SCOPED_TRACE(c.eol);
    const ProcessResult r = Native({"--eol", c.eol, "--mode", "name", "--queue", "\n", "a", "b"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
  }
  // The host's own line break is CR LF.
  EXPECT_EQ(Native({"--mode", "name", "--queue", "\n", "a"}).out, "a\r\n");
}

TEST(CliWindows, ArgumentsArriveAsUtf8) {
  const std::string names[] = {"\xc3\xbc.txt", "\xe2\x98\x83.txt", "\xf0\x9f\x8e\xb5 song.mp3"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const ProcessResult r = Native({"--eol", "lf", "--header", "<", "--queue", ">", name});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "<" + name + ">");
  }
}

TEST(CliWindows, OutputAndListFilesOfAnyName) {
  TempDir dir;
  const std::string list = dir.File("Liste \xc3\xbc\xe2\x98\x83.lst");
  WriteFile(list, "C:\\M\xc3\xbcsik\\a.flac\r\n");
  const std::string out = dir.File("Ausgabe \xe2\x98\x83.m3u");
  for (int round = 0; round < 2; ++round) {
    const ProcessResult r = Native({"--list", list, "--output", out, "--queue", "\n"});
    EXPECT_EQ(r.status, 0) << r.err;
  }
  EXPECT_EQ(ReadFile(out), "C:\\M\xc3\xbcsik\\a.flac\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST(CliWindows, RelativeNamesRelateToTheFolderOfARelativeOutput) {
  TempDir dir;
  fs::create_directories(dir.path() / "m" / "s");
  const fs::path was = fs::current_path();
  fs::current_path(dir.path());
  const ProcessResult r =
      Native({"--output", "m\\out.m3u", "--mode", "relative", "--eol", "lf", "--queue", "\n",
              "m\\s\\a.flac", ".\\m\\s\\b.flac", ToText(dir.path() / "m" / "c.flac")});
  fs::current_path(was);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(dir.File("m\\out.m3u")), "s\\a.flac\ns\\b.flac\nc.flac\n");
}

}  // namespace
}  // namespace lq::test
