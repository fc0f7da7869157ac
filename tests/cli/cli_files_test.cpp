// loomquill-cli and the files it writes: refused, long, and interrupted.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <thread>

#include "tests/support/as_user.h"
#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace lq::test {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32  // read-only is an attribute on Windows, tested on the writer itself
TEST(CliFiles, AReadOnlyOutputIsRefusedAsCpRefusesIt) {
  TempDir dir;
  ASSERT_TRUE(GiveToOrdinaryUser(dir.path()));
  const std::string out = dir.File("out.txt");
  const auto ok = AsOrdinaryUser([&] {
    WriteFile(out, "earlier");
    fs::permissions(out, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const ProcessResult r = RunCli({"--output", out, "a"});
    return r.status == 1 && r.err.find(out) != std::string::npos &&
           r.err.find(std::strerror(EACCES)) != std::string::npos && ReadFile(out) == "earlier";
  });
  ASSERT_TRUE(ok.has_value()) << "could not drop the superuser's rights";
  EXPECT_TRUE(*ok);
}
#endif

TEST(CliFiles, OutputNamesAsLongAsTheFolderAllows) {
  TempDir dir;
  const std::string out = dir.File(std::string(255, 'o'));
  for (const char* text : {"first", "second"}) {
    const ProcessResult r = RunCli({"--output", out, "--", text});
    EXPECT_EQ(r.status, 0) << r.err;
  }
  EXPECT_EQ(ReadFile(out), "second");
}

#ifndef _WIN32  // POSIX signals
bool HoldsTemporaryFile(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with(".lq-")) return true;
  }
  return false;
}

// Names keep coming on standard input while the signal arrives.
class InterruptedTest : public testing::TestWithParam<int> {};

TEST_P(InterruptedTest, ASignalRemovesTheTemporaryFileAndEndsByThatSignal) {
  std::signal(SIGPIPE, SIG_IGN);
  TempDir dir;
  const std::string out = dir.File("out.txt");
  WriteFile(out, "earlier");
  int in[2];
  ASSERT_EQ(::pipe(in), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_addclose(&actions, in[1]);
  const std::string cli = CliPath();
  std::vector<std::string> args = {cli, "--files-from", "-", "--queue", "\n", "--output", out};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);

  // More than one buffer of output, so that the temporary file exists and holds data.
  const std::string names = [] {
    std::string s;
    for (int i = 0; i < 20000; ++i)
      s += "/some/long/folder/name/file number " + std::to_string(i) + "\n";
    return s;
  }();
  ASSERT_EQ(::write(in[1], names.data(), names.size()), static_cast<ssize_t>(names.size()));
  for (int i = 0; i < 500 && !HoldsTemporaryFile(dir.path()); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(HoldsTemporaryFile(dir.path()));
  ASSERT_EQ(::kill(pid, GetParam()), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ::close(in[1]);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), GetParam());
  EXPECT_FALSE(HoldsTemporaryFile(dir.path()));
  EXPECT_EQ(ReadFile(out), "earlier");
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedTest, testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const testing::TestParamInfo<int>& p) {
                           return std::string(sigabbrev_np(p.param));
                         });
#endif

}  // namespace
}  // namespace lq::test

namespace lq::test {
namespace {

// The names a run reads are refused where they stand, in bounded memory; a line longer than
// a list's lines can be stops the reading there, and no output file is kept.
TEST(CliSources, ALineNoListHoldsStopsTheReadingAndKeepsNoOutput) {
  TempDir dir;
  const std::string names = dir.File("names.txt");
  WriteFile(names, "/a\n/b\n" + std::string(50'000'000, 'n') + "\n/c\n");
  const std::string out = dir.File("out.txt");
  const ProcessResult r = RunCli({"--files-from", names, "--output", out});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "loomquill-cli: " + names + ":3: line longer than 1048576 bytes\n");
  EXPECT_FALSE(fs::exists(out));
  std::string nul_names = std::string("/a") + '\0' + std::string(5000, 'n') + '\0';
  const ProcessResult z = RunCli({"-0", "--files-from", "-"}, nul_names);
  EXPECT_EQ(z.status, 1);
  EXPECT_NE(z.err.find("standard input:2: name longer than 999 bytes"), std::string::npos) << z.err;
  EXPECT_EQ(z.out, "/a") << "the name that fits is composed";
}

TEST(CliSources, PositionalNamesAreCheckedBeforeAnythingIsWritten) {
  TempDir dir;
  const std::string list = dir.File("many.lst");
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "/some/file number " + std::to_string(i) + "\n";
  WriteFile(list, many);
  const ProcessResult r = RunCli({"--list", list, "--queue", "\n", std::string(1000, 'f')});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.empty()) << r.out.size() << " bytes came out";
  EXPECT_NE(r.err.find("a name holds at most 999"), std::string::npos) << r.err;
}

