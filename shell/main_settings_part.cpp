#include "shell/main_settings_part.h"

#include <wx/checkbox.h>
#include <wx/radiobut.h>

#include "engine/capacities.h"
#include "engine/text_helpers.h"
#include "persist/settings_file.h"
#include "resources/ids.h"
#include "resources/translate.h"
#include "shell/escape_menu.h"
#include "shell/ml_input_dlg.h"
#include "shell/my_window.h"
#include "shell/panel_host.h"
#include "shell/send_to_dlg.h"
#include "shell/tip_status_bar.h"
#include "shell/wx_text.h"
#include "uikit/grafext/controls.h"
#include "uikit/grafext/motion_watch.h"

namespace lq {
namespace {

constexpr const char* kRelPathHint =
    wxTRANSLATE("Relative path, drag a folder here to change\nRel Path");

template <typename T>
T* Control(const wxWindow& parent, int id) {
  return dynamic_cast<T*>(parent.FindWindow(id));
}

bool Checked(const wxWindow& parent, int id) {
  if (auto* radio = Control<wxRadioButton>(parent, id)) return radio->GetValue();
  if (auto* check = Control<wxCheckBox>(parent, id)) return check->GetValue();
  return false;
}

void SetFieldText(const wxWindow& parent, int id, const std::string& text) {
  if (auto* edit = Control<wxTextCtrl>(parent, id)) edit->ChangeValue(FromUtf8(text));
}

}  // namespace

MainSettingsPart::MainSettingsPart(PanelHost& host)
    : host_(host),
      header_(Control<TZQEditCursor>(host.window(), ids::kHeader)),
      queue_(Control<TZQEditCursor>(host.window(), ids::kQueue)) {
  SetupControls();
  BindChanges();
  BindRelPathHint();
}

void MainSettingsPart::SetupControls() {
  constexpr const char* kNormal = "CUR_NORMAL";
  const wxWindow& panel = host_.window();
  for (int id : {ids::kHeader, ids::kQueue, ids::kRelPathField, ids::kOutFileField,
                 ids::kMainHeadField, ids::kMainQueueField}) {
    if (auto* edit = Control<TZQEditCursor>(panel, id)) edit->Setup(kEditMax, kNormal);
  }
  for (int id : {ids::kInvertSlash, ids::kSaveLocal}) {
    if (auto* check = Control<TZQCheckBox>(panel, id)) check->Setup(kNormal, "");
  }
  for (int id : {ids::kModeFull, ids::kModeRelative, ids::kModeName, ids::kModeNone}) {
    if (auto* radio = Control<TZQRadioButton>(panel, id)) radio->Setup(kNormal, "");
  }
  if (auto* none = panel.FindWindow(ids::kModeNone)) none->DisableFocusFromKeyboard();
  for (int id : {ids::kSetOutputFile, ids::kSetMainHead, ids::kSetMainQueue}) {
    if (auto* button = Control<TAutoButton>(panel, id)) button->Setup("", "");
  }
}

void MainSettingsPart::Load() {
  ShellContext& context = host_.context();
  std::string header;
  std::string queue;
  LoadSettings(context.settings_file, host_.settings(), header, queue, context.style);
  SetHeaderText(header);
  SetQueueText(queue);
}

Status MainSettingsPart::Save() const {
  return SaveSettings(host_.context().settings_file, host_.settings(), HeaderText(), QueueText());
}

void MainSettingsPart::ReadControls(ScriptSettings& settings) const {
  const wxWindow& panel = host_.window();
  settings.CheckIndex = CheckIndexOf(PathMode::kFull);
  if (Checked(panel, ids::kModeRelative)) settings.CheckIndex = CheckIndexOf(PathMode::kRelative);
  if (Checked(panel, ids::kModeName)) settings.CheckIndex = CheckIndexOf(PathMode::kName);
  if (Checked(panel, ids::kModeNone)) settings.CheckIndex = CheckIndexOf(PathMode::kNone);
  settings.InvertSlash = Checked(panel, ids::kInvertSlash);
  settings.SaveLocal = Checked(panel, ids::kSaveLocal);
}

void MainSettingsPart::RefreshControls() {
  const ScriptSettings& settings = host_.settings();
  const wxWindow& panel = host_.window();
  int radio = ids::kModeFull;
  switch (EffectiveMode(settings.CheckIndex)) {
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
    if (auto* r = Control<wxRadioButton>(panel, id)) r->SetValue(id == radio);
  }
  if (auto* c = Control<wxCheckBox>(panel, ids::kInvertSlash)) c->SetValue(settings.InvertSlash);
  if (auto* c = Control<wxCheckBox>(panel, ids::kSaveLocal)) c->SetValue(settings.SaveLocal);
  SetFieldText(panel, ids::kRelPathField, settings.RelPath);
  SetFieldText(panel, ids::kOutFileField, settings.FileOutput);
  SetFieldText(panel, ids::kMainHeadField, OneLineForm(settings.MainHead));
  SetFieldText(panel, ids::kMainQueueField, OneLineForm(settings.MainQueue));
  ShowEscapeCheck(host_.frame().GetMenuBar(), settings.Escape);
}

std::string MainSettingsPart::HeaderText() const {
  return header_ != nullptr ? header_->GetCrLfText(kEditReadMax) : std::string();
}

std::string MainSettingsPart::QueueText() const {
  return queue_ != nullptr ? queue_->GetCrLfText(kEditReadMax) : std::string();
}

void MainSettingsPart::SetHeaderText(const std::string& text) {
  if (header_ != nullptr) header_->SetCrLfText(text);
}

void MainSettingsPart::SetQueueText(const std::string& text) {
  if (queue_ != nullptr) queue_->SetCrLfText(text);
}

bool MainSettingsPart::OnRelPathField(const wxPoint& point) const {
  const wxWindow* field = host_.window().FindWindow(ids::kRelPathField);
  return field != nullptr && field->GetRect().Contains(point);
}

void MainSettingsPart::BindChanges() {
  wxWindow& panel = host_.window();
  // The path mode and the options take effect in the record only when a command runs; the
  // preview follows the controls at once.
  panel.Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent& e) {
    e.Skip();
    host_.OutputChanged();
  });
  panel.Bind(
      wxEVT_CHECKBOX,
      [this](wxCommandEvent& e) {
        e.Skip();
        host_.OutputChanged();
      },
      ids::kInvertSlash);
  for (TZQEditCursor* edit : {header_, queue_}) {
    if (edit == nullptr) continue;
    edit->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) {
      e.Skip();
      host_.TextTyped();
    });
    // Esc undoes without a change event; its key still comes up.
    edit->Bind(wxEVT_KEY_UP, [this](wxKeyEvent& e) {
      e.Skip();
      host_.TextTyped();
    });
  }
}

