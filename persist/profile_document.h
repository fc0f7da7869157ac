#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/path_style.h"

namespace lq {

// An INI text held whole, so that a write touches one line and every other byte of the
// file, junk included, is written back exactly as it was read. Lines are found by scanning
// the text when asked, never stored one by one, so reading costs time in the text's size and
// no memory beyond it however many lines it has.
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
  // The same document, taking over text instead of copying it.
  static ProfileDocument Adopt(std::string text, Eol new_file_eol = NativeEol());

  // The stored value, cut at a NUL byte; nullopt when the key is absent.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
  // What Find gives for each of keys, in their order, found in one pass over the text:
  // callers reading many keys of a section ask for them together.
  std::vector<std::optional<std::string_view>> FindAll(
      std::string_view section, std::span<const std::string_view> keys) const;

  // The value cut to capacity bytes without splitting a UTF-8 sequence, or fallback (cut
  // the same way) when the key is absent. A present but empty key gives "".
  std::string ReadText(std::string_view section, std::string_view key, std::string_view fallback,
                       std::size_t capacity) const;
  // The value as a decimal integer, or fallback when absent or not a number.
  std::int32_t ReadInt(std::string_view section, std::string_view key, std::int32_t fallback) const;
  // ReadText and ReadInt of a value Find or FindAll gave.
  static std::string TextOf(std::optional<std::string_view> value, std::string_view fallback,
                            std::size_t capacity);
  static std::int32_t IntOf(std::optional<std::string_view> value, std::int32_t fallback);

  // Replaces the key where it stands or adds it at the end of its section, creating the
  // section at the end of the text when needed. Values are quoted when reading them back
  // would otherwise lose blanks or quotes. False, and nothing changed, when the names or
  // the value cannot be stored on one line.
  bool Write(std::string_view section, std::string_view key, std::string_view value);

  const std::string& Text() const { return text_; }

 private:
  std::string_view NewLineBreak() const;

  std::string text_;
  bool crlf_ = false;  // new lines end in CR LF, else LF
};

// Decimal text with an optional sign, blanks around it ignored; nullopt for anything else,
// including values outside the 32-bit range.
std::optional<std::int32_t> ParseProfileInt(std::string_view text);

}  // namespace lq
