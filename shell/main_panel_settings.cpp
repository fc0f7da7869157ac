// The main dialog's commands that change the script's settings, and the small ones.
#include "engine/capacities.h"
#include "resources/translate.h"
#include "shell/about_dlg.h"
#include "shell/escape_menu.h"
#include "shell/help_file.h"
#include "shell/main_panel.h"
#include "shell/ml_input_dlg.h"
#include "shell/my_window.h"
#include "shell/send_to_dlg.h"
#include "shell/tip_status_bar.h"
#include "shell/wx_text.h"

namespace lq {

void MainPanel::OnSetOutputFile() {
  SyncFromControls();
  std::string name = settings_.FileOutput;
  if (context_.services.prompts->ChooseFile(this, kSetOutputFileDialog, name, {})) {
    settings_.FileOutput = name;
    settings_.SetRelPathFromOutput(context_.style);
  }
  RefreshControls();
}

void MainPanel::OnSetMainText(std::string& field) {
  SyncFromControls();
  MLInputDlg dialog(this, GetFont(), &field, kEditMax);
  dialog.ShowModal();
  RefreshControls();
}

void MainPanel::OnSendToOptions() {
  TSendTo dialog(this, GetFont(), settings_.SendToIndex);
  dialog.ShowModal();
}

void MainPanel::OnUseTooltip() {
  settings_.UseTip = !settings_.UseTip;
  status_->TipsEnabled(settings_.UseTip);
}

void MainPanel::OnEscape(EscapeKind kind) {
  settings_.Escape = kind;
  // The command may come from the background's copy of the File menu: mark the bar's too.
  ShowEscapeCheck(frame_->GetMenuBar(), kind);
  OutputChanged();
}

void MainPanel::OnHelpIndex() {
  context_.services.launcher->OpenWithAssociation(HelpFile(context_.program_folder));
}

void MainPanel::OnAbout() {
  AboutDlg dialog(this);
  dialog.ShowModal();
}

void MainPanel::OnAutoDragHelp() {
  context_.services.prompts->Message(
      this,
      Tr("Drag a single file over Auto Drag button for special settings:\n\n"
         "1) Copy Relative Path and File Name into Clipboard\n"
         "2) Create a single line (head, file, queue), and copy it\n"
         "3) Set Relative Path different from Output File\n"
         "4) Set Output File"),
      kAppCaption, kPromptOk);
}

}  // namespace lq
