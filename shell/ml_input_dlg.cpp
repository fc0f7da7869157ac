#include "shell/ml_input_dlg.h"

#include "resources/ids.h"
#include "resources/resources.h"
#include "uikit/grafext/controls.h"

namespace lq {

MLInputDlg::MLInputDlg(wxWindow* owner, const wxFont& font, std::string* text, std::size_t capacity)
    : TWhiteCenterDlg(owner, kInputDialog, "", &font), text_(text), capacity_(capacity) {
  if (auto* edit = dynamic_cast<TZQEditCursor*>(FindWindow(ids::kInputEdit))) {
    edit->Setup(capacity, "CUR_NORMAL");
    if (text_ != nullptr) edit->SetCrLfText(*text_);
  }
  Bind(wxEVT_BUTTON, &MLInputDlg::OnOk, this, wxID_OK);
}

void MLInputDlg::OnOk(wxCommandEvent& event) {
  auto* edit = dynamic_cast<TZQEditCursor*>(FindWindow(ids::kInputEdit));
  if (text_ != nullptr && edit != nullptr && capacity_ > 0) {
    *text_ = edit->GetCrLfText(capacity_ - 1);
  }
  event.Skip();  // the dialog closes with OK as usual
}

}  // namespace lq
