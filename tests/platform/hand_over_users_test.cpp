// A second user who takes the hand-over folder's name first, or puts a listener in ours,
// never hears a name: the sender checks the folder before it connects and the listener
// after, and a start listens in a safe folder instead.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

#include "platform/hand_over_channel.h"
#include "platform/hand_over_folder.h"
#include "platform/single_instance.h"
#include "tests/platform/hand_over_polling.h"
#include "tests/platform/other_user.h"
#include "tests/support/result_testing.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

namespace fs = std::filesystem;
using test::OtherUserProcess;
using test::TempDir;

// The second user's listener at folder/ZQ_LOOMQUILL; it keeps whatever reaches it.
class Squatter {
 public:
  enum class Way {
    kFolder,  // makes the folder, open for reading (0755)
    kLink,    // makes the folder's name a link to a folder of its own
    kInside,  // only puts its socket in a folder that exists
  };

  Squatter(const std::string& folder, Way way) {
    if (pipe(ready_) != 0 || pipe(stop_) != 0 || pipe(got_) != 0) return;
    process_ = std::make_unique<OtherUserProcess>([&] { return Run(folder, way); });
    close(ready_[1]);
    close(stop_[0]);
    close(got_[1]);
    char c = 0;
    ready_ok_ = read(ready_[0], &c, 1) == 1;
    close(ready_[0]);
  }
  ~Squatter() { Stop(); }

  bool ready() const { return ready_ok_; }

  // Ends the listener; what it received, from every connection in turn.
  std::string Stop() {
    if (process_ == nullptr) return got_text_;
    close(stop_[1]);
    char buf[4096];
    ssize_t n;
    while ((n = read(got_[0], buf, sizeof buf)) > 0) got_text_.append(buf, n);
    close(got_[0]);
    process_->Wait();
    process_.reset();
    return got_text_;
  }

 private:
  // In the child, as the second user.
  int Run(const std::string& folder, Way way) {
    close(ready_[0]);
    close(stop_[1]);
    close(got_[0]);
    std::string dir = folder.substr(0, folder.size() - 1);
    if (way == Way::kFolder && mkdir(dir.c_str(), 0755) != 0) return 4;
    if (way == Way::kLink) {
      const std::string own = dir + ".theirs";
      if (mkdir(own.c_str(), 0755) != 0 || symlink(own.c_str(), dir.c_str()) != 0) return 4;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, HandOverSocketIn(folder).c_str());
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 16) != 0) {
      return 5;
    }
    chmod(addr.sun_path, 0777);  // anyone may connect, as a trap would allow
    if (write(ready_[1], "r", 1) != 1) return 6;
    std::string got;
    for (;;) {
      pollfd fds[2] = {{fd, POLLIN, 0}, {stop_[0], POLLIN, 0}};
      if (poll(fds, 2, 5000) <= 0 || (fds[1].revents & (POLLIN | POLLHUP)) != 0) break;
      const int peer = accept(fd, nullptr, nullptr);
      if (peer < 0) continue;
      char buf[4096];
      ssize_t n;
      while ((n = read(peer, buf, sizeof buf)) > 0) got.append(buf, n);
      close(peer);
    }
    return write(got_[1], got.data(), got.size()) == static_cast<ssize_t>(got.size()) ? 0 : 7;
  }

  int ready_[2] = {-1, -1};
  int stop_[2] = {-1, -1};
  int got_[2] = {-1, -1};
  bool ready_ok_ = false;
  std::string got_text_;
  std::unique_ptr<OtherUserProcess> process_;
};

class HandOverUsers : public ::testing::Test {
 protected:
  // run/ is open to every user, as /tmp is.
  HandOverUsers() : run_(dir_.File("run")), folder_(run_ + "/loomquill/") {
    fs::create_directories(run_);
    chmod(dir_.path().c_str(), 0755);
    chmod(run_.c_str(), 01777);
  }
  void SetUp() override {
    const std::string why = test::WhyNoOtherUser();
    if (!why.empty()) GTEST_SKIP() << why;
  }

