#pragma once

#include <functional>
#include <memory>

#include "platform/hand_over_message.h"
#include "shell/fd_watch.h"
#include "uikit/grafext/kit_services.h"

namespace lq {

class HandOverListener;

inline constexpr int kHandOverPollTimerId = 1031;
inline constexpr int kHandOverQuietTimerId = 1032;

// Where the running window takes hand-overs. Each message is taken as soon as it arrives, so
// its sender may end; messages that arrive in a row, one within kQuietMs of the one before,
// are joined in arrival order into one delivery, so a file manager that starts Loomquill
// once per file still gives one copy. A quiet socket never wakes the window: a sender
// connecting starts the poll timer, which runs only while a sender is still being read.
// Clock and timers are the kit's.
class HandOverInbox {
 public:
  static constexpr int kPollMs = 50;
  static constexpr int kQuietMs = 400;
  // However many keep coming, what has waited this long is delivered.
  static constexpr int kLongestWaitMs = 3000;

  using Deliver = std::function<void(const HandOver& joined)>;
  // listener may be null: then only Add brings names. deliver gets the names joined and the
  // token that came last (the freshest: a token is good for one use, for a short time).
  HandOverInbox(std::unique_ptr<HandOverListener> listener, Deliver deliver);
  ~HandOverInbox();
  HandOverInbox(const HandOverInbox&) = delete;
  HandOverInbox& operator=(const HandOverInbox&) = delete;

  // Told each token that a later one of the same batch replaced, at once: the start that
  // sent it has its names taken, and under X11 its launcher waits to hear the start is done.
  using Superseded = std::function<void(const std::string& token)>;
  void OnSupersededToken(Superseded superseded) { superseded_ = std::move(superseded); }

  // Names that did not come through the listener (the start's own files), joined like them.
  void Add(const HandOver& hand_over);
  // Takes what the listener has; the poll timer calls it.
  void Poll();
  // Takes nothing more and delivers nothing more: the listener goes, so later senders learn
  // their names were not taken. Safe during a delivery.
  void Close();
  std::size_t waiting() const { return batch_.names.size(); }
  const HandOverListener* listener() const { return listener_.get(); }

 private:
  void Take(const HandOver& hand_over);
  void Quiet();
  void OnReadable();
  void OnPollTimer();

  std::unique_ptr<HandOverListener> listener_;
  Deliver deliver_;
  Superseded superseded_;
  std::unique_ptr<KitTimer> poll_timer_;
  // After the listener, so that it goes first. Null or not ok: the poll timer runs always.
  std::unique_ptr<FdWatch> watch_;
  bool watching_ = false;
  std::unique_ptr<KitTimer> quiet_timer_;
  HandOver batch_;
  long long first_ms_ = 0;
  bool delivering_ = false;
  bool closed_ = false;
};

}  // namespace lq
