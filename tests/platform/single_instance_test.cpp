// Becoming the running instance is atomic: of starts at the same moment exactly one
// listens and the others hand their names to it, and no process removes another's socket.
#include "platform/single_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <future>
#include <thread>

#include "platform/hand_over_folder.h"
#include "tests/platform/hand_over_polling.h"
#include "tests/support/result_testing.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

namespace fs = std::filesystem;
using test::SendWhilePolling;
using test::TempDir;

constexpr std::size_t kStarts = 10;

// A socket bound at path by hand, as a crashed instance leaves it or as a process that
// takes no lock makes it; listening when asked.
int BindRaw(const std::string& path, bool listening) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strcpy(addr.sun_path, path.c_str());
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return -1;
  if (listening && listen(fd, 16) != 0) return -1;
  return fd;
}

std::string ReadAll(int fd) {
  std::string text;
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0) text.append(buf, n);
  return text;
}

class SingleInstance : public ::testing::Test {
 protected:
  SingleInstance() : folder_(dir_.File("run/loomquill/")), socket_(HandOverSocketIn(folder_)) {}

  // Runs start(i) in kStarts processes released at the same moment; each writes one line to
  // the pipe it is given. The lines, sorted.
  std::vector<std::string> AtOnce(const std::function<std::string(std::size_t)>& start) {
    int go[2];
    int out[2];
    EXPECT_EQ(pipe(go), 0);
    EXPECT_EQ(pipe(out), 0);
    std::vector<pid_t> pids;
    for (std::size_t i = 0; i < kStarts; ++i) {
      const pid_t pid = fork();
      if (pid == 0) {
        close(go[1]);
        close(out[0]);
        char c;
        (void)!read(go[0], &c, 1);  // the end of the pipe releases everyone at once
        const std::string line = start(i) + "\n";
        _exit(write(out[1], line.data(), line.size()) == static_cast<ssize_t>(line.size()) ? 0 : 1);
      }
      pids.push_back(pid);
    }
    close(go[0]);
    close(out[1]);
    close(go[1]);
    const std::string text = ReadAll(out[0]);
    close(out[0]);
    for (pid_t pid : pids) waitpid(pid, nullptr, 0);
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = text.find('\n', at);
      lines.push_back(text.substr(at, end - at));
      at = end + 1;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  TempDir dir_;
  std::string folder_;
  std::string socket_;
};

TEST_F(SingleInstance, TenStartsOnAStaleSocketMakeOneListener) {
  ASSERT_OK(EnsurePrivateFolder(folder_));
  std::vector<std::string> expected(kStarts - 1, "other");
  expected.insert(expected.begin(), "listening");
  // The race is one of timing: a few rounds give it every chance.
  for (int round = 0; round < 5; ++round) {
    unlink(socket_.c_str());
    const int stale = BindRaw(socket_, false);
    ASSERT_GE(stale, 0);
    close(stale);
    const std::vector<std::string> lines = AtOnce([&](std::size_t) -> std::string {
      std::string error;
      bool other = false;
      auto listener = HandOverListener::Listen(socket_, &error, &other);
      if (listener == nullptr) return other ? "other" : "error " + error;
      const bool reached = SendWhilePolling(*listener, [&] {
                             return SendHandOver(socket_, {"/probe"}, nullptr);
                           }).sent == HandOverSend::kSent;
      // Keeps its socket while the others decide.
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      return reached ? "listening" : "listening, unreachable";
    });
    EXPECT_EQ(lines, expected) << "round " << round;
  }
}

TEST_F(SingleInstance, TenStartsAtOnceGiveOneInstanceAndNineHandOvers) {
  const std::vector<std::string> folders{folder_};
  const std::vector<std::string> lines = AtOnce([&](std::size_t i) -> std::string {
    const std::vector<std::string> own = {"/files/" + std::to_string(i) + ".txt"};
    InstanceStart start = StartInstance(folders, &own);
    if (start.role == InstanceStart::Role::kHandedOver) return "handed over";
    if (start.role == InstanceStart::Role::kAlone) return "alone: " + start.notes;
    // The instance hears every other start.
    std::vector<std::string> names;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (names.size() < kStarts - 1 && std::chrono::steady_clock::now() < until) {
      start.listener->Poll([&names](const HandOver& h) {
        names.insert(names.end(), h.names.begin(), h.names.end());
        return true;
      });
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return "listening, heard " + std::to_string(names.size());
  });
  std::vector<std::string> expected(kStarts - 1, "handed over");
  expected.push_back("listening, heard " + std::to_string(kStarts - 1));
  EXPECT_EQ(lines, expected);
}

TEST_F(SingleInstance, AStartWaitsForAnInstanceThatIsStillStarting) {
  ASSERT_OK(EnsurePrivateFolder(folder_));
  // Another process holds the lock and begins to listen a moment later.
  const int lock = open((socket_ + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_EQ(flock(lock, LOCK_EX), 0);
  int fd = -1;
  std::string heard;
  std::thread late([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    fd = BindRaw(socket_, true);
    if (fd < 0) return;
    // Reads the message and says it was taken, as a window does.
    const int peer = accept(fd, nullptr, nullptr);
    heard = ReadAll(peer);
    (void)!write(peer, &kHandOverTaken, 1);
    close(peer);
  });
  const std::vector<std::string> names = {"/late.txt"};
  InstanceStart start = StartInstance({folder_}, &names, std::chrono::seconds(5));
  late.join();
  EXPECT_EQ(start.role, InstanceStart::Role::kHandedOver) << start.notes;
  ASSERT_GE(fd, 0);
  EXPECT_EQ(heard, HandOverMessage(names, ""));
  close(fd);
  close(lock);
}

TEST_F(SingleInstance, AStartHandsItsActivationTokenOverWithItsName) {
  InstanceStart running = StartInstance({folder_}, nullptr);
  ASSERT_EQ(running.role, InstanceStart::Role::kListening) << running.notes;
  const std::vector<std::string> names = {"/from/the/file/manager.txt", "/and/another.txt"};
  const auto got = SendWhilePolling(*running.listener, [&] {
    return StartInstance({folder_}, &names, kInstancePatience, "nautilus-77").role;
  });
  EXPECT_EQ(got.sent, InstanceStart::Role::kHandedOver);
  const std::vector<HandOver> expected = {{names, "nautilus-77"}};
  EXPECT_EQ(got.heard, expected);
}

// An instance that is closing takes no more names: the start waits until it is gone and is
// the running instance itself, so no name is lost.
TEST_F(SingleInstance, AStartOutlivesAnInstanceThatClosesWithoutTakingItsNames) {
  InstanceStart running = StartInstance({folder_}, nullptr);
  ASSERT_EQ(running.role, InstanceStart::Role::kListening) << running.notes;
  const std::vector<std::string> names = {"/late/for/the/old/window.txt"};
  auto start = std::async(std::launch::async, [&] { return StartInstance({folder_}, &names); });
  bool heard = false;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!heard && std::chrono::steady_clock::now() < until) {
    running.listener->Poll([&heard](const HandOver&) { return !(heard = true); });
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_TRUE(heard);
  running.listener.reset();
  InstanceStart next = start.get();
  EXPECT_EQ(next.role, InstanceStart::Role::kListening) << next.notes;
}

// Its names went, but no answer came: the start ends and says so, and opens no window that
// would copy them a second time.
TEST_F(SingleInstance, AnInstanceThatNeverAnswersEndsTheStart) {
  InstanceStart running = StartInstance({folder_}, nullptr);
  ASSERT_EQ(running.role, InstanceStart::Role::kListening) << running.notes;
  const std::vector<std::string> names = {"/a.txt"};
  InstanceStart start =
      StartInstance({folder_}, &names, kInstancePatience, "", std::chrono::milliseconds(200));
  EXPECT_EQ(start.role, InstanceStart::Role::kUnanswered);
  EXPECT_EQ(start.listener, nullptr);
  EXPECT_NE(start.notes.find("has not taken"), std::string::npos) << start.notes;
}

TEST_F(SingleInstance, AnInstanceThatNeverListensIsWaitedForOnlySoLong) {
  ASSERT_OK(EnsurePrivateFolder(folder_));
  const int lock = open((socket_ + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_EQ(flock(lock, LOCK_EX), 0);
  const std::vector<std::string> names = {"/nobody/listens.txt"};
  InstanceStart start = StartInstance({folder_}, &names, std::chrono::milliseconds(100));
  EXPECT_EQ(start.role, InstanceStart::Role::kAlone);
  EXPECT_NE(start.notes.find("does not answer"), std::string::npos) << start.notes;
  close(lock);
}

TEST_F(SingleInstance, WithoutANameAStartBesideTheInstanceRunsAlone) {
  InstanceStart first = StartInstance({folder_}, nullptr);
  ASSERT_EQ(first.role, InstanceStart::Role::kListening) << first.notes;
  InstanceStart second = StartInstance({folder_}, nullptr);
  EXPECT_EQ(second.role, InstanceStart::Role::kAlone);
  EXPECT_EQ(second.notes, "");
  EXPECT_EQ(second.listener, nullptr);
}

TEST_F(SingleInstance, AnInstanceRemovesOnlyTheSocketItMade) {
  auto listener = HandOverListener::Listen(socket_, nullptr, nullptr);
  ASSERT_TRUE(listener);
  // Someone else's socket now has the name.
  ASSERT_EQ(unlink(socket_.c_str()), 0);
  const int theirs = BindRaw(socket_, true);
  ASSERT_GE(theirs, 0);
  listener.reset();
  EXPECT_TRUE(fs::exists(fs::symlink_status(socket_)));
  close(theirs);
}

TEST_F(SingleInstance, AStaleSocketGivesWayToTheNextInstance) {
  ASSERT_OK(EnsurePrivateFolder(folder_));
  close(BindRaw(socket_, false));
  InstanceStart start = StartInstance({folder_}, nullptr);
  ASSERT_EQ(start.role, InstanceStart::Role::kListening) << start.notes;
  EXPECT_EQ(
      SendWhilePolling(*start.listener, [&] { return SendHandOver(socket_, {"/b"}, nullptr); })
          .sent,
      HandOverSend::kSent);
  start.listener.reset();
  EXPECT_FALSE(fs::exists(fs::symlink_status(socket_)));
}

}  // namespace
}  // namespace lq
