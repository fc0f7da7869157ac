#include "shell/fd_watch.h"

#include <wx/evtloop.h>
#include <wx/evtloopsrc.h>

#include <utility>

namespace lq {

class FdWatch::Handler : public wxEventLoopSourceHandler {
 public:
  explicit Handler(std::function<void()> on_readable) : on_readable_(std::move(on_readable)) {}
  void OnReadWaiting() override { on_readable_(); }
  void OnWriteWaiting() override {}
  void OnExceptionWaiting() override {}

 private:
  std::function<void()> on_readable_;
};

FdWatch::FdWatch(int fd, std::function<void()> on_readable)
    : fd_(fd), handler_(std::make_unique<Handler>(std::move(on_readable))) {
  Resume();
}

FdWatch::~FdWatch() { Pause(); }

// The handler stays: a source removed while it runs returns into it.
void FdWatch::Pause() { source_.reset(); }

void FdWatch::Resume() {
  if (source_ == nullptr) {
    source_.reset(wxEventLoopBase::AddSourceForFD(fd_, handler_.get(), wxEVENT_SOURCE_INPUT));
  }
}

}  // namespace lq
