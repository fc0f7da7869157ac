#include "engine/file_values.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "engine/path_text.h"
#include "engine/tail_scan.h"

namespace lq {

void DecimalText::Write(long long n) {
  size_ = static_cast<std::size_t>(std::to_chars(buf_, buf_ + 24, n).ptr - buf_);
}

namespace {

// No empty, "." or ".." component: joined to a tidy folder, such a name is already tidy.
bool TidyPosixName(std::string_view name) {
  bool component_start = true;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (component_start) {
      if (c == '/') return false;
      if (c == '.') {
        std::size_t j = i + 1;
        if (j < name.size() && name[j] == '.') ++j;
        if (j == name.size() || name[j] == '/') return false;
      }
    }
    component_start = c == '/';
  }
  return true;
}

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

// MakeRelativePath for the Posix style on views, with what it works out of the folder found
// once: file (its last '/' at last_separator) related to the folder; file itself when no
// relative form is found. A climbing result is built in out; any other is a view into file.
// One common prefix of the two folder parts answers every containment test of the general
// way.
std::string_view FileValues::RelatePosix(std::string_view file, std::size_t last_separator,
                                         PaddedText& out) const {
  const std::string_view folder = rel_folder_;
  const std::string_view dir = folder.substr(0, rel_dir_size_);
  const std::string_view file_dir = PosixDirPart(file, last_separator);
  if (file == folder) return file;
  const std::size_t common = CommonPrefix(file_dir, dir);
  if (common == dir.size()) return file.substr(dir.size());
  if (common == file_dir.size()) {
    const auto ups =
        std::count(dir.begin() + static_cast<std::ptrdiff_t>(file_dir.size()), dir.end(), '/');
    return Climbed(static_cast<std::size_t>(ups), file.substr(file_dir.size()), out);
  }
  if (dir.empty() || file_dir.empty() || dir.front() != '/' || file_dir.front() != '/') return file;
  // The folder without its last separator, cut at a separator a level at a time (at most
  // rel_cuts_.size() - 1 levels), until the name's folder part starts with it.
  const std::size_t shared = std::min(common, rel_cuts_.front());
  std::size_t levels = 0;
  while (rel_cuts_[levels] > shared && levels + 1 < rel_cuts_.size()) ++levels;
  const std::size_t kept = rel_cuts_[levels];
  if (kept <= shared && file.size() > kept && file[kept] == '/') {
    return Climbed(levels, file.substr(kept + 1), out);
  }
  return file;
}

void WriteFileName(std::string& out, std::string_view full, const ScriptSettings& settings,
                   PathStyle style, std::string_view base) {
  const std::size_t start = out.size();
  switch (EffectiveMode(settings.CheckIndex)) {
    case PathMode::kRelative: {
      // An empty item names no file: made absolute it would name the current folder.
      if (full.empty()) break;
      const std::string related = AbsoluteForRelating(full, base, style);
      const std::string written = MakeRelativePath(related, settings.RelPath, style);
      // A name that relates to nothing is written as it was given.
      out += written == related ? std::string(full) : written;
      break;
    }
    case PathMode::kName:
      out += AfterLastSeparator(full, style);
      break;
    case PathMode::kNone:
      break;
    case PathMode::kFull:
      out += full;
      break;
  }
  if (settings.InvertSlash)
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '\\', '/');
}

std::string_view FileValues::InvertedDirectory() {
  if (!inverted_dir_known_) {
    const std::string_view dir = Parts().directory;
    inverted_dir_.Assign(dir);
    std::replace(inverted_dir_.data(), inverted_dir_.data() + dir.size(), '\\', '/');
    inverted_dir_known_ = true;
  }
  return inverted_dir_.view();
}

void FileValues::SetRelativeBase(std::string base) {
  base_ = std::move(base);
  base_tidy_ = HostPathStyle() == PathStyle::Posix && !base_.empty() && base_.front() == '/' &&
               base_.back() == '/' && ToText(ToPath(base_).lexically_normal()) == base_;
}

void FileValues::KnowRelFolder() {
  if (rel_known_ && settings_->RelPath == rel_folder_) return;
  rel_folder_ = settings_->RelPath;
  rel_dir_size_ = DirPart(rel_folder_, PathStyle::Posix).size();
  // The general way climbs at most 50 levels, cutting the folder part (without its last
  // separator) at its last separator each time; a part without one stays as it is.
  std::string_view dir = std::string_view(rel_folder_).substr(0, rel_dir_size_);
  if (!dir.empty() && dir.back() == '/') dir.remove_suffix(1);
  rel_cuts_.assign(1, dir.size());
  for (int level = 0; level < 50; ++level) {
    const std::size_t at = dir.rfind('/');
    if (at != std::string_view::npos) dir = dir.substr(0, at);
    rel_cuts_.push_back(dir.size());
  }
  rel_known_ = true;
}

