#include "engine/composer.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/capacities.h"
#include "engine/paths.h"
#include "engine/tail_scan.h"
#include "engine/text_helpers.h"

namespace lq {
namespace {

// The variable whose name starts text, or -1.
int VariableAt(std::string_view text) {
  for (std::size_t v = 0; v < kVariableNames.size(); ++v) {
    if (text.starts_with(kVariableNames[v])) return static_cast<int>(v);
  }
  return -1;
}

// Copies n bytes; src must be readable for kReadSlack bytes past n and to for as many past n.
// Most pieces of a line are short: one or two block moves beat a call to memcpy.
char* CopyPiece(char* to, const char* src, std::size_t n) {
  static_assert(kReadSlack >= 16);
  if (n <= 16) {
    std::memcpy(to, src, 16);
  } else if (n <= 32) {
    std::memcpy(to, src, 16);
    std::memcpy(to + n - 16, src + n - 16, 16);
  } else {
    std::memcpy(to, src, n);
  }
  return to + n;
}

constexpr unsigned Bit(Variable v) { return 1u << static_cast<int>(v); }
// The variables made of the last component of a name, and those made of no name at all.
constexpr unsigned kNameVariables = Bit(Variable::Name) | Bit(Variable::Ext);
constexpr unsigned kTailVariables =
    kNameVariables | Bit(Variable::GetSelIndex) | Bit(Variable::GetCount);

// An empty value may have no storage at all; CopyPiece reads this instead.
constexpr char kNothing[kReadSlack] = {};
std::string_view Readable(std::string_view v) {
  return v.empty() ? std::string_view(kNothing, 0) : v;
}

bool HoldsVariablePrefix(const char* from, const char* to) {
  return std::string_view(from, static_cast<std::size_t>(to - from)).find("ZQ_") !=
         std::string_view::npos;
}

void EraseCRsFrom(std::string& text, std::size_t from) {
  if (text.find('\r', from) == std::string::npos) return;
  text.erase(std::remove(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), '\r'),
             text.end());
}

}  // namespace

unsigned VariablesIn(std::string_view text) {
  unsigned mask = 0;
  for (std::size_t at = text.find("ZQ_"); at != std::string_view::npos;
       at = text.find("ZQ_", at + 1)) {
    const int v = VariableAt(text.substr(at));
    if (v >= 0) mask |= 1u << v;
  }
  return mask;
}

Composer::Text Composer::Compile(std::string_view body, bool strip_cr) {
  Text t;
  t.body = std::string(body);
  if (strip_cr) EraseCRsFrom(t.body, 0);
  t.vars = VariablesIn(t.body);
  std::size_t literal = 0;
  for (std::size_t at = t.body.find("ZQ_"); at != std::string::npos;) {
    const int v = VariableAt(std::string_view(t.body).substr(at));
    if (v < 0) {
      at = t.body.find("ZQ_", at + 1);
      continue;
    }
    if (at > literal) t.segments.push_back({literal, at - literal, -1});
    t.segments.push_back({at, kVariableNames[static_cast<std::size_t>(v)].size(), v});
    literal = at + kVariableNames[static_cast<std::size_t>(v)].size();
    at = t.body.find("ZQ_", literal);
  }
  if (literal < t.body.size()) t.segments.push_back({literal, t.body.size() - literal, -1});
  t.has_cr = t.body.find('\r') != std::string::npos;
  for (const Text::Segment& s : t.segments) {
    if (s.var >= 0) {
      t.var_names_size += s.size;
      ++t.uses[static_cast<std::size_t>(s.var)];
    } else {
      const std::string_view lit = std::string_view(t.body).substr(s.from, s.size);
      t.literal_size +=
          lit.size() - static_cast<std::size_t>(std::count(lit.begin(), lit.end(), '\r'));
    }
  }
  for (const Text::Segment& s : t.segments) {
    if (s.var >= 0) continue;
    const std::string_view lit = std::string_view(t.body).substr(s.from, s.size);
    if (lit.find("ZQ_") != std::string_view::npos || lit.ends_with('Z') || lit.ends_with("ZQ")) {
      t.check_always = true;
    }
  }
  t.direct = t.vars == 0 || !t.check_always;
  return t;
}

Composer::Composer(const ScriptSettings& settings, PathStyle style, std::string_view header,
                   std::string_view queue, const FileList* list)
    : settings_(settings),
      style_(style),
      list_(list),
      header_(Compile(CutUtf8View(header, kEditReadMax), settings.Escape != EscapeKind::None)),
      queue_(Compile(CutUtf8View(queue, kEditReadMax), settings.Escape != EscapeKind::None)),
      escaping_(settings.Escape != EscapeKind::None) {
  AddToLine(header_);
  line_pieces_.push_back({0, 0, kWrittenSlot});
  AddToLine(queue_);
  line_literals_.append(kReadSlack, '\0');
}

