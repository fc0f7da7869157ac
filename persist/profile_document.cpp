#include "persist/profile_document.h"

#include <algorithm>
#include <limits>

#include "engine/text_helpers.h"

namespace lq {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Narrows [begin, end) of text to exclude surrounding blanks.
void Trim(std::string_view text, std::size_t& begin, std::size_t& end) {
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool IsBlankLine(std::string_view text) { return std::all_of(text.begin(), text.end(), IsBlank); }

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool ValidSection(std::string_view name) {
  return !name.empty() && !HasLineBreakOrNul(name) && name.find(']') == std::string_view::npos &&
         !IsBlank(name.front()) && !IsBlank(name.back());
}

bool ValidKey(std::string_view key) {
  return !key.empty() && !HasLineBreakOrNul(key) && key.find('=') == std::string_view::npos &&
         key.front() != '[' && key.front() != ';' && !IsBlank(key.front()) && !IsBlank(key.back());
}

// Reading trims blanks and one pair of quotes, so such values are stored inside quotes.
bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return false;
  if (IsBlank(value.front()) || IsBlank(value.back())) return true;
  return value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back();
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view text, Eol new_file_eol)
    : eol_(new_file_eol == Eol::CrLf ? Break::kCrLf : Break::kLf) {
  bool eol_known = false;
  std::size_t start = 0;
  while (start < text.size()) {
    // Lines end at CR LF, LF or a lone CR, as the Windows profile readers split them.
    const std::size_t end = text.find_first_of("\r\n", start);
    std::string_view body;
    Break brk = Break::kNone;
    if (end == std::string_view::npos) {
      body = text.substr(start);
      start = text.size();
    } else {
      body = text.substr(start, end - start);
      if (text[end] == '\n') {
        brk = Break::kLf;
        start = end + 1;
      } else if (end + 1 < text.size() && text[end + 1] == '\n') {
        brk = Break::kCrLf;
        start = end + 2;
      } else {
        brk = Break::kCr;
        start = end + 1;
      }
      // New lines get CR LF or LF: a lone CR is kept where it stands, never added.
      if (!eol_known) {
        eol_ = brk == Break::kLf ? Break::kLf : Break::kCrLf;
        eol_known = true;
      }
    }
    lines_.push_back(Classify(std::string(body), brk, lines_.empty()));
  }
}

ProfileDocument::Line ProfileDocument::Classify(std::string text, Break brk, bool first) {
  Line line;
  line.text = std::move(text);
  line.brk = brk;
  const std::string_view t = line.text;
  std::size_t begin = (first && t.starts_with(kBom)) ? kBom.size() : 0;
  std::size_t end = t.size();
  Trim(t, begin, end);
  if (begin == end || t[begin] == ';') return line;
  if (t[begin] == '[') {
    const std::size_t close = t.find(']', begin + 1);
    if (close == std::string_view::npos) return line;
    std::size_t name_begin = begin + 1, name_end = close;
    Trim(t, name_begin, name_end);
    line.kind = Kind::kSection;
    line.name_begin = name_begin;
    line.name_end = name_end;
    return line;
  }
  const std::size_t eq = t.find('=', begin);
  if (eq == std::string_view::npos) return line;
  std::size_t name_end = eq;
  Trim(t, begin, name_end);
  if (begin == name_end) return line;
  std::size_t value_begin = eq + 1, value_end = t.size();
  Trim(t, value_begin, value_end);
  if (value_end - value_begin >= 2 && IsQuote(t[value_begin]) &&
      t[value_begin] == t[value_end - 1]) {
    ++value_begin;
    --value_end;
  }
  line.kind = Kind::kKey;
  line.name_begin = begin;
  line.name_end = name_end;
  line.value_begin = value_begin;
  line.value_end = value_end;
  return line;
}

std::string_view ProfileDocument::Name(const Line& line) const {
  return std::string_view(line.text).substr(line.name_begin, line.name_end - line.name_begin);
}

std::size_t ProfileDocument::FindLine(std::string_view section, std::string_view key) const {
  bool in_section = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::kSection) {
      in_section = EqualNoCase(Name(line), section);
    } else if (in_section && line.kind == Kind::kKey && EqualNoCase(Name(line), key)) {
      return i;
    }
  }
  return std::string::npos;
}

