#pragma once

#include <wx/dnd.h>

namespace lq {

class BaseDlg;

// Files dropped on the main dialog or on any of its controls all go to the dialog's one drop
// handler, with the drop point and the pointer's position in the dialog's coordinates.
class DialogDropTarget : public wxFileDropTarget {
 public:
  DialogDropTarget(wxWindow* window, BaseDlg* dialog) : window_(window), dialog_(dialog) {}

  bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) override;

  // Puts a target on the dialog and on every control in it.
  static void Install(BaseDlg* dialog);

 private:
  wxWindow* window_;
  BaseDlg* dialog_;
};

}  // namespace lq
