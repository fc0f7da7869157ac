#pragma once

#include <wx/font.h>
#include <wx/popupwin.h>

#include <memory>
#include <string>

#include "uikit/grafext/kit_services.h"
#include "uikit/tooltip/tip_engine.h"

namespace lq {

// The one shared tooltip of the process: a never-activated popup that shows a short hint a
// little below the pointer after a short delay (TipEngine holds the rules). It paints only in
// its paint handler.
class ZQTToolTip : public wxPopupWindow, private TipHost {
 public:
  // font may be null; the system's status font replaces it when it can be read.
  ZQTToolTip(wxWindow* parent, const wxFont* font);
  ~ZQTToolTip() override;

  void SetTipText(const std::string* text) { engine_.SetTipText(text); }
  void HideTip() { engine_.HideTip(); }
  void SetTipMaxSize(unsigned width, unsigned height) { engine_.SetTipMaxSize(width, height); }
  void PlaceTip() { engine_.PlaceTip(); }
  void ShowTip() { engine_.ShowTip(); }
  void KillTipTimers() { engine_.KillTipTimers(); }
  void RefreshTipFont();

  const TipEngine& engine() const { return engine_; }
  const wxFont& tip_font() const { return font_; }
  // The text as painted: line breaks made plain line feeds.
  wxString PaintedText() const;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnPointerOnTip(wxMouseEvent& event);

  // TipHost
  long long NowMs() override;
  wxSize MeasureLine(const std::string& line) override;
  void StartTimer(int id, int interval_ms) override;
  void StopTimer(int id) override;
  void HideWindow() override;
  void MoveWindow(const wxRect& rect) override;
  void ShowWindow() override;
  bool WindowShown() const override;
  wxSize ScreenSize() override;
  wxPoint PointerPosition() override;
  wxWindow* WindowAt(const wxPoint& screen_point) override;

  wxFont font_;
  wxRect placed_;
  std::unique_ptr<KitTimer> show_timer_;
  std::unique_ptr<KitTimer> poll_timer_;
  class KeyboardHook;
  std::unique_ptr<KeyboardHook> hook_;
  TipEngine engine_;
};

// The fallback font of a new tip: a 9 pixel sans face.
wxFont TToolTipFont();

// The shared tooltip, or null when no status bar has made one.
ZQTToolTip* TipInstance();
void SetTipInstance(ZQTToolTip* tip);

// The tips-enabled flag the keyboard hook reads; null means off.
void PublishTipsEnabled(const bool* flag);
const bool* PublishedTipsEnabled();

// Stores the anchor point and the window found there.
void SetHintAnchor(const wxPoint& screen_point);

}  // namespace lq