#ifndef _WIN32  // POSIX names related from a POSIX current folder
// Relative names and the folder are related in one form, as seen from the current folder.
TEST(CliSources, RelativeNamesRelateToTheFolderOfARelativeOutput) {
  TempDir dir;
  fs::create_directories(dir.path() / "m" / "s");
  const fs::path was = fs::current_path();
  fs::current_path(dir.path());
  const ProcessResult rel =
      RunCli({"--output", "m/out.m3u", "--mode", "relative", "--queue", "\n", "m/s/a.flac",
              "./m/s/b.flac", (dir.path() / "m" / "c.flac").string(), "other/d.flac"});
  const ProcessResult var =
      RunCli({"--relpath", "m", "--mode", "none", "--header", "ZQ_RELPATH|", "m/s/a.flac"});
  const ProcessResult full = RunCli({"--mode", "full", "--queue", "\n", "m/s/a.flac"});
  fs::current_path(was);
  EXPECT_EQ(rel.status, 0) << rel.err;
  EXPECT_EQ(ReadFile((dir.path() / "m" / "out.m3u").string()),
            "s/a.flac\ns/b.flac\nc.flac\n../other/d.flac\n");
  EXPECT_EQ(var.out, "s|");
  EXPECT_EQ(full.out, "m/s/a.flac\n") << "full mode writes a name exactly as given";
}
#endif

}  // namespace
}  // namespace lq::test

