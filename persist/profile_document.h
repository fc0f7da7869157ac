#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/path_style.h"

namespace lq {

// An INI text held line by line so that a write touches one line and every other byte of
// the file, junk included, is written back exactly as it was read.
//
// Reading follows the rules files from the Windows profile functions rely on: section and
// key names match ignoring ASCII case, a value is trimmed of blanks and of one pair of
// matching quotes, the first occurrence of a key wins, lines outside any section and
// comments (';') are never keys, LF and CR LF both end a line.
class ProfileDocument {
 public:
  ProfileDocument() = default;
  // new_file_eol is the line break used when the text has none yet.
  explicit ProfileDocument(std::string_view text, Eol new_file_eol = NativeEol());

  // The stored value, cut at a NUL byte; nullopt when the key is absent.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

  // The value cut to capacity bytes without splitting a UTF-8 sequence, or fallback (cut
  // the same way) when the key is absent. A present but empty key gives "".
  std::string ReadText(std::string_view section, std::string_view key, std::string_view fallback,
                       std::size_t capacity) const;
  // The value as a decimal integer, or fallback when absent or not a number.
  std::int32_t ReadInt(std::string_view section, std::string_view key, std::int32_t fallback) const;

  // Replaces the key where it stands or adds it at the end of its section, creating the
  // section at the end of the text when needed. Values are quoted when reading them back
  // would otherwise lose blanks or quotes. False, and nothing changed, when the names or
  // the value cannot be stored on one line.
  bool Write(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;

 private:
  enum class Kind : std::uint8_t { kOther, kSection, kKey };
  enum class Break : std::uint8_t { kNone, kLf, kCrLf, kCr };
  struct Line {
    std::string text;  // without its line break
    Break brk = Break::kNone;
    Kind kind = Kind::kOther;
    // Section name or key name, then the unquoted value, as offsets into text.
    std::size_t name_begin = 0, name_end = 0, value_begin = 0, value_end = 0;
  };

  static Line Classify(std::string text, Break brk, bool first);
  std::string_view Name(const Line& line) const;
  // Index of the first line holding key in a section named section, or npos.
  std::size_t FindLine(std::string_view section, std::string_view key) const;
  Break NewLineBreak() const;

  std::vector<Line> lines_;
  Break eol_ = Break::kLf;
};

// Decimal text with an optional sign, blanks around it ignored; nullopt for anything else,
// including values outside the 32-bit range.
std::optional<std::int32_t> ParseProfileInt(std::string_view text);

}  // namespace lq
