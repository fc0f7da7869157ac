#include "shell/main_templates_part.h"

#include <wx/menu.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <filesystem>
#include <span>
#include <system_error>

#include "engine/capacities.h"
#include "engine/path_text.h"
#include "persist/template_file.h"
#include "platform/readable_name.h"
#include "resources/translate.h"
#include "shell/my_window.h"
#include "shell/panel_host.h"
#include "shell/wx_text.h"

namespace lq {
namespace fs = std::filesystem;
namespace {

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

MainTemplatesPart::MainTemplatesPart(PanelHost& host) : host_(host) {}

void MainTemplatesPart::InsertMenu() {
  wxMenu* menu = wxXmlResource::Get()->LoadMenu("MENU_PLUGIN");
  if (menu == nullptr) return;
  wxString title = _("Templates");
  if (menu->GetMenuItemCount() > 0) {
    wxMenuItem* first = menu->FindItemByPosition(0);
    title = first->GetItemLabel().Left(kMenuTitleMax);
    menu->Destroy(first);
  }
  if (wxMenuBar* bar = host_.frame().GetMenuBar()) {
    bar->Insert(1, menu, title);
    menu_ = menu;
  } else {
    delete menu;
  }
}

void MainTemplatesPart::FillMenu() {
  const ShellContext& context = host_.context();
  templates_ = lq::BuildTemplatesMenu(context.program_folder);
  if (!context.user_templates.empty()) AppendTemplatesMenu(templates_, context.user_templates);
  if (menu_ == nullptr) return;
  // The user's own templates follow the shipped ones, after a separator when there are both.
  const std::size_t split = std::min(templates_.AppendedAt, templates_.Entries.size());
  const std::span<const TemplateNode> all(templates_.Entries);
  const auto shipped = all.first(split);
  const auto own = all.subspan(split);
  AppendTemplateNodes(menu_, shipped);
  if (!shipped.empty() && !own.empty()) menu_->AppendSeparator();
  AppendTemplateNodes(menu_, own);
  if (wxMenuBar* bar = host_.frame().GetMenuBar()) bar->Refresh();
}

// Runs a template load or save on the script; on success the window shows the template.
template <typename Operation>
void MainTemplatesPart::WithTemplate(const std::string& file, Operation operation) {
  ScriptSettings& settings = host_.settings();
  const PathStyle style = host_.context().style;
  std::string header = host_.HeaderText();
  std::string queue = host_.QueueText();
  if (const Status done = operation(file, settings, header, queue, style); !done.ok()) {
    host_.Report(done.failure());
    return;
  }
  // A template name that is no UTF-8 is shown readable, never as an empty title.
  host_.frame().SetTitle(FromUtf8(ReadableName(TemplateCaption(settings.TemplateFile, style))));
  host_.SetHeaderText(header);
  host_.SetQueueText(queue);
  host_.RefreshControls();
}

// Where Save Template starts: the user's own template folder, made on demand, for a new
// template or one of the shipped ones (the program's folder belongs to the package and is
// read-only for users); beside any other current template.
std::string MainTemplatesPart::SaveTemplateFolder(const std::string& current) const {
  const ShellContext& context = host_.context();
  const bool shipped =
      !context.program_folder.empty() && current.starts_with(context.program_folder);
  if (!current.empty() && !shipped) return {};
  std::error_code ec;
  if (context.user_templates.empty()) return context.program_folder;
  fs::create_directories(context.user_templates, ec);
  if (!fs::is_directory(context.user_templates, ec)) return context.program_folder;
  return ToText(context.user_templates);
}

void MainTemplatesPart::LoadTemplateFile(const std::string& file) {
  if (file.empty()) return;
  WithTemplate(file, lq::LoadTemplate);
}

void MainTemplatesPart::LoadFromMenu(int id) { LoadTemplateFile(templates_.FullNameFor(id)); }

void MainTemplatesPart::OpenTemplate() {
  const ShellContext& context = host_.context();
  std::string name;
  std::error_code ec;
  const std::string folder = fs::is_directory(context.user_templates, ec)
                                 ? ToText(context.user_templates)
                                 : context.program_folder;
  if (!context.services.prompts->ChooseFile(&host_.window(), kOpenTemplateDialog, name, folder)) {
    return;
  }
  LoadTemplateFile(name);
}

void MainTemplatesPart::SaveTemplate() {
  std::string name = host_.settings().TemplateFile;
  if (!host_.context().services.prompts->ChooseFile(&host_.window(), kSaveTemplateDialog, name,
                                                    SaveTemplateFolder(name))) {
    return;
  }
  // Saving loads the saved template, as choosing it would.
  WithTemplate(name, lq::SaveTemplate);
}

}  // namespace lq
