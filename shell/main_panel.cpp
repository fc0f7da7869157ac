#include "shell/main_panel.h"

#include <wx/menu.h>
#include <wx/statbox.h>

#include "engine/capacities.h"
#include "engine/text_helpers.h"
#include "platform/readable_name.h"
#include "resources/hint_table.h"
#include "resources/ids.h"
#include "resources/resources.h"
#include "resources/translate.h"
#include "shell/about_dlg.h"
#include "shell/drop_target.h"
#include "shell/escape_menu.h"
#include "shell/help_file.h"
#include "shell/main_drops_part.h"
#include "shell/main_list_part.h"
#include "shell/main_output_part.h"
#include "shell/main_preview_part.h"
#include "shell/main_settings_part.h"
#include "shell/main_templates_part.h"
#include "shell/my_window.h"
#include "shell/panel_commands.h"
#include "shell/tip_status_bar.h"
#include "uikit/exten/zq_mex.h"
#include "uikit/grafext/kit_services.h"
#include "uikit/tooltip/tip_logic.h"

namespace lq {

MainPanel::MainPanel(TMyWindow* frame, const wxFont& font, TTipStatusBar* status,
                     ShellContext& context)
    : TWhiteCenterPanel(frame, kMainPanel, kMainMenuBar, &font),
      frame_(frame),
      status_(status),
      context_(context) {
  PanelHost& host = *this;
  list_part_ = std::make_unique<MainListPart>(host);
  settings_part_ = std::make_unique<MainSettingsPart>(host);
  output_ = std::make_unique<MainOutputPart>(host);
  templates_ = std::make_unique<MainTemplatesPart>(host);
  drops_ = std::make_unique<MainDropsPart>(host);
  preview_ = std::make_unique<MainPreviewPart>(host, initial_font());
  BindCommands();
  BindMenus();
  PanelDropTarget::Install(this);
}

// The controls go first, while every part their handlers reach is still there.
MainPanel::~MainPanel() { DestroyChildren(); }

void MainPanel::SetupWindow(SetupRest rest) {
  settings_part_->Load();
  RefreshControls();
  settings_.TemplateFile.clear();
  // What the first paint shows is all in place before it: the menu bar with its Templates
  // menu, the counter. Filling that menu is most of the set-up's time.
  templates_->InsertMenu();
  UpdateCounter();
  status_->TipsEnabled(settings_.UseTip);
  setup_finished_ = false;
  if (rest == SetupRest::kNow) {
    FinishSetup();
    return;
  }
  // After the paint, not inside it; and an undrawn window (on another workspace) still gets
  // its templates.
  const auto later = [this](wxPaintEvent& e) {
    e.Skip();
    if (!setup_finished_) CallAfter([this] { FinishSetup(); });
  };
  Bind(wxEVT_PAINT, later);
  setup_timer_ = std::make_unique<wxTimer>();
  setup_timer_->Bind(wxEVT_TIMER, [this](wxTimerEvent&) { FinishSetup(); });
  setup_timer_->StartOnce(kSetupWaitMs);
}

void MainPanel::FinishSetup() {
  if (setup_finished_) return;
  setup_finished_ = true;
  if (setup_timer_) setup_timer_->Stop();
  const std::string loading = Tr("Loading Templates, wait...");
  const std::string caption = kAppCaption;
  ShowMex(this, &loading, &caption, kMexIconInformation, 0, KitClock(), context_.services.beeper);
  templates_->FillMenu();
  ShowMex(this, nullptr, nullptr, 0, 0, KitClock(), context_.services.beeper);
  preview_->Restore();
  if (!pending_file_.empty()) ReceiveFile(pending_file_);
}

void MainPanel::SaveOnClose() {
  // Closed at once after the start: the preview's stored place is kept all the same.
  FinishSetup();
  SyncFromControls();
  Status saved = settings_part_->Save();
  // The same file: one report is enough.
  if (saved.ok()) saved = preview_->Save();
  if (!saved.ok()) Report(saved.failure());
}

void MainPanel::SyncFromControls() { settings_part_->ReadControls(settings_); }

ScriptSettings MainPanel::SettingsAsShown() const {
  ScriptSettings current = settings_;
  if (settings_part_) settings_part_->ReadControls(current);
  return current;
}

void MainPanel::RefreshControls() {
  settings_part_->RefreshControls();
  OutputChanged();  // the status bar's message too
}

void MainPanel::UpdateCounter() { list_part_->UpdateCounter(); }

void MainPanel::ShowList() {
  list_part_->ShowList();
  OutputChanged();
}

void MainPanel::ListChanged() {
  ShowList();
  UpdateCounter();
}

void MainPanel::OutputChanged() {
  // Controls may still talk while the panel is being built.
  if (preview_) preview_->OutputChanged();
}

void MainPanel::TextTyped() {
  if (preview_) preview_->TextTyped();
}

std::string MainPanel::HeaderText() const {
  return settings_part_ ? settings_part_->HeaderText() : std::string();
}

std::string MainPanel::QueueText() const {
  return settings_part_ ? settings_part_->QueueText() : std::string();
}

void MainPanel::SetHeaderText(const std::string& text) { settings_part_->SetHeaderText(text); }

void MainPanel::SetQueueText(const std::string& text) { settings_part_->SetQueueText(text); }

bool MainPanel::OnRelPathField(const wxPoint& point) const {
  return settings_part_->OnRelPathField(point);
}

int MainPanel::ControlIdAt(const wxPoint& point) {
  for (wxWindow* child : GetChildren()) {
    if (!child->IsShown() || !child->IsEnabled() || dynamic_cast<wxStaticBox*>(child)) continue;
    if (child->GetRect().Contains(point)) return child->GetId();
  }
  return 0;
}

const DropBeeps& MainPanel::drop_beeps() const { return drops_->drop_beeps(); }

const TemplatesMenu& MainPanel::templates() const { return templates_->templates(); }

PreviewLink& MainPanel::preview() { return preview_->link(); }

Preview MainPanel::ComposePreviewNow() { return preview_->ComposeNow(); }

Composer MainPanel::MakeComposer() {
  return Composer(settings_, context_.style, context_.eol, HeaderText(), QueueText(), &list_);
}

void MainPanel::Report(const Failure& failure) {
  // The engine's texts are English; the reason is the system's own, already in the language.
  const Failure shown{Tr(failure.text), Tr(failure.caption), failure.reason};
  context_.services.prompts->Message(this, shown.MessageText(), shown.caption, kPromptOk);
}

void MainPanel::Notice(const std::string& text, const std::string& caption, int ms) {
  ShowMex(this, &text, &caption, kMexIconInformation, ms, KitClock(), context_.services.beeper);
}

void MainPanel::CopyText(const std::string& text) { context_.services.clipboard->SetText(text); }

void MainPanel::CopyOrReport(const Result<std::string>& text) {
  if (!text.ok()) {
    Report(text.failure());
  } else {
    CopyText(text.value());
  }
}

bool MainPanel::ListHasFiles() {
  if (const Status some = RequireFiles(list_); !some.ok()) {
    const Failure& failure = some.failure();
    context_.services.prompts->Message(this, Tr(failure.text), Tr(failure.caption), kPromptOk);
    return false;
  }
  return true;
}

void MainPanel::ReceiveFile(const std::string& name, const std::string& activation_token) {
  ReceiveFiles({name}, activation_token);
}

void MainPanel::ReceiveFiles(const std::vector<std::string>& names,
                             const std::string& activation_token) {
  if (names.empty()) return;
  // A file of the start is taken after the templates, as ever.
  FinishSetup();
  SyncFromControls();
  output_->CopyHandedOver(names, activation_token);
}

void MainPanel::HandleDrop(const std::vector<std::string>& names, const wxPoint& point) {
  HandleDrop(names, point, point);
}

void MainPanel::HandleDrop(const std::vector<std::string>& names, const wxPoint& point,
                           const wxPoint& pointer) {
  // A drop on a setting shows the record in the controls again.
  SyncFromControls();
  drops_->HandleDrop(names, point, pointer);
}

void MainPanel::MenuItemHint(int id, bool from_menu) {
  if (id <= 0) {
    status_->SetHint(nullptr);
    return;
  }
  // An open popup holds the grab and GTK then calls the frame inactive; menu items only
  // highlight while one of the window's own menus is open.
  if (!from_menu && !frame_->IsActive()) {
    status_->SetHint(nullptr);
    return;
  }
  const wxPoint mouse = wxGetMousePosition();
  if (mouse == last_hint_point_) return;
  last_hint_point_ = mouse;
  status_->SetHintAnchor(mouse);
  std::string text;
  if (id >= ids::kFirstTemplate && id <= ids::kLastTemplate) {
    text = ReadableName(templates_->templates().FullNameFor(id));
    CutUtf8(text, kTemplateHintMax);
  } else {
    text = Tr(HintString(id));
    CutUtf8(text, kHintMax);
  }
  if (from_menu) text = SplitHint(text).status;
  status_->SetHint(&text);
}

void MainPanel::Run(int id, const std::function<void()>& command) {
  if (TakesControlsFirst(id)) SyncFromControls();
  command();
}

void MainPanel::On(int id, std::function<void()> handler) {
  const auto run = [this, id, handler = std::move(handler)](wxCommandEvent&) { Run(id, handler); };
  Bind(wxEVT_MENU, run, id);
  Bind(wxEVT_BUTTON, run, id);
}

void MainPanel::BindCommands() {
  MainListPart& list = *list_part_;
  MainOutputPart& output = *output_;
  MainSettingsPart& settings = *settings_part_;
  MainTemplatesPart& templates = *templates_;
  MainDropsPart& drops = *drops_;
  MainPreviewPart& preview = *preview_;

  On(ids::kCreate, [&output] { output.Create(); });
  On(ids::kCreateAndCopy, [&output] { output.CreateAndCopy(); });
  On(ids::kView, [&output] { output.View(); });
  On(ids::kExecute, [&output] { output.Execute(); });
  On(ids::kWebPage, [&output] { output.WebPage(); });
  On(ids::kCopySelected, [&output] { output.CopySelected(); });
  On(ids::kCreateAndCopySelected, [&output] { output.CreateAndCopySelected(); });
  On(ids::kDragCopyName, [&output] { output.DragCopyName(); });
  On(ids::kDragCreateAndCopy, [&output] { output.DragCreateAndCopy(); });

  On(ids::kClearList, [&list] { list.Clear(); });
  On(ids::kMoveUp, [&list] { list.Move(Direction::kUp); });
  On(ids::kMoveDown, [&list] { list.Move(Direction::kDown); });
  On(ids::kDeleteItem, [&list] { list.Delete(); });
  On(ids::kOpenList, [&list] { list.OpenList(); });
  On(ids::kSaveList, [&list] { list.SaveList(); });

  On(ids::kSetOutputFile, [&settings] { settings.SetOutputFile(); });
  On(ids::kSetMainHead, [&settings] { settings.SetMainHead(); });
  On(ids::kSetMainQueue, [&settings] { settings.SetMainQueue(); });
  On(ids::kSendToOptions, [&settings] { settings.SendToOptions(); });
  On(ids::kUseTooltip, [&settings] { settings.UseTooltip(); });
  for (std::size_t i = 0; i < kEscapeWords.size(); ++i) {
    const auto kind = static_cast<EscapeKind>(i);
    On(EscapeCommand(kind), [&settings, kind] { settings.Escape(kind); });
  }

  On(ids::kAutoDrag, [&drops] { drops.AutoDragHelp(); });
  On(ids::kDragSetRelPath, [&drops] { drops.SetRelPathFromPending(); });
  On(ids::kDragSetOutputFile, [&drops] { drops.SetOutputFromPending(); });

  On(ids::kSaveTemplate, [&templates] { templates.SaveTemplate(); });
  On(ids::kOpenTemplate, [&templates] { templates.OpenTemplate(); });
  Bind(
      wxEVT_MENU,
      [this, &templates](wxCommandEvent& event) {
        const int id = event.GetId();
        Run(id, [&templates, id] { templates.LoadFromMenu(id); });
      },
      ids::kFirstTemplate, ids::kLastTemplate);

  On(ids::kPreview, [&preview] { preview.Open(); });

  On(ids::kExit, [this] { frame_->Close(); });
  On(ids::kHelpIndex, [this] { OnHelpIndex(); });
  On(ids::kAbout, [this] { OnAbout(); });
}

void MainPanel::BindMenus() {
  Bind(wxEVT_MENU_HIGHLIGHT, [this](wxMenuEvent& e) { MenuItemHint(e.GetMenuId(), true); });
  Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& e) {
    e.Skip();
    status_->SetHint(nullptr);
    // The File menu shown over the background is a copy of the bar's: mark the kind there too.
    ShowEscapeCheck(e.GetMenu(), settings_.Escape);
  });
}

void MainPanel::OnHelpIndex() {
  context_.services.launcher->OpenWithAssociation(HelpFile(context_.program_folder));
}

void MainPanel::OnAbout() {
  AboutDlg dialog(this);
  dialog.ShowModal();
}

}  // namespace lq
