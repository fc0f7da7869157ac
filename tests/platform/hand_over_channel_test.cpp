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
#include <future>
#include <thread>
#include <utility>

#include "platform/hand_over_folder.h"
#include "tests/platform/hand_over_polling.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

using test::SendWhilePolling;
using test::TempDir;
using namespace std::string_literals;

class HandOverChannel : public ::testing::Test {
 protected:
  // The runtime folder exists; the private folder in it is made on first use.
  HandOverChannel() : folder_(dir_.File("run/loomquill")), socket_(folder_ + "/ZQ_LOOMQUILL") {
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
      listener.Poll([&names](const HandOver& h) {
        names.insert(names.end(), h.names.begin(), h.names.end());
        return true;
      });
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return names;
  }

  HandOverSend Send(const std::vector<std::string>& names, const std::string& token = {}) {
    return SendHandOver(socket_, names, nullptr, token);
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

TEST_F(HandOverChannel, NoInstanceWithoutASocket) {
  std::string error;
  EXPECT_EQ(SendHandOver(socket_, {"/a.txt"}, &error), HandOverSend::kNoInstance);
}

TEST_F(HandOverChannel, ANameReachesTheListener) {
  auto listener = Listen();
  struct stat st {};
  ASSERT_EQ(stat(folder_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  const std::string name = "/home/u/a file \"quoted\" $x Ångström.txt";
  const auto got = SendWhilePolling(*listener, [&] { return Send({name}); });
  EXPECT_EQ(got.sent, HandOverSend::kSent);
  EXPECT_EQ(got.Names(), std::vector<std::string>{name});
}

TEST_F(HandOverChannel, AllNamesOfAStartComeInOneMessageInTheirOrder) {
  auto listener = Listen();
  std::vector<std::string> names;
  for (int i = 500; i > 0; --i) names.push_back("/files/" + std::to_string(i) + " x.txt");
  const auto got = SendWhilePolling(*listener, [&] { return Send(names, "kwin-12"); });
  EXPECT_EQ(got.sent, HandOverSend::kSent);
  ASSERT_EQ(got.heard.size(), 1u);
  EXPECT_EQ(got.heard[0].names, names);
  EXPECT_EQ(got.heard[0].activation_token, "kwin-12");
}

TEST_F(HandOverChannel, TheActivationTokenComesWithItsNames) {
  auto listener = Listen();
  const auto first = SendWhilePolling(*listener, [&] { return Send({"/a.txt"}, "kwin-4711"); });
  const auto second = SendWhilePolling(*listener, [&] { return Send({"/b.txt"}); });
  EXPECT_EQ(first.sent, HandOverSend::kSent);
  EXPECT_EQ(second.sent, HandOverSend::kSent);
  const std::vector<HandOver> expected = {{{"/a.txt"}, "kwin-4711"}, {{"/b.txt"}, ""}};
  std::vector<HandOver> heard = first.heard;
  heard.insert(heard.end(), second.heard.begin(), second.heard.end());
  EXPECT_EQ(heard, expected);
}

TEST_F(HandOverChannel, TwentyInARowArriveInOrder) {
  auto listener = Listen();
  std::vector<std::string> sent;
  std::vector<std::string> heard;
  for (int i = 0; i < 20; ++i) {
    sent.push_back("/files/" + std::to_string(i) + ".txt");
    const auto got = SendWhilePolling(*listener, [&] { return Send({sent.back()}); });
    ASSERT_EQ(got.sent, HandOverSend::kSent);
    const std::vector<std::string> names = got.Names();
    heard.insert(heard.end(), names.begin(), names.end());
  }
  EXPECT_EQ(heard, sent);
}

// A sender ends once the window has taken its names: not when they are written, and never
// as "sent" when the window did not take them.
TEST_F(HandOverChannel, ASenderLearnsWhetherTheWindowTookItsNames) {
  auto listener = Listen();
  auto waiting = std::async(std::launch::async, [&] { return Send({"/a"}); });
  EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout)
      << "the sender ended before anyone read its names";
  std::vector<std::string> names;
  while (waiting.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
    listener->Poll([&names](const HandOver& h) {
      names = h.names;
      return true;
    });
  }
  EXPECT_EQ(waiting.get(), HandOverSend::kSent);
  EXPECT_EQ(names, std::vector<std::string>{"/a"});

  const auto refused = SendWhilePolling(
      *listener, [&] { return Send({"/b"}); }, [](const HandOver&) { return false; });
  EXPECT_EQ(refused.sent, HandOverSend::kNotTaken);
  EXPECT_EQ(refused.Names(), std::vector<std::string>{"/b"});

  // Nobody polls: the sender gives up after its patience, and says so.
  std::string error;
  EXPECT_EQ(SendHandOver(socket_, {"/c"}, &error, "", std::chrono::milliseconds(200)),
            HandOverSend::kUnanswered);
  EXPECT_NE(error.find("has not taken"), std::string::npos) << error;
}

TEST_F(HandOverChannel, MalformedMessagesAreIgnored) {
  auto listener = Listen();
  SendRaw("\0"s + std::string(1000, 'x') + '\0');  // one byte more than a name holds
  SendRaw("/old.txt");                             // no fields: an older build's message
  SendRaw("\0/a\0\0"s);                            // an empty name
  SendRaw("");                                     // nothing at all
  SendRaw(std::string(100000, 'y'));               // far too long
  SendRaw("\0/good.txt\0"s);
  EXPECT_EQ(Receive(*listener, 1), std::vector<std::string>{"/good.txt"});
  SendRaw("\0"s + std::string(999, 'z') + '\0');
  EXPECT_EQ(Receive(*listener, 1), std::vector<std::string>{std::string(999, 'z')});
}

// The sender of a peer the listener does not hear is now told so (it used to count as sent).
TEST_F(HandOverChannel, PeersOfAnotherUserAreNotHeard) {
  auto listener = Listen();
  listener->set_own_uid(getuid() + 4242);
  const auto got = SendWhilePolling(*listener, [&] { return Send({"/from/someone/else"}); });
  EXPECT_EQ(got.sent, HandOverSend::kNotTaken);
  EXPECT_TRUE(got.heard.empty());
  EXPECT_TRUE(PeerAllowed(1000, 1000));
  EXPECT_FALSE(PeerAllowed(1001, 1000));
}

TEST_F(HandOverChannel, AProcessOfAnotherUserCannotReachTheSocket) {
  if (getuid() != 0) GTEST_SKIP() << "needs root to become another user";
  auto listener = Listen();
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    _exit(SendHandOver(socket_, {"/intruder"}, nullptr) == HandOverSend::kSent ? 1 : 0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(Receive(*listener, 1).empty());
}

TEST_F(HandOverChannel, AStaleSocketNeverStopsAStart) {
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
  EXPECT_EQ(Send({"/a"}), HandOverSend::kNoInstance);
  auto listener = Listen();
  ASSERT_TRUE(listener);
  const auto got = SendWhilePolling(*listener, [&] { return Send({"/b"}); });
  EXPECT_EQ(got.sent, HandOverSend::kSent);
  EXPECT_EQ(got.Names(), std::vector<std::string>{"/b"});
}

TEST_F(HandOverChannel, ALiveInstanceIsNotReplaced) {
  auto first = Listen();
  std::string error;
  bool other = false;
  EXPECT_FALSE(HandOverListener::Listen(socket_, &error, &other));
  EXPECT_TRUE(other);
  first.reset();
  EXPECT_FALSE(std::filesystem::exists(socket_));
}

TEST_F(HandOverChannel, AnUnsafeFolderIsRefused) {
  std::filesystem::create_directories(folder_);
  std::filesystem::permissions(folder_, std::filesystem::perms::all);
  const Status open = EnsurePrivateFolder(folder_ + "/");
  ASSERT_FALSE(open.ok());
  EXPECT_EQ(open.failure().Describe(), folder_ + "/: open to other users");
  std::string error;
  bool other = false;
  EXPECT_FALSE(HandOverListener::Listen(socket_, &error, &other));

  const std::string link = dir_.File("link");
  std::filesystem::create_directory_symlink(folder_, link);
  const Status linked = EnsurePrivateFolder(link + "/");
  ASSERT_FALSE(linked.ok());
  EXPECT_EQ(linked.failure().reason, "a symbolic link, not a folder");
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
