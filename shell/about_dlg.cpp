#include "shell/about_dlg.h"

#include <wx/xrc/xmlres.h>

#include "platform/compositor.h"

namespace lq {

AboutDlg::AboutDlg(wxWindow* owner) {
  wxXmlResource::Get()->LoadDialog(this, owner, "ABOUT_DLG");
  // Under Wayland the compositor places it over its owner; a centring by code is ignored.
  if (OnWayland()) {
    LetCompositorPlace(this);
  } else {
    CentreOnScreen();
  }
}

}  // namespace lq
