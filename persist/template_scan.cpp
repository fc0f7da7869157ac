#include "persist/template_scan.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <system_error>
#include <utility>

#include "engine/path_text.h"
#include "engine/text_helpers.h"

namespace lq {
namespace fs = std::filesystem;

namespace {

// 0xFF sorts above every byte of a name, so a name goes after the longer names it begins.
constexpr char kFieldSeparator = '\xFF';

struct Found {
  std::string key;  // sort key
  std::string title;
  fs::path path;
};

class Scanner {
 public:
  Scanner(std::string_view extension, TemplatesMenu& menu, std::int32_t last_id, ScanBounds bounds,
          const fs::path& root)
      : extension_(extension), menu_(menu), last_id_(last_id), bounds_(bounds) {
    if (bounds_.one_file_system) root_device_ = DeviceOf(root);
  }

  void Level(const fs::path& folder, std::vector<TemplateNode>& target, int depth) {
    if (!menu_.CutAt.empty()) return;
    if (bounds_.max_folders > 0 && opened_ == bounds_.max_folders) {
      menu_.CutAt = ToText(folder);
      return;
    }
    ++opened_;
    std::vector<Found> folders, items;
    List(folder, folders, items);
    // std::string compares bytes as unsigned char; stable keeps equal keys in scan order.
    const auto by_key = [](const Found& a, const Found& b) { return a.key < b.key; };
    std::stable_sort(items.begin(), items.end(), by_key);
    std::stable_sort(folders.begin(), folders.end(), by_key);

    for (Found& item : items) {
      const auto id = static_cast<std::int32_t>(menu_.FirstId + menu_.FullNames.size());
      if (id > last_id_) {
        ++menu_.Skipped;
        continue;
      }
      TemplateNode node;
      node.Title = std::move(item.title);
      node.CommandId = id;
      node.FullName = ToText(item.path);
      menu_.FullNames.push_back(node.FullName);
      target.push_back(std::move(node));
    }
    const std::size_t first_menu = target.size();
    for (Found& sub : folders) {
      TemplateNode node;
      node.Title = std::move(sub.title);
      node.FullName = ToText(sub.path);
      node.SubMenu = true;
      target.push_back(std::move(node));
    }
    if (depth >= kTemplateScanDepth) return;
    for (std::size_t i = 0; i < folders.size(); ++i) {
      Level(folders[i].path, target[first_menu + i].Children, depth + 1);
    }
  }

 private:
  bool IsTemplate(const std::string& name) const {
    return name.size() > extension_.size() &&
           EqualNoCase(std::string_view(name).substr(name.size() - extension_.size()), extension_);
  }

  void List(const fs::path& folder, std::vector<Found>& folders, std::vector<Found>& items) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
      const fs::directory_entry& entry = *it;
      const std::string name = ToText(entry.path().filename());
      std::error_code type_ec;
      const fs::file_status own = entry.symlink_status(type_ec);
      if (type_ec) continue;
      if (fs::is_directory(own)) {
        if (name.starts_with('.')) continue;
        if (bounds_.one_file_system && OnOtherFileSystem(entry.path())) {
          if (menu_.OtherFileSystems++ == 0) menu_.FirstOtherFileSystem = ToText(entry.path());
          continue;
        }
        folders.push_back({name + kFieldSeparator + '0', name, entry.path()});
        continue;
      }
      // A link to a template file counts; a link to a folder is never entered.
      if (!IsTemplate(name) || !fs::is_regular_file(entry.status(type_ec)) || type_ec) continue;
      std::string title = name.substr(0, name.size() - extension_.size());
      const std::string full = ToText(entry.path());
      items.push_back(
          {title + kFieldSeparator + full + kFieldSeparator + full, title, entry.path()});
    }
  }

  // The file system a folder is on, where that can be told.
  static std::optional<std::uint64_t> DeviceOf(const fs::path& path) {
#ifdef _WIN32
    static_cast<void>(path);
    return std::nullopt;
#else
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_dev);
#endif
  }

  bool OnOtherFileSystem(const fs::path& folder) const {
    const std::optional<std::uint64_t> device = DeviceOf(folder);
    return device && root_device_ && *device != *root_device_;
  }

  std::string_view extension_;
  TemplatesMenu& menu_;
  std::int32_t last_id_;
  ScanBounds bounds_;
  std::optional<std::uint64_t> root_device_;
  std::size_t opened_ = 0;
};

void Format(const std::vector<TemplateNode>& entries, int depth, std::string& out) {
  for (const TemplateNode& node : entries) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    if (node.SubMenu) {
      out += node.Title;
      out += "/\n";
      Format(node.Children, depth + 1, out);
    } else {
      out += IntToText(node.CommandId);
      out += ' ';
      out += node.Title;
      out += '\n';
    }
  }
}

}  // namespace

std::string TemplatesMenu::FullNameFor(std::int32_t id) const {
  if (id < FirstId) return {};
  const auto index = static_cast<std::size_t>(id - FirstId);
  return index < FullNames.size() ? FullNames[index] : std::string();
}

TemplatesMenu BuildTemplatesMenu(const fs::path& folder, std::string_view extension,
                                 std::int32_t first_id, std::int32_t last_id, ScanBounds bounds) {
  TemplatesMenu menu;
  menu.FirstId = first_id;
  Scanner(extension, menu, last_id, bounds, folder).Level(folder, menu.Entries, 0);
  PruneEmptyPopups(menu.Entries);
  return menu;
}

void AppendTemplatesMenu(TemplatesMenu& menu, const fs::path& folder, std::string_view extension,
                         std::int32_t last_id) {
  const auto next_id = menu.FirstId + static_cast<std::int32_t>(menu.FullNames.size());
  TemplatesMenu more = BuildTemplatesMenu(folder, extension, next_id, last_id);
  menu.AppendedAt = menu.Entries.size();
  std::move(more.Entries.begin(), more.Entries.end(), std::back_inserter(menu.Entries));
  std::move(more.FullNames.begin(), more.FullNames.end(), std::back_inserter(menu.FullNames));
  menu.Skipped += more.Skipped;
}

void PruneEmptyPopups(std::vector<TemplateNode>& entries) {
  for (TemplateNode& node : entries) {
    if (node.SubMenu) PruneEmptyPopups(node.Children);
  }
  std::erase_if(entries,
                [](const TemplateNode& node) { return node.SubMenu && node.Children.empty(); });
}

std::string FormatTemplateTree(const TemplatesMenu& menu) {
  std::string out;
  Format(menu.Entries, 0, out);
  return out;
}

}  // namespace lq
