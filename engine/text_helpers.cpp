#include "engine/text_helpers.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "engine/escape.h"
#ifdef __GLIBC__
#include <string.h>  // memrchr
#endif

namespace lq {
namespace {

constexpr bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

constexpr char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string_view CutUtf8ViewLong(std::string_view text, std::size_t max_bytes) {
  // The character that does not fit is dropped whole: back off to its lead byte, at most
  // three bytes, and only when a whole sequence starts there. Bytes that are no UTF-8 are
  // cut where they fall, so no run of them can eat the text.
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  if (!IsContinuation(text[max_bytes])) return text.substr(0, max_bytes);
  for (std::size_t back = 1; back <= 3 && back <= max_bytes; ++back) {
    const unsigned char c = byte(max_bytes - back);
    if (IsContinuation(static_cast<char>(c))) continue;
    const std::size_t length = c >= 0xC2 && c <= 0xDF   ? 2
                               : c >= 0xE0 && c <= 0xEF ? 3
                               : c >= 0xF0 && c <= 0xF4 ? 4
                                                        : 0;
    if (length <= back || max_bytes - back + length > text.size()) break;
    for (std::size_t k = back + 1; k < length; ++k) {
      if (!IsContinuation(text[max_bytes - back + k])) return text.substr(0, max_bytes);
    }
    return text.substr(0, max_bytes - back);
  }
  return text.substr(0, max_bytes);
}

void CutUtf8(std::string& text, std::size_t max_bytes) {
  if (text.size() > max_bytes) text.resize(CutUtf8View(text, max_bytes).size());
}

std::string ShowInvalidBytes(std::string_view text, std::string (*bad_byte)(unsigned char)) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + 16);
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t size = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (i + size <= text.size() && IsValidUtf8(text.substr(i, size))) {
      out.append(text.substr(i, size));
      i += size;
    } else {
      out += bad_byte(lead);
      ++i;
    }
  }
  return out;
}

bool ReplaceFirst(std::string& text, std::string_view pattern, std::string_view value) {
  if (text.empty() || pattern.empty()) return false;
  const std::size_t at = text.find(pattern);
  if (at == std::string::npos) return false;
  text.replace(at, pattern.size(), value);
  return true;
}

std::size_t ReplaceAll(std::string& text, std::string_view pattern, std::string_view value) {
  if (pattern.empty()) return 0;
  std::size_t at = text.find(pattern);
  if (at == std::string::npos) return 0;
  std::string out;
  out.reserve(text.size() + value.size());
  std::size_t from = 0;
  std::size_t count = 0;
  do {
    out.append(text, from, at - from);
    out.append(value);
    from = at + pattern.size();
    ++count;
    at = text.find(pattern, from);
  } while (at != std::string::npos);
  out.append(text, from, std::string::npos);
  text.swap(out);
  return count;
}

std::size_t FindNoCase(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return 0;
  auto it = std::search(text.begin(), text.end(), pattern.begin(), pattern.end(),
                        [](char a, char b) { return Lower(a) == Lower(b); });
  return it == text.end() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// Non-zero when a byte of word equals the byte repeated in pattern.
constexpr std::uint64_t HasByte(std::uint64_t word, std::uint64_t pattern) {
  const std::uint64_t x = word ^ pattern;
  return (x - kOnes) & ~x & kHighs;
}

std::uint64_t Load(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

}  // namespace

std::size_t FindLastOfEither(std::string_view text, char a, char b) {
#ifdef __GLIBC__
  if (a == b) {
    const void* at = text.empty() ? nullptr : memrchr(text.data(), a, text.size());
    return at == nullptr ? std::string_view::npos
                         : static_cast<std::size_t>(static_cast<const char*>(at) - text.data());
  }
#endif
  const std::uint64_t pa = kOnes * static_cast<unsigned char>(a);
  const std::uint64_t pb = kOnes * static_cast<unsigned char>(b);
  std::size_t end = text.size();
  while (end >= 8) {
    const std::uint64_t word = Load(text.data() + end - 8);
    if ((HasByte(word, pa) | HasByte(word, pb)) != 0) break;
    end -= 8;
  }
  for (std::size_t i = end; i > 0; --i) {
    if (text[i - 1] == a || text[i - 1] == b) return i - 1;
  }
  return std::string_view::npos;
}

void StripCR(std::string& text) { std::erase(text, '\r'); }

std::string IntToText(long long n) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, n);
  return std::string(buf, res.ptr);
}

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace lq
