#include "engine/posix_relation.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/path_style.h"
#include "engine/paths.h"

namespace lq {
namespace {

// The folder part of a Posix name (DirPart), whose last '/' is at (or npos): up to that
// '/' when a name follows it.
std::string_view PosixDirPart(std::string_view path, std::size_t at) {
  return at == std::string_view::npos || at + 1 == path.size() ? path : path.substr(0, at + 1);
}

// n climbs and then tail, in out.
std::string_view Climbed(std::size_t n, std::string_view tail, PaddedText& out) {
  char* to = out.Resize(3 * n + tail.size());
  for (std::size_t i = 0; i < n; ++i, to += 3) std::memcpy(to, "../", 3);
  if (!tail.empty()) std::memcpy(to, tail.data(), tail.size());
  return out.view();
}

// How many bytes a and b have in common at their start.
std::size_t CommonPrefix(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t x;
    std::uint64_t y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

void PosixRelation::SetFolder(std::string_view folder) {
  folder_.assign(folder);
  dir_size_ = DirPart(folder_, PathStyle::kPosix).size();
  // The general way climbs at most 50 levels, cutting the folder part (without its last
  // separator) at its last separator each time; a part without one stays as it is.
  std::string_view dir = std::string_view(folder_).substr(0, dir_size_);
  if (!dir.empty() && dir.back() == '/') dir.remove_suffix(1);
  cuts_.assign(1, dir.size());
  for (int level = 0; level < 50; ++level) {
    const std::size_t at = dir.rfind('/');
    if (at != std::string_view::npos) dir = dir.substr(0, at);
    cuts_.push_back(dir.size());
  }
  known_ = true;
}

// One common prefix of the two folder parts answers every containment test of the general
// way.
PosixRelation::Related PosixRelation::RelateAt(std::string_view file,
                                               std::size_t last_separator) const {
  const std::string_view folder = folder_;
  const std::string_view dir = folder.substr(0, dir_size_);
  const std::string_view file_dir = PosixDirPart(file, last_separator);
  if (file == folder) return {0, 0};
  const std::size_t common = CommonPrefix(file_dir, dir);
  if (common == dir.size()) return {0, dir.size()};
  if (common == file_dir.size()) {
    const auto ups =
        std::count(dir.begin() + static_cast<std::ptrdiff_t>(file_dir.size()), dir.end(), '/');
    return {static_cast<std::size_t>(ups), file_dir.size()};
  }
  if (dir.empty() || file_dir.empty() || dir.front() != '/' || file_dir.front() != '/') {
    return {0, 0};
  }
  // The folder without its last separator, cut at a separator a level at a time (at most
  // cuts_.size() - 1 levels), until the name's folder part starts with it.
  const std::size_t shared = std::min(common, cuts_.front());
  std::size_t levels = 0;
  while (cuts_[levels] > shared && levels + 1 < cuts_.size()) ++levels;
  const std::size_t kept = cuts_[levels];
  if (kept <= shared && file.size() > kept && file[kept] == '/') return {levels, kept + 1};
  return {0, 0};
}

std::string_view PosixRelation::Relate(std::string_view file, std::size_t last_separator,
                                       PaddedText& out) const {
  const Related r = RelateAt(file, last_separator);
  if (r.climbs == 0) return file.substr(r.from);
  return Climbed(r.climbs, file.substr(r.from), out);
}

}  // namespace lq
