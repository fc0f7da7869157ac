#include "platform/hand_over_channel.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "engine/capacities.h"

namespace lq {
namespace {

constexpr const char* kSocketName = "ZQ_LOOMQUILL";
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

}  // namespace

std::string HandOverFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') {
    std::string folder = runtime;
    if (folder.back() != '/') folder.push_back('/');
    return folder + "loomquill/";
  }
  return "/tmp/loomquill-" + std::to_string(getuid()) + "/";
}

std::string HandOverSocketPath() { return HandOverFolder() + kSocketName; }

bool EnsurePrivateFolder(const std::string& folder, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error != nullptr) *error = folder + ": " + why;
    return false;
  };
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return fail(std::strerror(errno));
  struct stat st {};
  if (lstat(folder.c_str(), &st) != 0) return fail(std::strerror(errno));
  if (!S_ISDIR(st.st_mode)) return fail("not a folder");
  if (st.st_uid != getuid()) return fail("belongs to another user");
  if ((st.st_mode & 077) != 0) return fail("open to other users");
  return true;
}

HandOverSend SendHandOver(const std::string& socket_path, const std::string& name,
                          std::string* error) {
  sockaddr_un addr{};
  if (!Address(socket_path, addr, error)) return HandOverSend::kFailed;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    if (error != nullptr) *error = std::strerror(errno);
    return HandOverSend::kFailed;
  }
  if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
    const int err = errno;
    close(fd);
    if (err == ENOENT || err == ECONNREFUSED) return HandOverSend::kNoInstance;
    if (error != nullptr) *error = socket_path + ": " + std::strerror(err);
    return HandOverSend::kFailed;
  }
  std::size_t sent = 0;
  while (sent < name.size()) {
    const ssize_t n = send(fd, name.data() + sent, name.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (error != nullptr) *error = socket_path + ": " + std::strerror(errno);
      close(fd);
      return HandOverSend::kFailed;
    }
    sent += static_cast<std::size_t>(n);
  }
  shutdown(fd, SHUT_WR);
  close(fd);
  return HandOverSend::kSent;
}

std::unique_ptr<HandOverListener> HandOverListener::Listen(const std::string& socket_path,
                                                           std::string* error,
                                                           bool* other_instance) {
  if (other_instance != nullptr) *other_instance = false;
  if (!EnsurePrivateFolder(Folder(socket_path), error)) return nullptr;
  sockaddr_un addr{};
  if (!Address(socket_path, addr, error)) return nullptr;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) break;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
      if (listen(fd, SOMAXCONN) != 0) {
        close(fd);
        break;
      }
      SetNonBlocking(fd);
      return std::unique_ptr<HandOverListener>(new HandOverListener(fd, socket_path));
    }
    const int err = errno;
    close(fd);
    if (err != EADDRINUSE) {
      if (error != nullptr) *error = socket_path + ": " + std::strerror(err);
      return nullptr;
    }
    // Someone's socket is there: a live instance answers; a crashed one's refuses.
    const int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool alive =
        probe >= 0 && connect(probe, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    if (probe >= 0) close(probe);
    if (alive) {
      if (other_instance != nullptr) *other_instance = true;
      return nullptr;
    }
    unlink(socket_path.c_str());
  }
  if (error != nullptr) *error = socket_path + ": " + std::strerror(errno);
  return nullptr;
}

HandOverListener::HandOverListener(int fd, std::string path)
    : fd_(fd), path_(std::move(path)), own_uid_(getuid()) {}

HandOverListener::~HandOverListener() {
  for (Peer& peer : peers_) close(peer.fd);
  close(fd_);
  unlink(path_.c_str());
}

void HandOverListener::Accept() {
  for (;;) {
    const int fd = accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;  // nothing more waiting
    }
    ucred cred{};
    socklen_t len = sizeof cred;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 ||
        !PeerAllowed(cred.uid, own_uid_)) {
      close(fd);
      continue;
    }
    peers_.push_back(Peer{fd, {}, false, false, std::chrono::steady_clock::now()});
  }
}

void HandOverListener::Read(Peer& peer) {
  char buf[1024];
  while (!peer.done) {
    const ssize_t n = recv(peer.fd, buf, sizeof buf, 0);
    if (n > 0) {
      peer.data.append(buf, static_cast<std::size_t>(n));
      // Read on to the end, but keep no more than a name can hold.
      if (peer.data.size() > kNameMax) {
        peer.bad = true;
        peer.data.resize(kNameMax);
      }
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

void HandOverListener::Poll(const std::function<void(const std::string&)>& on_name) {
  Accept();
  const auto now = std::chrono::steady_clock::now();
  for (Peer& peer : peers_) {
    Read(peer);
    if (!peer.done && now - peer.since > kPeerPatience) peer.done = peer.bad = true;
  }
  // In the order the senders connected: a name waits for those before it.
  while (!peers_.empty() && peers_.front().done) {
    Peer peer = std::move(peers_.front());
    peers_.pop_front();
    close(peer.fd);
    if (!peer.bad && !peer.data.empty() && peer.data.find('\0') == std::string::npos) {
      on_name(peer.data);
    }
  }
}

}  // namespace lq
