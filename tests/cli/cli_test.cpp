// End-to-end tests of the loomquill-cli executable.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "about/program_version.h"
#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace lq::test {
namespace {

namespace fs = std::filesystem;

ProcessResult Cli(const std::vector<std::string>& args, const std::string& input = "") {
  return RunCli(args, input);
}

TEST(CliUsage, HelpAndVersion) {
  for (const char* help : {"--help", "-h"}) {
    const auto r = Cli({help});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Usage: loomquill-cli [options] [FILE...]"), std::string::npos);
    EXPECT_NE(r.out.find("--list-templates"), std::string::npos);
    EXPECT_TRUE(r.err.empty()) << r.err;
  }
  // As GNU programs say it: name, package and version, copyright, license, warranty.
  const std::string version = "loomquill-cli (Loomquill) " + std::string(kProgramVersion) +
                              "\n"
                              "Copyright (C) 2026 The Loomquill authors\n"
                              "License MIT: <https://opensource.org/license/mit>.\n"
                              "This is free software: you are free to change and redistribute "
                              "it.\n"
                              "There is NO WARRANTY, to the extent permitted by law.\n";
  for (const char* option : {"--version", "-V"}) {
    const auto r = Cli({option, "/ignored"});
    EXPECT_EQ(r.status, 0) << option;
    EXPECT_EQ(r.out, version) << option;
  }
}

// The version comes from the project's one version: the first line of LICENSE names the
// license that --version states.
TEST(CliUsage, VersionStatesTheLicenseOfLicense) {
  const char* source = std::getenv("LQ_SOURCE_DIR");
  if (source == nullptr) GTEST_SKIP() << "LQ_SOURCE_DIR is not set";
  const std::string license = ReadFile(std::string(source) + "/LICENSE");
  const std::string first = license.substr(0, license.find('\n'));
  EXPECT_EQ(first, std::string(kLicenseName) + " License");
  EXPECT_NE(Cli({"-V"}).out.find("License " + std::string(kLicenseName) + ":"), std::string::npos);
}

#ifndef _WIN32
// Text that did not reach standard output is a failure, said on standard error.
TEST(CliUsage, OutputThatCannotBeWrittenFails) {
  if (!fs::exists("/dev/full")) GTEST_SKIP();
  TempDir dir;
  fs::create_directories(dir.path() / "t");
  WriteFile(dir.File("t/one.hqd"), "[Loomquill]\n");
  const std::vector<std::string> cases[] = {
      {"--help"}, {"-h"}, {"--version"}, {"-V"}, {"--list-templates", dir.File("t")}};
  for (const auto& args : cases) {
    SCOPED_TRACE(args[0]);
    const auto r = RunCli(args, "", "/dev/full");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "loomquill-cli: standard output: No space left on device\n");
  }
}
#endif

TEST(CliUsage, ShortOutputOption) {
  TempDir dir;
  const std::string out = dir.File("out.txt");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-o", out, "/a"}, {"-o" + out, "/a"}, {"--output=" + out, "/a"}}) {
    SCOPED_TRACE(args[0]);
    fs::remove(out);
    const auto r = Cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(ReadFile(out), "/a");
  }
  const auto r = Cli({"-o"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("option '--output' needs a value"), std::string::npos) << r.err;
}

// Messages about a file name it first, then why: "loomquill-cli: FILE: reason".
TEST(CliUsage, FileMessagesNameTheFileFirst) {
  TempDir dir;
  const std::string missing = dir.File("missing");
  const std::string out = dir.File("missing/out.txt");
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {{"--list", missing}, "loomquill-cli: " + missing + ": No such file or directory\n"},
      {{"--files-from", missing}, "loomquill-cli: " + missing + ": No such file or directory\n"},
      {{"--template", missing, "/a"},
       "loomquill-cli: " + missing + ": No such file or directory\n"},
      {{"-o", out, "/a"}, "loomquill-cli: " + out + ": No such file or directory\n"},
      {{"--list-templates", missing}, "loomquill-cli: " + missing + ": not a folder\n"},
      {{"--escape", "batch", "--header", "\"", "--queue", "\"", "/m/a\"b"},
       "loomquill-cli: /m/a\"b: a batch file cannot hold a double quote or a line break "
       "inside \"...\"\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0]);
    const auto r = Cli(c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, c.err);
  }
}