void MainSettingsPart::BindRelPathHint() {
  wxWindow& panel = host_.window();
  panel.Bind(wxEVT_MOTION, &MainSettingsPart::OnPanelMotion, this);
  // The disabled relative-path field passes no move to the panel: watch from above.
  WatchMotionBeneath(&panel, [this] {
    wxWindow* field = host_.window().FindWindow(ids::kRelPathField);
    const wxPoint mouse = wxGetMousePosition();
    if (field == nullptr || field->IsEnabled() || !field->GetScreenRect().Contains(mouse)) return;
    host_.status().SetHintAnchor(mouse);
    const std::string hint(Tr(kRelPathHint));
    host_.status().SetHint(&hint);
  });
}

void MainSettingsPart::OnPanelMotion(wxMouseEvent& event) {
  event.Skip();
  TTipStatusBar& status = host_.status();
  if (OnRelPathField(event.GetPosition())) {
    status.SetHintAnchor(host_.window().ClientToScreen(event.GetPosition()));
    const std::string hint(Tr(kRelPathHint));
    status.SetHint(&hint);
  } else {
    status.SetHint(nullptr);
  }
}

void MainSettingsPart::SetOutputFile() {
  ShellContext& context = host_.context();
  ScriptSettings& settings = host_.settings();
  std::string name = settings.FileOutput;
  if (context.services.prompts->ChooseFile(&host_.window(), kSetOutputFileDialog, name, {})) {
    settings.FileOutput = name;
    settings.SetRelPathFromOutput(context.style);
  }
  host_.RefreshControls();
}

void MainSettingsPart::SetMainHead() { SetMainText(host_.settings().MainHead); }

void MainSettingsPart::SetMainQueue() { SetMainText(host_.settings().MainQueue); }

void MainSettingsPart::SetMainText(std::string& field) {
  MLInputDlg dialog(&host_.window(), host_.window().GetFont(), &field, kEditMax);
  dialog.ShowModal();
  host_.RefreshControls();
}

void MainSettingsPart::SendToOptions() {
  TSendTo dialog(&host_.window(), host_.window().GetFont(), host_.settings().SendToIndex);
  dialog.ShowModal();
}

void MainSettingsPart::UseTooltip() {
  ScriptSettings& settings = host_.settings();
  settings.UseTip = !settings.UseTip;
  host_.status().TipsEnabled(settings.UseTip);
}

void MainSettingsPart::Escape(EscapeKind kind) {
  host_.settings().Escape = kind;
  // The command may come from the background's copy of the File menu: mark the bar's too.
  ShowEscapeCheck(host_.frame().GetMenuBar(), kind);
  host_.OutputChanged();
}

}  // namespace lq
