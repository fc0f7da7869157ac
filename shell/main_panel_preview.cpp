// The main dialog's side of the preview window: what it shows and when it follows.
#include <wx/textctrl.h>

#include "engine/quote_check.h"
#include "resources/ids.h"
#include "shell/main_panel.h"
#include "shell/tip_status_bar.h"
#include "uikit/grafext/controls.h"

namespace lq {

Preview MainPanel::ComposePreviewNow() {
  // As Create would compose after taking the controls in, without changing the record.
  ScriptSettings current = settings_;
  ReadControls(current);
  const std::string header = HeaderText();
  const std::string queue = QueueText();
  Composer composer(current, context_.style, context_.eol, header, queue, &list_);
  Preview preview = ComposePreview(composer, current, list_);
  preview.warnings = QuoteWarnings(current, header, queue);
  ShowQuoteWarnings(preview.warnings);
  return preview;
}

std::vector<std::string> MainPanel::QuoteWarningsNow() {
  ScriptSettings current = settings_;
  ReadControls(current);
  return QuoteWarnings(current, HeaderText(), QueueText());
}

void MainPanel::ShowQuoteWarnings(const std::vector<std::string>& warnings) {
  // In place of the output file, which its own field still shows; a hint goes over either.
  status_->SetMessageText(warnings.empty() ? settings_.FileOutput
                                           : kQuoteWarningPrefix + warnings.front());
}

void MainPanel::OutputChanged() {
  // Controls may still talk while the dialog is taken down.
  if (!preview_) return;
  // Whether the preview is open or not, the status bar says it before Create.
  ShowQuoteWarnings(QuoteWarningsNow());
  preview_->Changed();
}

void MainPanel::TextTyped() {
  if (!preview_) return;
  ShowQuoteWarnings(QuoteWarningsNow());
  preview_->Typed();
}

void MainPanel::OnPreview() { preview_->Open(initial_font()); }

void MainPanel::BindPreview() {
  // The path mode and the options take effect in the record only when a command runs; the
  // preview follows the controls at once.
  Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent& e) {
    e.Skip();
    OutputChanged();
  });
  Bind(
      wxEVT_CHECKBOX,
      [this](wxCommandEvent& e) {
        e.Skip();
        OutputChanged();
      },
      ids::kInvertSlash);
  for (TZQEditCursor* edit : {header_, queue_}) {
    if (edit == nullptr) continue;
    edit->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) {
      e.Skip();
      TextTyped();
    });
    // Esc undoes without a change event; its key still comes up.
    edit->Bind(wxEVT_KEY_UP, [this](wxKeyEvent& e) {
      e.Skip();
      TextTyped();
    });
  }
}

}  // namespace lq
