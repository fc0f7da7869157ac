#pragma once

#include "engine/file_list.h"

namespace lq {

class PanelHost;
class TZQListBox;

// The main panel's file list: the list box, the position counter and the Move up, Move down
// and Del buttons, with the commands that change the list or read and write list files.
class MainListPart {
 public:
  explicit MainListPart(PanelHost& host);

  // The list box shows the list again.
  void ShowList();
  void UpdateCounter();

  // Commands.
  void Clear();
  void Move(Direction direction);
  void Delete();
  void OpenList();
  void SaveList();

 private:
  void SetupControls();
  void BindNotices();
  // Any notice of the list box: the counter follows.
  void OnNotice();
  // The list changed by one of the commands: shown, counted, and what Create would write.
  void Changed();

  PanelHost& host_;
  TZQListBox* list_box_ = nullptr;
};

}  // namespace lq
