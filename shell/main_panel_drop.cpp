// Files dropped on the main dialog, and the Auto Drag commands that act on one of them.
#include <wx/menu.h>
#include <wx/statbox.h>

#include <filesystem>
#include <utility>

#include "engine/capacities.h"
#include "engine/paths.h"
#include "engine/text_helpers.h"
#include "platform/gtk_menu_width.h"
#include "resources/ids.h"
#include "resources/resources.h"
#include "resources/translate.h"
#include "shell/drop_decision.h"
#include "shell/main_panel.h"
#include "shell/my_window.h"
#include "shell/wx_text.h"
#include "uikit/grafext/popup.h"

namespace lq {
namespace {

bool IsFolder(const std::string& name) {
  std::error_code ec;
  return std::filesystem::is_directory(name, ec);
}

// The width the toolkit gives the menu, so that its right edge can be put at a point.
int MenuWidth(wxMenu& menu, wxWindow* owner) {
#ifdef __WXGTK__
  const int natural = MenuNaturalWidth(menu.m_menu);
  if (natural > 0) return natural;
#endif
  int widest = 0;
  for (const wxMenuItem* item : menu.GetMenuItems()) {
    widest = std::max(widest, owner->GetTextExtent(item->GetItemLabelText()).GetWidth());
  }
  return widest + 40;
}

}  // namespace

wxWindow* MainPanel::ControlAt(const wxPoint& point) {
  // As the window under a point is found: a disabled control is never it, and a group box
  // only frames the controls beside it.
  for (wxWindow* child : GetChildren()) {
    if (!child->IsShown() || !child->IsEnabled() || dynamic_cast<wxStaticBox*>(child)) continue;
    if (child->GetRect().Contains(point)) return child;
  }
  return nullptr;
}

void MainPanel::HandleDrop(const std::vector<std::string>& dropped, const wxPoint& point) {
  HandleDrop(dropped, point, point);
}

void MainPanel::HandleDrop(const std::vector<std::string>& dropped, const wxPoint& point,
                           const wxPoint& pointer) {
  std::vector<std::string> names;
  names.reserve(dropped.size());
  for (const std::string& name : dropped) {
    if (!name.empty()) names.push_back(name);
  }
  if (names.size() < dropped.size()) {
    context_.services.prompts->Message(
        this,
        IntToText(static_cast<long long>(dropped.size() - names.size())) +
            TrPlural(" dropped file name(s) could not be read as text and were left out.",
                     " dropped file name(s) could not be read as text and were left out.",
                     dropped.size() - names.size()),
        kAppCaption, kPromptOk | kPromptIconWarning);
  }
  if (names.empty()) return;
  wxWindow* rel_field = FindWindow(ids::kRelPathField);
  // The field is disabled: whether the drop is on it is decided by the pointer, never by
  // the point its drop arrives with.
  const bool on_rel_field = rel_field != nullptr && rel_field->GetRect().Contains(pointer);
  wxWindow* target = on_rel_field ? nullptr : ControlAt(point);
  const DropAction action =
      DecideDrop(names.size(), target != nullptr ? target->GetId() : 0, on_rel_field);
  switch (action) {
    case DropAction::kNothing:
      SyncFromControls();
      return;
    case DropAction::kAutoDragMenu:
      SyncFromControls();
      frame_->Raise();
      pending_file_ = names.front();
      CutUtf8(pending_file_, kNameMax);
      if (std::unique_ptr<wxMenu> menu = LoadPopupMenu(kAutoDragPopup)) {
        // The menu's right edge goes to the drop point.
        const int width = MenuWidth(*menu, this);
        ShowPopupMenu(this, *menu, kAutoDragPopup, wxPoint(point.x - width, point.y));
      }
      return;
    case DropAction::kRelativeFolder:
    case DropAction::kOutputFile: {
      SyncFromControls();
      frame_->Raise();
      std::string name = names.front();
      if (action == DropAction::kRelativeFolder && !IsFolder(name)) {
        name = FolderOf(name, context_.style);
      }
      pending_file_ = name;
      if (IsFolder(name)) {
        SetRelPathFromPending();
      } else {
        SetOutputFromPending();
      }
      RefreshControls();
      return;
    }
    case DropAction::kList:
      break;
  }

  // In one move of the items after them, as if dropped one by one after the selected item.
  const int count = static_cast<int>(names.size());
  InsertAfterFocus(list_, std::move(names));
  for (int index = 0; index < count; ++index) {
    drop_beeps_.Beep(index, *context_.services.beeper);
  }
  ShowList();
  UpdateCounter();
}

void MainPanel::SetRelPathFromPending() {
  std::string folder = pending_file_;
  const char sep = Separator(context_.style);
  if (IsFolder(folder)) {
    if (folder.empty() || folder.back() != sep) folder.push_back(sep);
  } else {
    folder = FolderOf(folder, context_.style);
  }
  const Answer answer = context_.services.prompts->Message(
      this, Tr("Do you want set Relative path to:\n\n") + folder + Tr(" ?"), kAppCaption,
      kPromptYesNo);
  if (answer == Answer::Yes) settings_.RelPath = folder;
  RefreshControls();
  pending_file_.clear();
}

void MainPanel::SetOutputFromPending() {
  if (IsFolder(pending_file_)) {
    context_.services.prompts->Message(
        this, Tr("Can't set a Folder like Output File\nPlease select a file"), kAppCaption,
        kPromptOk);
    return;
  }
  context_.services.beeper->Beep();
  const Answer answer = context_.services.prompts->Message(
      this,
      Tr("Do you want set Output file to:\n\n") + pending_file_ +
          Tr("\n\nWarning: the file will be overwritten!"),
      Tr("Warning"), kPromptYesNo | kPromptIconError | kPromptDefaultSecond);
  if (answer == Answer::Yes) {
    settings_.FileOutput = pending_file_;
    settings_.SetRelPathFromOutput(context_.style);
  }
  RefreshControls();
  pending_file_.clear();
}

}  // namespace lq
