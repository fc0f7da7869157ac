#include "engine/paths.h"

#include <algorithm>
#include <filesystem>

#include "engine/path_text.h"
#include "engine/tail_scan.h"
#include "engine/text_helpers.h"

namespace lq {
namespace {

// Windows names keep the old limits; Posix names are bounded by the item capacity already.
constexpr std::size_t kWindowsPathMax = 260;
constexpr std::size_t kWindowsPartMax = 255;

bool HasDrive(std::string_view p) {
  if (p.size() < 2 || p[1] != ':') return false;
  const char c = p[0];
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool Starts(std::string_view text, std::string_view prefix, PathStyle style) {
  return style == PathStyle::kWindows ? StartsWithNoCase(text, prefix) : text.starts_with(prefix);
}

bool SameRoot(std::string_view dd, std::string_view fd, PathStyle style) {
  if (dd.empty() || fd.empty()) return false;
  if (style == PathStyle::kPosix) return dd[0] == '/' && fd[0] == '/';
  return dd.size() > 1 && dd[1] == ':' && EqualNoCase(dd.substr(0, 1), fd.substr(0, 1));
}

std::string Climb(int levels, PathStyle style) {
  const std::string_view up = style == PathStyle::kWindows ? "..\\" : "../";
  std::string out;
  for (int i = 0; i < levels; ++i) out.append(up);
  return out;
}

}  // namespace

std::size_t LastSeparator(std::string_view path, PathStyle style) {
  return path.rfind(Separator(style));
}

std::string FolderOf(std::string_view name, PathStyle style) {
  const std::size_t at = LastSeparator(name, style);
  return std::string(at == std::string_view::npos ? name : name.substr(0, at + 1));
}

std::string_view AfterLastSeparator(std::string_view path, PathStyle style) {
  const std::size_t at = LastSeparator(path, style);
  return at == std::string_view::npos ? path : path.substr(at + 1);
}

void SplitPathViews(std::string_view path, PathStyle style, PathPartViews& parts) {
  const bool windows = style == PathStyle::kWindows;
  if (windows) path = CutUtf8View(path, kWindowsPathMax);
  auto part = [windows](std::string_view v) {
    return windows ? CutUtf8View(v, kWindowsPartMax) : v;
  };
  parts = PathPartViews{};
  std::size_t start = 0;
  if (windows && HasDrive(path)) {
    parts.drive = path.substr(0, 2);
    start = 2;
  }
  const char other = windows ? '\\' : '/';
  std::size_t sep;
  std::size_t dot;  // in the last component, from its start
  TailMarks marks;
  // Most names end in a short last component: one look finds it. A drive comes before any
  // separator, so it cannot change what is found.
  if (FindNameTail(path, other, marks)) {
    sep = marks.separator;
    dot = marks.dot == std::string_view::npos ? marks.dot : marks.dot - (sep + 1);
  } else {
    const std::size_t found = FindLastOfEither(path.substr(start), '/', other);
    sep = found == std::string_view::npos ? found : found + start;
    dot = path.substr(sep == std::string_view::npos ? start : sep + 1).rfind('.');
  }
  const std::size_t tail = sep == std::string_view::npos ? start : sep + 1;
  if (sep != std::string_view::npos) parts.directory = part(path.substr(start, tail - start));
  if (dot == std::string_view::npos) {
    parts.name = part(path.substr(tail));
  } else {
    parts.name = part(path.substr(tail, dot));
    parts.extension = part(path.substr(tail + dot));
  }
}

PathParts SplitPath(std::string_view path, PathStyle style) {
  const PathPartViews v = SplitPathViews(path, style);
  return PathParts{std::string(v.drive), std::string(v.directory), std::string(v.name),
                   std::string(v.extension)};
}

std::string DirPart(std::string_view path, PathStyle style) {
  // A name that is all extension (".config") still names a file or folder of its own.
  const PathPartViews parts = SplitPathViews(path, style);
  const std::size_t at = LastSeparator(path, style);
  if ((!parts.name.empty() || !parts.extension.empty()) && at != std::string_view::npos) {
    return std::string(path.substr(0, at + 1));
  }
  return std::string(path);
}

std::string AbsoluteForRelating(std::string_view name, std::string_view base, PathStyle style) {
  // Only this system's own names can be made absolute from its current folder.
  if (style != HostPathStyle() || base.empty() || name.empty()) return std::string(name);
  if (style == PathStyle::kPosix ? name.front() == '/' : ToPath(name).is_absolute()) {
    return std::string(name);
  }
  return ToText((ToPath(base) / ToPath(name)).lexically_normal());
}

std::string MakeRelativePath(std::string_view file, std::string_view folder, PathStyle style) {
  const char sep = Separator(style);
  std::string dd = DirPart(folder, style);
  const std::string fd = DirPart(file, style);
  const bool equal = style == PathStyle::kWindows ? EqualNoCase(file, folder) : file == folder;
  if (equal) return std::string(file);

  // Containment is tested at the start of the names: a folder name that merely occurs
  // inside another path must not cut that path.
  if (Starts(fd, dd, style)) return std::string(file.substr(dd.size()));

  if (Starts(dd, fd, style)) {
    const auto ups = std::count(dd.begin() + static_cast<std::ptrdiff_t>(fd.size()), dd.end(), sep);
    return Climb(static_cast<int>(ups), style) + std::string(file.substr(fd.size()));
  }

  if (SameRoot(dd, fd, style)) {
    if (!dd.empty() && dd.back() == sep) dd.pop_back();
    int levels = 0;
    while (!Starts(fd, dd, style) && levels < 50) {
      ++levels;
      const std::size_t at = dd.rfind(sep);
      if (at != std::string::npos) dd.resize(at);
    }
    dd.push_back(sep);
    if (Starts(file, dd, style)) return Climb(levels, style) + std::string(file.substr(dd.size()));
  }
  return std::string(file);
}

void InvertSlashes(std::string& text) { std::replace(text.begin(), text.end(), '\\', '/'); }

}  // namespace lq
