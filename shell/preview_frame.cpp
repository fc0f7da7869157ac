#include "shell/preview_frame.h"

#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/wupdlock.h>

#include <algorithm>

#include "engine/text_helpers.h"
#include "platform/gtk_text_fill.h"
#include "resources/translate.h"
#include "shell/wx_text.h"

namespace lq {
namespace {

// A name may hold bytes that are not UTF-8, which wxString would drop with all the rest:
// each such byte shows as U+FFFD instead.
std::string ReadableUtf8(const std::string& text) {
  return ShowInvalidBytes(text, [](unsigned char) { return std::string("\xEF\xBF\xBD"); });
}

wxString Readable(const std::string& text) { return FromUtf8(ReadableUtf8(text)); }

wxTextAttr StyleFor(PreviewPiece::Kind kind) {
  switch (kind) {
    case PreviewPiece::Kind::kOutput:
      return wxTextAttr(*wxBLACK);
    case PreviewPiece::Kind::kRefused:
      return wxTextAttr(wxColour(176, 0, 0));
    case PreviewPiece::Kind::kMore:
    case PreviewPiece::Kind::kEmpty:
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
  rest_.clear();
  // Not frozen: a frozen wxTextCtrl lends GTK's view a stand-in buffer.
  if (!FillView(preview)) {
    wxWindowUpdateLocker freeze(view_);
    view_->Clear();
    for (const PreviewPiece& piece : preview.pieces) {
      view_->SetDefaultStyle(StyleFor(piece.kind));
      view_->AppendText(Readable(piece.text));
    }
  }
  // Where the user was reading stays in view as lines come and go above it.
  view_->SetInsertionPoint(std::min(at, view_->GetLastPosition()));
  view_->ShowPosition(view_->GetInsertionPoint());
}

namespace {

// Splits runs, which cover a text, at byte at: those before go to head, the rest stay.
std::vector<ColouredRun> TakeRuns(std::vector<ColouredRun>& runs, std::size_t at) {
  std::vector<ColouredRun> head;
  std::size_t i = 0;
  while (i < runs.size() && at > 0) {
    ColouredRun run = runs[i];
    if (run.bytes > at) {
      run.bytes = at;
      runs[i].bytes -= at;
      head.push_back(run);
      break;
    }
    at -= run.bytes;
    head.push_back(run);
    ++i;
  }
  runs.erase(runs.begin(), runs.begin() + static_cast<std::ptrdiff_t>(i));
  return head;
}

// The bytes of text up to and with its first lines line breaks; all of it when it has fewer.
std::size_t LinesBytes(const std::string& text, long lines, std::size_t from = 0) {
  std::size_t at = from;
  for (long line = 0; line < lines; ++line) {
    at = text.find('\n', at);
    if (at == std::string::npos) return text.size();
    ++at;
  }
  return at;
}

}  // namespace

bool PreviewFrame::FillView(const Preview& preview) {
#ifdef __WXGTK__
  std::string shown;
  shown.reserve(text_.size());
  std::vector<ColouredRun> runs;
  runs.reserve(preview.pieces.size());
  for (const PreviewPiece& piece : preview.pieces) {
    const std::size_t before = shown.size();
    shown += ReadableUtf8(piece.text);
    const wxColour colour = StyleFor(piece.kind).GetTextColour();
    runs.push_back({shown.size() - before, colour.Red(), colour.Green(), colour.Blue()});
  }
  // Long lines make the toolkit's part of a fill about 11 ns a byte: a large text goes in
  // as the lines in view (and those above where the user reads), the rest at idle time.
  std::size_t first = shown.size();
  if (shown.size() > kFillAtOnceBytes) {
    long x = 0;
    long line = 0;
    view_->PositionToXY(view_->GetInsertionPoint(), &x, &line);
    const long rows = view_->GetClientSize().GetHeight() / std::max(1, view_->GetCharHeight());
    first = LinesBytes(shown, line + rows + kSpareLines);
  }
  std::vector<ColouredRun> head = TakeRuns(runs, first);
  if (!FillTextView(view_->GetHandle(), shown.substr(0, first), head)) return false;
  ++fill_round_;
  rest_ = shown.substr(first);
  rest_runs_ = std::move(runs);
  if (!rest_.empty()) FillRestLater();
  return true;
#else
  static_cast<void>(preview);
  return false;
#endif
}

void PreviewFrame::FillRestLater() {
#ifdef __WXGTK__
  CallAfter([this, round = fill_round_] {
    if (round != fill_round_ || rest_.empty()) return;
    // In pieces of whole lines, so that input between them is taken in good time.
    const std::size_t bytes =
        rest_.size() <= kFillAtOnceBytes ? rest_.size() : LinesBytes(rest_, 1, kFillAtOnceBytes);
    const std::vector<ColouredRun> piece = TakeRuns(rest_runs_, bytes);
    AppendTextView(view_->GetHandle(), rest_.substr(0, bytes), piece);
    rest_.erase(0, bytes);
    if (!rest_.empty()) FillRestLater();
  });
#endif
}

void PreviewFrame::OnClose(wxCloseEvent& event) {
  event.Skip();  // the default handling destroys the frame
  if (on_close_) on_close_();
}

}  // namespace lq
