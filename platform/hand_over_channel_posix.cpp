#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/hand_over_channel.h"
#include "platform/hand_over_folder.h"

namespace lq {
namespace {

static_assert(sizeof(uid_t) <= sizeof(std::uint32_t), "a user id fits the interface's type");

// A sender that has not finished by then is dropped, so it cannot hold up the others.
constexpr auto kPeerPatience = std::chrono::seconds(2);

bool Address(const std::string& path, sockaddr_un& addr, std::string* error) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) {
    if (error != nullptr) *error = path + ": socket name too long";
    return false;
  }
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

std::string Folder(const std::string& socket_path) {
  const std::size_t at = socket_path.rfind('/');
  return at == std::string::npos ? std::string("./") : socket_path.substr(0, at + 1);
}

void SetNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

bool SetError(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
  return false;
}

// The user id of the process listening at the other end of fd.
bool PeerUid(int fd, std::uint32_t& uid) {
  ucred cred{};
  socklen_t len = sizeof cred;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
  uid = cred.uid;
  return true;
}

// Whether something answers at addr (a listener of a build that takes no lock).
bool Answers(const sockaddr_un& addr) {
  const int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (probe < 0) return false;
  const bool alive = connect(probe, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
  close(probe);
  return alive;
}

// After the message: the listener's answer, or the end of the connection without one.
HandOverSend AwaitTaken(int fd, const std::string& socket_path, std::string* error,
                        std::chrono::milliseconds patience) {
  const auto until = std::chrono::steady_clock::now() + patience;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      SetError(error, socket_path + ": the running Loomquill has not taken the files yet");
      return HandOverSend::kUnanswered;
    }
    pollfd wait{fd, POLLIN, 0};
    const int ready = poll(&wait, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;  // the time is checked above
    char answer = 0;
    const ssize_t n = recv(fd, &answer, 1, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n == 1 && answer == kHandOverTaken) return HandOverSend::kSent;
    SetError(error, socket_path + ": the running Loomquill did not take the files");
    return HandOverSend::kNotTaken;
  }
}

}  // namespace

HandOverSend SendHandOver(const std::string& socket_path, const std::vector<std::string>& names,
                          std::string* error, const std::string& activation_token,
                          std::chrono::milliseconds taken_patience) {
  // A folder someone else made (or a link to one) may hide anyone's listener.
  const Result<FolderCheck> folder = CheckPrivateFolder(Folder(socket_path));
  if (!folder.ok()) {
    SetError(error, folder.failure().Describe());
    return HandOverSend::kRefused;
  }
  if (folder.value() == FolderCheck::kMissing) return HandOverSend::kNoInstance;
  sockaddr_un addr{};
  if (!Address(socket_path, addr, error)) return HandOverSend::kFailed;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    SetError(error, std::strerror(errno));
    return HandOverSend::kFailed;
  }
  if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
    const int err = errno;
    close(fd);
    if (err == ENOENT || err == ECONNREFUSED) return HandOverSend::kNoInstance;
    SetError(error, socket_path + ": " + std::strerror(err));
    return HandOverSend::kFailed;
  }
  // The folder was ours a moment ago; the listener must be ours now.
  std::uint32_t peer = 0;
  if (!PeerUid(fd, peer) || !PeerAllowed(peer, getuid())) {
    close(fd);
    SetError(error, socket_path + ": the listener belongs to another user (uid " +
                        std::to_string(peer) + ")");
    return HandOverSend::kRefused;
  }
  const std::string message = HandOverMessage(names, activation_token);
  std::size_t sent = 0;
  while (sent < message.size()) {
    const ssize_t n = send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      SetError(error, socket_path + ": " + std::strerror(errno));
      close(fd);
      return HandOverSend::kFailed;
    }
    sent += static_cast<std::size_t>(n);
  }
  // The end of the message; the listener answers once its window has the names.
  shutdown(fd, SHUT_WR);
  const HandOverSend taken = AwaitTaken(fd, socket_path, error, taken_patience);
  close(fd);
  return taken;
}

