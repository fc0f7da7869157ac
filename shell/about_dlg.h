#pragma once

#include <wx/dialog.h>

namespace lq {

// The About box: icon, product name, version, OK.
class AboutDlg : public wxDialog {
 public:
  explicit AboutDlg(wxWindow* owner);
};

}  // namespace lq
