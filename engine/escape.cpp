#include "engine/escape.h"

#include "engine/text_helpers.h"

namespace lq {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr char kLowerHex[] = "0123456789abcdef";

bool UrlUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

void AppendShell(std::string& out, std::string_view value) {
  for (const char c : value) {
    if (c == '\'') {
      out += "'\\''";  // close the quote, an escaped quote, open again
    } else {
      out.push_back(c);
    }
  }
}

bool AppendBatch(std::string& out, std::string_view value) {
  // cmd has no escape for a quote inside quotes, and a line break ends the command.
  if (value.find_first_of("\"\r\n") != std::string_view::npos) return false;
  for (const char c : value) {
    if (c == '%') out.push_back('%');
    out.push_back(c);
  }
  return true;
}

void AppendHtml(std::string& out, std::string_view value) {
  for (const char c : value) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out.push_back(c);
    }
  }
}

void AppendUrl(std::string& out, std::string_view value) {
  for (const char c : value) {
    const auto b = static_cast<unsigned char>(c);
    if (UrlUnreserved(b)) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
    }
  }
}

void AppendCsv(std::string& out, std::string_view value) {
  for (const char c : value) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
}

bool AppendJson(std::string& out, std::string_view value) {
  if (!IsValidUtf8(value)) return false;
  for (const char c : value) {
    const auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (b < 0x20) {
          out += "\\u00";
          out.push_back(kLowerHex[b >> 4]);
          out.push_back(kLowerHex[b & 15]);
        } else {
          out.push_back(c);
        }
    }
  }
  return true;
}

}  // namespace

std::string_view EscapeWord(EscapeKind kind) {
  const auto at = static_cast<std::size_t>(kind);
  return at < kEscapeWords.size() ? kEscapeWords[at] : kEscapeWords[0];
}

std::optional<EscapeKind> EscapeKindFromWord(std::string_view word) {
  for (std::size_t i = 0; i < kEscapeWords.size(); ++i) {
    if (EqualNoCase(word, kEscapeWords[i])) return static_cast<EscapeKind>(i);
  }
  return std::nullopt;
}

bool AppendEscaped(std::string& out, std::string_view value, EscapeKind kind) {
  switch (kind) {
    case EscapeKind::None:
      out += value;
      return true;
    case EscapeKind::Shell:
      AppendShell(out, value);
      return true;
    case EscapeKind::Batch:
      return AppendBatch(out, value);
    case EscapeKind::Html:
      AppendHtml(out, value);
      return true;
    case EscapeKind::Url:
      AppendUrl(out, value);
      return true;
    case EscapeKind::Csv:
      AppendCsv(out, value);
      return true;
    case EscapeKind::Json:
      return AppendJson(out, value);
  }
  out += value;
  return true;
}

std::string_view RefusalReason(EscapeKind kind) {
  switch (kind) {
    case EscapeKind::Batch:
      return "a batch file cannot hold a double quote or a line break inside \"...\"";
    case EscapeKind::Json:
      return "the name is not valid UTF-8, which a JSON text cannot hold";
    default:
      return "the name cannot be written safely";
  }
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t n = 0;
    unsigned lo = 0x80;
    unsigned hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;  // the sequence runs past the end
    for (std::size_t k = 1; k <= n; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if (d < (k == 1 ? lo : 0x80u) || d > (k == 1 ? hi : 0xBFu)) return false;
    }
    i += n + 1;
  }
  return true;
}

}  // namespace lq
