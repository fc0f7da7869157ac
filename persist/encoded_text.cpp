#include "persist/encoded_text.h"

#include "engine/text_helpers.h"

namespace lq {
namespace {

constexpr std::string_view kBreak = "\r\n";
constexpr std::string_view kEscape = "#ZQ_BR#";

}  // namespace

void EncodeText(std::string& text) {
  ReplaceAll(text, kBreak, kEscape);
  text.insert(text.begin(), '<');
  text += '>';
}

void DecodeText(std::string& text) {
  ReplaceAll(text, kEscape, kBreak);
  if (!text.empty()) text.erase(text.begin());
  if (!text.empty()) text.pop_back();
}

std::string EncodedValue(std::string_view text) {
  std::string held;
  held.reserve(text.size() + 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      held += kBreak;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      held += kBreak;
    } else {
      held += c;
    }
  }
  EncodeText(held);
  return held;
}

std::string_view CutHeldText(std::string_view text, std::size_t capacity) {
  if (text.size() <= capacity) return text;
  text = CutUtf8View(text, capacity);
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  return text;
}

std::string DecodedValue(std::string_view stored, std::size_t capacity) {
  std::string text(stored);
  DecodeText(text);
  if (text.size() > capacity) text = std::string(CutHeldText(text, capacity));
  return text;
}

}  // namespace lq
