#pragma once

#include <cstdint>

#include "uikit/grafext/white_center_dlg.h"

namespace lq {

// Chooses what a file handed over from the file manager puts on the clipboard: its name
// (stored as 0) or a composed line (stored as 1).
class TSendTo : public TWhiteCenterDlg {
 public:
  TSendTo(wxWindow* owner, const wxFont& font, std::int32_t& send_to_index);

 private:
  void OnOk(wxCommandEvent& event);

  std::int32_t& send_to_index_;
};

}  // namespace lq
