// loomquill-cli killed, limited and crowded while it writes: what is left in the folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace lq::test {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> TempsIn(const fs::path& folder) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with(".lq-")) found.push_back(entry.path());
  }
  return found;
}

bool WaitForTemp(const fs::path& folder) {
  for (int i = 0; i < 500 && TempsIn(folder).empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return !TempsIn(folder).empty();
}

std::string Names(int count) {
  std::string s;
  for (int i = 0; i < count; ++i)
    s += "/some/long/folder/name/file number " + std::to_string(i) + "\n";
  return s;
}

// loomquill-cli reading names from a pipe that this test holds open.
class Job {
 public:
  explicit Job(const std::string& out) {
    std::signal(SIGPIPE, SIG_IGN);
    int in[2];
    if (::pipe(in) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    const std::string cli = CliPath();
    std::vector<std::string> args = {cli, "--files-from", "-", "--queue", "\n", "--output", out};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, cli.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    in_ = in[1];
  }
  ~Job() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
    EndInput();
  }
  bool Send(const std::string& text) {
    return ::write(in_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  }
  void EndInput() {
    if (in_ >= 0) ::close(in_);
    in_ = -1;
  }
  void Kill(int sig) { ::kill(pid_, sig); }
  // The raw wait status.
  int Wait() {
    int status = -1;
    if (pid_ > 0) ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  int in_ = -1;
};

TEST(CliCrowd, ASecondWriterNeverSweepsALiveJobsTemporaryFile) {
  TempDir dir;
  const std::string out = dir.File("out.txt");
  Job job(out);
  ASSERT_TRUE(job.Send(Names(20000)));
  ASSERT_TRUE(WaitForTemp(dir.path()));
  // However long the job has been reading names: an hour, say.
  const fs::path live = TempsIn(dir.path()).front();
  fs::last_write_time(live, fs::file_time_type::clock::now() - std::chrono::hours(1));
  const ProcessResult other = RunCli({"--output", dir.File("other.txt"), "a"});
  ASSERT_EQ(other.status, 0) << other.err;
  EXPECT_TRUE(fs::exists(live)) << "the live job's output was removed";
  ASSERT_TRUE(job.Send(Names(3)));
  job.EndInput();
  const int status = job.Wait();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile(out), Names(20000) + Names(3));
  EXPECT_TRUE(TempsIn(dir.path()).empty());
}

TEST(CliCrowd, WhatAKilledJobLeftIsSweptAtTheNextWriteInItsFolder) {
  TempDir dir;
  Job job(dir.File("out.txt"));
  ASSERT_TRUE(job.Send(Names(20000)));
  ASSERT_TRUE(WaitForTemp(dir.path()));
  job.Kill(SIGKILL);
  job.Wait();
  ASSERT_EQ(TempsIn(dir.path()).size(), 1u) << "kill -9 leaves its temporary file";
  const ProcessResult next = RunCli({"--output", dir.File("other.txt"), "a"});
  ASSERT_EQ(next.status, 0) << next.err;
  EXPECT_TRUE(TempsIn(dir.path()).empty());
  EXPECT_FALSE(fs::exists(dir.path() / "out.txt"));
}

// A target with a second hard link is written in place: killed at any moment, it holds the
// old content or the new one whole, or a whole copy of the old one lies beside it.
TEST(CliCrash, AKilledInPlaceWriteLeavesAWholeCopy) {
  TempDir dir;
  const std::string names = Names(60000);
  const std::string reference = dir.File("reference.txt");
  ASSERT_EQ(RunCli({"--files-from", "-", "--queue", "\n", "--output", reference}, names).status, 0);
  const std::string fresh = ReadFile(reference);
  const std::string old(fresh.size() + 1000, 'o');
  const std::string out = dir.File("out.txt");
  const fs::path backup = dir.path() / ".out.txt.lq-backup";
  WriteFile(out, old);
  fs::create_hard_link(out, dir.File("second name.txt"));
  int whole_old = 0, whole_new = 0, copies = 0;
  for (int i = 0; i < 60; ++i) {
    Job job(out);
    ASSERT_TRUE(job.Send(names));
    job.EndInput();
    std::this_thread::sleep_for(std::chrono::microseconds(100 * i));
    job.Kill(i % 2 == 0 ? SIGKILL : SIGTERM);
    job.Wait();
    const std::string now = ReadFile(out);
    if (now == old) {
      ++whole_old;
    } else if (now == fresh) {
      ++whole_new;
    } else {
      ASSERT_TRUE(fs::exists(backup)) << "kill " << i << " left a mixed file and no copy";
      EXPECT_EQ(ReadFile(backup.string()), old) << "kill " << i;
      ++copies;
    }
    // The next write refuses while a copy waits to be looked at: put things back.
    fs::remove(backup);
    for (const fs::path& t : TempsIn(dir.path())) fs::remove(t);
    WriteFile(out, old);
    ASSERT_EQ(fs::hard_link_count(out), 2u);
  }
  std::printf("whole old %d, whole new %d, copy beside %d\n", whole_old, whole_new, copies);
}

TEST(CliCrash, ACopyLeftBesideIsNeverOverwritten) {
  TempDir dir;
  const std::string out = dir.File("out.txt");
  WriteFile(out, "mixed");
  fs::create_hard_link(out, dir.File("second.txt"));
  WriteFile(dir.File(".out.txt.lq-backup"), "the whole old content");
  const ProcessResult r = RunCli({"--output", out, "new"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(".out.txt.lq-backup"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(out), "mixed");
  EXPECT_EQ(ReadFile(dir.File(".out.txt.lq-backup")), "the whole old content");
  // Once moved away, the write goes ahead and leaves no copy.
  fs::remove(dir.path() / ".out.txt.lq-backup");
  EXPECT_EQ(RunCli({"--output", out, "--", "new"}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("second.txt")), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

struct UlimitCase {
  const char* what;
  bool second_link;  // a target written in place, through an unnamed copy
  bool to_stdout;    // the shell's > opens the output, not the writer
};

TEST(CliLimits, UlimitFIsReportedLikeAFullDisk) {
  const UlimitCase cases[] = {
      {"renamed over", false, false},
      {"written in place", true, false},
      {"standard output", false, true},
  };
  for (const UlimitCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string out = dir.File("out.txt");
    WriteFile(out, "earlier");
    if (c.second_link) fs::create_hard_link(out, dir.File("second.txt"));
    // 100 blocks of 512 bytes in dash: far less than a megabyte of names.
    const std::string to = c.to_stdout ? "> \"$1\"" : "--output \"$1\"";
    const ProcessResult r = RunProcess(
        "/bin/sh",
        {"-c", "ulimit -f 100 && exec \"$0\" --files-from - --queue '\n' " + to, CliPath(), out},
        Names(20000));
    EXPECT_EQ(r.status, 1) << "killed by SIGXFSZ gives 153";
    EXPECT_NE(r.err.find(c.to_stdout ? "standard output" : out), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(std::strerror(EFBIG)), std::string::npos) << r.err;
    if (!c.to_stdout) {
      EXPECT_EQ(ReadFile(out), "earlier");
    }
    EXPECT_TRUE(TempsIn(dir.path()).empty());
  }
}

}  // namespace
}  // namespace lq::test
