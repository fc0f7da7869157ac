#pragma once

#include <wx/statusbr.h>
#include <wx/weakref.h>

#include <string>

namespace lq {

class ZQTToolTip;

// The frame's status bar and the one hint target of the window: a message field that shows
// the output file, with any current hint shown over it, and a field that says "Ready". The
// first bar made creates the shared tooltip and owns it.
class TTipStatusBar : public wxStatusBar {
 public:
  explicit TTipStatusBar(wxWindow* parent);
  ~TTipStatusBar() override;

  // The message field's own text, shown whenever no hint is.
  void SetMessageText(const std::string& text);
  const std::string& MessageText() const { return message_; }

  // A hint: the part before the first line feed goes over the message field; the rest goes
  // to the shared tooltip while tips are on. Null clears the hint and the tooltip.
  void SetHint(const std::string* hint);
  // Where the next tooltip goes, in screen coordinates.
  void SetHintAnchor(const wxPoint& screen_point);

  void TipsEnabled(bool on);
  bool AreTipsEnabled() const { return tips_enabled_; }

  // What the window shows now, for the tooltip and for tests.
  std::string ShownText() const;
  // The tooltip part of the current hint, whether tips are on or off.
  const std::string& TipText() const { return tip_; }
  const wxPoint& HintAnchor() const { return anchor_; }
  ZQTToolTip* tooltip() const { return tip_window_.get(); }
  bool OwnsTip() const { return owns_tip_; }

 private:
  // Puts the hint or the message on the field and the tooltip (not wxWindow::Show).
  void ShowHint();

  std::string message_;
  std::string hint_status_;
  std::string tip_;
  bool has_hint_ = false;
  wxWeakRef<ZQTToolTip> tip_window_;
  bool owns_tip_ = false;
  bool tips_enabled_ = false;
  wxPoint anchor_;
};

}  // namespace lq
