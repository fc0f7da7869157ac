#pragma once

#include <sys/types.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace lq {

// The private folder of the hand-over socket: $XDG_RUNTIME_DIR/loomquill/, else
// /tmp/loomquill-<uid>/; with a trailing separator.
std::string HandOverFolder();
// The socket "ZQ_LOOMQUILL" in that folder.
std::string HandOverSocketPath();

// Creates the folder with mode 0700 when missing; refuses one that is a link, belongs to
// another user or is open to others.
bool EnsurePrivateFolder(const std::string& folder, std::string* error);

// Only the same user's processes are heard.
inline bool PeerAllowed(uid_t peer, uid_t own) { return peer == own; }

enum class HandOverSend { kSent, kNoInstance, kFailed };

// Hands a file name to the running instance. kNoInstance when none listens (no socket, or
// one left by a crashed instance).
HandOverSend SendHandOver(const std::string& socket_path, const std::string& name,
                          std::string* error);

// The running instance's end: accepts connections and reads one name from each, never
// blocking the caller.
class HandOverListener {
 public:
  // Binds the socket, replacing one left by a crashed instance. Null, with other_instance set,
  // when a live instance already listens; null with error when the socket cannot be made.
  static std::unique_ptr<HandOverListener> Listen(const std::string& socket_path,
                                                  std::string* error, bool* other_instance);
  ~HandOverListener();
  HandOverListener(const HandOverListener&) = delete;
  HandOverListener& operator=(const HandOverListener&) = delete;

  // Takes what has arrived: each well-formed name (1 to 999 bytes, no NUL) goes to on_name
  // in the order its sender connected; anything else is dropped without a word.
  void Poll(const std::function<void(const std::string&)>& on_name);

  // Answers for the credential check, so tests can play another user.
  void set_own_uid(uid_t uid) { own_uid_ = uid; }

 private:
  struct Peer {
    int fd;
    std::string data;
    bool done = false;
    bool bad = false;
    std::chrono::steady_clock::time_point since;
  };
  HandOverListener(int fd, std::string path);
  void Accept();
  void Read(Peer& peer);

  int fd_;
  std::string path_;
  uid_t own_uid_;
  std::deque<Peer> peers_;
};

}  // namespace lq
