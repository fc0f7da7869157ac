#include "persist/profile_document.h"

#include <algorithm>
#include <limits>

#include "engine/newline_finder.h"
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

enum class Kind : std::uint8_t { kOther, kSection, kKey };

// One line of the text, as offsets into it.
struct Line {
  std::size_t begin = 0;  // where the line starts
  std::size_t end = 0;    // where its body ends, before the line break
  std::size_t next = 0;   // where the next line starts
  Kind kind = Kind::kOther;
  // Section name or key name, then the unquoted value.
  std::size_t name_begin = 0, name_end = 0, value_begin = 0, value_end = 0;

  bool HasBreak() const { return next > end; }
};

std::string_view Slice(std::string_view text, std::size_t begin, std::size_t end) {
  return text.substr(begin, end - begin);
}

void Classify(std::string_view text, Line& line) {
  line.kind = Kind::kOther;
  const std::string_view t = text.substr(0, line.end);
  std::size_t begin = line.begin;
  if (begin == 0 && t.starts_with(kBom)) begin = kBom.size();
  std::size_t end = line.end;
  Trim(t, begin, end);
  if (begin == end || t[begin] == ';') return;
  if (t[begin] == '[') {
    const std::size_t close = t.find(']', begin + 1);
    if (close == std::string_view::npos) return;
    std::size_t name_begin = begin + 1, name_end = close;
    Trim(t, name_begin, name_end);
    line.kind = Kind::kSection;
    line.name_begin = name_begin;
    line.name_end = name_end;
    return;
  }
  const std::size_t eq = t.find('=', begin);
  if (eq == std::string_view::npos) return;
  std::size_t name_end = eq;
  Trim(t, begin, name_end);
  if (begin == name_end) return;
  std::size_t value_begin = eq + 1, value_end = line.end;
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
}

// The lines of a text, split at CR LF, LF or a lone CR as the Windows profile readers split
// them. The line feeds come from a NewlineFinder (SSE2 masks, a few instructions a line) and
// the next CR is kept from line to line, so the text costs one sweep for each however short
// its lines are: no search of its own per line.
class LineScanner {
 public:
  explicit LineScanner(std::string_view text)
      : text_(text), feeds_(text), cr_(text.find('\r')), lf_(feeds_.Next()) {}

  bool Next(Line& line) {
    if (pos_ >= text_.size()) return false;
    if (cr_ < pos_) cr_ = text_.find('\r', pos_);
    while (lf_ < pos_) lf_ = feeds_.Next();
    line.begin = pos_;
    const std::size_t brk = std::min(cr_, lf_);
    if (brk == std::string_view::npos) {
      line.end = line.next = text_.size();
    } else {
      line.end = brk;
      const bool crlf = text_[brk] == '\r' && brk + 1 < text_.size() && text_[brk + 1] == '\n';
      line.next = brk + (crlf ? 2 : 1);
    }
    pos_ = line.next;
    Classify(text_, line);
    return true;
  }

 private:
  std::string_view text_;
  NewlineFinder feeds_;
  std::size_t pos_ = 0;
  std::size_t cr_, lf_;  // the next CR and LF at or after pos_, or npos
};

std::string_view NameOf(std::string_view text, const Line& line) {
  return Slice(text, line.name_begin, line.name_end);
}

// The first line holding key in a section named section.
std::optional<Line> FindKeyLine(std::string_view text, std::string_view section,
                                std::string_view key) {
  bool in_section = false;
  LineScanner lines(text);
  Line line;
  while (lines.Next(line)) {
    if (line.kind == Kind::kSection) {
      in_section = EqualNoCase(NameOf(text, line), section);
    } else if (in_section && line.kind == Kind::kKey && EqualNoCase(NameOf(text, line), key)) {
      return line;
    }
  }
  return std::nullopt;
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view text, Eol new_file_eol)
    : ProfileDocument(Adopt(std::string(text), new_file_eol)) {}

