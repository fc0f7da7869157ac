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

// The names a run reads are refused where they stand, in bounded memory, before their end.
TEST(CliSources, ANameTooLongIsRefusedAtItsLineAsSoonAsItPassesItsCapacity) {
  TempDir dir;
  const std::string names = dir.File("names.txt");
  WriteFile(names, "/a\n/b\n" + std::string(50'000'000, 'n') + "\n/c\n");
  const std::string out = dir.File("out.txt");
  const ProcessResult r = RunCli({"--files-from", names, "--output", out});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(names + ":3: name longer than 999 bytes"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(out));
  std::string nul_names = std::string("/a") + '\0' + std::string(5000, 'n') + '\0';
  const ProcessResult z = RunCli({"-0", "--files-from", "-"}, nul_names);
  EXPECT_EQ(z.status, 1);
  EXPECT_NE(z.err.find("standard input:2: name longer than 999 bytes"), std::string::npos) << z.err;
  EXPECT_TRUE(z.out.empty());
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