TEST(CliUsage, UsageErrorsExitWithTwo) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"-x", "a"}, "unknown option '-x'"},
      {{"--header"}, "option '--header' needs a value"},
      {{"--mode", "short", "a"}, "--mode takes full, relative, name or none, not 'short'"},
      {{"--path-style", "dos", "a"}, "--path-style takes host, windows or posix"},
      {{"--eol", "cr", "a"}, "--eol takes native, lf or crlf"},
      {{"--invert-slash=1", "a"}, "option '--invert-slash' takes no value"},
      {{"--single", "a", "--name", "b"}, "--single and --name cannot be used together"},
      {{"--single", "a", "b"}, "give no other names"},
      {{"--header", std::string(999, 'h'), "a"},
       "--header is 999 bytes long; it holds at most 998"},
      {{"--main-queue", std::string(1000, 'q'), "a"}, "it holds at most 999"},
      {{"--escape", "sh", "a"},
       "--escape takes none, shell, batch, html, url, csv, json, html-url or line"},
      {{"--escape"}, "option '--escape' needs a value"},
      {{"--null=1", "a"}, "option '--null' takes no value"},
      {{"--limit", "0", "a"}, "--limit takes a whole number of names, at least 1, not '0'"},
      {{"--limit", "2x", "a"}, "--limit takes a whole number of names"},
      {{"--limit=-3", "a"}, "--limit takes a whole number of names"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0]);
    const auto r = Cli(c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
}

TEST(CliCompose, WritesHeadLinesAndQueue) {
  const auto r = Cli({"--main-head", "#!/bin/sh\n", "--header", "cp -- '", "--queue",
                      "' /backup/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT\n", "--main-queue",
                      "echo ZQ_GETCOUNT copied\n", "/m/a.mp3", "/m/b c.ogg"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "#!/bin/sh\n"
            "cp -- '/m/a.mp3' /backup/1-a.mp3\n"
            "cp -- '/m/b c.ogg' /backup/2-b c.ogg\n"
            "echo 2 copied\n");
}

TEST(CliCompose, NamesComeOutExactlyAsGiven) {
  const std::vector<std::string> names = {"/tmp/a b.txt",
                                          "/tmp/it's \"q\".txt",
                                          "/tmp/$HOME`x`",
                                          "/tmp/Müsik Ångström.flac",
                                          "-rf",
                                          "--",
                                          "-"};
  std::vector<std::string> args = {"--queue", "\n", "--"};
  args.insert(args.end(), names.begin(), names.end());
  const auto r = Cli(args);
  EXPECT_EQ(r.status, 0) << r.err;
  std::string expected;
  for (const auto& n : names) expected += n + "\n";
  EXPECT_EQ(r.out, expected);
}

TEST(CliCompose, PathModes) {
  struct Case {
    std::vector<std::string> args;
    const char* out;
  };
  const Case cases[] = {
      {{"--mode", "full"}, "/home/u/Music/Rock/song.mp3|"},
      {{"--mode", "relative", "--relpath", "/home/u/Music"}, "Rock/song.mp3|"},
      {{"--mode", "relative", "--relpath", "/home/u/Music/"}, "Rock/song.mp3|"},
      {{"--mode", "relative", "--relpath", "/home/u/Jazz"}, "../Music/Rock/song.mp3|"},
      {{"--mode", "name"}, "song.mp3|"},
      {{"--mode=none"}, "|"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--queue", "|", "/home/u/Music/Rock/song.mp3"});
    const auto r = Cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out) << c.args[1];
  }
}

TEST(CliCompose, WindowsStyleWorkedExample) {
  const auto r = Cli({"--path-style", "windows", "--relpath", R"(C:\Music\)", "--header",
                      "ZQ_DRIVE|ZQ_PATH|ZQ_NAME|ZQ_EXT|ZQ_RELPATH|ZQ_GETSELINDEX|ZQ_GETCOUNT|",
                      "--queue", "\n", "--mode", "relative", "--eol", "crlf", "C:\\a.txt",
                      "C:\\b.txt", R"(C:\Music\Rock\song.mp3)"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "C:|\\|a|.txt|..|1|0|..\\a.txt\r\n"
            "C:|\\|b|.txt|..|2|1|..\\b.txt\r\n"
            "C:|\\Music\\Rock\\|song|.mp3|Rock|3|2|Rock\\song.mp3\r\n");
  const auto inverted = Cli({"--path-style", "windows", "--invert-slash", "--header", "ZQ_PATH ",
                             R"(C:\Music\Rock\song.mp3)"});
  EXPECT_EQ(inverted.out, "/Music/Rock/ C:/Music/Rock/song.mp3");
}

TEST(CliCompose, LineBreaksAsTypedAndAsChosen) {
  auto r = Cli({"--header", "a\r\nb\n", "--eol", "crlf", "/x"});
  EXPECT_EQ(r.out, "a\r\nb\r\n/x");
  r = Cli({"--header", "a\r\nb\n", "--eol", "lf", "/x"});
  EXPECT_EQ(r.out, "a\nb\n/x");
}

// Only the texts' line breaks follow --eol; a name's LF and CR are its own bytes, in the
// output, the single line and the written name alike.
TEST(CliCompose, LineBreaksInsideNamesStayAsTheyAre) {
  struct Case {
    std::vector<std::string> args;
    const char* want;
  };
  const Case cases[] = {
      {{"--header", "<ZQ_NAME\n", "--queue", ">\n", "/m/a\nb", "/m/c\r\nd"},
       "<a\nb\r\n/m/a\nb>\r\n<c\r\nd\r\n/m/c\r\nd>\r\n"},
      {{"--escape", "shell", "--header", "'", "--queue", "'\n", "/m/a\nb"}, "'/m/a\nb'\r\n"},
      {{"--escape", "csv", "--header", "\"", "--queue", "\"\n", "/m/a\r\nb"}, "\"/m/a\r\nb\"\r\n"},
      {{"--header", "x\n", "--single", "/m/a\nb"}, "x\r\n/m/a\nb"},
      {{"--header", "x\n", "--name", "/m/a\nb"}, "/m/a\nb"},
      // Without escaping a name's CR stays too (it was taken out before).
      {{"--header", "ZQ_NAME|", "/m/a\rb"}, "a\rb|/m/a\rb"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), {"--eol", "crlf"});
    const auto r = Cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.want) << c.args.back();
  }
}

