// The main dialog's commands that write output or put text on the clipboard.
#include <variant>

#include "engine/output.h"
#include "platform/launch_command.h"
#include "resources/translate.h"
#include "shell/main_panel.h"
#include "shell/my_window.h"

namespace lq {

void MainPanel::OnCreate() {
  if (!ListHasFiles()) return;
  SyncFromControls();
  Composer composer = MakeComposer();
  if (auto failure = CreateOutput(composer, settings_, list_, settings_.FileOutput)) {
    Report(*failure);
    return;
  }
  Notice(Tr("Click view to see created file"), kAppCaption, 1000);
}

void MainPanel::OnCreateAndCopy() {
  if (!ListHasFiles()) return;
  SyncFromControls();
  Composer composer = MakeComposer();
  // Nothing is copied when creating failed: an older output file must not pass for this one.
  TextOrFailure text = CreateAndCopy(composer, settings_, list_, settings_.FileOutput);
  if (auto* failure = std::get_if<Failure>(&text)) {
    Report(*failure);
    return;
  }
  Notice(Tr("Click view to see created file"), kAppCaption, 1000);
  CopyText(std::get<std::string>(text));
}

void MainPanel::CopyOrReport(const TextOrFailure& text) {
  if (const auto* failure = std::get_if<Failure>(&text)) {
    Report(*failure);
  } else {
    CopyText(std::get<std::string>(text));
  }
}

void MainPanel::OnView() {
  if (context_.services.launcher->OpenInTextEditor(settings_.FileOutput)) return;
  context_.services.prompts->Message(
      this,
      Tr("No text editor found to open\n\n") + settings_.FileOutput +
          Tr("\n\nChoose a default application for plain text files, or set VISUAL or EDITOR."),
      kAppCaption, kPromptOk | kPromptIconWarning);
}

void MainPanel::OnExecute() { LaunchCommand(*context_.services.launcher, settings_.FileOutput); }

void MainPanel::OnWebPage() {
  CopyText(kHomeAddress);
  Notice(Tr("URL copyed into Clipboard"), kAppCaption, 2000);
  context_.services.launcher->OpenWithAssociation(kHomeAddress);
}

void MainPanel::OnCopySelected() {
  if (!ListHasFiles()) return;
  if (list_.Selected() < 0) list_.Select(0);
  SyncFromControls();
  Composer composer = MakeComposer();
  CopyOrReport(SelectedItemText(composer, list_));
  UpdateCounter();
}

void MainPanel::OnCreateAndCopySelected() {
  if (!ListHasFiles()) return;
  if (list_.Selected() < 0) list_.Select(0);
  SyncFromControls();
  Composer composer = MakeComposer();
  // By way of the waiting file, which every single-file action leaves empty.
  pending_file_.clear();
  CopyOrReport(CreateAndCopySelectedText(composer, list_));
  UpdateCounter();
}

void MainPanel::OnDragCopyName() {
  SyncFromControls();
  Composer composer = MakeComposer();
  const TextOrFailure name = PendingNameText(composer, pending_file_);
  pending_file_.clear();
  CopyOrReport(name);
}

void MainPanel::OnDragCreateAndCopy() {
  SyncFromControls();
  Composer composer = MakeComposer();
  const TextOrFailure line = SingleLineText(composer, pending_file_);
  pending_file_.clear();
  CopyOrReport(line);
}

}  // namespace lq