  TempDir dir_;
  std::string run_;
  std::string folder_;
};

TEST_F(HandOverUsers, ASenderNeverTalksToAFolderAnotherUserMade) {
  Squatter squatter(folder_, Squatter::Way::kFolder);
  ASSERT_TRUE(squatter.ready());
  std::string error;
  EXPECT_EQ(SendHandOver(HandOverSocketIn(folder_), {"/home/me/tax return.pdf"}, &error),
            HandOverSend::kRefused);
  EXPECT_NE(error.find("belongs to another user"), std::string::npos) << error;
  EXPECT_EQ(squatter.Stop(), "");
}

TEST_F(HandOverUsers, ASenderNeverFollowsALinkAnotherUserMade) {
  Squatter squatter(folder_, Squatter::Way::kLink);
  ASSERT_TRUE(squatter.ready());
  std::string error;
  EXPECT_EQ(SendHandOver(HandOverSocketIn(folder_), {"/home/me/secret.txt"}, &error),
            HandOverSend::kRefused);
  EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
  EXPECT_EQ(squatter.Stop(), "");
}

TEST_F(HandOverUsers, ASenderChecksWhoListensInItsOwnFolder) {
  // Our own private folder, open for a moment while the other user puts a socket in it.
  ASSERT_OK(EnsurePrivateFolder(folder_));
  std::string error;
  chmod(folder_.c_str(), 0777);
  Squatter squatter(folder_, Squatter::Way::kInside);
  ASSERT_TRUE(squatter.ready());
  chmod(folder_.c_str(), 0700);
  const Result<FolderCheck> checked = CheckPrivateFolder(folder_);
  ASSERT_OK(checked);
  ASSERT_EQ(checked.value(), FolderCheck::kPrivate);
  EXPECT_EQ(SendHandOver(HandOverSocketIn(folder_), {"/home/me/a.txt"}, &error),
            HandOverSend::kRefused);
  EXPECT_NE(error.find("listener belongs to another user"), std::string::npos) << error;
  EXPECT_EQ(squatter.Stop(), "");
}

TEST_F(HandOverUsers, AListenerRefusesAFolderOfAnotherUserAndSaysWhy) {
  fs::create_directory(folder_);
  chmod(folder_.c_str(), 0700);
  ASSERT_EQ(chown(folder_.c_str(), test::OtherUid(), static_cast<gid_t>(-1)), 0);
  std::string error;
  bool other = true;
  EXPECT_FALSE(HandOverListener::Listen(HandOverSocketIn(folder_), &error, &other));
  EXPECT_FALSE(other);
  EXPECT_NE(error.find("belongs to another user"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(fs::symlink_status(HandOverSocketIn(folder_))));
}

TEST_F(HandOverUsers, AStartPassesOverATakenFolderAndListensInASafeOne) {
  Squatter squatter(folder_, Squatter::Way::kFolder);
  ASSERT_TRUE(squatter.ready());
  const std::vector<std::string> folders{folder_, dir_.File("home/.cache/loomquill/hand-over/")};
  const std::vector<std::string> name = {"/home/me/first.txt"};
  InstanceStart first = StartInstance(folders, &name);
  ASSERT_EQ(first.role, InstanceStart::Role::kListening) << first.notes;
  EXPECT_EQ(first.listener->path(), HandOverSocketIn(folders[1]));
  EXPECT_NE(first.notes.find(folder_), std::string::npos) << first.notes;
  EXPECT_NE(first.notes.find("belongs to another user"), std::string::npos) << first.notes;
  struct stat st {};
  ASSERT_EQ(lstat(folders[1].c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // The next start finds the instance where it went.
  const std::vector<std::string> second_name = {"/home/me/second.txt"};
  const auto second = test::SendWhilePolling(
      *first.listener, [&] { return StartInstance(folders, &second_name).role; });
  EXPECT_EQ(second.sent, InstanceStart::Role::kHandedOver);
  EXPECT_EQ(second.Names(), second_name);
  EXPECT_EQ(squatter.Stop(), "");
}

}  // namespace
}  // namespace lq
