#include "shell/drop_target.h"

#include <string>
#include <vector>

#include "shell/base_dlg.h"
#include "shell/wx_text.h"

namespace lq {

bool DialogDropTarget::OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) {
  std::vector<std::string> files;
  files.reserve(names.size());
  for (const wxString& name : names) files.push_back(ToUtf8(name));
  const wxPoint point = dialog_->ScreenToClient(window_->ClientToScreen(wxPoint(x, y)));
  dialog_->HandleDrop(files, point);
  return true;
}

void DialogDropTarget::Install(BaseDlg* dialog) {
  dialog->SetDropTarget(new DialogDropTarget(dialog, dialog));
  // Text fields take dropped files as text of their own unless they have our target too.
  for (wxWindow* child : dialog->GetChildren()) {
    child->SetDropTarget(new DialogDropTarget(child, dialog));
  }
}

}  // namespace lq
