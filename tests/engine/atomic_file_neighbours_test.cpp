// The one writer beside other users: what a second user on the machine can and cannot do to a
// file Loomquill writes, tried with a real second user (nobody) when the tests run as root.
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "engine/atomic_file.h"
#include "tests/engine/replace_file.h"
#include "tests/support/as_user.h"
#include "tests/support/result_testing.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::Replace;
using test::TempDir;
using test::WriteFile;

std::string WhyNoSecondUser() {
  if (::geteuid() != 0) return "needs root to play a second user (nobody)";
  if (::getpwnam("nobody") == nullptr) return "no user nobody here";
  return {};
}

gid_t NobodysGroup() {
  const passwd* pw = ::getpwnam("nobody");
  return pw != nullptr ? pw->pw_gid : 65534;
}

bool IsOurTemp(const char* name) { return std::strncmp(name, ".lq-", 4) == 0; }

// A second user who watches a folder and opens every temporary file that appears in it, as
// soon as inotify tells and again on every listing. Counts the opens that succeeded.
class Watcher {
 public:
  Watcher(const fs::path& folder, int flags) {
    int ready[2];
    if (::pipe(stop_) != 0 || ::pipe(ready) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(stop_[1]);
      ::close(ready[0]);
      const passwd* pw = ::getpwnam("nobody");
      if (pw == nullptr || ::setgroups(0, nullptr) != 0 || ::setgid(pw->pw_gid) != 0 ||
          ::setuid(pw->pw_uid) != 0) {
        ::_exit(254);
      }
      const int in = ::inotify_init1(IN_NONBLOCK);
      if (in < 0 || ::inotify_add_watch(in, folder.c_str(), IN_CREATE) < 0) ::_exit(253);
      ::write(ready[1], "r", 1);
      int opened = 0;
      const auto try_open = [&](const char* name) {
        if (!IsOurTemp(name)) return;
        const int fd = ::open((folder / name).c_str(), flags | O_NONBLOCK | O_NOFOLLOW);
        if (fd >= 0) {
          ++opened;
          ::close(fd);
        }
      };
      for (;;) {
        pollfd fds[2] = {{in, POLLIN, 0}, {stop_[0], POLLIN, 0}};
        ::poll(fds, 2, 1);
        if (fds[1].revents != 0) break;
        alignas(inotify_event) char buf[4096];
        for (ssize_t n; (n = ::read(in, buf, sizeof buf)) > 0;) {
          for (char* p = buf; p < buf + n;) {
            const auto* ev = reinterpret_cast<const inotify_event*>(p);
            if (ev->len > 0) try_open(ev->name);
            p += sizeof(inotify_event) + ev->len;
          }
        }
        if (DIR* dir = ::opendir(folder.c_str())) {
          while (const dirent* e = ::readdir(dir)) try_open(e->d_name);
          ::closedir(dir);
        }
      }
      ::_exit(opened > 250 ? 250 : opened);
    }
    ::close(stop_[0]);
    ::close(ready[1]);
    char c = 0;
    ready_ = ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
  }
  ~Watcher() { Opened(); }
  bool ready() const { return ready_; }
  // Stops the watcher: how many times it opened a temporary file.
  int Opened() {
    if (pid_ <= 0) return -1;
    ::close(stop_[1]);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    result_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result_;
  }

 private:
  int stop_[2] = {-1, -1};
  pid_t pid_ = -1;
  bool ready_ = false;
  int result_ = -1;
};

class UmaskFor {
 public:
  explicit UmaskFor(mode_t mask) : old_(::umask(mask)) {}
  ~UmaskFor() { ::umask(old_); }

 private:
  mode_t old_;
};

TEST(AtomicFileNeighbours, NoOtherUserOpensTheTemporaryFileOfAPrivateFile) {
  if (const std::string why = WhyNoSecondUser(); !why.empty()) GTEST_SKIP() << why;
  TempDir dir;
  fs::permissions(dir.path(), fs::perms(0755));
  const fs::path file = dir.path() / "private.txt";
  WriteFile(file.string(), "secret 0");
  fs::permissions(file, fs::perms(0600));
  const UmaskFor mask(022);
  Watcher watcher(dir.path(), O_RDONLY);
  ASSERT_TRUE(watcher.ready());
  for (int i = 1; i <= 200; ++i) {
    ASSERT_OK(Replace(file, "secret " + std::to_string(i) + std::string(20000, 's')));
  }
  EXPECT_EQ(watcher.Opened(), 0) << "another user read the private text while it was written";
  EXPECT_EQ(fs::status(file).permissions(), fs::perms(0600));
}

TEST(AtomicFileNeighbours, NoGroupMemberOpensTheTemporaryFileInASetgidFolder) {
  if (const std::string why = WhyNoSecondUser(); !why.empty()) GTEST_SKIP() << why;
  TempDir dir;
  fs::permissions(dir.path(), fs::perms(0755));
  const fs::path shared = dir.path() / "group";
  fs::create_directory(shared);
  ASSERT_EQ(::chown(shared.c_str(), 0, NobodysGroup()), 0);
  ASSERT_EQ(::chmod(shared.c_str(), 02775), 0);
  const fs::path file = shared / "mine.txt";
  WriteFile(file.string(), "mine 0");
  ASSERT_EQ(::chown(file.c_str(), 0, 0), 0);
  fs::permissions(file, fs::perms(0600));
  const UmaskFor mask(002);
  Watcher watcher(shared, O_WRONLY);
  ASSERT_TRUE(watcher.ready());
  for (int i = 1; i <= 100; ++i) {
    ASSERT_OK(Replace(file, "mine " + std::to_string(i) + std::string(20000, 'm')));
  }
  EXPECT_EQ(watcher.Opened(), 0) << "a group member could write a temporary file";
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(st.st_gid, 0u) << "the file keeps its own group, not the folder's";
}

