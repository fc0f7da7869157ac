// The main dialog's list commands.
#include "engine/list_file.h"
#include "shell/base_dlg.h"

namespace lq {

void BaseDlg::OnClear() {
  list_.Clear();
  ShowList();
  UpdateCounter();
}

void BaseDlg::OnMove(Direction direction) {
  ListHasFiles();  // an empty list only shows the notice
  MoveItem(list_, direction);
  ShowList();
  UpdateCounter();
}

void BaseDlg::OnDelete() {
  ListHasFiles();
  DeleteSelected(list_);
  ShowList();
  UpdateCounter();
}

void BaseDlg::OnOpenList() {
  std::string name;
  if (!context_.services.prompts->ChooseFile(this, kOpenListDialog, name, {})) return;
  if (auto failure = OpenList(list_, name)) {
    Report(*failure);
    return;
  }
  ShowList();
  UpdateCounter();
}

void BaseDlg::OnSaveList() {
  if (!ListHasFiles()) return;
  std::string name;
  if (!context_.services.prompts->ChooseFile(this, kSaveListDialog, name, {})) return;
  if (auto failure = SaveList(list_, name, context_.eol)) Report(*failure);
}

}  // namespace lq
