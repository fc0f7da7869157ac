#pragma once

#include <wx/dnd.h>

namespace lq {

class MainPanel;

// Files dropped on the main panel or on any of its controls all go to the panel's one drop
// handler, with the drop point and the pointer's position in the panel's coordinates.
class PanelDropTarget : public wxFileDropTarget {
 public:
  PanelDropTarget(wxWindow* window, MainPanel* panel) : window_(window), panel_(panel) {}

  bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) override;

  // Puts a target on the panel and on every control in it.
  static void Install(MainPanel* panel);

 private:
  wxWindow* window_;
  MainPanel* panel_;
};

}  // namespace lq