void Composer::AddToLine(const Text& text) {
  for (const Text::Segment& s : text.segments) {
    if (s.var >= 0) {
      line_pieces_.push_back({0, 0, s.var});
      continue;
    }
    // Values hold no CR when a line is written straight out, so the CRs that composing
    // removes can only come from literals: they go now, once.
    const std::size_t from = line_literals_.size();
    for (const char c : std::string_view(text.body).substr(s.from, s.size)) {
      if (c != '\r') line_literals_.push_back(c);
    }
    const std::size_t size = line_literals_.size() - from;
    if (size > 0) {
      line_pieces_.push_back(
          {static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(size), -1});
    }
  }
}

void Composer::ExpandStepwise(std::string& out, const Text& text) {
  scratch_ = text.body;
  unsigned vars = text.vars;
  for (std::size_t v = 0; vars != 0 && v < kVariableNames.size(); ++v) {
    if ((vars & (1u << v)) == 0) continue;
    ReplaceAll(scratch_, kVariableNames[v], values_.Get(static_cast<int>(v)));
    if (escaping_ && scratch_.size() > kComposeWork) {
      Refuse(values_.name(),
             "the composed text would be longer than " + std::to_string(kComposeWork) + " bytes");
      scratch_.clear();
      break;
    }
    CutUtf8(scratch_, kComposeWork);
    // Values may bring in names of later variables; those are replaced too.
    vars = VariablesIn(scratch_) & ~((2u << v) - 1);
  }
  out += scratch_;
}

void Composer::ExpandInto(std::string& out, const Text& text, bool name_has_cr, bool name_has_z) {
  const std::size_t start = out.size();
  if (text.vars == 0) {
    out += text.body;
  } else if (stepwise_only_) {
    ExpandStepwise(out, text);
  } else {
    // One pass over the compiled text gives the same bytes as replacing one variable after
    // another unless a value or a junction brings in "ZQ_" or some step outgrows the working
    // bound; those rare texts take the step-by-step way. "ZQ_" can only come from a literal
    // that holds or ends in part of it, or from a value with a 'Z'.
    const char* body = text.body.data();
    for (const Text::Segment& s : text.segments) {
      if (s.var < 0) {
        out.append(body + s.from, s.size);
      } else {
        out += values_.Get(s.var);
      }
    }
    const std::string_view added = std::string_view(out).substr(start);
    // A step can hold at most the result plus the names not yet replaced; only near the
    // bound is it worth adding up exactly.
    bool outgrows = false;
    if (added.size() + text.var_names_size > kComposeWork) {
      std::size_t bound = 0;
      for (const Text::Segment& s : text.segments) {
        bound += s.var < 0 ? s.size : std::max(values_.Get(s.var).size(), s.size);
      }
      outgrows = bound > kComposeWork;
    }
    const bool check = text.check_always || name_has_z;
    if (outgrows || (check && added.find("ZQ_") != std::string_view::npos)) {
      out.resize(start);
      ExpandStepwise(out, text);
    }
  }
  // Escaped values keep their CRs: they are part of the name.
  if (text.has_cr || (name_has_cr && text.vars != 0 && !escaping_)) EraseCRsFrom(out, start);
}

void Composer::Refuse(std::string_view name, std::string_view reason) {
  if (!refusal_) refusal_ = Failure{std::string(name), kUnsafeNameCaption, std::string(reason)};
}

void Composer::CheckValues(std::string_view name) {
  if (values_.refused()) Refuse(name, RefusalReason(values_.escape()));
}

void Composer::ComposePiece(std::string& out, std::string_view text, std::string& file_buf,
                            int index, const std::string* given) {
  if (given != nullptr) {
    file_buf = *given;
  } else if (list_ != nullptr) {
    list_->GetItem(index, file_buf);
  }
  values_.Reset(settings_, style_, file_buf, index);
  out.clear();
  ExpandInto(out, Compile(CutUtf8View(text, kComposeWork), escaping_),
             file_buf.find('\r') != std::string::npos, file_buf.find('Z') != std::string::npos);
  const std::string_view written = values_.Written();
  CheckValues(file_buf);
  file_buf.assign(written);
}

void Composer::AppendLine(std::string& out, int index, std::string_view name,
                          std::string& written) {
  const std::size_t start = out.size();
  values_.Reset(settings_, style_, name, index);
  const bool has_cr = name.find('\r') != std::string_view::npos;
  const bool has_z = name.find('Z') != std::string_view::npos;
  ExpandInto(out, header_, has_cr, has_z);
  written.clear();
  written.assign(escaping_ ? values_.Written() : values_.RawWritten());
  out += written;
  ExpandInto(out, queue_, has_cr, has_z);
  CheckValues(name);
  if (out.size() - start > kLineMax) {
    // A cut escaped line could end inside a quote the template opened.
    if (escaping_) {
      Refuse(name, "the composed line would be longer than " + std::to_string(kLineMax) +
                       " bytes, and cutting it would not be safe");
    }
    out.resize(start + CutUtf8View(std::string_view(out).substr(start), kLineMax).size());
  }
}

