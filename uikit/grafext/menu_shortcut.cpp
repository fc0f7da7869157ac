#include "uikit/grafext/menu_shortcut.h"

#include <wx/accel.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include <memory>

namespace lq {
namespace {

int Flags(const wxKeyEvent& event) {
  int flags = wxACCEL_NORMAL;
  if (event.AltDown()) flags |= wxACCEL_ALT;
  if (event.ControlDown()) flags |= wxACCEL_CTRL;
  if (event.ShiftDown()) flags |= wxACCEL_SHIFT;
  return flags;
}

const wxMenuItem* Find(const wxMenu& menu, int flags, int code) {
  for (const wxMenuItem* item : menu.GetMenuItems()) {
    if (const wxMenu* sub = item->GetSubMenu()) {
      if (const wxMenuItem* found = Find(*sub, flags, code)) return found;
      continue;
    }
    const std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
    if (accel != nullptr && accel->GetFlags() == flags && accel->GetKeyCode() == code) {
      return item;
    }
  }
  return nullptr;
}

}  // namespace

bool RunMenuShortcut(wxWindow* from, const wxKeyEvent& event) {
  auto* frame = wxDynamicCast(wxGetTopLevelParent(from), wxFrame);
  wxMenuBar* bar = frame != nullptr ? frame->GetMenuBar() : nullptr;
  if (bar == nullptr) return false;
  const int flags = Flags(event);
  for (size_t i = 0; i < bar->GetMenuCount(); ++i) {
    if (!bar->IsEnabledTop(i)) continue;
    const wxMenuItem* item = Find(*bar->GetMenu(i), flags, event.GetKeyCode());
    if (item == nullptr) continue;
    if (!item->IsEnabled()) return false;
    wxCommandEvent command(wxEVT_MENU, item->GetId());
    command.SetEventObject(frame);
    frame->ProcessWindowEvent(command);
    return true;
  }
  return false;
}

}  // namespace lq
