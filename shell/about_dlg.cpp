#include "shell/about_dlg.h"

#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "about/program_version.h"
#include "resources/translate.h"
#include "uikit/grafext/desktop.h"

namespace lq {

AboutDlg::AboutDlg(wxWindow* owner) {
  wxXmlResource::Get()->LoadDialog(this, owner, "ABOUT_DLG");
  // The one version and license, the same that --version prints and the package carries.
  if (auto* version = XRCCTRL(*this, "ABOUT_VERSION", wxStaticText)) {
    version->SetLabel(wxString::FromUTF8(Tr("Version:") + " " + kProgramVersion));
  }
  if (auto* license = XRCCTRL(*this, "ABOUT_LICENSE", wxStaticText)) {
    license->SetLabel(wxString::FromUTF8(std::string(kCopyrightLine) + "\n" + Tr("License") + " " +
                                         kLicenseName));
  }
}

bool AboutDlg::Show(bool show) {
  // Placed as it shows, where its owner is then (the compositor does it under Wayland).
  if (show && !IsShown()) CenterOnOwner(this);
  return wxDialog::Show(show);
}

}  // namespace lq
