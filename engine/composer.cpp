#include "engine/composer.h"

#include <optional>

#include "engine/capacities.h"
#include "engine/paths.h"
#include "engine/text_helpers.h"

namespace lq {

unsigned VariablesIn(std::string_view text) {
  unsigned mask = 0;
  for (std::size_t at = text.find("ZQ_"); at != std::string_view::npos;
       at = text.find("ZQ_", at + 1)) {
    const std::string_view rest = text.substr(at);
    for (std::size_t v = 0; v < kVariableNames.size(); ++v) {
      if (rest.starts_with(kVariableNames[v])) mask |= 1u << v;
    }
  }
  return mask;
}

// The values of one file, each worked out the first time a text asks for it.
class Composer::Values {
 public:
  Values(const Composer& c, std::string_view name, int index) : c_(c), name_(name), index_(index) {}

  std::string_view Get(Variable v) {
    switch (v) {
      case Variable::Drive:
        return Parts().drive;
      case Variable::Path:
        return Parts().directory;
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
  const PathParts& Parts() {
    if (!parts_) {
      parts_ = SplitPath(name_, c_.style_);
      if (c_.settings_.InvertSlash) InvertSlashes(parts_->directory);
    }
    return *parts_;
  }
  const std::string& RelDir() {
    if (!rel_dir_) {
      std::string rel = MakeRelativePath(name_, c_.settings_.RelPath, c_.style_);
      const std::size_t at = LastSeparator(rel, c_.style_);
      if (at != std::string::npos) rel.resize(at);
      if (c_.settings_.InvertSlash) InvertSlashes(rel);
      rel_dir_ = std::move(rel);
    }
    return *rel_dir_;
  }
  static const std::string& Number(std::optional<std::string>& slot, long long n) {
    if (!slot) slot = IntToText(n);
    return *slot;
  }

  const Composer& c_;
  std::string_view name_;
  int index_;
  std::optional<PathParts> parts_;
  std::optional<std::string> rel_dir_;
  std::optional<std::string> sel_index_;
  std::optional<std::string> count_;
};

Composer::Composer(const ScriptSettings& settings, PathStyle style, std::string_view header,
                   std::string_view queue, const FileList* list)
    : settings_(settings), style_(style), list_(list) {
  header_.body = std::string(CutUtf8View(header, kEditReadMax));
  header_.vars = VariablesIn(header_.body);
  queue_.body = std::string(CutUtf8View(queue, kEditReadMax));
  queue_.vars = VariablesIn(queue_.body);
}

bool Composer::TakeName(std::string& file_buf, int index, const std::string* given) const {
  if (given != nullptr) {
    file_buf = *given;
    return true;
  }
  return list_ != nullptr && list_->GetItem(index, file_buf);
}

void Composer::Expand(std::string& out, const Text& text, Values& values) {
  out = text.body;
  unsigned vars = text.vars;
  for (std::size_t v = 0; vars != 0 && v < kVariableNames.size(); ++v) {
    if ((vars & (1u << v)) == 0) continue;
    ReplaceAll(out, kVariableNames[v], values.Get(static_cast<Variable>(v)));
    CutUtf8(out, kComposeWork);
    // Values may bring in names of later variables; those are replaced too.
    vars = VariablesIn(out) & ~((2u << v) - 1);
  }
  if (out.find('\r') != std::string::npos) StripCR(out);
}

void Composer::ComposePiece(std::string& out, std::string_view text, std::string& file_buf,
                            int index, const std::string* given) {
  TakeName(file_buf, index, given);
  const std::string name = file_buf;
  Values values(*this, name, index);
  Text t{std::string(CutUtf8View(text, kComposeWork)), 0};
  t.vars = VariablesIn(t.body);
  Expand(out, t, values);
  file_buf = WrittenName(name);
}

void Composer::ComposeLine(std::string& line, std::string& file_buf, int index,
                           const std::string* given) {
  TakeName(file_buf, index, given);
  Values values(*this, file_buf, index);
  Expand(line, header_, values);
  Expand(piece_, queue_, values);
  scratch_ = WrittenName(file_buf);
  file_buf.swap(scratch_);
  line += file_buf;
  line += piece_;
  CutUtf8(line, kLineMax);
}

std::string Composer::WrittenName(std::string_view full) const {
  std::string out;
  switch (EffectiveMode(settings_.CheckIndex)) {
    case kModeRelative:
      out = MakeRelativePath(full, settings_.RelPath, style_);
      break;
    case kModeName:
      out = AfterLastSeparator(full, style_);
      break;
    case kModeNone:
      break;
    case kModeFull:
      out = full;
      break;
  }
  if (settings_.InvertSlash) InvertSlashes(out);
  return out;
}

}  // namespace lq
