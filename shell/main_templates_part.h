#pragma once

#include <string>

#include "persist/template_scan.h"

class wxMenu;

namespace lq {

class PanelHost;

// The main panel's templates: the Templates menu of the menu bar with the templates found,
// Open Template, Save Template and a template chosen from the menu.
class MainTemplatesPart {
 public:
  explicit MainTemplatesPart(PanelHost& host);

  // The Templates menu with its own items, in the menu bar.
  void InsertMenu();
  // The templates found into it.
  void FillMenu();
  const TemplatesMenu& templates() const { return templates_; }

  // Commands.
  void OpenTemplate();
  void SaveTemplate();
  // A template item of the menu.
  void LoadFromMenu(int id);

 private:
  void LoadTemplateFile(const std::string& file);
  std::string SaveTemplateFolder(const std::string& current) const;
  template <typename Operation>
  void WithTemplate(const std::string& file, Operation operation);

  PanelHost& host_;
  TemplatesMenu templates_;
  wxMenu* menu_ = nullptr;  // the menu bar's
};

}  // namespace lq
