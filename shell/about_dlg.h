#pragma once

#include <wx/dialog.h>

namespace lq {

// The About box: icon, product name, version, license, OK. It opens centred on its owner.
class AboutDlg : public wxDialog {
 public:
  explicit AboutDlg(wxWindow* owner);

  bool Show(bool show = true) override;
};

}  // namespace lq
