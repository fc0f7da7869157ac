#pragma once

#include <wx/frame.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/preview.h"
#include "platform/gtk_text_fill.h"

class wxStaticText;
class wxTextCtrl;

namespace lq {

// Before each warning of the template's quotes, in the preview and in the status bar.
inline constexpr const char* kQuoteWarningPrefix = "Warning: ";

// The preview window: the text Create would write now, read-only and monospaced, with notes
// (an empty list, the items left out) in grey and refused names in red. It writes nothing.
class PreviewFrame : public wxFrame {
 public:
  // A text up to this size goes into the view at once, a larger one as the lines in view and
  // those above the reading place plus kSpareLines at once, then this much at a time.
  static constexpr std::size_t kFillAtOnceBytes = 64 * 1024;
  static constexpr long kSpareLines = 2;

  // font is the main window's: the frame takes it, the text view a monospaced one as large.
  PreviewFrame(const wxFont& font, const wxRect& place);

  // Fills the view; the same text again leaves it, and where it is scrolled to, as it is.
  void ShowPreview(const Preview& preview, const std::string& output_file);
  // What the view shows, byte for byte as composed (a large text reaches the view in parts,
  // the last of them at idle time).
  const std::string& text() const { return text_; }
  // Whether part of the text is still to go into the view.
  bool filling() const { return !rest_.empty(); }
  wxTextCtrl* view() const { return view_; }
  wxStaticText* info() const { return info_; }
  // The warnings above the lines, hidden when there are none.
  wxStaticText* warnings_label() const { return warnings_label_; }
  const std::vector<std::string>& warnings() const { return warnings_; }
  // Called when the user closes the window, before it goes.
  void set_on_close(std::function<void()> on_close) { on_close_ = std::move(on_close); }

 private:
  void OnClose(wxCloseEvent& event);
  // Fills the view through the toolkit's own text buffer where there is one, a large text
  // in parts; false where there is none.
  bool FillView(const Preview& preview);
  void FillRestLater();
  void ShowWarnings(const std::vector<std::string>& warnings);
  // Wraps the warnings at the window's width.
  void FitWarnings();

  wxStaticText* info_ = nullptr;
  wxStaticText* warnings_label_ = nullptr;
  std::vector<std::string> warnings_;
  wxTextCtrl* view_ = nullptr;
  std::string text_;
  std::vector<PreviewPiece::Kind> kinds_;
  // What is still to go into the view, and the colours it goes in; a new fill starts a
  // new round, and what is left of the last is dropped.
  std::string rest_;
  std::vector<ColouredRun> rest_runs_;
  unsigned fill_round_ = 0;
  std::function<void()> on_close_;
};

}  // namespace lq
