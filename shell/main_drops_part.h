#pragma once

#include <string>
#include <vector>

#include "shell/drop_beeps.h"

class wxPoint;

namespace lq {

class PanelHost;

// Files dropped on the main panel: on the list, on a setting control or on the Auto Drag
// button, whose popup and help are this part's, with the two confirmations that set the
// relative folder or the output file from the waiting file.
class MainDropsPart {
 public:
  explicit MainDropsPart(PanelHost& host);

  // Files dropped at point (the panel's coordinates); pointer, where the pointer was, decides
  // for the disabled relative-path field.
  void HandleDrop(const std::vector<std::string>& names, const wxPoint& point,
                  const wxPoint& pointer);
  const DropBeeps& drop_beeps() const { return drop_beeps_; }

  // Commands: Auto Drag's help, and its Set Relative Path and Set Output File.
  void AutoDragHelp();
  void SetRelPathFromPending();
  void SetOutputFromPending();

 private:
  PanelHost& host_;
  DropBeeps drop_beeps_;
};

}  // namespace lq
