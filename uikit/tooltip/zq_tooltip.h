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
// its paint handler. It never stays over a modal dialog: one opening hides a shown or
// pending tip and holds new ones back until it closes, and so does the owner window losing
// the activation (until the next hint).
class ZQTToolTip : public wxPopupWindow, private TipHost {
 public:
  // font may be null; the system's status font replaces it when it can be read.
  ZQTToolTip(wxWindow* parent, const wxFont* font);
  ~ZQTToolTip() override;

  // While a modal dialog is open a text is not taken: the tip would show over the dialog.
  void SetTipText(const std::string* text);
  void HideTip() { engine_.HideTip(); }
  void SetTipMaxSize(unsigned width, unsigned height) { engine_.SetTipMaxSize(width, height); }
  void PlaceTip() { engine_.PlaceTip(); }
  void ShowTip() { engine_.ShowTip(); }
  void KillTipTimers() { engine_.KillTipTimers(); }
  void RefreshTipFont();

  const TipEngine& engine() const { return engine_; }
  // How many modal dialogs are open now.
  int modal_depth() const { return modal_depth_; }
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
  class ModalHook;
  std::unique_ptr<ModalHook> modal_hook_;
  int modal_depth_ = 0;
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
