#include "uikit/grafext/popup.h"

#include <wx/log.h>
#include <wx/menu.h>
#include <wx/xrc/xmlres.h>

#include "uikit/grafext/kit_services.h"

namespace lq {

void ShowPopupMenu(wxWindow* owner, wxMenu& menu, const std::string& menu_name,
                   const wxPoint& pos) {
  if (owner != nullptr) KitPopups().Show(owner, menu, menu_name, pos);
}

std::unique_ptr<wxMenu> LoadPopupMenu(const std::string& name) {
  if (name.empty()) return nullptr;
  // A missing menu means "no popup", not an error for the user.
  wxLogNull quiet;
  const wxString resource = wxString::FromUTF8(name);
  if (wxMenu* menu = wxXmlResource::Get()->LoadMenu(resource)) return std::unique_ptr<wxMenu>(menu);
  // A menu bar resource pops up its first menu.
  std::unique_ptr<wxMenuBar> bar(wxXmlResource::Get()->LoadMenuBar(resource));
  if (bar == nullptr || bar->GetMenuCount() == 0) return nullptr;
  return std::unique_ptr<wxMenu>(bar->Remove(0));
}

}  // namespace lq
