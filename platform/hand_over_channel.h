#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/hand_over_message.h"

namespace lq {

// Only the same user's processes are heard, and only the same user's instance is told.
inline bool PeerAllowed(std::uint32_t peer, std::uint32_t own) { return peer == own; }

// kSent: the instance has taken the names. kNotTaken: it closed the connection without
// taking them (it is closing, or did not hear this sender). kUnanswered: it said nothing
// within the patience given, so the names may or may not reach it.
enum class HandOverSend { kSent, kNoInstance, kRefused, kFailed, kNotTaken, kUnanswered };

// What the listener answers once its window has taken a message's names.
inline constexpr char kHandOverTaken = 'T';
// How long a sender waits for that answer: the window takes names between its own work.
inline constexpr std::chrono::milliseconds kTakenPatience = std::chrono::seconds(15);

// Hands file names, with the activation token this start was given if any, to the instance
// listening at socket_path, and waits until its window has taken them. kNoInstance when
// none listens there (no folder, no socket, or one left by a crashed instance); kRefused,
// with the reason in error, when the folder is not private or the listener is another
// user's: the names are never sent to those.
HandOverSend SendHandOver(const std::string& socket_path, const std::vector<std::string>& names,
                          std::string* error, const std::string& activation_token = {},
                          std::chrono::milliseconds taken_patience = kTakenPatience);

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

  // Takes what has arrived: each well-formed message goes to on_hand_over in the order its
  // sender connected, and its sender learns it was taken when on_hand_over says so; anything
  // else is dropped, and its sender told nothing but the end of the connection.
  void Poll(const std::function<bool(const HandOver&)>& on_hand_over);

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
