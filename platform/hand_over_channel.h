#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/hand_over_message.h"

namespace lq {

// Only the same user's processes are heard, and only the same user's instance is told.
inline bool PeerAllowed(std::uint32_t peer, std::uint32_t own) { return peer == own; }

enum class HandOverSend { kSent, kNoInstance, kRefused, kFailed };

// Hands a file name, with the activation token this start was given if any, to the instance
// listening at socket_path. kNoInstance when none listens there (no folder, no socket, or
// one left by a crashed instance); kRefused, with the reason in error, when the folder is
// not private or the listener is another user's: the name is never sent to those.
HandOverSend SendHandOver(const std::string& socket_path, const std::string& name,
                          std::string* error, const std::string& activation_token = {});

// The running instance's end: accepts connections and reads one name from each, never
// blocking the caller.
class HandOverListener {
 public:
  // Becomes the one listener at socket_path: takes the lock file beside it, held for the
  // listener's life, and only then replaces a socket left by a crashed instance. Null, with
  // other_instance set, when another instance holds it (running, or starting right now);
  // null with error when the folder is not private or the socket cannot be made.
  static std::unique_ptr<HandOverListener> Listen(const std::string& socket_path,
                                                  std::string* error, bool* other_instance);
  // Removes the socket, unless what is there now is no longer the one it made.
  ~HandOverListener();
  HandOverListener(const HandOverListener&) = delete;
  HandOverListener& operator=(const HandOverListener&) = delete;

  // Takes what has arrived: each well-formed name (1 to 999 bytes, no NUL) goes to on_name
  // in the order its sender connected; anything else is dropped without a word.
  void Poll(const std::function<void(const std::string&)>& on_name);
  // The same, with the activation token each name came with (empty without one).
  void Poll(const std::function<void(const std::string& name, const std::string& activation_token)>&
                on_hand_over);

  const std::string& path() const { return path_; }
  // The listening socket, readable when a sender connects, for the caller's event loop.
  int fd() const { return fd_; }
  // True while a sender has connected but not finished: Poll again soon.
  bool reading() const { return !peers_.empty(); }
  // Answers for the credential check, so tests can play another user.
  void set_own_uid(std::uint32_t uid) { own_uid_ = uid; }

 private:
  struct Peer {
    int fd;
    HandOverMessageReader message;
    bool done = false;
    bool bad = false;
    std::chrono::steady_clock::time_point since;
  };
  HandOverListener(int fd, int lock_fd, std::string path);
  void Accept();
  void Read(Peer& peer);

  int fd_;
  int lock_fd_;
  std::string path_;
  // The socket file it made, told apart from one put in its place later.
  std::uint64_t device_ = 0;
  std::uint64_t inode_ = 0;
  std::uint32_t own_uid_;
  std::deque<Peer> peers_;
};

}  // namespace lq