bool FileValues::FastRelative(std::string_view& out) {
  const std::string_view file = name();
  if (style_ != PathStyle::Posix || file.empty()) return false;
  KnowRelFolder();
  // The name as given is looked at: its copy was just written (see given()).
  TailMarks tail;
  std::size_t last = FindPosixTail(given_, tail) ? tail.separator : given_.rfind('/');
  std::string_view related = file;
  if (file.front() != '/' && !base_.empty() && style_ == HostPathStyle()) {
    // Joined to the current folder, which needs no tidying when both are tidy.
    if (!base_tidy_ || !TidyPosixName(file)) return false;
    related_.AssignJoined(base_, file);
    related = related_.view();
    last = last == std::string_view::npos ? base_.size() - 1 : base_.size() + last;
  }
  const std::string_view written = RelatePosix(related, last, relative_);
  // A name that relates to nothing is written as it was given.
  out = written == related ? file : written;
  return true;
}

std::string_view FileValues::RelDir() {
  if (!rel_dir_known_) {
    if (std::string_view fast; FastRelative(fast)) {
      const std::size_t at = fast.rfind('/');
      rel_dir_.Assign(at == std::string_view::npos ? fast : fast.substr(0, at));
      if (settings_->InvertSlash) {
        const std::string_view dir = rel_dir_.view();
        std::replace(rel_dir_.data(), rel_dir_.data() + dir.size(), '\\', '/');
      }
      rel_dir_known_ = true;
      return rel_dir_.view();
    }
    const std::string related =
        name().empty() ? std::string() : AbsoluteForRelating(name(), base_, style_);
    std::string rel =
        related.empty() ? std::string() : MakeRelativePath(related, settings_->RelPath, style_);
    if (rel == related && related != name()) rel.assign(name());
    const std::size_t at = LastSeparator(rel, style_);
    if (at != std::string::npos) rel.resize(at);
    if (settings_->InvertSlash) InvertSlashes(rel);
    rel_dir_.Assign(rel);
    rel_dir_known_ = true;
  }
  return rel_dir_.view();
}

std::string_view FileValues::Escaped(std::size_t slot, std::string_view raw) {
  if ((escaped_known_ & (1u << slot)) == 0) {
    escaped_known_ |= 1u << slot;
    // The written name is a whole name, which some kinds escape as such.
    const bool whole = slot == kWrittenSlot;
    const EscapeKind kind = settings_->Escape;
    if (whole ? NameWrittenAsItIs(raw, kind, style_) : WrittenAsItIs(raw, kind)) {
      escaped_view_[slot] = raw;  // raw has the slack every value has
    } else {
      scratch_.clear();
      if (!(whole ? AppendEscapedName(scratch_, raw, kind, style_)
                  : AppendEscaped(scratch_, raw, kind))) {
        escaped_known_ |= kRefusedBit;
        scratch_.clear();
      }
      escaped_[slot].Assign(scratch_);
      escaped_view_[slot] = escaped_[slot].view();
    }
  }
  return escaped_view_[slot];
}

void FileValues::FindWritten() {
  const PathMode mode = EffectiveMode(settings_->CheckIndex);
  if (mode == PathMode::kNone) {
    written_view_ = {};
  } else if (!settings_->InvertSlash && mode == PathMode::kFull) {
    written_view_ = name();
  } else if (!settings_->InvertSlash && mode == PathMode::kName) {
    written_view_ = AfterLastSeparator(name(), style_);
  } else if (std::string_view fast; mode == PathMode::kRelative && FastRelative(fast)) {
    if (settings_->InvertSlash) {
      written_.Assign(fast);
      std::replace(written_.data(), written_.data() + fast.size(), '\\', '/');
      written_view_ = written_.view();
    } else {
      written_view_ = fast;
    }
  } else {
    scratch_.clear();
    WriteFileName(scratch_, name(), *settings_, style_, base_);
    written_.Assign(scratch_);
    written_view_ = written_.view();
  }
  written_known_ = true;
}

}  // namespace lq
