// The main dialog's template commands: Open Template, Save Template and a template chosen
// from the Templates menu.
#include "persist/template_file.h"
#include "platform/readable_name.h"
#include "shell/base_dlg.h"
#include "shell/my_window.h"
#include "shell/wx_text.h"

namespace lq {

// Runs a template load or save on the script; on success the window shows the template.
template <typename Operation>
void BaseDlg::WithTemplate(const std::string& file, Operation operation) {
  std::string header = HeaderText();
  std::string queue = QueueText();
  if (auto failure = operation(file, settings_, header, queue, context_.style)) {
    Report(*failure);
    return;
  }
  // A template name that is no UTF-8 is shown readable, never as an empty title.
  frame_->SetTitle(FromUtf8(ReadableName(TemplateCaption(settings_.TemplateFile, context_.style))));
  SetHeaderText(header);
  SetQueueText(queue);
  RefreshControls();
}

void BaseDlg::LoadTemplateFile(const std::string& file) {
  if (file.empty()) return;
  SyncFromControls();
  WithTemplate(file, LoadTemplate);
}

void BaseDlg::OnOpenTemplate() {
  std::string name;
  if (!context_.services.prompts->ChooseFile(this, kOpenTemplateDialog, name,
                                             context_.program_folder)) {
    return;
  }
  LoadTemplateFile(name);
}

void BaseDlg::OnSaveTemplate() {
  SyncFromControls();
  std::string name = settings_.TemplateFile;
  if (!context_.services.prompts->ChooseFile(this, kSaveTemplateDialog, name,
                                             context_.program_folder)) {
    return;
  }
  // Saving loads the saved template, as choosing it would.
  WithTemplate(name, SaveTemplate);
}

}  // namespace lq
