// The main dialog's side of the preview window: what it shows and when it follows.
#include <wx/textctrl.h>

#include "resources/ids.h"
#include "shell/base_dlg.h"
#include "uikit/grafext/controls.h"

namespace lq {

Preview BaseDlg::ComposePreviewNow() {
  // As Create would compose after taking the controls in, without changing the record.
  ScriptSettings current = settings_;
  ReadControls(current);
  Composer composer(current, context_.style, context_.eol, HeaderText(), QueueText(), &list_);
  return ComposePreview(composer, current, list_);
}

void BaseDlg::OutputChanged() {
  // Controls may still talk while the dialog is taken down.
  if (preview_) preview_->Changed();
}

void BaseDlg::OnPreview() { preview_->Open(initial_font()); }

void BaseDlg::BindPreview() {
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
      if (preview_) preview_->Typed();
    });
    // Esc undoes without a change event; its key still comes up.
    edit->Bind(wxEVT_KEY_UP, [this](wxKeyEvent& e) {
      e.Skip();
      if (preview_) preview_->Typed();
    });
  }
}

}  // namespace lq
