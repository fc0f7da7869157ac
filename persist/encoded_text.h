#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lq {

// Multi-line texts are stored on one INI line: each CR LF becomes "#ZQ_BR#" and the whole
// is wrapped in "<" ">", so blanks at either end survive the profile reader's trimming.
void EncodeText(std::string& text);
// Turns "#ZQ_BR#" back into CR LF, then drops the first and the last character unchecked.
void DecodeText(std::string& text);

// The stored form of a multi-line text. A lone CR or LF is first made CR LF, since
// EncodeText leaves it and a raw line break cannot be stored on an INI line.
std::string EncodedValue(std::string_view text);
// The text of a stored value, cut to capacity bytes without leaving half a CR LF or half a
// UTF-8 sequence.
std::string DecodedValue(std::string_view stored, std::size_t capacity);

// text cut to capacity bytes without leaving half a CR LF or half a UTF-8 sequence.
std::string_view CutHeldText(std::string_view text, std::size_t capacity);

// Room to read an encoded value whose text holds up to text_capacity bytes: every CR LF
// grows to seven bytes, plus the wrapper.
constexpr std::size_t EncodedCapacity(std::size_t text_capacity) {
  return text_capacity / 2 * 7 + text_capacity % 2 + 2;
}

}  // namespace lq
