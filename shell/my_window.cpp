#include "shell/my_window.h"

#include <wx/display.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>

#include "engine/capacities.h"
#include "engine/text_helpers.h"
#include "persist/settings_file.h"
#include "platform/wx_font.h"
#include "resources/hint_table.h"
#include "resources/ids.h"
#include "resources/images.h"
#include "resources/resources.h"
#include "resources/translate.h"
#include "shell/control_bar.h"
#include "shell/escape_menu.h"
#include "shell/fit_view.h"
#include "shell/main_panel.h"
#include "shell/main_panel_layout.h"
#include "shell/tip_status_bar.h"
#include "shell/wx_text.h"
#include "uikit/grafext/controls.h"
#include "uikit/tooltip/tip_logic.h"

namespace lq {

wxFont DialogFont(const std::filesystem::path& settings_file) {
  return FontFromSettings(LoadFontSettings(settings_file));
}

TMyWindow::TMyWindow(ShellContext& context, const std::string& pending_file, SetupRest rest)
    : wxFrame(nullptr, wxID_ANY, kAppCaption, wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE),
      context_(context) {
  SetIcons(AppIcons());
  if (wxMenuBar* bar = wxXmlResource::Get()->LoadMenuBar(kMainMenuBar)) {
    SetMenuBar(bar);
    SpellReaderNames(bar);
  }
  status_ = new TTipStatusBar(this);
  SetStatusBar(status_);
  SetToolBar(new TMyControlBar(this));

  client_ = new MainPanel(this, DialogFont(context_.settings_file), status_, context_);
  client_->AddArrangement(NarrowMainPanel(), NarrowMainPanelSize());
  // The panel lives in a view that scrolls where the window is smaller than it needs.
  auto* view = new TFitView(this);
  view->Hold(client_);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(view, 1, wxEXPAND);
  SetSizerAndFit(sizer);
  // It opens at its start size and shrinks to what the controls need across; shorter, the
  // view scrolls.
  const wxSize smallest = GetSize() - view->GetSize() + view->SmallestRoom();
  FitInWorkArea();
  SetMinSize(wxSize(std::min(smallest.GetWidth(), GetSize().GetWidth()),
                    std::min(smallest.GetHeight(), GetSize().GetHeight())));

  Bind(wxEVT_MENU, &TMyWindow::OnCommand, this);
  Bind(wxEVT_CLOSE_WINDOW, &TMyWindow::OnClose, this);
  Bind(wxEVT_MENU_HIGHLIGHT, &TMyWindow::OnMenuHighlight, this);
  Bind(wxEVT_MENU_OPEN, &TMyWindow::OnMenuOpen, this);
  Bind(wxEVT_MENU_CLOSE, [this](wxMenuEvent& e) {
    e.Skip();
    status_->SetHint(nullptr);
  });

  client_->pending_file() = pending_file;
  client_->SetupWindow(rest);
}

// A large font or a scale of 2 can make the laid-out window taller than the screen: it opens
// no larger than the work area, and the panel rescales to what it gets.
void TMyWindow::FitInWorkArea() {
  const int at = wxDisplay::GetFromWindow(this);
  const wxRect area = wxDisplay(at == wxNOT_FOUND ? 0u : static_cast<unsigned>(at)).GetClientArea();
  const wxSize size = GetSize();
  const wxSize fitting(std::min(size.GetWidth(), area.GetWidth()),
                       std::min(size.GetHeight(), area.GetHeight()));
  if (area.IsEmpty() || fitting == size) return;
  SetMinSize(wxDefaultSize);
  SetSize(fitting);
}

void TMyWindow::OnCommand(wxCommandEvent& event) {
  if (event.GetId() == ids::kChangeFont) {
    OnChangeFont();
    return;
  }
  if (forwarding_ || client_ == nullptr) {
    event.Skip();
    return;
  }
  forwarding_ = true;
  client_->GetEventHandler()->ProcessEvent(event);
  forwarding_ = false;
}

void TMyWindow::OnChangeFont() {
  FontSettings font = LoadFontSettings(context_.settings_file);
  int point_size = 0;
  if (!context_.services.prompts->ChooseFont(this, font, point_size)) return;
  if (const Status saved = SaveFontSettings(context_.settings_file, font, point_size);
      !saved.ok()) {
    const Failure& failure = saved.failure();
    context_.services.prompts->Message(this, failure.MessageText(), Tr(failure.caption), kPromptOk);
    return;
  }
  context_.services.prompts->Message(this, Tr("Please restart the program to changes take effect"),
                                     kAppCaption, kPromptOk);
}

// Nothing stops a close: the settings are written on the way.
void TMyWindow::OnClose(wxCloseEvent&) {
  if (client_ != nullptr) client_->SaveOnClose();
  Destroy();
}

void TMyWindow::OnMenuHighlight(wxMenuEvent& event) {
  const int id = event.GetMenuId();
  if (id >= ids::kFirstTemplate && id <= ids::kLastTemplate) {
    client_->MenuItemHint(id, true);
    return;
  }
  std::string hint = id > 0 ? Tr(HintString(id)) : std::string();
  CutUtf8(hint, kMenuBarHintMax);
  // Menu items show only the status text, never a tooltip, as in the dialog's popups.
  const std::string status = SplitHint(hint).status;
  status_->SetHint(&status);
}

void TMyWindow::OnMenuOpen(wxMenuEvent& event) {
  event.Skip();
  status_->SetHint(nullptr);
  if (wxMenuBar* bar = GetMenuBar()) {
    if (wxMenuItem* item = bar->FindItem(ids::kUseTooltip); item && item->IsCheckable()) {
      item->Check(client_->settings().UseTip);
    }
    ShowEscapeCheck(bar, client_->settings().Escape);
  }
}

void TMyWindow::DoGiveHelp(const wxString& text, bool show) {
  if (!show) {
    status_->SetHint(nullptr);
    return;
  }
  const std::string hint = ToUtf8(text);
  status_->SetHint(&hint);
}

}  // namespace lq
