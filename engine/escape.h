#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lq {

// How values taken from a file's name are made safe for the text they stand in. Each kind
// escapes for the quotes the template itself writes, byte by byte, so escaping a joined value
// is the same as joining the escaped parts.
enum class EscapeKind { None, Shell, Batch, Html, Url, Csv, Json };

// The words that name the kinds in settings, templates and on the command line, in enum order.
inline constexpr std::array<std::string_view, 7> kEscapeWords = {"none", "shell", "batch", "html",
                                                                 "url",  "csv",   "json"};

std::string_view EscapeWord(EscapeKind kind);
// The kind a word names, matched ignoring case; nothing for an unknown word.
std::optional<EscapeKind> EscapeKindFromWord(std::string_view word);

// Appends value escaped for kind to out. Returns false, with out left as it was, when kind
// cannot hold value at all (batch: a double quote or a line break; json: not UTF-8).
bool AppendEscaped(std::string& out, std::string_view value, EscapeKind kind);

// True when kind writes value exactly as it is, and refuses nothing of it: the common case,
// found without building anything.
bool WrittenAsItIs(std::string_view value, EscapeKind kind);

// Why kind refused a value, for the message that names the file.
std::string_view RefusalReason(EscapeKind kind);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

}  // namespace lq