TEST(CliSources, ListThenFilesFromThenArguments) {
  TempDir dir;
  WriteFile(dir.File("a.lst"), "/l/one\r\n/l/two\r\n");
  const auto r =
      Cli({"--files-from", "-", "--queue", "\n", "/arg/five", "--list", dir.File("a.lst")},
          "/stdin/three\n\n/stdin/four");
  EXPECT_EQ(r.status, 0) << r.err;
  // The empty line of --files-from is no name: skipped, and told.
  EXPECT_EQ(r.out, "/l/one\n/l/two\n/stdin/three\n/stdin/four\n/arg/five\n");
  EXPECT_EQ(r.err, "loomquill-cli: warning: standard input: 1 empty name skipped\n");
}

TEST(CliSources, BadSourcesExitWithOne) {
  TempDir dir;
  auto r = Cli({"--list", dir.File("nope.lst")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(dir.File("nope.lst")), std::string::npos);
  EXPECT_NE(r.err.find("No such file or directory"), std::string::npos);

  r = Cli({"--files-from", dir.File("nope.txt")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(dir.File("nope.txt")), std::string::npos);

  r = Cli({});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no files to compose"), std::string::npos);

  r = Cli({"/" + std::string(1000, 'n')});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("1001 bytes long; a name holds at most 999"), std::string::npos);

  // A name too long is left out, the others composed, and the status tells.
  r = Cli({"--files-from", "-"}, "/ok\n/" + std::string(1200, 'n') + "\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "loomquill-cli: standard input:2: name longer than 999 bytes\n");
  EXPECT_EQ(r.out, "/ok");
}

#ifndef _WIN32  // POSIX names under a POSIX temporary folder
TEST(CliOutput, FileAndRelativePathsFromItsFolder) {
  TempDir dir;
  fs::create_directories(dir.path() / "out");
  const std::string out = dir.File("out/list.m3u");
  const std::string song = dir.File("Rock/song.mp3");
  auto r = Cli({"--output", out, "--mode", "relative", "--queue", "\n", song});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(ReadFile(out), "../Rock/song.mp3\n");
}
#endif

TEST(CliOutput, DefaultRelativeFolderIsTheCurrentOne) {
  const std::string here = fs::current_path().string();
  const auto r = Cli({"--mode", "relative", here + "/sub/f.txt"});
  EXPECT_EQ(r.out, "sub/f.txt");
}

TEST(CliOutput, FailuresKeepTheEarlierFile) {
  TempDir dir;
  const std::string out = dir.File("out.txt");
  WriteFile(out, "earlier");
  auto r = Cli({"--output", out});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(ReadFile(out), "earlier");

  r = Cli({"--output", dir.File("missing/out.txt"), "/a"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("loomquill-cli: " + dir.File("missing/out.txt") + ": "), std::string::npos);

  r = Cli({"--output", dir.path().string(), "/a"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Is a directory"), std::string::npos);
}

TEST(CliOutput, FullStandardOutputIsAFailure) {
  if (!fs::exists("/dev/full")) GTEST_SKIP();
  const auto r = RunCli({"/a", "/b"}, "", "/dev/full");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("standard output"), std::string::npos);
  EXPECT_NE(r.err.find("No space left on device"), std::string::npos);
}

TEST(CliSingle, LineAndName) {
  auto r =
      Cli({"--single", "/home/u/Music/Rock/song.mp3", "--relpath", "/home/u/Music", "--header",
           "[ZQ_RELPATH ZQ_GETSELINDEX] ", "--queue", "\n", "--mode", "relative", "--eol", "crlf"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "[Rock 1] Rock/song.mp3\r\n");
  r = Cli({"--name", "-dash name.txt", "--header", "ignored", "--mode", "name"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "-dash name.txt");
}

}  // namespace
}  // namespace lq::test
