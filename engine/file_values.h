#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/escape.h"
#include "engine/padded_text.h"
#include "engine/path_style.h"
#include "engine/paths.h"
#include "engine/posix_relation.h"
#include "engine/script_settings.h"

namespace lq {

// The template variables; their order is that of the tables that list them.
enum class Variable { kDrive, kPath, kName, kExt, kRelPath, kGetSelIndex, kGetCount };
inline constexpr std::array<std::string_view, 7> kVariableNames = {
    "ZQ_DRIVE", "ZQ_PATH", "ZQ_NAME", "ZQ_EXT", "ZQ_RELPATH", "ZQ_GETSELINDEX", "ZQ_GETCOUNT"};

// A number's decimal text. Lines are numbered one after another, so the text of the next
// number is usually the last one with its final digit raised.
class DecimalText {
 public:
  std::string_view For(long long n) {
    if (!known_ || n != value_) {
      if (!(known_ && value_ >= 0 && n == value_ + 1 && Increment())) Write(n);
      value_ = n;
      known_ = true;
    }
    return std::string_view(buf_, size_);
  }

 private:
  bool Increment() {
    for (std::size_t i = size_; i-- > 0;) {
      if (buf_[i] != '9') {
        ++buf_[i];
        return true;
      }
      buf_[i] = '0';
    }
    return false;  // all nines: one digit more, written anew
  }
  void Write(long long n);

  char buf_[24 + kReadSlack] = {};
  std::size_t size_ = 0;
  long long value_ = 0;
  bool known_ = false;
};

// The name as the path mode and slash option write it. base is the folder relative names
// are taken from when they are related to RelPath (empty: as they are).
void WriteFileName(std::string& out, std::string_view full, const ScriptSettings& settings,
                   PathStyle style, std::string_view base = {});

// The values of one file's variables, each worked out the first time it is asked for.
// Reused from file to file so its storage is allocated once.
class FileValues {
 public:
  // settings must stay alive until the next Reset.
  void Reset(const ScriptSettings& settings, PathStyle style, std::string_view name,
             long long index) {
    settings_ = &settings;
    style_ = style;
    index_ = index;
    name_.Assign(name);
    given_ = name;
    parts_known_ = inverted_dir_known_ = rel_dir_known_ = written_known_ = false;
    escaped_known_ = 0;
  }

  // The value of v, escaped as the settings ask; an escaping that cannot hold the value
  // gives it empty and marks the file as refused.
  std::string_view Get(Variable v) {
    if (settings_->Escape == EscapeKind::kNone || v >= Variable::kGetSelIndex) [[likely]] {
      return Raw(v);
    }
    // The parts of a name the escaping writes as it is are written as they are too: they are
    // its bytes cut at separators and dots (a slash for an inverted backslash, which no kind
    // escapes). The relative folder may hold bytes of other names.
    if (v != Variable::kRelPath && NamePlain()) return Raw(v);
    return Escaped(static_cast<std::size_t>(v), Raw(v));
  }
  // Whether the escaping writes the whole name as it is, and refuses nothing of it.
  bool NamePlain() {
    if ((escaped_known_ & kPlainKnownBit) == 0) {
      escaped_known_ |= kPlainKnownBit;
      if (WrittenAsItIs(name(), settings_->Escape)) escaped_known_ |= kPlainBit;
    }
    return (escaped_known_ & kPlainBit) != 0;
  }
  // The value as the name gives it, never escaped.
  std::string_view Raw(Variable v) {
    switch (v) {
      case Variable::kDrive:
        return Parts().drive;
      case Variable::kPath:
        return settings_->InvertSlash ? InvertedDirectory() : Parts().directory;
      case Variable::kName:
        return Parts().name;
      case Variable::kExt:
        return Parts().extension;
      case Variable::kRelPath:
        return RelDir();
      case Variable::kGetSelIndex:
        return SelIndex();
      case Variable::kGetCount:
        return Count();
    }
    return {};
  }
  // The numbers, without the choice of a variable.
  std::string_view SelIndex() { return sel_index_.For(index_ + 1); }
  std::string_view Count() { return count_.For(index_); }
  std::string_view Get(int v) { return Get(static_cast<Variable>(v)); }
  std::string_view Raw(int v) { return Raw(static_cast<Variable>(v)); }
  std::string_view name() const { return name_.view(); }
  // The name as Reset was given it, for looking into while the caller keeps it: the copy
  // was just written, and reading it at once would wait on those stores.
  std::string_view given() const { return given_; }
  // The written name (WriteFileName), escaped as the settings ask.
  std::string_view Written() {
    if (settings_->Escape != EscapeKind::kNone) [[unlikely]] {
      const std::string_view raw = RawWritten();
      // Kinds that escape a whole name as any value pass a plain name's bytes as they are.
      const EscapeKind kind = settings_->Escape;
      if (kind != EscapeKind::kUrl && kind != EscapeKind::kHtmlUrl && kind != EscapeKind::kLine &&
          (raw.empty() || (InName(raw) && NamePlain()))) {
        return raw;
      }
      return Escaped(kWrittenSlot, raw);
    }
    return RawWritten();
  }
  std::string_view RawWritten() {
    if (!written_known_) {
      if (settings_->CheckIndex == CheckIndexOf(PathMode::kFull) && !settings_->InvertSlash) {
        written_view_ = name();  // the usual case, without a call
        written_known_ = true;
      } else {
        FindWritten();
      }
    }
    return written_view_;
  }
  // Relative names are related to RelPath from this folder (an absolute one, with its
  // separator); kept from file to file.
  void SetRelativeBase(std::string base);