namespace lq::test {
namespace {

TEST(CliLimit, ComposesOnlyTheFirstNamesAndReadsNoFurther) {
  const ProcessResult r = RunCli(
      {"--limit", "2", "--queue", "\n", "--main-queue", "ZQ_GETCOUNT done\n", "/a", "/b", "/c"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "/a\n/b\n2 done\n");
  // Names from a source count as well, whatever comes after them.
  std::string names;
  for (int i = 0; i < 100000; ++i) names += "/n" + std::to_string(i) + "\n";
  names += std::string(5000, 'x') + "\n";  // never reached, so never refused
  const ProcessResult s = RunCli({"--limit", "3", "--files-from", "-", "--queue", ";"}, names);
  EXPECT_EQ(s.status, 0) << s.err;
  EXPECT_EQ(s.out, "/n0;/n1;/n2;");
}

TEST(CliLimit, OpensNoSourceAfterTheLimitIsReached) {
  TempDir dir;
  const std::string list = dir.File("two.lst");
  WriteFile(list, "/l1\n/l2\n");
  // A later source that would fail, or never end, is not even opened.
  for (const std::string later : {"/no/such/list.lst", "/dev/zero"}) {
    const ProcessResult r =
        RunCli({"--limit", "2", "--queue", ";", "--list", list, "--list", later, "/f"});
    EXPECT_EQ(r.status, 0) << later << ": " << r.err;
    EXPECT_EQ(r.out, "/l1;/l2;") << later;
    EXPECT_EQ(r.err, "") << later;
  }
  // Past the limit in the middle of a source, the names given whole come no more either.
  const ProcessResult r = RunCli({"--limit", "1", "--queue", ";", "--list", list, "/f"});
  EXPECT_EQ(r.out, "/l1;");
}

}  // namespace
}  // namespace lq::test

namespace lq::test {
namespace {

#ifndef _WIN32  // /dev/zero
TEST(CliSources, AnEndlessListFileCannotFillMemory) {
  const ProcessResult r = RunCli({"--list", "/dev/zero"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("/dev/zero:1: line longer than 1048576 bytes"), std::string::npos) << r.err;
}
#endif

}  // namespace
}  // namespace lq::test

namespace lq::test {
namespace {

// Names at an item's capacity and one byte past it, as every reader is tried with.
const std::string k999 = "/" + std::string(998, 'n');
const std::string k1000 = "/" + std::string(999, 'n');
// 1000 bytes whose 999th byte is the first of a two-byte character: no cut may keep it.
const std::string kSplitChar = "/" + [] {
  std::string s;
  for (int i = 0; i < 498; ++i) s += "\xC3\xA9";
  return s;
}() + "x\xC3\xA9";
// 999 bytes ending in whole three-byte characters.
const std::string k999Euro = "/ab" + [] {
  std::string s;
  for (int i = 0; i < 332; ++i) s += "\xE2\x82\xAC";
  return s;
}();

// One list, in lines: a long name between two good ones at line 2, one cut inside a
// character at line 6; names of exactly 999 bytes, one ending in CR LF, kept.
const std::string kLines = "/a\r\n" + k1000 + "\r\n/b\r\n" + k999 + "\r\n" + k999 + "\n" +
                           kSplitChar + "\n" + k999Euro + "\n/c";
const std::string kKept = "/a;/b;" + k999 + ";" + k999 + ";" + k999Euro + ";/c;";

std::string LeftOut(const std::string& where, std::initializer_list<int> lines) {
  std::string err;
  for (const int line : lines) {
    err +=
        "loomquill-cli: " + where + ":" + std::to_string(line) + ": name longer than 999 bytes\n";
  }
  return err;
}

// A name that does not fit is left out whole, never cut into other names: each reader tells
// its line, composes the others and fails at the end, so that a script sees the gap.
TEST(CliSources, EveryReaderLeavesOutANameTooLongAndComposesTheRest) {
  TempDir dir;
  const std::string list = dir.File("names.lst");
  WriteFile(list, kLines);
  const std::string nul_list = dir.File("names.nul");
  // Under -0 a CR LF is part of the name: that one is 1001 bytes long.
  WriteFile(nul_list, "/a" + std::string(1, '\0') + k1000 + '\0' + "/b" + '\0' + k999 + "\r\n" +
                          '\0' + k999 + '\0' + kSplitChar + '\0' + k999Euro + '\0' + "/c" + '\0');
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string input;
    std::string err;
    std::string out;
  };
  const Case cases[] = {
      {"--list", {"--list", list}, "", LeftOut(list, {2, 6}), kKept},
      {"--files-from", {"--files-from", list}, "", LeftOut(list, {2, 6}), kKept},
      {"--files-from -", {"--files-from", "-"}, kLines, LeftOut("standard input", {2, 6}), kKept},
      {"-0",
       {"-0", "--files-from", nul_list},
       "",
       LeftOut(nul_list, {2, 4, 6}),
       "/a;/b;" + k999 + ";" + k999Euro + ";/c;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--queue", ";"});
    const ProcessResult r = RunCli(args, c.input);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out, c.out);

