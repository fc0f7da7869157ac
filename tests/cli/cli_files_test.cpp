// loomquill-cli and the files it writes: refused, long, and interrupted.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <thread>

#include "tests/cli/run_process.h"
#include "tests/engine/as_user.h"
#include "tests/engine/temp_dir.h"

extern char** environ;

namespace lq::test {
namespace {

namespace fs = std::filesystem;

bool HoldsTemporaryFile(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with(".lq-")) return true;
  }
  return false;
}

TEST(CliFiles, AReadOnlyOutputIsRefusedAsCpRefusesIt) {
  TempDir dir;
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(dir.path().c_str(), OrdinaryUserId(), static_cast<gid_t>(-1)), 0);
  }
  const std::string out = dir.File("out.txt");
  const auto ok = AsOrdinaryUser([&] {
    WriteFile(out, "earlier");
    fs::permissions(out, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const ProcessResult r = RunProcess(CliPath(), {"--output", out, "a"});
    return r.status == 1 && r.err.find(out) != std::string::npos &&
           r.err.find(std::strerror(EACCES)) != std::string::npos && ReadFile(out) == "earlier";
  });
  ASSERT_TRUE(ok.has_value()) << "could not drop the superuser's rights";
  EXPECT_TRUE(*ok);
}

TEST(CliFiles, OutputNamesAsLongAsTheFolderAllows) {
  TempDir dir;
  const std::string out = dir.File(std::string(255, 'o'));
  for (const char* text : {"first", "second"}) {
    const ProcessResult r = RunProcess(CliPath(), {"--output", out, "--", text});
    EXPECT_EQ(r.status, 0) << r.err;
  }
  EXPECT_EQ(ReadFile(out), "second");
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

}  // namespace
}  // namespace lq::test
