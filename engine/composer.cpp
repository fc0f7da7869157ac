#include "engine/composer.h"

#include <algorithm>

#include "engine/capacities.h"
#include "engine/paths.h"
#include "engine/text_helpers.h"

namespace lq {

Composer::Composer(const ScriptSettings& settings, PathStyle style, std::string_view header,
                   std::string_view queue, const FileList* list)
    : settings_(settings),
      style_(style),
      list_(list),
      header_(CompileText(CutUtf8View(header, kEditReadMax), settings.Escape != EscapeKind::None)),
      queue_(CompileText(CutUtf8View(queue, kEditReadMax), settings.Escape != EscapeKind::None)),
      writer_(header_, queue_),
      escaping_(settings.Escape != EscapeKind::None) {}

template <bool kEscaping>
char* Composer::WriteLine(char* room, int index, std::string_view name) {
  // Whatever the one pass cannot promise goes the general way: a literal that could make
  // "ZQ_", a CR to take out of a value, a line to cut, a name an escaping refuses.
  if (stepwise_only_ || !header_.direct || !queue_.direct) return nullptr;
  values_.Reset(settings_, style_, name, index);
  return writer_.Write<kEscaping>(room, header_, queue_, values_, style_);
}

template char* Composer::WriteLine<false>(char*, int, std::string_view);
template char* Composer::WriteLine<true>(char*, int, std::string_view);

void Composer::ExpandStepwise(std::string& out, const CompiledText& text) {
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

void Composer::ExpandInto(std::string& out, const CompiledText& text, bool name_has_cr,
                          bool name_has_z) {
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
    for (const CompiledText::Segment& s : text.segments) {
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
      for (const CompiledText::Segment& s : text.segments) {
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
  ExpandInto(out, CompileText(CutUtf8View(text, kComposeWork), escaping_),
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

std::string Composer::WrittenNameOf(std::string_view name, int index) {
  values_.Reset(settings_, style_, name, index);
  std::string written(values_.Written());
  CheckValues(name);
  return written;
}

}  // namespace lq