std::optional<std::string_view> ProfileDocument::Find(std::string_view section,
                                                      std::string_view key) const {
  const std::size_t i = FindLine(section, key);
  if (i == std::string::npos) return std::nullopt;
  const Line& line = lines_[i];
  std::string_view value =
      std::string_view(line.text).substr(line.value_begin, line.value_end - line.value_begin);
  // Values end at a NUL, as they did in the character buffers these files were made for.
  return value.substr(0, value.find('\0'));
}

std::string ProfileDocument::ReadText(std::string_view section, std::string_view key,
                                      std::string_view fallback, std::size_t capacity) const {
  const std::optional<std::string_view> value = Find(section, key);
  return std::string(CutUtf8View(value ? *value : fallback, capacity));
}

std::int32_t ProfileDocument::ReadInt(std::string_view section, std::string_view key,
                                      std::int32_t fallback) const {
  const std::optional<std::string_view> value = Find(section, key);
  if (!value) return fallback;
  return ParseProfileInt(*value).value_or(fallback);
}

ProfileDocument::Break ProfileDocument::NewLineBreak() const { return eol_; }

bool ProfileDocument::Write(std::string_view section, std::string_view key,
                            std::string_view value) {
  if (!ValidSection(section) || !ValidKey(key) || HasLineBreakOrNul(value)) return false;
  std::string stored;
  if (NeedsQuotes(value)) {
    stored.reserve(value.size() + 2);
    stored += '"';
    stored += value;
    stored += '"';
  } else {
    stored = value;
  }

  const std::size_t at = FindLine(section, key);
  if (at != std::string::npos) {
    Line& line = lines_[at];
    std::string text = line.text.substr(0, line.name_end);
    text += '=';
    text += stored;
    lines_[at] = Classify(std::move(text), line.brk, at == 0);
    return true;
  }

  std::string key_line(key);
  key_line += '=';
  key_line += stored;

  std::size_t header = std::string::npos;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::kSection && EqualNoCase(Name(lines_[i]), section)) {
      header = i;
      break;
    }
  }
  if (header != std::string::npos) {
    // After the last line of the section that is not blank, so the blank lines that set
    // the next section apart stay where they are.
    std::size_t next = header + 1;
    while (next < lines_.size() && lines_[next].kind != Kind::kSection) ++next;
    std::size_t pos = next;
    while (pos > header + 1 && IsBlankLine(lines_[pos - 1].text)) --pos;
    if (lines_[pos - 1].brk == Break::kNone) lines_[pos - 1].brk = NewLineBreak();
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(pos),
                  Classify(std::move(key_line), NewLineBreak(), false));
    return true;
  }

  if (!lines_.empty() && lines_.back().brk == Break::kNone) lines_.back().brk = NewLineBreak();
  std::string header_line = "[";
  header_line += section;
  header_line += ']';
  lines_.push_back(Classify(std::move(header_line), NewLineBreak(), lines_.empty()));
  lines_.push_back(Classify(std::move(key_line), NewLineBreak(), false));
  return true;
}

std::string ProfileDocument::Text() const {
  std::size_t size = 0;
  for (const Line& line : lines_) size += line.text.size() + 2;
  std::string out;
  out.reserve(size);
  for (const Line& line : lines_) {
    out += line.text;
    if (line.brk == Break::kCrLf) out += "\r\n";
    if (line.brk == Break::kLf) out += '\n';
    if (line.brk == Break::kCr) out += '\r';
  }
  return out;
}

std::optional<std::int32_t> ParseProfileInt(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  Trim(text, begin, end);
  text = text.substr(begin, end - begin);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const std::int64_t limit =
      negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
               : std::numeric_limits<std::int32_t>::max();
  std::int64_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
    if (n > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -n : n);
}

}  // namespace lq
