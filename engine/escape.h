#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/path_style.h"

namespace lq {

// How values taken from a file's name are made safe for the text they stand in. Each kind
// escapes a variable's value for the quotes the template itself writes, byte by byte, so
// escaping a joined value is the same as joining the escaped parts. The written name is
// escaped as a whole (AppendEscapedName): html-url makes it a link target, line guards its
// start. New kinds go at the end: the window's menu ids follow this order.
enum class EscapeKind { kNone, kShell, kBatch, kHtml, kUrl, kCsv, kJson, kHtmlUrl, kLine };

// The words that name the kinds in settings, templates and on the command line, in enum order.
inline constexpr std::array<std::string_view, 9> kEscapeWords = {
    "none", "shell", "batch", "html", "url", "csv", "json", "html-url", "line"};

std::string_view EscapeWord(EscapeKind kind);
// The kind a word names, matched ignoring case; nothing for an unknown word.
std::optional<EscapeKind> EscapeKindFromWord(std::string_view word);

// Appends a variable's value escaped for kind to out. Returns false, with out left as it was,
// when kind cannot hold value at all (batch: a double quote or a line break; html, html-url
// and json: not UTF-8; line: a line break).
bool AppendEscaped(std::string& out, std::string_view value, EscapeKind kind);

// The same for the written name, a whole name in style: url and html-url write it as a link
// target that stays on this host, line writes a relative name a reader could take for a
// comment or a URL as ./name; the other kinds as AppendEscaped.
bool AppendEscapedName(std::string& out, std::string_view name, EscapeKind kind, PathStyle style);

// True when kind writes value exactly as it is, and refuses nothing of it: the common case,
// found without building anything.
bool WrittenAsItIs(std::string_view value, EscapeKind kind);
bool NameWrittenAsItIs(std::string_view name, EscapeKind kind, PathStyle style);

// Why kind refused a value, for the message that names the file.
std::string_view RefusalReason(EscapeKind kind);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

}  // namespace lq
