#include "persist/profile_encoding.h"

#include <cstdint>

#include "engine/escape.h"

namespace lq {
namespace {

constexpr std::string_view kLeMark = "\xFF\xFE";
constexpr std::string_view kBeMark = "\xFE\xFF";

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUnit(std::string& out, std::uint32_t unit, bool big_endian) {
  const char hi = static_cast<char>(unit >> 8);
  const char lo = static_cast<char>(unit & 0xFF);
  out.push_back(big_endian ? hi : lo);
  out.push_back(big_endian ? lo : hi);
}

}  // namespace

TextEncoding DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with(kLeMark)) return TextEncoding::kUtf16Le;
  if (bytes.starts_with(kBeMark)) return TextEncoding::kUtf16Be;
  return TextEncoding::kUtf8;
}

std::optional<std::string> DecodeProfileBytes(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::kUtf8) return std::string(bytes);
  bytes.remove_prefix(2);
  if (bytes.size() % 2 != 0) return std::nullopt;
  const bool big = encoding == TextEncoding::kUtf16Be;
  const auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return big ? (std::uint32_t{a} << 8 | b) : (std::uint32_t{b} << 8 | a);
  };
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    std::uint32_t cp = unit(i);
    if (cp >= 0xDC00 && cp <= 0xDFFF) return std::nullopt;  // a low half alone
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (i + 2 >= bytes.size()) return std::nullopt;
      const std::uint32_t low = unit(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
      cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::optional<std::string> EncodeProfileText(std::string_view text, TextEncoding encoding) {
  if (encoding == TextEncoding::kUtf8) return std::string(text);
  if (!IsValidUtf8(text)) return std::nullopt;
  const bool big = encoding == TextEncoding::kUtf16Be;
  std::string out(big ? kBeMark : kLeMark);
  out.reserve(2 + text.size() * 2);
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    std::uint32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; k < n; ++k)
      cp = cp << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += n;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      AppendUnit(out, 0xD800 + (cp >> 10), big);
      AppendUnit(out, 0xDC00 + (cp & 0x3FF), big);
    } else {
      AppendUnit(out, cp, big);
    }
  }
  return out;
}

}  // namespace lq