std::unique_ptr<HandOverListener> HandOverListener::Listen(const std::string& socket_path,
                                                           std::string* error,
                                                           bool* other_instance) {
  if (other_instance != nullptr) *other_instance = false;
  if (const Status folder = EnsurePrivateFolder(Folder(socket_path)); !folder.ok()) {
    SetError(error, folder.failure().Describe());
    return nullptr;
  }
  sockaddr_un addr{};
  if (!Address(socket_path, addr, error)) return nullptr;
  // Whoever holds the lock owns the socket's name: two starts can never both replace a
  // stale socket, and nobody removes a live one.
  const std::string lock_path = socket_path + ".lock";
  const int lock_fd = open(lock_path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (lock_fd < 0) {
    SetError(error, lock_path + ": " + std::strerror(errno));
    return nullptr;
  }
  auto other = [&] {
    close(lock_fd);
    if (other_instance != nullptr) *other_instance = true;
    return nullptr;
  };
  if (flock(lock_fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) return other();
    SetError(error, lock_path + ": " + std::strerror(errno));
    close(lock_fd);
    return nullptr;
  }
  if (Answers(addr)) return other();
  // Whatever is left there belongs to an instance that is gone.
  unlink(socket_path.c_str());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  struct stat st {};
  if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(fd, SOMAXCONN) != 0 || stat(socket_path.c_str(), &st) != 0) {
    SetError(error, socket_path + ": " + std::strerror(errno));
    if (fd >= 0) close(fd);
    close(lock_fd);
    return nullptr;
  }
  SetNonBlocking(fd);
  std::unique_ptr<HandOverListener> listener(new HandOverListener(fd, lock_fd, socket_path));
  listener->device_ = st.st_dev;
  listener->inode_ = st.st_ino;
  return listener;
}

HandOverListener::HandOverListener(int fd, int lock_fd, std::string path)
    : fd_(fd), lock_fd_(lock_fd), path_(std::move(path)), own_uid_(getuid()) {}

HandOverListener::~HandOverListener() {
  for (Peer& peer : peers_) close(peer.fd);
  close(fd_);
  struct stat st {};
  if (lstat(path_.c_str(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_) {
    unlink(path_.c_str());
  }
  // Last, so the next instance finds the name free.
  close(lock_fd_);
}

void HandOverListener::Accept() {
  for (;;) {
    const int fd = accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;  // nothing more waiting
    }
    std::uint32_t peer = 0;
    if (!PeerUid(fd, peer) || !PeerAllowed(peer, own_uid_)) {
      close(fd);
      continue;
    }
    peers_.push_back(Peer{fd, {}, false, false, std::chrono::steady_clock::now()});
  }
}

void HandOverListener::Read(Peer& peer) {
  char buf[16384];
  while (!peer.done) {
    const ssize_t n = recv(peer.fd, buf, sizeof buf, 0);
    if (n > 0) {
      // Read on to the end; the reader keeps no more than a message can hold.
      peer.message.Feed(std::string_view(buf, static_cast<std::size_t>(n)));
    } else if (n == 0) {
      peer.done = true;
    } else if (errno == EINTR) {
      continue;
    } else {
      if (errno != EAGAIN && errno != EWOULDBLOCK) peer.done = peer.bad = true;
      return;
    }
  }
}

void HandOverListener::Poll(const std::function<bool(const HandOver&)>& on_hand_over) {
  Accept();
  const auto now = std::chrono::steady_clock::now();
  for (Peer& peer : peers_) {
    Read(peer);
    if (!peer.done && now - peer.since > kPeerPatience) peer.done = peer.bad = true;
  }
  // In the order the senders connected: a message waits for those before it.
  while (!peers_.empty() && peers_.front().done) {
    Peer peer = std::move(peers_.front());
    peers_.pop_front();
    if (!peer.bad) {
      std::optional<HandOver> message = peer.message.Finish();
      // Told only now, so a sender ends once its names are the window's.
      if (message && on_hand_over(*message)) {
        send(peer.fd, &kHandOverTaken, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
      }
    }
    close(peer.fd);
  }
}

}  // namespace lq
