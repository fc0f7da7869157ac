#pragma once

#include <wx/frame.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/preview.h"

class wxStaticText;
class wxTextCtrl;

namespace lq {

// Before each warning of the template's quotes, in the preview and in the status bar.
inline constexpr const char* kQuoteWarningPrefix = "Warning: ";

// The preview window: the text Create would write now, read-only and monospaced, with notes
// (an empty list, the items left out) in grey and refused names in red. It writes nothing.
class PreviewFrame : public wxFrame {
 public:
  // font is the main window's: the frame takes it, the text view a monospaced one as large.
  PreviewFrame(const wxFont& font, const wxRect& place);

  // Fills the view; the same text again leaves it, and where it is scrolled to, as it is.
  void ShowPreview(const Preview& preview, const std::string& output_file);
  // What the view holds, byte for byte as composed.
  const std::string& text() const { return text_; }
  wxTextCtrl* view() const { return view_; }
  wxStaticText* info() const { return info_; }
  // The warnings above the lines, hidden when there are none.
  wxStaticText* warnings_label() const { return warnings_label_; }
  const std::vector<std::string>& warnings() const { return warnings_; }
  // Called when the user closes the window, before it goes.
  void set_on_close(std::function<void()> on_close) { on_close_ = std::move(on_close); }

 private:
  void OnClose(wxCloseEvent& event);
  void ShowWarnings(const std::vector<std::string>& warnings);
  // Wraps the warnings at the window's width.
  void FitWarnings();

  wxStaticText* info_ = nullptr;
  wxStaticText* warnings_label_ = nullptr;
  std::vector<std::string> warnings_;
  wxTextCtrl* view_ = nullptr;
  std::string text_;
  std::vector<PreviewPiece::Kind> kinds_;
  std::function<void()> on_close_;
};

}  // namespace lq
