#include "engine/composer.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "engine/capacities.h"
#include "engine/paths.h"
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

// A number's text, kept beside the other values of one file.
struct NumberText {
  char buf[24];
  std::size_t size = 0;
};

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

// The values of one file, each worked out the first time a text asks for it.
class Composer::Values {
 public:
  Values(const Composer& c, std::string_view name, int index) : c_(c), name_(name), index_(index) {}

  std::string_view Get(int v) {
    switch (static_cast<Variable>(v)) {
      case Variable::Drive:
        return Parts().drive;
      case Variable::Path:
        return Directory();
      case Variable::Name:
        return Parts().name;
      case Variable::Ext:
        return Parts().extension;
      case Variable::RelPath:
        return RelDir();
      case Variable::GetSelIndex:
        return Number(sel_index_, index_ + 1LL);
      case Variable::GetCount:
        return Number(count_, index_);
    }
    return {};
  }

 private:
  const PathPartViews& Parts() {
    if (!parts_) parts_ = SplitPathViews(name_, c_.style_);
    return *parts_;
  }
  std::string_view Directory() {
    if (!c_.settings_.InvertSlash) return Parts().directory;
    if (!inverted_dir_) {
      inverted_dir_ = std::string(Parts().directory);
      InvertSlashes(*inverted_dir_);
    }
    return *inverted_dir_;
  }
  std::string_view RelDir() {
    if (!rel_dir_) {
      std::string rel = MakeRelativePath(name_, c_.settings_.RelPath, c_.style_);
      const std::size_t at = LastSeparator(rel, c_.style_);
      if (at != std::string::npos) rel.resize(at);
      if (c_.settings_.InvertSlash) InvertSlashes(rel);
      rel_dir_ = std::move(rel);
    }
    return *rel_dir_;
  }
  static std::string_view Number(std::optional<NumberText>& slot, long long n) {
    if (!slot) {
      slot.emplace();
      slot->size = static_cast<std::size_t>(
          std::to_chars(slot->buf, slot->buf + sizeof slot->buf, n).ptr - slot->buf);
    }
    return std::string_view(slot->buf, slot->size);
  }

  const Composer& c_;
  std::string_view name_;
  long long index_;
  std::optional<PathPartViews> parts_;
  std::optional<std::string> inverted_dir_;
  std::optional<std::string> rel_dir_;
  std::optional<NumberText> sel_index_;
  std::optional<NumberText> count_;
};

Composer::Text Composer::Compile(std::string_view body) {
  Text t;
  t.body = std::string(body);
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
    if (s.var >= 0) t.var_names_size += s.size;
  }
  for (const Text::Segment& s : t.segments) {
    if (s.var >= 0) continue;
    const std::string_view lit = std::string_view(t.body).substr(s.from, s.size);
    if (lit.find("ZQ_") != std::string_view::npos || lit.ends_with('Z') || lit.ends_with("ZQ")) {
      t.check_always = true;
    }
  }
  return t;
}

Composer::Composer(const ScriptSettings& settings, PathStyle style, std::string_view header,
                   std::string_view queue, const FileList* list)
    : settings_(settings),
      style_(style),
      list_(list),
      header_(Compile(CutUtf8View(header, kEditReadMax))),
      queue_(Compile(CutUtf8View(queue, kEditReadMax))) {}

void Composer::ExpandStepwise(std::string& out, const Text& text, Values& values) {
  scratch_ = text.body;
  unsigned vars = text.vars;
  for (std::size_t v = 0; vars != 0 && v < kVariableNames.size(); ++v) {
    if ((vars & (1u << v)) == 0) continue;
    ReplaceAll(scratch_, kVariableNames[v], values.Get(static_cast<int>(v)));
    CutUtf8(scratch_, kComposeWork);
    // Values may bring in names of later variables; those are replaced too.
    vars = VariablesIn(scratch_) & ~((2u << v) - 1);
  }
  out += scratch_;
}

void Composer::ExpandInto(std::string& out, const Text& text, Values& values, bool name_has_cr,
                          bool name_has_z) {
  const std::size_t start = out.size();
  if (text.vars == 0) {
    out += text.body;
  } else if (stepwise_only_) {
    ExpandStepwise(out, text, values);
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
        out += values.Get(s.var);
      }
    }
    const std::string_view added = std::string_view(out).substr(start);
    // A step can hold at most the result plus the names not yet replaced; only near the
    // bound is it worth adding up exactly.
    bool outgrows = false;
    if (added.size() + text.var_names_size > kComposeWork) {
      std::size_t bound = 0;
      for (const Text::Segment& s : text.segments) {
        bound += s.var < 0 ? s.size : std::max(values.Get(s.var).size(), s.size);
      }
      outgrows = bound > kComposeWork;
    }
    const bool check = text.check_always || name_has_z;
    if (outgrows || (check && added.find("ZQ_") != std::string_view::npos)) {
      out.resize(start);
      ExpandStepwise(out, text, values);
    }
  }
  if (text.has_cr || (name_has_cr && text.vars != 0)) EraseCRsFrom(out, start);
}

void Composer::ComposePiece(std::string& out, std::string_view text, std::string& file_buf,
                            int index, const std::string* given) {
  if (given != nullptr) {
    file_buf = *given;
  } else if (list_ != nullptr) {
    list_->GetItem(index, file_buf);
  }
  const std::string name = file_buf;
  Values values(*this, name, index);
  out.clear();
  ExpandInto(out, Compile(CutUtf8View(text, kComposeWork)), values,
             name.find('\r') != std::string::npos, name.find('Z') != std::string::npos);
  file_buf.clear();
  WriteName(file_buf, name);
}

void Composer::AppendLine(std::string& out, int index, std::string_view name,
                          std::string* written) {
  const std::size_t start = out.size();
  Values values(*this, name, index);
  const bool has_cr = name.find('\r') != std::string_view::npos;
  const bool has_z = name.find('Z') != std::string_view::npos;
  ExpandInto(out, header_, values, has_cr, has_z);
  if (written != nullptr) {
    written->clear();
    WriteName(*written, name);
    out += *written;
  } else {
    WriteName(out, name);
  }
  ExpandInto(out, queue_, values, has_cr, has_z);
  if (out.size() - start > kLineMax) {
    out.resize(start + CutUtf8View(std::string_view(out).substr(start), kLineMax).size());
  }
}

void Composer::LineFromName(std::string& line, std::string& file_buf, int index) {
  line.clear();
  AppendLine(line, index, file_buf, &scratch_);
  file_buf.swap(scratch_);
}

void Composer::AppendLineFor(std::string& out, int index, std::string_view name) {
  AppendLine(out, index, name, nullptr);
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

void Composer::WriteName(std::string& out, std::string_view full) const {
  const std::size_t start = out.size();
  switch (EffectiveMode(settings_.CheckIndex)) {
    case kModeRelative:
      out += MakeRelativePath(full, settings_.RelPath, style_);
      break;
    case kModeName:
      out += AfterLastSeparator(full, style_);
      break;
    case kModeNone:
      break;
    case kModeFull:
      out += full;
      break;
  }
  if (settings_.InvertSlash)
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '\\', '/');
}

std::string Composer::WrittenName(std::string_view full) const {
  std::string out;
  WriteName(out, full);
  return out;
}

}  // namespace lq
