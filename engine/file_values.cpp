#include "engine/file_values.h"

#include <algorithm>
#include <charconv>

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

}  // namespace

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
  base_tidy_ = HostPathStyle() == PathStyle::kPosix && !base_.empty() && base_.front() == '/' &&
               base_.back() == '/' && ToText(ToPath(base_).lexically_normal()) == base_;
}

bool FileValues::FastRelative(std::string_view& out) {
  const std::string_view file = name();
  if (style_ != PathStyle::kPosix || file.empty()) return false;
  if (!relation_.Knows(settings_->RelPath)) relation_.SetFolder(settings_->RelPath);
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
  const std::string_view written = relation_.Relate(related, last, relative_);
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
