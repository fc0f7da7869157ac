#include "shell/main_drops_part.h"

#include <wx/menu.h>

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
#include "shell/my_window.h"
#include "shell/panel_host.h"
#include "shell/wx_text.h"
#include "uikit/grafext/controls.h"
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

MainDropsPart::MainDropsPart(PanelHost& host) : host_(host) {
  if (auto* drag = dynamic_cast<TAutoButton*>(host.window().FindWindow(ids::kAutoDrag))) {
    drag->Setup("CUR_NORMAL", "");
  }
}

void MainDropsPart::HandleDrop(const std::vector<std::string>& dropped, const wxPoint& point,
                               const wxPoint& pointer) {
  Services& services = host_.context().services;
  wxWindow* panel = &host_.window();
  std::vector<std::string> names;
  names.reserve(dropped.size());
  for (const std::string& name : dropped) {
    if (!name.empty()) names.push_back(name);
  }
  if (names.size() < dropped.size()) {
    services.prompts->Message(
        panel,
        IntToText(static_cast<long long>(dropped.size() - names.size())) +
            TrPlural(" dropped file name(s) could not be read as text and were left out.",
                     " dropped file name(s) could not be read as text and were left out.",
                     dropped.size() - names.size()),
        kAppCaption, kPromptOk | kPromptIconWarning);
  }
  if (names.empty()) return;
  // The field is disabled: whether the drop is on it is decided by the pointer, never by
  // the point its drop arrives with.
  const bool on_rel_field = host_.OnRelPathField(pointer);
  const int target = on_rel_field ? 0 : host_.ControlIdAt(point);
  const DropAction action = DecideDrop(names.size(), target, on_rel_field);
  std::string& pending = host_.pending_file();
  switch (action) {
    case DropAction::kNothing:
      return;
    case DropAction::kAutoDragMenu:
      host_.frame().Raise();
      pending = names.front();
      CutUtf8(pending, kNameMax);
      if (std::unique_ptr<wxMenu> menu = LoadPopupMenu(kAutoDragPopup)) {
        // The menu's right edge goes to the drop point.
        const int width = MenuWidth(*menu, panel);
        ShowPopupMenu(panel, *menu, kAutoDragPopup, wxPoint(point.x - width, point.y));
      }
      return;
    case DropAction::kRelativeFolder:
    case DropAction::kOutputFile: {
      host_.frame().Raise();
      std::string name = names.front();
      if (action == DropAction::kRelativeFolder && !IsFolder(name)) {
        name = FolderOf(name, host_.context().style);
      }
      pending = name;
      if (IsFolder(name)) {
        SetRelPathFromPending();
      } else {
        SetOutputFromPending();
      }
      host_.RefreshControls();
      return;
    }
    case DropAction::kList:
      break;
  }

  // In one move of the items after them, as if dropped one by one after the selected item.
  const int count = static_cast<int>(names.size());
  InsertAfterFocus(host_.list(), std::move(names));
  for (int index = 0; index < count; ++index) {
    drop_beeps_.Beep(index, *services.beeper);
  }
  host_.ListChanged();
}

void MainDropsPart::SetRelPathFromPending() {
  const PathStyle style = host_.context().style;
  std::string& pending = host_.pending_file();
  std::string folder = pending;
  const char sep = Separator(style);
  if (IsFolder(folder)) {
    if (folder.empty() || folder.back() != sep) folder.push_back(sep);
  } else {
    folder = FolderOf(folder, style);
  }
  const Answer answer = host_.context().services.prompts->Message(
      &host_.window(), Tr("Do you want set Relative path to:\n\n") + folder + Tr(" ?"), kAppCaption,
      kPromptYesNo);
  if (answer == Answer::kYes) host_.settings().RelPath = folder;
  host_.RefreshControls();
  pending.clear();
}

void MainDropsPart::SetOutputFromPending() {
  Services& services = host_.context().services;
  std::string& pending = host_.pending_file();
  if (IsFolder(pending)) {
    services.prompts->Message(&host_.window(),
                              Tr("Can't set a Folder like Output File\nPlease select a file"),
                              kAppCaption, kPromptOk);
    return;
  }
  services.beeper->Beep();
  const Answer answer = services.prompts->Message(
      &host_.window(),
      Tr("Do you want set Output file to:\n\n") + pending +
          Tr("\n\nWarning: the file will be overwritten!"),
      Tr("Warning"), kPromptYesNo | kPromptIconError | kPromptDefaultSecond);
  if (answer == Answer::kYes) {
    ScriptSettings& settings = host_.settings();
    settings.FileOutput = pending;
    settings.SetRelPathFromOutput(host_.context().style);
  }
  host_.RefreshControls();
  pending.clear();
}

void MainDropsPart::AutoDragHelp() {
  host_.context().services.prompts->Message(
      &host_.window(),
      Tr("Drag a single file over Auto Drag button for special settings:\n\n"
         "1) Copy Relative Path and File Name into Clipboard\n"
         "2) Create a single line (head, file, queue), and copy it\n"
         "3) Set Relative Path different from Output File\n"
         "4) Set Output File"),
      kAppCaption, kPromptOk);
}

}  // namespace lq