ProfileDocument ProfileDocument::Adopt(std::string text, Eol new_file_eol) {
  ProfileDocument doc;
  // New lines get CR LF or LF, as the first line break has it: a lone CR is kept where it
  // stands, never added.
  const std::size_t brk = text.find_first_of("\r\n");
  doc.crlf_ = brk == std::string::npos ? new_file_eol == Eol::kCrLf : text[brk] == '\r';
  doc.text_ = std::move(text);
  return doc;
}

std::vector<std::optional<std::string_view>> ProfileDocument::FindAll(
    std::string_view section, std::span<const std::string_view> keys) const {
  std::vector<std::optional<std::string_view>> values(keys.size());
  std::size_t missing = keys.size();
  bool in_section = false;
  LineScanner lines(text_);
  Line line;
  while (missing > 0 && lines.Next(line)) {
    if (line.kind == Kind::kSection) {
      in_section = EqualNoCase(NameOf(text_, line), section);
      continue;
    }
    if (!in_section || line.kind != Kind::kKey) continue;
    const std::string_view name = NameOf(text_, line);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      // The sizes first: most lines are no key asked for, and that costs no call.
      if (values[i] || name.size() != keys[i].size() || !EqualNoCase(name, keys[i])) continue;
      // Values end at a NUL, as they did in the character buffers these files were made for.
      const std::string_view value = Slice(text_, line.value_begin, line.value_end);
      values[i] = value.substr(0, value.find('\0'));
      --missing;
    }
  }
  return values;
}

std::optional<std::string_view> ProfileDocument::Find(std::string_view section,
                                                      std::string_view key) const {
  return FindAll(section, std::span(&key, 1)).front();
}

std::string ProfileDocument::TextOf(std::optional<std::string_view> value,
                                    std::string_view fallback, std::size_t capacity) {
  return std::string(CutUtf8View(value ? *value : fallback, capacity));
}

std::int32_t ProfileDocument::IntOf(std::optional<std::string_view> value, std::int32_t fallback) {
  if (!value) return fallback;
  return ParseProfileInt(*value).value_or(fallback);
}

std::string ProfileDocument::ReadText(std::string_view section, std::string_view key,
                                      std::string_view fallback, std::size_t capacity) const {
  return TextOf(Find(section, key), fallback, capacity);
}

std::int32_t ProfileDocument::ReadInt(std::string_view section, std::string_view key,
                                      std::int32_t fallback) const {
  return IntOf(Find(section, key), fallback);
}

std::string_view ProfileDocument::NewLineBreak() const { return crlf_ ? "\r\n" : "\n"; }

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

  if (const std::optional<Line> at = FindKeyLine(text_, section, key)) {
    text_.replace(at->name_end, at->end - at->name_end, "=" + stored);
    return true;
  }

  std::string key_line(key);
  key_line += '=';
  key_line += stored;
  key_line += NewLineBreak();

  // After the last line of the first such section that is not blank, so the blank lines that
  // set the next section apart stay where they are.
  std::optional<Line> last;
  LineScanner lines(text_);
  Line line;
  while (lines.Next(line)) {
    if (!last) {
      if (line.kind == Kind::kSection && EqualNoCase(NameOf(text_, line), section)) last = line;
    } else if (line.kind == Kind::kSection) {
      break;
    } else if (!IsBlankLine(Slice(text_, line.begin, line.end))) {
      last = line;
    }
  }
  if (last) {
    // Only the text's last line can lack a break.
    if (!last->HasBreak()) text_ += NewLineBreak();
    text_.insert(last->HasBreak() ? last->next : text_.size(), key_line);
    return true;
  }

  if (!text_.empty() && text_.back() != '\n' && text_.back() != '\r') text_ += NewLineBreak();
  text_ += '[';
  text_ += section;
  text_ += ']';
  text_ += NewLineBreak();
  text_ += key_line;
  return true;
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
