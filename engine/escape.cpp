#include "engine/escape.h"

#include <array>
#include <initializer_list>

#include "engine/text_helpers.h"

namespace lq {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr char kLowerHex[] = "0123456789abcdef";

// For each kind, the bytes that are not written as they are. A kind that refuses some bytes
// marks them too: the careful way then decides.
using ByteSet = std::array<bool, 256>;

constexpr ByteSet Marked(std::string_view bytes) {
  ByteSet set{};
  for (const char c : bytes) set[static_cast<unsigned char>(c)] = true;
  return set;
}

constexpr ByteSet UrlMarked() {
  ByteSet set{};
  for (int b = 0; b < 256; ++b) {
    const bool keep = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                      b == '-' || b == '.' || b == '_' || b == '~' || b == '/';
    set[static_cast<std::size_t>(b)] = !keep;
  }
  return set;
}

constexpr ByteSet JsonMarked() {
  ByteSet set{};
  for (int b = 0; b < 0x20; ++b) set[static_cast<std::size_t>(b)] = true;
  set['"'] = set['\\'] = true;
  return set;
}

// For a kind that writes some bytes as short texts of their own: each byte's text, or none.
using ByteTexts = std::array<std::string_view, 256>;
struct ByteText {
  char byte;
  std::string_view text;
};

constexpr ByteTexts Texts(std::initializer_list<ByteText> list) {
  ByteTexts texts{};
  for (const ByteText& t : list) texts[static_cast<unsigned char>(t.byte)] = t.text;
  return texts;
}

// The bytes that have a text of their own.
constexpr ByteSet MarkedBy(const ByteTexts& texts) {
  ByteSet set{};
  for (std::size_t b = 0; b < texts.size(); ++b) set[b] = !texts[b].empty();
  return set;
}

// A raw CR would be read back as LF (HTML turns CR and CR LF into LF); its reference is not.
constexpr ByteTexts kHtmlText = Texts({{'&', "&amp;"},
                                       {'<', "&lt;"},
                                       {'>', "&gt;"},
                                       {'"', "&quot;"},
                                       {'\'', "&#39;"},
                                       {'\r', "&#13;"}});
// Control bytes without a short form are written as \u00XX.
constexpr ByteTexts kJsonText = Texts({{'"', "\\\""},
                                       {'\\', "\\\\"},
                                       {'\b', "\\b"},
                                       {'\f', "\\f"},
                                       {'\n', "\\n"},
                                       {'\r', "\\r"},
                                       {'\t', "\\t"}});

constexpr ByteSet kBatchMarked = Marked("%\"\r\n");
constexpr ByteSet kHtmlMarked = MarkedBy(kHtmlText);
constexpr ByteSet kUrlMarked = UrlMarked();
constexpr ByteSet kJsonMarked = JsonMarked();
constexpr ByteSet kLineMarked = Marked("\r\n");

std::size_t FirstMarked(std::string_view value, const ByteSet& set, std::size_t from = 0) {
  for (std::size_t i = from; i < value.size(); ++i) {
    if (set[static_cast<unsigned char>(value[i])]) return i;
  }
  return std::string_view::npos;
}

// Appends value with each byte of set replaced by what escape appends for it.
template <typename Escape>
void AppendRuns(std::string& out, std::string_view value, const ByteSet& set, Escape&& escape) {
  std::size_t from = 0;
  for (std::size_t at = FirstMarked(value, set); at != std::string_view::npos;
       at = FirstMarked(value, set, from)) {
    out.append(value.data() + from, at - from);
    escape(out, static_cast<unsigned char>(value[at]));
    from = at + 1;
  }
  out.append(value.data() + from, value.size() - from);
}

bool AppendNone(std::string& out, std::string_view value) {
  out += value;
  return true;
}

bool AppendShell(std::string& out, std::string_view value) {
  std::size_t from = 0;
  for (std::size_t at = value.find('\''); at != std::string_view::npos;
       at = value.find('\'', from)) {
    out.append(value.data() + from, at - from);
    out += "'\\''";  // close the quote, an escaped quote, open again
    from = at + 1;
  }
  out.append(value.data() + from, value.size() - from);
  return true;
}

bool AppendBatch(std::string& out, std::string_view value) {
  // cmd has no escape for a quote inside quotes, and a line break ends the command.
  if (value.find_first_of("\"\r\n") != std::string_view::npos) return false;
  AppendRuns(out, value, kBatchMarked, [](std::string& o, unsigned char) { o += "%%"; });
  return true;
}

bool AppendHtml(std::string& out, std::string_view value) {
  // A page is read as UTF-8 (the samples say so): other bytes would come back as U+FFFD.
  if (!IsValidUtf8(value)) return false;
  AppendRuns(out, value, kHtmlMarked, [](std::string& o, unsigned char c) { o += kHtmlText[c]; });
  return true;
}

bool AppendUrl(std::string& out, std::string_view value) {
  AppendRuns(out, value, kUrlMarked, [](std::string& o, unsigned char c) {
    o.push_back('%');
    o.push_back(kHex[c >> 4]);
    o.push_back(kHex[c & 15]);
  });
  return true;
}

bool AppendLine(std::string& out, std::string_view value) {
  if (FirstMarked(value, kLineMarked) != std::string_view::npos) return false;
  out += value;
  return true;
}

bool AppendCsv(std::string& out, std::string_view value) {
  std::size_t from = 0;
  for (std::size_t at = value.find('"'); at != std::string_view::npos; at = value.find('"', from)) {
    out.append(value.data() + from, at + 1 - from);
    out.push_back('"');
    from = at + 1;
  }
  out.append(value.data() + from, value.size() - from);
  return true;
}

bool AppendJson(std::string& out, std::string_view value) {
  if (!IsValidUtf8(value)) return false;
  AppendRuns(out, value, kJsonMarked, [](std::string& o, unsigned char c) {
    if (!kJsonText[c].empty()) {
      o += kJsonText[c];
      return;
    }
    o += "\\u00";
    o.push_back(kLowerHex[c >> 4]);
    o.push_back(kLowerHex[c & 15]);
  });
  return true;
}

// A link target that starts with "//" names a host; "/%2F" names the same path on this one.
bool StartsAsHost(std::string_view name) {
  return name.size() >= 2 && name[0] == '/' && name[1] == '/';
}

bool AppendUrlName(std::string& out, std::string_view name) {
  if (!StartsAsHost(name)) return AppendUrl(out, name);
  out += "/%2F";
  return AppendUrl(out, name.substr(2));
}

bool IsAbsolute(std::string_view name, PathStyle style) {
  if (name.empty()) return false;
  if (name[0] == '/') return true;
  if (style != PathStyle::kWindows) return false;
  const auto c = static_cast<unsigned char>(name[0]);
  const bool drive =
      name.size() >= 2 && name[1] == ':' && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
  return name[0] == '\\' || drive;
}

// A line reader takes a line that starts with '#' for a comment, and one whose first part
// holds ':' for a URL ("http:x", "javascript:x"); "./" keeps such a relative name a file's.
bool NeedsDotSlash(std::string_view name, PathStyle style) {
  if (name.empty() || IsAbsolute(name, style)) return false;
  if (name[0] == '#') return true;
  for (const char c : name) {
    if (c == ':') return true;
    if (SplitsAt(c, style)) return false;
  }
  return false;
}

bool AppendLineName(std::string& out, std::string_view name, PathStyle style) {
  if (FirstMarked(name, kLineMarked) != std::string_view::npos) return false;
  if (NeedsDotSlash(name, style)) out += "./";
  out += name;
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
  // In the order of EscapeKind, as kEscapeWords is.
  using Append = bool (*)(std::string&, std::string_view);
  static constexpr std::array<Append, kEscapeWords.size()> kAppend = {
      AppendNone, AppendShell, AppendBatch, AppendHtml, AppendUrl,
      AppendCsv,  AppendJson,  AppendHtml,  AppendLine};
  const auto at = static_cast<std::size_t>(kind);
  return at < kAppend.size() ? kAppend[at](out, value) : AppendNone(out, value);
}

bool AppendEscapedName(std::string& out, std::string_view name, EscapeKind kind, PathStyle style) {
  switch (kind) {
    case EscapeKind::kUrl:
    case EscapeKind::kHtmlUrl:
      return AppendUrlName(out, name);
    case EscapeKind::kLine:
      return AppendLineName(out, name, style);
    default:
      return AppendEscaped(out, name, kind);
  }
}

bool WrittenAsItIs(std::string_view value, EscapeKind kind) {
  switch (kind) {
    case EscapeKind::kNone:
      return true;
    case EscapeKind::kShell:
      return value.find('\'') == std::string_view::npos;
    case EscapeKind::kBatch:
      return FirstMarked(value, kBatchMarked) == std::string_view::npos;
    case EscapeKind::kHtml:
    case EscapeKind::kHtmlUrl:
      return FirstMarked(value, kHtmlMarked) == std::string_view::npos && IsValidUtf8(value);
    case EscapeKind::kUrl:
      return FirstMarked(value, kUrlMarked) == std::string_view::npos;
    case EscapeKind::kCsv:
      return value.find('"') == std::string_view::npos;
    case EscapeKind::kJson:
      return FirstMarked(value, kJsonMarked) == std::string_view::npos && IsValidUtf8(value);
    case EscapeKind::kLine:
      return FirstMarked(value, kLineMarked) == std::string_view::npos;
  }
  return false;
}

bool NameWrittenAsItIs(std::string_view name, EscapeKind kind, PathStyle style) {
  switch (kind) {
    case EscapeKind::kUrl:
    case EscapeKind::kHtmlUrl:
      return !StartsAsHost(name) && FirstMarked(name, kUrlMarked) == std::string_view::npos;
    case EscapeKind::kLine:
      return FirstMarked(name, kLineMarked) == std::string_view::npos &&
             !NeedsDotSlash(name, style);
    default:
      return WrittenAsItIs(name, kind);
  }
}

std::string_view RefusalReason(EscapeKind kind) {
  switch (kind) {
    case EscapeKind::kBatch:
      return "a batch file cannot hold a double quote or a line break inside \"...\"";
    case EscapeKind::kJson:
      return "the name is not valid UTF-8, which a JSON text cannot hold";
    case EscapeKind::kHtml:
    case EscapeKind::kHtmlUrl:
      return "the name is not valid UTF-8, which the text of an HTML page cannot hold";
    case EscapeKind::kLine:
      return "the name holds a line break (CR or LF), which would start another entry of a "
             "line-by-line list";
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
