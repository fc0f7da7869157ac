#include "shell/main_output_part.h"

#include <variant>

#include "engine/capacities.h"
#include "engine/output.h"
#include "engine/text_helpers.h"
#include "platform/compositor.h"
#include "platform/launch_command.h"
#include "resources/ids.h"
#include "resources/resources.h"
#include "resources/translate.h"
#include "shell/my_window.h"
#include "shell/panel_host.h"
#include "uikit/grafext/controls.h"

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

}  // namespace

MainOutputPart::MainOutputPart(PanelHost& host) : host_(host) {
  if (auto* create = dynamic_cast<TAutoButton*>(host.window().FindWindow(ids::kCreate))) {
    create->Setup("CUR_NORMAL", kCreatePopup, true);
  }
}

void MainOutputPart::Create() {
  if (!host_.ListHasFiles()) return;
  ScriptSettings& settings = host_.settings();
  Composer composer = host_.MakeComposer();
  if (const Status created = CreateOutput(composer, settings, host_.list(), settings.FileOutput);
      !created.ok()) {
    host_.Report(created.failure());
    return;
  }
  host_.Notice(Tr("Click view to see created file"), kAppCaption, 1000);
}

void MainOutputPart::CreateAndCopy() {
  if (!host_.ListHasFiles()) return;
  ScriptSettings& settings = host_.settings();
  Composer composer = host_.MakeComposer();
  // Nothing is copied when creating failed: an older output file must not pass for this one.
  const Result<std::string> text =
      lq::CreateAndCopy(composer, settings, host_.list(), settings.FileOutput);
  if (!text.ok()) {
    host_.Report(text.failure());
    return;
  }
  host_.Notice(Tr("Click view to see created file"), kAppCaption, 1000);
  host_.CopyText(text.value());
}

void MainOutputPart::View() {
  const std::string& output = host_.settings().FileOutput;
  Services& services = host_.context().services;
  if (services.launcher->OpenInTextEditor(output)) return;
  services.prompts->Message(
      &host_.window(),
      Tr("No text editor found to open\n\n") + output +
          Tr("\n\nChoose a default application for plain text files, or set VISUAL or EDITOR."),
      kAppCaption, kPromptOk | kPromptIconWarning);
}

void MainOutputPart::Execute() {
  LaunchCommand(*host_.context().services.launcher, host_.settings().FileOutput);
}

void MainOutputPart::WebPage() {
  host_.CopyText(kHomeAddress);
  host_.Notice(Tr("URL copyed into Clipboard"), kAppCaption, 2000);
  host_.context().services.launcher->OpenWithAssociation(kHomeAddress);
}

void MainOutputPart::CopySelected() {
  if (!host_.ListHasFiles()) return;
  FileList& list = host_.list();
  if (list.Selected() < 0) list.Select(0);
  Composer composer = host_.MakeComposer();
  host_.CopyOrReport(SelectedItemText(composer, list));
  host_.UpdateCounter();
}

void MainOutputPart::CreateAndCopySelected() {
  if (!host_.ListHasFiles()) return;
  FileList& list = host_.list();
  if (list.Selected() < 0) list.Select(0);
  Composer composer = host_.MakeComposer();
  // By way of the waiting file, which every single-file action leaves empty.
  host_.pending_file().clear();
  host_.CopyOrReport(CreateAndCopySelectedText(composer, list));
  host_.UpdateCounter();
}

// Copies what compose makes of the waiting file, which is then used up, whatever came of it.
template <typename Compose>
void MainOutputPart::CopyForWaitingFile(Compose compose) {
  Composer composer = host_.MakeComposer();
  std::string& pending = host_.pending_file();
  const auto text = compose(composer, pending);
  pending.clear();
  host_.CopyOrReport(text);
}

void MainOutputPart::DragCopyName() { CopyForWaitingFile(PendingNameText); }

void MainOutputPart::DragCreateAndCopy() { CopyForWaitingFile(SingleLineText); }

void MainOutputPart::CopyHandedOver(const std::vector<std::string>& names,
                                    const std::string& activation_token) {
  std::vector<std::string> taken = names;
  for (std::string& name : taken) CutUtf8(name, kNameMax);
  // Under Wayland the clipboard is taken only from the focused program, which this window,
  // reached from a file manager, is not; the file manager's token lets it take the focus.
  AskForFocus(&host_.frame(), activation_token);
  host_.Notice(CopyingNotice(taken), Tr("Copying..."), 600);
  Composer composer = host_.MakeComposer();
  const bool lines = SendsLines(host_.settings().SendToIndex);
  const Eol eol = host_.context().eol;
  std::string& pending = host_.pending_file();
  std::string text;
  for (std::size_t i = 0; i < taken.size(); ++i) {
    pending = taken[i];
    Result<std::string> one =
        lines ? SingleLineText(composer, pending) : PendingNameText(composer, pending);
    pending.clear();
    if (!one.ok()) {
      host_.Report(one.failure());
      return;
    }
    // Lines carry their own breaks, as Create writes them; names go one a line.
    if (!lines && i > 0) text += eol == Eol::kCrLf ? "\r\n" : "\n";
    text += one.value();
  }
  host_.CopyText(text);
}

}  // namespace lq
