#include "shell/preview_frame.h"

#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/wupdlock.h>

#include <algorithm>

#include "engine/text_helpers.h"
#include "resources/translate.h"
#include "shell/wx_text.h"

namespace lq {
namespace {

// A name may hold bytes that are not UTF-8, which wxString would drop with all the rest:
// each such byte shows as U+FFFD instead.
wxString Readable(const std::string& text) {
  return FromUtf8(
      ShowInvalidBytes(text, [](unsigned char) { return std::string("\xEF\xBF\xBD"); }));
}

wxTextAttr StyleFor(PreviewPiece::Kind kind) {
  switch (kind) {
    case PreviewPiece::Kind::Output:
      return wxTextAttr(*wxBLACK);
    case PreviewPiece::Kind::Refused:
      return wxTextAttr(wxColour(176, 0, 0));
    case PreviewPiece::Kind::More:
    case PreviewPiece::Kind::Empty:
      break;
  }
  return wxTextAttr(wxColour(128, 128, 128));
}

}  // namespace

PreviewFrame::PreviewFrame(const wxFont& font, const wxRect& place)
    : wxFrame(nullptr, wxID_ANY, _("Preview output"), place.GetPosition(), place.GetSize()) {
  SetFont(font);
  info_ = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                           wxST_ELLIPSIZE_MIDDLE);
  warnings_label_ = new wxStaticText(this, wxID_ANY, wxEmptyString);
  warnings_label_->SetFont(font.Bold());
  warnings_label_->Hide();
  view_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                         wxTE_MULTILINE | wxTE_READONLY | wxTE_RICH2 | wxTE_DONTWRAP);
  view_->SetFont(wxFont(wxFontInfo(font.GetPointSize()).Family(wxFONTFAMILY_TELETYPE)));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(info_, 0, wxEXPAND | wxALL, 4);
  sizer->Add(warnings_label_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 4);
  sizer->Add(view_, 1, wxEXPAND);
  SetSizer(sizer);
  Bind(wxEVT_CLOSE_WINDOW, &PreviewFrame::OnClose, this);
  Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
    e.Skip();
    if (!warnings_.empty()) FitWarnings();
  });
}

void PreviewFrame::ShowWarnings(const std::vector<std::string>& warnings) {
  if (warnings == warnings_) return;
  warnings_ = warnings;
  warnings_label_->Show(!warnings_.empty());
  FitWarnings();
}

void PreviewFrame::FitWarnings() {
  std::string text;
  for (const std::string& warning : warnings_) {
    if (!text.empty()) text += '\n';
    text += kQuoteWarningPrefix + warning;
  }
  // Text, not a label: no '&' is taken for a mnemonic.
  warnings_label_->SetLabelText(Readable(text));
  const int width = GetClientSize().GetWidth() - 8;
  if (width > 0) warnings_label_->Wrap(width);
  Layout();
}

void PreviewFrame::ShowPreview(const Preview& preview, const std::string& output_file) {
  info_->SetLabel(_("Create would write this to ") + Readable(output_file));
  ShowWarnings(preview.warnings);
  std::vector<PreviewPiece::Kind> kinds;
  kinds.reserve(preview.pieces.size());
  for (const PreviewPiece& piece : preview.pieces) kinds.push_back(piece.kind);
  std::string text = preview.Text();
  if (text == text_ && kinds == kinds_) return;
  text_ = std::move(text);
  kinds_ = std::move(kinds);

  const long at = view_->GetInsertionPoint();
  wxWindowUpdateLocker freeze(view_);
  view_->Clear();
  for (const PreviewPiece& piece : preview.pieces) {
    view_->SetDefaultStyle(StyleFor(piece.kind));
    view_->AppendText(Readable(piece.text));
  }
  // Where the user was reading stays in view as lines come and go above it.
  view_->SetInsertionPoint(std::min(at, view_->GetLastPosition()));
  view_->ShowPosition(view_->GetInsertionPoint());
}

void PreviewFrame::OnClose(wxCloseEvent& event) {
  event.Skip();  // the default handling destroys the frame
  if (on_close_) on_close_();
}

}  // namespace lq
