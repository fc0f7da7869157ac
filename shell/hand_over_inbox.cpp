#include "shell/hand_over_inbox.h"

#include <algorithm>
#include <utility>

#include "platform/hand_over_channel.h"

namespace lq {

HandOverInbox::HandOverInbox(std::unique_ptr<HandOverListener> listener, Deliver deliver)
    : listener_(std::move(listener)), deliver_(std::move(deliver)) {
  quiet_timer_ = KitTimers().Make(kHandOverQuietTimerId, [this] { Quiet(); });
  if (listener_ != nullptr) {
    poll_timer_ = KitTimers().Make(kHandOverPollTimerId, [this] { OnPollTimer(); });
    watch_ = std::make_unique<FdWatch>(listener_->fd(), [this] { OnReadable(); });
    watching_ = watch_->ok();
    // Where the toolkit cannot watch a descriptor, look every so often.
    if (!watching_) poll_timer_->Start(kPollMs);
  }
}

HandOverInbox::~HandOverInbox() = default;

void HandOverInbox::Add(const HandOver& hand_over) {
  if (!closed_ && !hand_over.names.empty()) Take(hand_over);
}

void HandOverInbox::Poll() {
  if (closed_ || listener_ == nullptr) return;
  listener_->Poll([this](const HandOver& hand_over) {
    Take(hand_over);
    return true;
  });
}

void HandOverInbox::OnReadable() {
  // Taken from the timer, never from inside whatever loop the socket woke.
  watch_->Pause();
  if (!poll_timer_->IsRunning()) poll_timer_->Start(kPollMs);
}

void HandOverInbox::OnPollTimer() {
  Poll();
  if (!watching_ || closed_ || listener_ == nullptr) return;
  // A sender still writing, or waiting for its answer: read again at the next tick.
  if (listener_->reading()) return;
  poll_timer_->Stop();
  watch_->Resume();
}

void HandOverInbox::Take(const HandOver& hand_over) {
  const long long now = KitClock().NowMs();
  if (batch_.names.empty()) first_ms_ = now;
  batch_.names.insert(batch_.names.end(), hand_over.names.begin(), hand_over.names.end());
  if (!hand_over.activation_token.empty()) {
    if (!batch_.activation_token.empty() && superseded_) superseded_(batch_.activation_token);
    batch_.activation_token = hand_over.activation_token;
  }
  const long long left = std::max(0LL, first_ms_ + kLongestWaitMs - now);
  quiet_timer_->Start(static_cast<int>(std::min<long long>(kQuietMs, left)));
}

void HandOverInbox::Close() {
  closed_ = true;
  // Stopped, not destroyed: this may run inside one of their ticks.
  quiet_timer_->Stop();
  if (poll_timer_ != nullptr) poll_timer_->Stop();
  if (watch_ != nullptr) watch_->Pause();
  listener_.reset();
  batch_ = {};
}

void HandOverInbox::Quiet() {
  quiet_timer_->Stop();
  if (closed_ || batch_.names.empty()) return;
  // A delivery that shows a message box runs the event loop: the next waits for it to end.
  if (delivering_) {
    quiet_timer_->Start(kQuietMs);
    return;
  }
  HandOver joined = std::exchange(batch_, {});
  delivering_ = true;
  deliver_(joined);
  delivering_ = false;
}

}  // namespace lq
