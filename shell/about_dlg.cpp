#include "shell/about_dlg.h"

#include <wx/xrc/xmlres.h>

#include "uikit/grafext/desktop.h"

namespace lq {

AboutDlg::AboutDlg(wxWindow* owner) { wxXmlResource::Get()->LoadDialog(this, owner, "ABOUT_DLG"); }

bool AboutDlg::Show(bool show) {
  // Placed as it shows, where its owner is then (the compositor does it under Wayland).
  if (show && !IsShown()) CenterOnOwner(this);
  return wxDialog::Show(show);
}

}  // namespace lq
