#include "engine/paths.h"

#include <algorithm>

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

std::string Part(std::string_view v, PathStyle style) {
  std::string s(v);
  if (style == PathStyle::Windows) CutUtf8(s, kWindowsPartMax);
  return s;
}

bool Starts(std::string_view text, std::string_view prefix, PathStyle style) {
  return style == PathStyle::Windows ? StartsWithNoCase(text, prefix) : text.starts_with(prefix);
}

bool SameRoot(std::string_view dd, std::string_view fd, PathStyle style) {
  if (dd.empty() || fd.empty()) return false;
  if (style == PathStyle::Posix) return dd[0] == '/' && fd[0] == '/';
  return dd.size() > 1 && dd[1] == ':' && EqualNoCase(dd.substr(0, 1), fd.substr(0, 1));
}

std::string Climb(int levels, PathStyle style) {
  const std::string_view up = style == PathStyle::Windows ? "..\\" : "../";
  std::string out;
  for (int i = 0; i < levels; ++i) out.append(up);
  return out;
}

}  // namespace

std::size_t LastSeparator(std::string_view path, PathStyle style) {
  return path.rfind(Separator(style));
}

std::string_view AfterLastSeparator(std::string_view path, PathStyle style) {
  const std::size_t at = LastSeparator(path, style);
  return at == std::string_view::npos ? path : path.substr(at + 1);
}

PathParts SplitPath(std::string_view path, PathStyle style) {
  if (style == PathStyle::Windows) path = CutUtf8View(path, kWindowsPathMax);
  PathParts parts;
  std::size_t start = 0;
  if (style == PathStyle::Windows && HasDrive(path)) {
    parts.drive.assign(path.substr(0, 2));
    start = 2;
  }
  std::size_t last_sep = std::string_view::npos;
  for (std::size_t i = path.size(); i > start; --i) {
    if (SplitsAt(path[i - 1], style)) {
      last_sep = i - 1;
      break;
    }
  }
  std::size_t tail = start;
  if (last_sep != std::string_view::npos) {
    parts.directory = Part(path.substr(start, last_sep + 1 - start), style);
    tail = last_sep + 1;
  }
  const std::string_view rest = path.substr(tail);
  const std::size_t dot = rest.rfind('.');
  if (dot == std::string_view::npos) {
    parts.name = Part(rest, style);
  } else {
    parts.name = Part(rest.substr(0, dot), style);
    parts.extension = Part(rest.substr(dot), style);
  }
  return parts;
}

std::string DirPart(std::string_view path, PathStyle style) {
  // A name that is all extension (".config") still names a file or folder of its own.
  const PathParts parts = SplitPath(path, style);
  const std::size_t at = LastSeparator(path, style);
  if ((!parts.name.empty() || !parts.extension.empty()) && at != std::string_view::npos) {
    return std::string(path.substr(0, at + 1));
  }
  return std::string(path);
}

std::string MakeRelativePath(std::string_view file, std::string_view folder, PathStyle style) {
  const char sep = Separator(style);
  std::string dd = DirPart(folder, style);
  const std::string fd = DirPart(file, style);
  const bool equal = style == PathStyle::Windows ? EqualNoCase(file, folder) : file == folder;
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
