#include "shell/drop_target.h"

#include <string>
#include <vector>

#include "shell/base_dlg.h"
#include "shell/wx_text.h"

namespace lq {

bool DialogDropTarget::OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) {
  std::vector<std::string> files;
  files.reserve(names.size());
  for (const wxString& name : names) {
    // A name the toolkit could not turn into text arrives empty or altered: it goes on empty,
    // and the dialog refuses it rather than list a different file.
    std::string utf8 = ToUtf8(name);
    if (FromUtf8(utf8) != name) utf8.clear();
    files.push_back(std::move(utf8));
  }
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
