#include "shell/main_panel.h"

#include <wx/checkbox.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <span>

#include "engine/capacities.h"
#include "engine/output.h"
#include "engine/text_helpers.h"
#include "persist/settings_file.h"
#include "platform/compositor.h"
#include "platform/readable_name.h"
#include "resources/hint_table.h"
#include "resources/ids.h"
#include "resources/resources.h"
#include "resources/translate.h"
#include "shell/drop_target.h"
#include "shell/escape_menu.h"
#include "shell/my_window.h"
#include "shell/tip_status_bar.h"
#include "shell/wx_text.h"
#include "uikit/exten/zq_mex.h"
#include "uikit/grafext/controls.h"
#include "uikit/grafext/motion_watch.h"
#include "uikit/grafext/zq_list_box.h"
#include "uikit/tooltip/tip_logic.h"

namespace lq {
namespace {

// One name as it is; many as their count, the first and the last.
std::string CopyingNotice(const std::vector<std::string>& names) {
  if (names.size() == 1) return names.front();
  std::string text = std::to_string(names.size()) + TrPlural(" file\n", " files\n", names.size()) +
                     names.front() + "\n";
  if (names.size() > 2) text += "...\n";
  return text + names.back();
}

constexpr const char* kRelPathHint =
    wxTRANSLATE("Relative path, drag a folder here to change\nRel Path");

template <typename T>
T* Control(wxWindow* parent, int id) {
  return dynamic_cast<T*>(parent->FindWindow(id));
}

bool Checked(wxWindow* parent, int id) {
  if (auto* radio = Control<wxRadioButton>(parent, id)) return radio->GetValue();
  if (auto* check = Control<wxCheckBox>(parent, id)) return check->GetValue();
  return false;
}

void SetFieldText(wxWindow* parent, int id, const std::string& text) {
  if (auto* edit = Control<wxTextCtrl>(parent, id)) edit->ChangeValue(FromUtf8(text));
}

// Menu texts take '&' as a mnemonic mark; a template's name shows it as it is. Bytes that are
// not UTF-8 would leave an empty label, which the toolkit refuses: they show as \xHH, and
// the item still loads the template by its real name.
wxString MenuLabel(const std::string& title) {
  wxString label = FromUtf8(ReadableName(title));
  if (label.empty()) label = Tr("(no name)");
  label.Replace("&", "&&");
  return label;
}

void AppendTemplateNodes(wxMenu* menu, std::span<const TemplateNode> nodes) {
  for (const TemplateNode& node : nodes) {
    if (node.SubMenu) {
      auto* sub = new wxMenu;
      AppendTemplateNodes(sub, node.Children);
      menu->AppendSubMenu(sub, MenuLabel(node.Title));
    } else {
      menu->Append(node.CommandId, MenuLabel(node.Title));
    }
  }
}

}  // namespace

MainPanel::MainPanel(TMyWindow* frame, const wxFont& font, TTipStatusBar* status,
                     ShellContext& context)
    : TWhiteCenterPanel(frame, kMainPanel, kMainMenuBar, &font),
      frame_(frame),
      status_(status),
      context_(context) {
  list_box_ = Control<TZQListBox>(this, ids::kFileList);
  if (list_box_ != nullptr) list_box_->ShowList(&list_);
  header_ = Control<TZQEditCursor>(this, ids::kHeader);
  queue_ = Control<TZQEditCursor>(this, ids::kQueue);
  SetupControls();
  preview_ = std::make_unique<PreviewLink>(
      frame, [this] { return ComposePreviewNow(); }, [this] { return settings_.FileOutput; });
  BindCommands();
  BindPreview();
  PanelDropTarget::Install(this);
}

void MainPanel::SetupControls() {
  constexpr const char* kNormal = "CUR_NORMAL";
  // The list is a tab stop: the keys move its selection, Del and the List menu act on it.
  if (list_box_ != nullptr) list_box_->Setup(kNormal, kListPopup);
  for (int id : {ids::kHeader, ids::kQueue, ids::kRelPathField, ids::kOutFileField,
                 ids::kMainHeadField, ids::kMainQueueField, ids::kCounter}) {
    if (auto* edit = Control<TZQEditCursor>(this, id)) edit->Setup(kEditMax, kNormal);
  }
  for (int id : {ids::kInvertSlash, ids::kSaveLocal}) {
    if (auto* check = Control<TZQCheckBox>(this, id)) check->Setup(kNormal, "");
  }
  for (int id : {ids::kModeFull, ids::kModeRelative, ids::kModeName, ids::kModeNone}) {
    if (auto* radio = Control<TZQRadioButton>(this, id)) radio->Setup(kNormal, "");
  }
  if (auto* none = FindWindow(ids::kModeNone)) none->DisableFocusFromKeyboard();
  if (auto* create = Control<TAutoButton>(this, ids::kCreate)) {
    create->Setup(kNormal, kCreatePopup, true);
  }
  if (auto* drag = Control<TAutoButton>(this, ids::kAutoDrag)) drag->Setup(kNormal, "");
  for (int id : {ids::kMoveUp, ids::kMoveDown, ids::kDeleteItem, ids::kSetOutputFile,
                 ids::kSetMainHead, ids::kSetMainQueue}) {
    if (auto* button = Control<TAutoButton>(this, id)) button->Setup("", "");
  }
}

void MainPanel::SetupWindow(SetupRest rest) {
  std::string header;
  std::string queue;
  LoadSettings(context_.settings_file, settings_, header, queue, context_.style);
  SetHeaderText(header);
  SetQueueText(queue);
  RefreshControls();
  settings_.TemplateFile.clear();
  // What the first paint shows is all in place before it: the menu bar with its Templates
  // menu, the counter. Filling that menu is most of the set-up's time.
  InsertTemplatesMenu();
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
  ShowMex(this, &loading, &caption, kMexIconInformation, 0, *context_.services.clock,
          context_.services.beeper);
  FillTemplatesMenu();
  ShowMex(this, nullptr, nullptr, 0, 0, *context_.services.clock, context_.services.beeper);
  const PreviewSettings stored = LoadPreviewSettings(context_.settings_file);
  preview_->Restore(stored);
  // Once the main window is up, so that the preview can go beside it.
  if (stored.Open) CallAfter([this] { OnPreview(); });
  if (!pending_file_.empty()) ReceiveFile(pending_file_);
}

void MainPanel::InsertTemplatesMenu() {
  wxMenu* menu = wxXmlResource::Get()->LoadMenu("MENU_PLUGIN");
  if (menu == nullptr) return;
  wxString title = _("Templates");
  if (menu->GetMenuItemCount() > 0) {
    wxMenuItem* first = menu->FindItemByPosition(0);
    title = first->GetItemLabel().Left(kMenuTitleMax);
    menu->Destroy(first);
  }
  if (wxMenuBar* bar = frame_->GetMenuBar()) {
    bar->Insert(1, menu, title);
    templates_menu_ = menu;
  } else {
    delete menu;
  }
}

void MainPanel::FillTemplatesMenu() {
  templates_ = lq::BuildTemplatesMenu(context_.program_folder);
  if (!context_.user_templates.empty()) AppendTemplatesMenu(templates_, context_.user_templates);
  if (templates_menu_ == nullptr) return;
  // The user's own templates follow the shipped ones, after a separator when there are both.
  const std::size_t split = std::min(templates_.AppendedAt, templates_.Entries.size());
  const std::span<const TemplateNode> all(templates_.Entries);
  const auto shipped = all.first(split);
  const auto own = all.subspan(split);
  AppendTemplateNodes(templates_menu_, shipped);
  if (!shipped.empty() && !own.empty()) templates_menu_->AppendSeparator();
  AppendTemplateNodes(templates_menu_, own);
  if (wxMenuBar* bar = frame_->GetMenuBar()) bar->Refresh();
}

bool MainPanel::CanClose() {
  // Closed at once after the start: the preview's stored place is kept all the same.
  FinishSetup();
  SyncFromControls();
  auto failure = SaveSettings(context_.settings_file, settings_, HeaderText(), QueueText());
  // The same file: one report is enough.
  if (!failure) failure = SavePreviewSettings(context_.settings_file, preview_->State());
  if (failure) Report(*failure);
  return true;
}

void MainPanel::ReadControls(ScriptSettings& settings) {
  settings.CheckIndex = CheckIndexOf(PathMode::kFull);
  if (Checked(this, ids::kModeRelative)) settings.CheckIndex = CheckIndexOf(PathMode::kRelative);
  if (Checked(this, ids::kModeName)) settings.CheckIndex = CheckIndexOf(PathMode::kName);
  if (Checked(this, ids::kModeNone)) settings.CheckIndex = CheckIndexOf(PathMode::kNone);
  settings.InvertSlash = Checked(this, ids::kInvertSlash);
  settings.SaveLocal = Checked(this, ids::kSaveLocal);
}

void MainPanel::SyncFromControls() { ReadControls(settings_); }

void MainPanel::RefreshControls() {
  int radio = ids::kModeFull;
  switch (EffectiveMode(settings_.CheckIndex)) {
    case PathMode::kRelative:
      radio = ids::kModeRelative;
      break;
    case PathMode::kName:
      radio = ids::kModeName;
      break;
    case PathMode::kNone:
      radio = ids::kModeNone;
      break;
    case PathMode::kFull:
      break;
  }
  for (int id : {ids::kModeRelative, ids::kModeName, ids::kModeNone, ids::kModeFull}) {
    if (auto* r = Control<wxRadioButton>(this, id)) r->SetValue(id == radio);
  }
  if (auto* c = Control<wxCheckBox>(this, ids::kInvertSlash)) c->SetValue(settings_.InvertSlash);
  if (auto* c = Control<wxCheckBox>(this, ids::kSaveLocal)) c->SetValue(settings_.SaveLocal);
  SetFieldText(this, ids::kRelPathField, settings_.RelPath);
  SetFieldText(this, ids::kOutFileField, settings_.FileOutput);
  SetFieldText(this, ids::kMainHeadField, OneLineForm(settings_.MainHead));
  SetFieldText(this, ids::kMainQueueField, OneLineForm(settings_.MainQueue));
  ShowEscapeCheck(frame_->GetMenuBar(), settings_.Escape);
  OutputChanged();  // the status bar's message too
}

void MainPanel::UpdateCounter() {
  const std::string text = lq::UpdateCounter(list_);
  if (list_box_ != nullptr) list_box_->Refresh();  // it may have selected the first item
  SetFieldText(this, ids::kCounter, text);
}

void MainPanel::ShowList() {
  if (list_box_ != nullptr) list_box_->ListChanged();
  OutputChanged();
}

std::string MainPanel::HeaderText() const {
  return header_ != nullptr ? header_->GetCrLfText(kEditReadMax) : std::string();
}

std::string MainPanel::QueueText() const {
  return queue_ != nullptr ? queue_->GetCrLfText(kEditReadMax) : std::string();
}

void MainPanel::SetHeaderText(const std::string& text) {
  if (header_ != nullptr) header_->SetCrLfText(text);
}

void MainPanel::SetQueueText(const std::string& text) {
  if (queue_ != nullptr) queue_->SetCrLfText(text);
}

Composer MainPanel::MakeComposer() {
  return Composer(settings_, context_.style, context_.eol, HeaderText(), QueueText(), &list_);
}

void MainPanel::Report(const Failure& failure) {
  // The engine's texts are English; the reason is the system's own, already in the language.
  const Failure shown{Tr(failure.text), Tr(failure.caption), failure.reason};
  context_.services.prompts->Message(this, shown.MessageText(), shown.caption, kPromptOk);
}

void MainPanel::Notice(const std::string& text, const std::string& caption, int ms) {
  ShowMex(this, &text, &caption, kMexIconInformation, ms, *context_.services.clock,
          context_.services.beeper);
}

void MainPanel::CopyText(const std::string& text) { context_.services.clipboard->SetText(text); }

bool MainPanel::ListHasFiles() {
  if (auto failure = RequireFiles(list_)) {
    context_.services.prompts->Message(this, Tr(failure->text), Tr(failure->caption), kPromptOk);
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
  std::vector<std::string> taken = names;
  for (std::string& name : taken) CutUtf8(name, kNameMax);
  // Under Wayland the clipboard is taken only from the focused program, which this window,
  // reached from a file manager, is not; the file manager's token lets it take the focus.
  AskForFocus(frame_, activation_token);
  Notice(CopyingNotice(taken), Tr("Copying..."), 600);
  Composer composer = MakeComposer();
  const bool lines = SendsLines(settings_.SendToIndex);
  std::string text;
  for (std::size_t i = 0; i < taken.size(); ++i) {
    pending_file_ = taken[i];
    TextOrFailure one =
        lines ? SingleLineText(composer, pending_file_) : PendingNameText(composer, pending_file_);
    pending_file_.clear();
    if (const auto* failure = std::get_if<Failure>(&one)) {
      Report(*failure);
      return;
    }
    // Lines carry their own breaks, as Create writes them; names go one a line.
    if (!lines && i > 0) text += context_.eol == Eol::CrLf ? "\r\n" : "\n";
    text += std::get<std::string>(one);
  }
  CopyText(text);
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
    text = ReadableName(templates_.FullNameFor(id));
    CutUtf8(text, kTemplateHintMax);
  } else {
    text = Tr(HintString(id));
    CutUtf8(text, kHintMax);
  }
  if (from_menu) text = SplitHint(text).status;
  status_->SetHint(&text);
}

// The list box changes the list itself; the counter follows. A list left with nothing
// selected has no selected item: the counter then selects the first, as it always did.
void MainPanel::OnListNotice() {
  if (list_.SelectedCount() == 0) list_.Select(-1);
  UpdateCounter();
}

void MainPanel::OnBackgroundMotion(wxMouseEvent& event) {
  event.Skip();
  wxWindow* field = FindWindow(ids::kRelPathField);
  if (field != nullptr && field->GetRect().Contains(event.GetPosition())) {
    status_->SetHintAnchor(ClientToScreen(event.GetPosition()));
    const std::string hint(Tr(kRelPathHint));
    status_->SetHint(&hint);
  } else {
    status_->SetHint(nullptr);
  }
}

void MainPanel::BindCommands() {
  auto on = [this](int id, auto&& handler) {
    Bind(
        wxEVT_MENU, [handler](wxCommandEvent&) { handler(); }, id);
    Bind(
        wxEVT_BUTTON, [handler](wxCommandEvent&) { handler(); }, id);
  };
  on(ids::kCreate, [this] { OnCreate(); });
  on(ids::kCreateAndCopy, [this] { OnCreateAndCopy(); });
  on(ids::kView, [this] { OnView(); });
  on(ids::kPreview, [this] { OnPreview(); });
  on(ids::kExecute, [this] { OnExecute(); });
  on(ids::kClearList, [this] { OnClear(); });
  on(ids::kOpenList, [this] { OnOpenList(); });
  on(ids::kSaveList, [this] { OnSaveList(); });
  on(ids::kSetOutputFile, [this] { OnSetOutputFile(); });
  on(ids::kSetMainHead, [this] { OnSetMainText(settings_.MainHead); });
  on(ids::kSetMainQueue, [this] { OnSetMainText(settings_.MainQueue); });
  on(ids::kSendToOptions, [this] { OnSendToOptions(); });
  on(ids::kUseTooltip, [this] { OnUseTooltip(); });
  for (std::size_t i = 0; i < kEscapeWords.size(); ++i) {
    const auto kind = static_cast<EscapeKind>(i);
    on(EscapeCommand(kind), [this, kind] { OnEscape(kind); });
  }
  on(ids::kExit, [this] { frame_->Close(); });
  on(ids::kHelpIndex, [this] { OnHelpIndex(); });
  on(ids::kWebPage, [this] { OnWebPage(); });
  on(ids::kAbout, [this] { OnAbout(); });
  on(ids::kMoveUp, [this] { OnMove(Direction::Up); });
  on(ids::kMoveDown, [this] { OnMove(Direction::Down); });
  on(ids::kDeleteItem, [this] { OnDelete(); });
  on(ids::kCopySelected, [this] { OnCopySelected(); });
  on(ids::kCreateAndCopySelected, [this] { OnCreateAndCopySelected(); });
  on(ids::kAutoDrag, [this] { OnAutoDragHelp(); });
  on(ids::kDragCopyName, [this] { OnDragCopyName(); });
  on(ids::kDragCreateAndCopy, [this] { OnDragCreateAndCopy(); });
  on(ids::kDragSetRelPath, [this] { SetRelPathFromPending(); });
  on(ids::kDragSetOutputFile, [this] { SetOutputFromPending(); });
  on(ids::kSaveTemplate, [this] { OnSaveTemplate(); });
  on(ids::kOpenTemplate, [this] { OnOpenTemplate(); });
  Bind(
      wxEVT_MENU,
      [this](wxCommandEvent& event) { LoadTemplateFile(templates_.FullNameFor(event.GetId())); },
      ids::kFirstTemplate, ids::kLastTemplate);

  Bind(
      wxEVT_LISTBOX, [this](wxCommandEvent&) { OnListNotice(); }, ids::kFileList);
  Bind(
      wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { OnListNotice(); }, ids::kFileList);
  if (list_box_ != nullptr) {
    list_box_->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) {
      e.Skip();
      OnListNotice();
    });
    list_box_->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
      e.Skip();
      OnListNotice();
    });
  }
  Bind(wxEVT_MOTION, &MainPanel::OnBackgroundMotion, this);
  // The disabled relative-path field passes no move to the dialog: watch from above.
  WatchMotionBeneath(this, [this] {
    wxWindow* field = FindWindow(ids::kRelPathField);
    const wxPoint mouse = wxGetMousePosition();
    if (field == nullptr || field->IsEnabled() || !field->GetScreenRect().Contains(mouse)) return;
    status_->SetHintAnchor(mouse);
    const std::string hint(Tr(kRelPathHint));
    status_->SetHint(&hint);
  });
  Bind(wxEVT_MENU_HIGHLIGHT, [this](wxMenuEvent& e) { MenuItemHint(e.GetMenuId(), true); });
  Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& e) {
    e.Skip();
    status_->SetHint(nullptr);
    // The File menu shown over the background is a copy of the bar's: mark the kind there too.
    ShowEscapeCheck(e.GetMenu(), settings_.Escape);
  });
}

}  // namespace lq
