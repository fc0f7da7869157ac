// The main dialog's commands that write output or put text on the clipboard.
#include <variant>

#include "engine/output.h"
#include "platform/launch_command.h"
#include "resources/translate.h"
#include "shell/base_dlg.h"
#include "shell/my_window.h"

namespace lq {

void BaseDlg::OnCreate() {
  if (!ListHasFiles()) return;
  SyncFromControls();
  Composer composer = MakeComposer();
  if (const Status created = CreateOutput(composer, settings_, list_, settings_.FileOutput);
      !created.ok()) {
    Report(created.failure());
    return;
  }
  Notice(Tr("Click view to see created file"), kAppCaption, 1000);
}

void BaseDlg::OnCreateAndCopy() {
  if (!ListHasFiles()) return;
  SyncFromControls();
  Composer composer = MakeComposer();
  // Nothing is copied when creating failed: an older output file must not pass for this one.
  const Result<std::string> text = CreateAndCopy(composer, settings_, list_, settings_.FileOutput);
  if (!text.ok()) {
    Report(text.failure());
    return;
  }
  Notice(Tr("Click view to see created file"), kAppCaption, 1000);
  CopyText(text.value());
}

void BaseDlg::CopyOrReport(const Result<std::string>& text) {
  if (!text.ok()) {
    Report(text.failure());
  } else {
    CopyText(text.value());
  }
}

void BaseDlg::OnView() {
  if (context_.services.launcher->OpenInTextEditor(settings_.FileOutput)) return;
  context_.services.prompts->Message(
      this,
      Tr("No text editor found to open\n\n") + settings_.FileOutput +
          Tr("\n\nChoose a default application for plain text files, or set VISUAL or EDITOR."),
      kAppCaption, kPromptOk | kPromptIconWarning);
}

void BaseDlg::OnExecute() { LaunchCommand(*context_.services.launcher, settings_.FileOutput); }

void BaseDlg::OnWebPage() {
  CopyText(kHomeAddress);
  Notice(Tr("URL copyed into Clipboard"), kAppCaption, 2000);
  context_.services.launcher->OpenWithAssociation(kHomeAddress);
}

void BaseDlg::OnCopySelected() {
  if (!ListHasFiles()) return;
  if (list_.Selected() < 0) list_.Select(0);
  SyncFromControls();
  Composer composer = MakeComposer();
  CopyOrReport(SelectedItemText(composer, list_));
  UpdateCounter();
}

void BaseDlg::OnCreateAndCopySelected() {
  if (!ListHasFiles()) return;
  SyncFromControls();
  Composer composer = MakeComposer();
  CopyOrReport(CreateAndCopySelectedText(composer, list_, pending_file_));
  UpdateCounter();
}

void BaseDlg::OnDragCopyName() {
  SyncFromControls();
  Composer composer = MakeComposer();
  CopyOrReport(PendingNameText(composer, pending_file_));
}

void BaseDlg::OnDragCreateAndCopy() {
  SyncFromControls();
  Composer composer = MakeComposer();
  CopyOrReport(SingleLineText(composer, pending_file_));
}

}  // namespace lq