TEST(AtomicFileNeighbours, AnotherUsersLinkInASharedStickyFolderIsNotFollowed) {
  if (const std::string why = WhyNoSecondUser(); !why.empty()) GTEST_SKIP() << why;
  TempDir dir;
  fs::permissions(dir.path(), fs::perms(0755));
  const fs::path home = dir.path() / "home";
  const fs::path shared = dir.path() / "tmp";
  fs::create_directory(home);
  fs::create_directory(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  const fs::path notes = home / "notes.txt";
  const fs::path planted = home / "planted.sh";
  WriteFile(notes.string(), "the victim's notes");
  const auto linked = test::AsOrdinaryUser([&] {
    return ::symlink(notes.c_str(), (shared / "out.txt").c_str()) == 0 &&
           ::symlink(planted.c_str(), (shared / "new.txt").c_str()) == 0;
  });
  ASSERT_TRUE(linked.has_value() && *linked);
  for (const char* name : {"out.txt", "new.txt"}) {
    const Status why = Replace(shared / name, "#!/bin/sh\necho owned\n");
    ASSERT_FALSE(why.ok()) << name;
    EXPECT_NE(why.failure().reason.find("link of another user"), std::string::npos) << why;
  }
  EXPECT_EQ(ReadFile(notes.string()), "the victim's notes");
  EXPECT_FALSE(fs::exists(planted));
  EXPECT_EQ(test::FilesIn(home), 1u);
  EXPECT_EQ(test::FilesIn(shared), 2u);

  // The user's own link there is followed as the kernel would.
  ASSERT_EQ(::symlink(notes.c_str(), (shared / "mine.txt").c_str()), 0);
  EXPECT_OK(Replace(shared / "mine.txt", "new notes"));
  EXPECT_EQ(ReadFile(notes.string()), "new notes");
}

std::size_t TempsIn(const fs::path& folder) {
  std::size_t n = 0;
  for (const auto& e : fs::directory_iterator(folder)) {
    if (IsOurTemp(e.path().filename().c_str())) ++n;
  }
  return n;
}

TEST(AtomicFileNeighbours, AFolderSwappedForALinkMidWriteNeitherRedirectsNorLitters) {
  TempDir dir;
  const fs::path real = dir.path() / "work";
  const fs::path link = dir.path() / "swap";
  const fs::path elsewhere = dir.path() / "elsewhere";
  fs::create_directory(real);
  fs::create_directory(elsewhere);
  fs::create_symlink("elsewhere", link);
  std::atomic<bool> stop{false};
  std::atomic<int> swaps{0};
  std::thread swapper([&] {
    while (!stop) {
      if (::renameat2(AT_FDCWD, real.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE) == 0) {
        ++swaps;
      }
    }
  });
  int failed = 0;
  std::string last;
  for (int i = 0; i < 300; ++i) {
    last = "write " + std::to_string(i) + "\n" + std::string(100000, 'w');
    if (!Replace(real / "out.txt", last).ok()) ++failed;
  }
  stop = true;
  swapper.join();
  // Whichever name the folder has now, each holds one file at most and no temporary file.
  fs::path folder = fs::is_symlink(real) ? link : real;
  EXPECT_GT(swaps.load(), 0);
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(TempsIn(folder), 0u);
  EXPECT_EQ(TempsIn(elsewhere), 0u);
  EXPECT_EQ(test::FilesIn(dir.path()), 3u);
  for (const fs::path& f : {folder / "out.txt", elsewhere / "out.txt"}) {
    if (!fs::exists(f)) continue;
    const std::string text = ReadFile(f.string());
    EXPECT_EQ(text.size(), last.size()) << f << " holds a mixed or cut content";
    EXPECT_EQ(text.substr(6 + 4), last.substr(6 + 4));
  }
}

TEST(AtomicFileNeighbours, ATemporaryFileSomebodyHoldsIsNeverSwept) {
  TempDir dir;
  const fs::path live = dir.path() / ".lq-abcdefgh.tmp";
  const fs::path litter = dir.path() / ".lq-12345678.tmp";
  WriteFile(live.string(), "a live job's output so far");
  WriteFile(litter.string(), "left by a killed job");
  const int held = ::open(live.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  EXPECT_OK(Replace(dir.path() / "out.txt", "x"));
  EXPECT_TRUE(fs::exists(live));
  EXPECT_FALSE(fs::exists(litter)) << "nobody holds it: litter, swept at once";
  ::close(held);
  EXPECT_OK(Replace(dir.path() / "out.txt", "y"));
  EXPECT_FALSE(fs::exists(live));
}

}  // namespace
}  // namespace lq
