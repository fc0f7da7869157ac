#pragma once

#include <wx/gdicmn.h>

#include <memory>
#include <string>

class wxMenu;
class wxWindow;

namespace lq {

// How the kit opens a popup menu (KitServices::popups). The real one runs the toolkit's modal
// menu loop; tests install one that records the request instead of blocking.
class PopupPresenter {
 public:
  virtual ~PopupPresenter() = default;
  // pos is in owner's client coordinates; the chosen command goes to owner.
  virtual void Show(wxWindow* owner, wxMenu& menu, const std::string& menu_name,
                    const wxPoint& pos) = 0;
};

// Opens the menu through the kit's presenter.
void ShowPopupMenu(wxWindow* owner, wxMenu& menu, const std::string& menu_name, const wxPoint& pos);

// The menu resource of that name from the loaded XRC, or nullptr when there is none.
std::unique_ptr<wxMenu> LoadPopupMenu(const std::string& name);

}  // namespace lq
