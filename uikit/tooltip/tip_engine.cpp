#include "uikit/tooltip/tip_engine.h"

#include <algorithm>

#include "uikit/tooltip/tip_logic.h"

namespace lq {

HintAnchorState& TheHintAnchor() {
  static HintAnchorState anchor;
  return anchor;
}

void SetHintAnchor(const wxPoint& screen_point, wxWindow* window_there) {
  HintAnchorState& anchor = TheHintAnchor();
  anchor.point = screen_point;
  anchor.window = window_there;
  anchor.set = true;
}

wxWindow* WindowUnderAnchor(TipHost& host) {
  HintAnchorState& anchor = TheHintAnchor();
  if (anchor.set) return anchor.window;
  anchor.point = host.PointerPosition();
  return host.WindowAt(anchor.point);
}

TipEngine::TipEngine(TipHost& host) : host_(host) { SetTipMaxSize(0, 0); }

void TipEngine::SetTipMaxSize(unsigned width, unsigned height) {
  const wxSize defaults = DefaultTipMaxSize(host_.ScreenSize());
  max_width_ = width != 0 ? width : static_cast<unsigned>(defaults.GetWidth());
  max_height_ = height != 0 ? height : static_cast<unsigned>(defaults.GetHeight());
}

TipState TipEngine::state() const {
  if (host_.WindowShown()) return TipState::kShown;
  return show_armed_ ? TipState::kWaiting : TipState::kIdle;
}

void TipEngine::SetTipText(const std::string* text) {
  if (text != nullptr) {
    if (!has_text_) {
      has_text_ = true;
      text_.clear();
    }
    // The same text keeps its delay and its measure.
    if (*text == text_) {
      PlaceTip();
      return;
    }
    text_ = *text;
  } else {
    has_text_ = false;
    text_.clear();
  }
  if (text_.empty()) {
    KillTipTimers();
    host_.HideWindow();
    last_clear_tick_ = host_.NowMs();
    return;
  }
  const long long now = host_.NowMs();
  const TipLines lines = CountTipLines(text_);
  wxSize extent(0, 0);
  for (const std::string& line : lines.lines) {
    const wxSize e = host_.MeasureLine(line);
    extent.SetWidth(std::max(extent.GetWidth(), e.GetWidth()));
    extent.SetHeight(std::max(extent.GetHeight(), e.GetHeight()));
  }
  size_ = TipSizeFor(extent, lines.count, max_width_, max_height_);
  host_.HideWindow();
  StartShowTimer(TipShowDelayMs(now, last_clear_tick_));
  StartPollTimer();
  last_clear_tick_ = 0;
}

void TipEngine::PlaceTip() {
  tracked_ = WindowUnderAnchor(host_);
  host_.MoveWindow(PlaceTipRect(TheHintAnchor().point, size_, host_.ScreenSize()));
}

void TipEngine::ShowTip() {
  PlaceTip();
  host_.ShowWindow();
}

void TipEngine::KillTipTimers() {
  if (show_armed_) host_.StopTimer(kTipShowTimer);
  if (poll_armed_) host_.StopTimer(kTipPollTimer);
  show_armed_ = poll_armed_ = false;
  show_interval_ = 0;
}

void TipEngine::StartShowTimer(int ms) {
  host_.StartTimer(kTipShowTimer, ms);
  show_armed_ = true;
  show_interval_ = ms;
}

void TipEngine::StartPollTimer() {
  host_.StartTimer(kTipPollTimer, kTipPollMs);
  poll_armed_ = true;
}

void TipEngine::OnTimer(int id) {
  if (host_.WindowShown()) {
    // Always the real pointer here, never the anchor.
    wxWindow* under = host_.WindowAt(host_.PointerPosition());
    if (tracked_ == nullptr || under != tracked_) {
      tracked_ = nullptr;
      HideTip();
      KillTipTimers();
    }
  }
  if (id == kTipShowTimer && show_armed_) {
    KillTipTimers();
    if (host_.WindowShown()) {
      HideTip();
    } else {
      ShowTip();
      StartShowTimer(kTipLifeMs);
      StartPollTimer();
    }
  }
}

}  // namespace lq
