#pragma once

#include <string>
#include <vector>

namespace lq {

class PanelHost;

// The main panel's output: the Create button with its popup, and the commands that write the
// output file, open or start it, or put a composed text on the clipboard, the files handed
// over by other starts among them.
class MainOutputPart {
 public:
  explicit MainOutputPart(PanelHost& host);

  // Commands.
  void Create();
  void CreateAndCopy();
  void View();
  void Execute();
  void WebPage();
  void CopySelected();
  void CreateAndCopySelected();
  // Auto Drag's Copy and Create and copy, for the waiting file.
  void DragCopyName();
  void DragCreateAndCopy();
  // Files handed over together: one "Copying..." notice that says how many, then one copy of
  // their names, one a line, or of their composed lines, in the order given. A name that
  // cannot be written copies nothing and is reported.
  void CopyHandedOver(const std::vector<std::string>& names, const std::string& activation_token);

 private:
  template <typename Compose>
  void CopyForWaitingFile(Compose compose);

  PanelHost& host_;
};

}  // namespace lq
