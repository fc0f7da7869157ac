#pragma once

#include <wx/gdicmn.h>

#include <string>

class wxWindow;

namespace lq {

// What the tip's logic needs of its window and of the desktop.
class TipHost {
 public:
  virtual ~TipHost() = default;
  virtual long long NowMs() = 0;
  // Extent of one line of text in the tip's font.
  virtual wxSize MeasureLine(const std::string& line) = 0;
  virtual void StartTimer(int id, int interval_ms) = 0;
  virtual void StopTimer(int id) = 0;
  virtual void HideWindow() = 0;
  virtual void MoveWindow(const wxRect& rect) = 0;
  // Shows without activating and paints at once.
  virtual void ShowWindow() = 0;
  virtual bool WindowShown() const = 0;
  virtual wxSize ScreenSize() = 0;
  virtual wxPoint PointerPosition() = 0;
  virtual wxWindow* WindowAt(const wxPoint& screen_point) = 0;
};

// The hint anchor: where the main window last produced a hint, and the window there. Once
// set it stays set; every later placement uses the latest point.
struct HintAnchorState {
  bool set = false;
  wxPoint point;
  wxWindow* window = nullptr;  // compared, never used
};
HintAnchorState& TheHintAnchor();
void SetHintAnchor(const wxPoint& screen_point, wxWindow* window_there);
// The stored window when the anchor is set; else the window under the pointer, whose
// position becomes the anchor point.
wxWindow* WindowUnderAnchor(TipHost& host);

enum class TipState { kIdle, kWaiting, kShown };

// The shared tooltip's timing and placement. Timer 1000 waits 150 or 1500 ms and then holds
// the shown tip for 60 s; timer 1001 watches the pointer every 100 ms.
class TipEngine {
 public:
  explicit TipEngine(TipHost& host);

  // nullptr or an empty text hides the tip; the text already held only re-places it.
  void SetTipText(const std::string* text);
  void HideTip() { SetTipText(nullptr); }
  // 0 selects the default of that dimension.
  void SetTipMaxSize(unsigned width, unsigned height);
  void PlaceTip();
  void ShowTip();
  void KillTipTimers();
  void OnTimer(int id);

  TipState state() const;
  bool has_text() const { return has_text_; }
  const std::string& text() const { return text_; }
  const wxSize& size() const { return size_; }
  unsigned max_width() const { return max_width_; }
  unsigned max_height() const { return max_height_; }
  wxWindow* tracked() const { return tracked_; }
  bool show_armed() const { return show_armed_; }
  int show_interval() const { return show_interval_; }
  long long last_clear_tick() const { return last_clear_tick_; }

 private:
  void StartShowTimer(int ms);
  void StartPollTimer();

  TipHost& host_;
  bool show_armed_ = false;
  bool poll_armed_ = false;
  int show_interval_ = 0;
  wxWindow* tracked_ = nullptr;
  wxSize size_{0, 0};
  unsigned max_width_ = 0;
  unsigned max_height_ = 0;
  bool has_text_ = false;
  std::string text_;
  long long last_clear_tick_ = 0;
};

}  // namespace lq