  // Whether an escaping could not hold a value asked for since Reset.
  bool refused() const { return (escaped_known_ & kRefusedBit) != 0; }
  EscapeKind escape() const { return settings_->Escape; }

 private:
  static constexpr std::size_t kWrittenSlot = static_cast<std::size_t>(Variable::kGetSelIndex);
  // In escaped_known_ beside the slots' bits, so that Reset clears both in one store.
  static constexpr unsigned kRefusedBit = 1u << 31;
  static constexpr unsigned kPlainKnownBit = 1u << 30;
  static constexpr unsigned kPlainBit = 1u << 29;
  // A view of bytes of the name's copy, which therefore begins and ends where a separator, a
  // dot or the name does.
  bool InName(std::string_view v) const {
    const std::string_view n = name_.view();
    // std::less_equal: its order holds between unrelated pointers too.
    const std::less_equal<const char*> before;
    return before(n.data(), v.data()) && before(v.data() + v.size(), n.data() + n.size());
  }
  std::string_view Escaped(std::size_t slot, std::string_view raw);
  const PathPartViews& Parts() {
    if (!parts_known_) {
      SplitPathViews(given_, style_, parts_);
      parts_.drive = InCopy(parts_.drive);
      parts_.directory = InCopy(parts_.directory);
      parts_.name = InCopy(parts_.name);
      parts_.extension = InCopy(parts_.extension);
      parts_known_ = true;
    }
    return parts_;
  }
  // A view into the given name as the same bytes of the copy.
  std::string_view InCopy(std::string_view v) const {
    return v.data() == nullptr
               ? v
               : std::string_view(name_.view().data() + (v.data() - given_.data()), v.size());
  }
  std::string_view InvertedDirectory();
  std::string_view RelDir();
  void FindWritten();
  // The relative mode's name of name(), before any slash is inverted, found on views for a
  // Posix name that is absolute, or tidy when it is joined to the current folder. False when
  // only the general way (WriteFileName) can tell.
  bool FastRelative(std::string_view& out);

  const ScriptSettings* settings_ = nullptr;
  PathStyle style_ = PathStyle::kPosix;
  long long index_ = 0;
  PaddedText name_;
  std::string_view given_;
  PathPartViews parts_;
  bool parts_known_ = false;
  PaddedText inverted_dir_;
  bool inverted_dir_known_ = false;
  PaddedText rel_dir_;
  bool rel_dir_known_ = false;
  PaddedText written_;
  std::string_view written_view_;
  bool written_known_ = false;
  std::string scratch_;
  DecimalText sel_index_;
  DecimalText count_;
  // The name's values escaped, slot by variable, the written name in kWrittenSlot; a view of
  // the value itself when nothing in it needs escaping.
  std::array<PaddedText, kWrittenSlot + 1> escaped_;
  std::array<std::string_view, kWrittenSlot + 1> escaped_view_;
  unsigned escaped_known_ = 0;
  std::string base_;
  // base_ is absolute, ends in a separator and is tidy (lexically normal), so a tidy
  // relative name joined to it is tidy too.
  bool base_tidy_ = false;
  PosixRelation relation_;  // RelPath as FastRelative last saw it
  PaddedText related_;      // a relative name joined to base_
  PaddedText relative_;     // a climbing relative name
};

}  // namespace lq