    // An output file holds the whole output of the names composed, in place of the old one.
    const std::string out = dir.File("out.txt");
    WriteFile(out, "earlier");
    args.insert(args.end(), {"--output", out});
    const ProcessResult f = RunCli(args, c.input);
    EXPECT_EQ(f.status, 1);
    EXPECT_EQ(f.err, c.err);
    EXPECT_TRUE(f.out.empty());
    EXPECT_EQ(ReadFile(out), c.out);
  }
}

TEST(CliSources, AListOfNamesThatAllFitEndsWithZero) {
  const ProcessResult r =
      RunCli({"--files-from", "-", "--queue", ";"}, k999 + "\r\n" + k999Euro + "\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, k999 + ";" + k999Euro + ";");
  EXPECT_TRUE(r.err.empty());
}

// An empty name of -0 input is no file: skipped, counted in one warning, the status kept.
TEST(CliNulNames, EmptyNamesAreSkippedAndCountedInOneWarning) {
  const ProcessResult one =
      RunCli({"-0", "--files-from", "-", "--queue", ";"}, std::string("/a\0\0/b\0", 7));
  EXPECT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(one.out, "/a;/b;");
  EXPECT_EQ(one.err, "loomquill-cli: warning: standard input: 1 empty name skipped\n");

  TempDir dir;
  const std::string file = dir.File("names");
  WriteFile(file, std::string("\0/a\0\0", 5));
  const ProcessResult two = RunCli({"-0", "--files-from", file, "--queue", ";"});
  EXPECT_EQ(two.status, 0) << two.err;
  EXPECT_EQ(two.out, "/a;");
  EXPECT_EQ(two.err, "loomquill-cli: warning: " + file + ": 2 empty names skipped\n");

  // One short of the run that stops the reading.
  const ProcessResult many =
      RunCli({"-0", "--files-from", "-", "--queue", ";"}, std::string(65535, '\0') + "/b");
  EXPECT_EQ(many.status, 0) << many.err;
  EXPECT_EQ(many.out, "/b;");
  EXPECT_EQ(many.err, "loomquill-cli: warning: standard input: 65535 empty names skipped\n");
}

// --files-from reads the same way, a line a name; a list file keeps its empty lines as
// empty items, as Open list does.
TEST(CliNulNames, EmptyLinesOfFilesFromAreSkippedTooButNotOfAList) {
  const ProcessResult lines = RunCli({"--files-from", "-", "--queue", ";"}, "\n/a\r\n\r\n\n/b\n\n");
  EXPECT_EQ(lines.status, 0) << lines.err;
  EXPECT_EQ(lines.out, "/a;/b;");
  EXPECT_EQ(lines.err, "loomquill-cli: warning: standard input: 4 empty names skipped\n");

  const ProcessResult endless =
      RunCli({"--files-from", "-", "--queue", ";"}, "/a\n" + std::string(65536, '\n') + "/b\n");
  EXPECT_EQ(endless.status, 1);
  EXPECT_EQ(endless.err,
            "loomquill-cli: standard input: 65536 empty names in a row: this is not a list of "
            "names\n");

  TempDir dir;
  const std::string list = dir.File("a.lst");
  WriteFile(list, "\n/a\r\n\r\n/b");
  const ProcessResult kept = RunCli({"--list", list, "--header", "<", "--queue", ">"});
  EXPECT_EQ(kept.status, 0) << kept.err;
  EXPECT_EQ(kept.out, "<></a><></b>");
  EXPECT_TRUE(kept.err.empty()) << kept.err;
}

#ifndef _WIN32  // find and /dev/zero
// What find -print0 writes, with empty names before, between and after.
TEST(CliNulNames, FindOutputWithEmptyNamesGivesEveryNameOnce) {
  TempDir dir;
  for (const char* name : {"plain.txt", "with space", "two\nlines", "-dash"}) {
    WriteFile(dir.File(name), "x");
  }
  const ProcessResult found =
      RunProcess("/usr/bin/find", {dir.path().string(), "-type", "f", "-print0"});
  ASSERT_EQ(found.status, 0) << found.err;
  std::string want;
  std::size_t names = 0;
  for (std::size_t at = 0; at < found.out.size(); ++names) {
    const std::size_t end = found.out.find('\0', at);
    want += "<" + found.out.substr(at, end - at) + ">";
    at = end + 1;
  }
  ASSERT_EQ(names, 4u);
  const std::string input = std::string(1, '\0') + found.out + '\0' + '\0';
  const ProcessResult r =
      RunCli({"-0", "--files-from", "-", "--header", "<", "--queue", ">"}, input);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, want);
  EXPECT_EQ(r.err, "loomquill-cli: warning: standard input: 3 empty names skipped\n");
}

// /dev/zero holds nothing but empty names, forever: the run ends, saying it is no list.
TEST(CliNulNames, DevZeroIsNoListAndEnds) {
  TempDir dir;
  const std::string out = dir.File("out.txt");
  WriteFile(out, "earlier");
  // Killed after 60 s, with status 124, were it to read on.
  const ProcessResult r = RunProcess(
      "/usr/bin/timeout",
      {"60", CliPath(), "-0", "--files-from", "/dev/zero", "--queue", "x\n", "--output", out});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.err,
            "loomquill-cli: /dev/zero: 65536 empty names in a row: this is not a list of names\n");
  EXPECT_EQ(ReadFile(out), "earlier");
  // Without -0 it is one line holding NULs, refused as before.
  const ProcessResult lines =
      RunProcess("/usr/bin/timeout", {"60", CliPath(), "--files-from", "/dev/zero"});
  EXPECT_EQ(lines.status, 1) << lines.err;
  EXPECT_NE(lines.err.find("/dev/zero:1: the line holds a NUL byte; give --null"),
            std::string::npos)
      << lines.err;
}
#endif

}  // namespace
}  // namespace lq::test