std::size_t Composer::ValuesSource(unsigned vars) {
  const std::string_view name = values_.name();
  if ((vars & ~kTailVariables) != 0) return 0;
  if ((vars & kNameVariables) == 0) return name.size();
  // Name and extension both lie after the last separator.
  return static_cast<std::size_t>(values_.Raw(Variable::Name).data() - name.data());
}

template <bool kEscaping>
char* Composer::WriteLine(char* room, int index, std::string_view name) {
  // Whatever the one pass cannot promise goes the general way: a literal that could make
  // "ZQ_", a CR to take out of a value, a line to cut, a name an escaping refuses.
  if (stepwise_only_ || !header_.direct || !queue_.direct) return nullptr;
  values_.Reset(settings_, style_, name, index);
  const unsigned vars = header_.vars | queue_.vars;
  // Only the part of the name that values are made of can bring a CR or a 'Z' into them.
  unsigned found;
  unsigned preset = 0;  // variables whose values are in line_values_ already
  TailMarks tail;
  if (!kEscaping && (vars & ~kTailVariables) == 0 && (vars & kNameVariables) != 0 &&
      style_ == PathStyle::Posix && FindTail(name, '/', '/', '\r', 'Z', tail)) {
    // The usual job: name and extension, and numbers, from one look at the end of the name.
    found = tail.found;
    const std::string_view copy = values_.name();
    const std::size_t start = tail.separator + 1;
    const std::size_t dot = tail.dot == std::string_view::npos ? copy.size() : tail.dot;
    line_values_[static_cast<std::size_t>(Variable::Name)] = copy.substr(start, dot - start);
    line_values_[static_cast<std::size_t>(Variable::Ext)] = Readable(copy.substr(dot));
    if ((vars & Bit(Variable::GetSelIndex)) != 0) {
      line_values_[static_cast<std::size_t>(Variable::GetSelIndex)] = values_.SelIndex();
    }
    if ((vars & Bit(Variable::GetCount)) != 0) {
      line_values_[static_cast<std::size_t>(Variable::GetCount)] = values_.Count();
    }
    preset = kTailVariables;
  } else {
    found = FindInTail(values_.given(), ValuesSource(vars), '\r', 'Z');
  }
  if ((found & 1) != 0) return nullptr;
  const bool may_spell = (found & 2) != 0;

  std::size_t header_size = header_.literal_size;
  std::size_t queue_size = queue_.literal_size;
  for (unsigned left = vars; left != 0; left &= left - 1) {
    const int v = std::countr_zero(left);
    const std::size_t at = static_cast<std::size_t>(v);
    if ((preset & (1u << v)) == 0) {
      line_values_[at] = Readable(kEscaping ? values_.Get(v) : values_.Raw(v));
    }
    const std::size_t value_size = line_values_[at].size();
    header_size += value_size * header_.uses[at];
    queue_size += value_size * queue_.uses[at];
  }
  const std::string_view written = Readable(kEscaping ? values_.Written() : values_.RawWritten());
  line_values_[kWrittenSlot] = written;
  if (kEscaping && values_.refused()) return nullptr;
  if (header_size + written.size() + queue_size > kLineMax) return nullptr;

  char* to = room;
  const char* literals = line_literals_.data();
  for (const LinePiece& p : line_pieces_) {
    if (p.slot < 0) {
      to = CopyPiece(to, literals + p.from, p.size);
    } else {
      const std::string_view v = line_values_[static_cast<std::size_t>(p.slot)];
      to = CopyPiece(to, v.data(), v.size());
    }
  }
  // A value with a 'Z' may spell "ZQ_" next to what follows it.
  char* header_end = room + header_size;
  char* queue_start = header_end + written.size();
  if (may_spell && ((header_.vars != 0 && HoldsVariablePrefix(room, header_end)) ||
                    (queue_.vars != 0 && HoldsVariablePrefix(queue_start, to)))) {
    return nullptr;
  }
  return to;
}

template char* Composer::WriteLine<false>(char*, int, std::string_view);
template char* Composer::WriteLine<true>(char*, int, std::string_view);

void Composer::LineFromName(std::string& line, std::string& file_buf, int index) {
  line.clear();
  AppendLine(line, index, file_buf, scratch_);
  file_buf.swap(scratch_);
}

void Composer::ComposeLine(std::string& line, std::string& file_buf, int index,
                           const std::string* given) {
  if (given != nullptr) {
    file_buf = *given;
  } else if (list_ != nullptr) {
    list_->GetItem(index, file_buf);
  }
  LineFromName(line, file_buf, index);
}

void Composer::ComposeLineFor(std::string& line, std::string& file_buf, int index,
                              std::string_view name) {
  file_buf.assign(name);
  LineFromName(line, file_buf, index);
}

std::string Composer::WrittenName(std::string_view full) const {
  std::string out;
  WriteFileName(out, full, settings_, style_, values_.relative_base());
  return out;
}

}  // namespace lq
