#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "persist/template_ids.h"

namespace lq {

// How deep below the scanned folder the scan goes: deep enough for any real tree, and a stop
// for a loop through bind mounts. Templates in folders up to this depth are found (the
// scanned folder is depth 0); deeper folders are never opened. The window and
// loomquill-cli --list-templates both scan this way.
inline constexpr int kTemplateScanDepth = 64;

// Bounds for a scan of a folder the user names, which may be any folder up to "/": depth
// alone would still let it walk every file system mounted below. The window scans its own
// folder and takes no bounds.
struct ScanBounds {
  std::size_t max_folders = 0;   // folders opened, the scanned one included; 0: no limit
  bool one_file_system = false;  // folders on another file system are not entered
};
// loomquill-cli's bounds: far more folders than a tree of the menu's 297 templates needs,
// and a walk of "/" still ends in a moment.
inline constexpr ScanBounds kListTemplatesBounds{.max_folders = 2000, .one_file_system = true};

// One entry of the Templates menu: a template item or a sub-menu for a folder.
struct TemplateNode {
  std::string Title;           // the template's base name, or the folder's name
  std::int32_t CommandId = 0;  // items only
  std::string FullName;        // the template file, or the folder
  bool SubMenu = false;
  std::vector<TemplateNode> Children;  // sub-menus only
};

// The scanned part of the Templates menu (below Save Template, Open Template and the
// separator), with the table from command id to template file.
struct TemplatesMenu {
  std::vector<TemplateNode> Entries;
  std::int32_t FirstId = kFirstTemplateId;
  std::vector<std::string> FullNames;  // FullNames[id - FirstId]
  std::size_t Skipped = 0;             // templates left out for want of an id
  // Where ScanBounds cut the scan: the first folder left unopened once max_folders were
  // opened (it and every folder after it in menu order), and the folders not entered as
  // they are on another file system, with the first of them.
  std::string CutAt;
  std::size_t OtherFileSystems = 0;
  std::string FirstOtherFileSystem;
  // Where the entries of an appended folder begin in Entries; Entries.size() or more when
  // none was appended or it added nothing.
  std::size_t AppendedAt = static_cast<std::size_t>(-1);

  // The template file of a command id; empty when the id is not a template item.
  std::string FullNameFor(std::int32_t id) const;
};

// Scans folder and its sub-folders for templates. In each menu the items come first, then
// the sub-menus, each group sorted byte-wise on name + 0xFF + ... (so B, a, c and html2
// before html); ids go from first_id depth first. Folders whose names begin with a dot
// and folders that are symbolic links are not entered, a folder that cannot be read adds
// nothing, and sub-menus left without items at any depth are dropped. Templates beyond
// last_id are left out and counted in Skipped, as the window could not dispatch them.
TemplatesMenu BuildTemplatesMenu(const std::filesystem::path& folder,
                                 std::string_view extension = ".hqd",
                                 std::int32_t first_id = kFirstTemplateId,
                                 std::int32_t last_id = kLastTemplateId, ScanBounds bounds = {});

// Appends the templates of a second folder (the user's own) after those already in menu,
// scanned the same way, their ids going on where menu's end; AppendedAt tells where they
// begin. Templates beyond last_id are counted in Skipped.
void AppendTemplatesMenu(TemplatesMenu& menu, const std::filesystem::path& folder,
                         std::string_view extension = ".hqd",
                         std::int32_t last_id = kLastTemplateId);

// Removes sub-menus without items, deepest first, so a sub-menu holding only empty
// sub-menus goes too.
void PruneEmptyPopups(std::vector<TemplateNode>& entries);

// One line per entry in menu order, two spaces of indent per level: "1303 title" for an
// item, "name/" for a sub-menu.
std::string FormatTemplateTree(const TemplatesMenu& menu);

}  // namespace lq
