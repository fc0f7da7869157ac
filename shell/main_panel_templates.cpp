// The main dialog's template commands: Open Template, Save Template and a template chosen
// from the Templates menu.
#include <filesystem>
#include <system_error>

#include "engine/path_text.h"
#include "persist/template_file.h"
#include "platform/readable_name.h"
#include "shell/main_panel.h"
#include "shell/my_window.h"
#include "shell/wx_text.h"

namespace lq {
namespace fs = std::filesystem;

// Runs a template load or save on the script; on success the window shows the template.
template <typename Operation>
void MainPanel::WithTemplate(const std::string& file, Operation operation) {
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

// Where Save Template starts: the user's own template folder, made on demand, for a new
// template or one of the shipped ones (the program's folder belongs to the package and is
// read-only for users); beside any other current template.
std::string MainPanel::SaveTemplateFolder(const std::string& current) const {
  const bool shipped =
      !context_.program_folder.empty() && current.starts_with(context_.program_folder);
  if (!current.empty() && !shipped) return {};
  std::error_code ec;
  if (context_.user_templates.empty()) return context_.program_folder;
  fs::create_directories(context_.user_templates, ec);
  if (!fs::is_directory(context_.user_templates, ec)) return context_.program_folder;
  return ToText(context_.user_templates);
}

void MainPanel::LoadTemplateFile(const std::string& file) {
  if (file.empty()) return;
  SyncFromControls();
  WithTemplate(file, LoadTemplate);
}

void MainPanel::OnOpenTemplate() {
  std::string name;
  std::error_code ec;
  const std::string folder = fs::is_directory(context_.user_templates, ec)
                                 ? ToText(context_.user_templates)
                                 : context_.program_folder;
  if (!context_.services.prompts->ChooseFile(this, kOpenTemplateDialog, name, folder)) {
    return;
  }
  LoadTemplateFile(name);
}

void MainPanel::OnSaveTemplate() {
  SyncFromControls();
  std::string name = settings_.TemplateFile;
  if (!context_.services.prompts->ChooseFile(this, kSaveTemplateDialog, name,
                                             SaveTemplateFolder(name))) {
    return;
  }
  // Saving loads the saved template, as choosing it would.
  WithTemplate(name, SaveTemplate);
}

}  // namespace lq
