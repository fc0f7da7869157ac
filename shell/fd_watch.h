#pragma once

#include <functional>
#include <memory>

class wxEventLoopSource;

namespace lq {

// Calls on_readable from the event loops (nested ones too) whenever fd has something to
// read, so that a quiet descriptor never wakes the window. Watches until destroyed. The
// watch is level-triggered: a handler that leaves the data unread is called again at once.
class FdWatch {
 public:
  FdWatch(int fd, std::function<void()> on_readable);
  ~FdWatch();
  FdWatch(const FdWatch&) = delete;
  FdWatch& operator=(const FdWatch&) = delete;

  // Stops watching until Resume, say while a handler runs a nested event loop and cannot
  // take the data yet. Safe from inside on_readable.
  void Pause();
  void Resume();
  // False where the toolkit cannot watch a descriptor (or while paused).
  bool ok() const { return source_ != nullptr; }

 private:
  int fd_;
  class Handler;
  std::unique_ptr<Handler> handler_;
  std::unique_ptr<wxEventLoopSource> source_;
};

}  // namespace lq
