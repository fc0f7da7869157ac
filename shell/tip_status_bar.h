#pragma once

#include <wx/statusbr.h>

#include <string>

namespace lq {

// The frame's status bar and the one hint target of the window: a message field that shows
// the output file, with any current hint shown over it, and a field that says "Ready".
class TTipStatusBar : public wxStatusBar {
 public:
  explicit TTipStatusBar(wxWindow* parent);

  // The message field's own text, shown whenever no hint is.
  void SetMessageText(const std::string& text);
  const std::string& MessageText() const { return message_; }

  // A hint: the part before the first line feed goes over the message field; the rest is the
  // tooltip text, kept for the tooltip while tips are on. Null clears the hint.
  void SetHint(const std::string* hint);
  // Where the next tooltip goes, in screen coordinates.
  void SetHintAnchor(const wxPoint& screen_point) { anchor_ = screen_point; }

  void TipsEnabled(bool on);
  bool AreTipsEnabled() const { return tips_enabled_; }

  // What the window shows now, for the tooltip and for tests.
  std::string ShownText() const;
  const std::string& TipText() const { return tip_; }
  const wxPoint& HintAnchor() const { return anchor_; }

 private:
  void Show();

  std::string message_;
  std::string hint_status_;
  std::string tip_;
  bool has_hint_ = false;
  bool tips_enabled_ = true;
  wxPoint anchor_;
};

}  // namespace lq
