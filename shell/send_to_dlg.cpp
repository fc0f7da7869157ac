#include "shell/send_to_dlg.h"

#include <wx/radiobut.h>

#include "engine/script_settings.h"
#include "resources/ids.h"
#include "resources/resources.h"

namespace lq {
namespace {

wxRadioButton* Radio(wxWindow* dialog, int id) {
  return dynamic_cast<wxRadioButton*>(dialog->FindWindow(id));
}

}  // namespace

TSendTo::TSendTo(wxWindow* owner, const wxFont& font, std::int32_t& send_to_index)
    : TWhiteCenterDlg(owner, kSendToDialog, "", &font), send_to_index_(send_to_index) {
  const int checked = SendsLines(send_to_index_) ? ids::kSendToLine : ids::kSendToName;
  if (wxRadioButton* radio = Radio(this, checked)) radio->SetValue(true);
  Bind(wxEVT_BUTTON, &TSendTo::OnOk, this, wxID_OK);
}

void TSendTo::OnOk(wxCommandEvent& event) {
  if (wxRadioButton* name = Radio(this, ids::kSendToName); name && name->GetValue()) {
    send_to_index_ = SendToIndexOf(SendToChoice::kName);
  }
  if (wxRadioButton* line = Radio(this, ids::kSendToLine); line && line->GetValue()) {
    send_to_index_ = SendToIndexOf(SendToChoice::kLine);
  }
  event.Skip();
}

}  // namespace lq
