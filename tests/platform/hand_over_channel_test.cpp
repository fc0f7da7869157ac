#include "platform/hand_over_channel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>

#include "platform/hand_over_folder.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

using test::TempDir;

class HandOver : public ::testing::Test {
 protected:
  // The runtime folder exists; the private folder in it is made on first use.
  HandOver() : folder_(dir_.File("run/loomquill")), socket_(folder_ + "/ZQ_LOOMQUILL") {
    std::filesystem::create_directories(dir_.File("run"));
  }

  std::unique_ptr<HandOverListener> Listen() {
    std::string error;
    bool other = false;
    auto listener = HandOverListener::Listen(socket_, &error, &other);
    EXPECT_TRUE(listener) << error;
    return listener;
  }

  // Polls until count names came or a second passed.
  static std::vector<std::string> Receive(HandOverListener& listener, std::size_t count) {
    std::vector<std::string> names;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (names.size() < count && std::chrono::steady_clock::now() < until) {
      listener.Poll([&names](const std::string& name) { names.push_back(name); });
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return names;
  }

  // Sends raw bytes the way a sender would, but without its checks.
  void SendRaw(const std::string& bytes) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, socket_.c_str());
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(send(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    close(fd);
  }

  TempDir dir_;
  std::string folder_;
  std::string socket_;
};

TEST_F(HandOver, NoInstanceWithoutASocket) {
  std::string error;
  EXPECT_EQ(SendHandOver(socket_, "/a.txt", &error), HandOverSend::kNoInstance);
}

TEST_F(HandOver, ANameReachesTheListener) {
  auto listener = Listen();
  struct stat st {};
  ASSERT_EQ(stat(folder_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  const std::string name = "/home/u/a file \"quoted\" $x Ångström.txt";
  EXPECT_EQ(SendHandOver(socket_, name, nullptr), HandOverSend::kSent);
  EXPECT_EQ(Receive(*listener, 1), std::vector<std::string>{name});
}

TEST_F(HandOver, TheActivationTokenComesWithItsName) {
  auto listener = Listen();
  ASSERT_EQ(SendHandOver(socket_, "/a.txt", nullptr, "kwin-4711"), HandOverSend::kSent);
  ASSERT_EQ(SendHandOver(socket_, "/b.txt", nullptr), HandOverSend::kSent);
  std::vector<std::pair<std::string, std::string>> got;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (got.size() < 2 && std::chrono::steady_clock::now() < until) {
    listener->Poll([&got](const std::string& name, const std::string& token) {
      got.emplace_back(name, token);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const std::vector<std::pair<std::string, std::string>> expected = {{"/a.txt", "kwin-4711"},
                                                                     {"/b.txt", ""}};
  EXPECT_EQ(got, expected);
}

TEST_F(HandOver, TwentyInARowArriveInOrder) {
  auto listener = Listen();
  std::vector<std::string> sent;
  for (int i = 0; i < 20; ++i) {
    sent.push_back("/files/" + std::to_string(i) + ".txt");
    ASSERT_EQ(SendHandOver(socket_, sent.back(), nullptr), HandOverSend::kSent);
  }
  EXPECT_EQ(Receive(*listener, 20), sent);
}

TEST_F(HandOver, MalformedMessagesAreIgnored) {
  auto listener = Listen();
  SendRaw(std::string(1000, 'x'));     // one byte more than a name holds
  SendRaw(std::string("/a\0b\0", 5));  // a NUL inside the token
  SendRaw("");                         // nothing at all
  SendRaw(std::string(100000, 'y'));   // far too long
  SendRaw("/good.txt");
  EXPECT_EQ(Receive(*listener, 1), std::vector<std::string>{"/good.txt"});
  SendRaw(std::string(999, 'z'));
  EXPECT_EQ(Receive(*listener, 1), std::vector<std::string>{std::string(999, 'z')});
}

TEST_F(HandOver, PeersOfAnotherUserAreNotHeard) {
  auto listener = Listen();
  listener->set_own_uid(getuid() + 4242);
  ASSERT_EQ(SendHandOver(socket_, "/from/someone/else", nullptr), HandOverSend::kSent);
  EXPECT_TRUE(Receive(*listener, 1).empty());
  EXPECT_TRUE(PeerAllowed(1000, 1000));
  EXPECT_FALSE(PeerAllowed(1001, 1000));
}

TEST_F(HandOver, AProcessOfAnotherUserCannotReachTheSocket) {
  if (getuid() != 0) GTEST_SKIP() << "needs root to become another user";
  auto listener = Listen();
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    _exit(SendHandOver(socket_, "/intruder", nullptr) == HandOverSend::kSent ? 1 : 0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(Receive(*listener, 1).empty());
}

TEST_F(HandOver, AStaleSocketNeverStopsAStart) {
  std::filesystem::create_directories(folder_);
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_all);
  // A crashed instance leaves its socket file behind with nobody listening.
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strcpy(addr.sun_path, socket_.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  close(fd);
  ASSERT_TRUE(std::filesystem::exists(socket_));
  EXPECT_EQ(SendHandOver(socket_, "/a", nullptr), HandOverSend::kNoInstance);
  auto listener = Listen();
  ASSERT_TRUE(listener);
  EXPECT_EQ(SendHandOver(socket_, "/b", nullptr), HandOverSend::kSent);
  EXPECT_EQ(Receive(*listener, 1), std::vector<std::string>{"/b"});
}

TEST_F(HandOver, ALiveInstanceIsNotReplaced) {
  auto first = Listen();
  std::string error;
  bool other = false;
  EXPECT_FALSE(HandOverListener::Listen(socket_, &error, &other));
  EXPECT_TRUE(other);
  first.reset();
  EXPECT_FALSE(std::filesystem::exists(socket_));
}

TEST_F(HandOver, AnUnsafeFolderIsRefused) {
  std::filesystem::create_directories(folder_);
  std::filesystem::permissions(folder_, std::filesystem::perms::all);
  std::string error;
  EXPECT_FALSE(EnsurePrivateFolder(folder_ + "/", &error));
  EXPECT_NE(error.find("open to other users"), std::string::npos);
  bool other = false;
  EXPECT_FALSE(HandOverListener::Listen(socket_, &error, &other));

  const std::string link = dir_.File("link");
  std::filesystem::create_directory_symlink(folder_, link);
  EXPECT_FALSE(EnsurePrivateFolder(link + "/", &error));
}

TEST(HandOverPaths, FollowTheRuntimeFolder) {
  setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
  EXPECT_EQ(HandOverSocketPath(), "/run/user/1000/loomquill/ZQ_LOOMQUILL");
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(HandOverFolder(), "/tmp/loomquill-" + std::to_string(getuid()) + "/");
}

TEST(HandOverPaths, FallBackToAFolderInTheUsersCache) {
  const char* home = std::getenv("HOME");
  const std::string saved_home = home == nullptr ? "" : home;
  setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
  setenv("XDG_CACHE_HOME", "/home/u/.my-cache", 1);
  EXPECT_EQ(HandOverFolders(),
            (std::vector<std::string>{"/run/user/1000/loomquill/",
                                      "/home/u/.my-cache/loomquill/hand-over/"}));
  unsetenv("XDG_CACHE_HOME");
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ(HandOverFolders().back(), "/home/u/.cache/loomquill/hand-over/");
  // Without a home there is nowhere safe to fall back to.
  unsetenv("HOME");
  EXPECT_EQ(HandOverFolders().size(), 1u);
  unsetenv("XDG_RUNTIME_DIR");
  if (home != nullptr) setenv("HOME", saved_home.c_str(), 1);
}

}  // namespace
}  // namespace lq
