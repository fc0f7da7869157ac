#include "shell/about_dlg.h"

#include <wx/xrc/xmlres.h>

namespace lq {

AboutDlg::AboutDlg(wxWindow* owner) {
  wxXmlResource::Get()->LoadDialog(this, owner, "ABOUT_DLG");
  CentreOnScreen();
}

}  // namespace lq
