#include "shell/drop_target.h"

#include <string>
#include <vector>

#include "shell/main_panel.h"
#include "shell/wx_text.h"
#include "uikit/grafext/kit_services.h"

namespace lq {

bool PanelDropTarget::OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) {
  std::vector<std::string> files;
  files.reserve(names.size());
  for (const wxString& name : names) {
    // A name the toolkit could not turn into text arrives empty or altered: it goes on empty,
    // and the panel refuses it rather than list a different file.
    std::string utf8 = ToUtf8(name);
    if (FromUtf8(utf8) != name) utf8.clear();
    files.push_back(std::move(utf8));
  }
  const wxPoint point = panel_->ScreenToClient(window_->ClientToScreen(wxPoint(x, y)));
  // GTK gives a drop on a disabled control to an ancestor in the control's own coordinates,
  // so the pointer says where such a drop fell.
  const wxPoint pointer = panel_->ScreenToClient(KitPointer().Position());
  panel_->HandleDrop(files, point, pointer);
  return true;
}

void PanelDropTarget::Install(MainPanel* panel) {
  panel->SetDropTarget(new PanelDropTarget(panel, panel));
  // Text fields take dropped files as text of their own unless they have our target too.
  for (wxWindow* child : panel->GetChildren()) {
    child->SetDropTarget(new PanelDropTarget(child, panel));
  }
}

}  // namespace lq
