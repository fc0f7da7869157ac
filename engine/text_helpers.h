#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/path_style.h"

namespace lq {

// Shortens text to at most max_bytes without splitting a UTF-8 sequence.
void CutUtf8(std::string& text, std::size_t max_bytes);
// CutUtf8View for a text longer than max_bytes.
std::string_view CutUtf8ViewLong(std::string_view text, std::size_t max_bytes);
inline std::string_view CutUtf8View(std::string_view text, std::size_t max_bytes) {
  return text.size() <= max_bytes ? text : CutUtf8ViewLong(text, max_bytes);
}

// text with each byte that is not part of a valid UTF-8 sequence replaced by
// bad_byte(byte): for showing names whose bytes Loomquill keeps as they are.
std::string ShowInvalidBytes(std::string_view text, std::string (*bad_byte)(unsigned char));

// Replaces the first case-sensitive occurrence; false when there is none.
bool ReplaceFirst(std::string& text, std::string_view pattern, std::string_view value);

// Replaces every occurrence, searching on after each inserted value so that a value
// holding the pattern itself cannot make the replacement run forever. Returns the count.
std::size_t ReplaceAll(std::string& text, std::string_view pattern, std::string_view value);

// Position of pattern in text with ASCII letters compared in lower case, or npos.
std::size_t FindNoCase(std::string_view text, std::string_view pattern);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EqualNoCase(std::string_view a, std::string_view b);

// Position of the last byte that is a or b, or npos; eight bytes at a time, since every
// composed line looks for the last separator of its file's name.
std::size_t FindLastOfEither(std::string_view text, char a, char b);
void StripCR(std::string& text);
std::string IntToText(long long n);

// Typed texts are held with CR LF: a bare LF becomes CR LF, an existing CR LF stays.
std::string ToCrLf(std::string_view text);

}  // namespace lq
