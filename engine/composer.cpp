#include "engine/composer.h"

#include "engine/capacities.h"
#include "engine/paths.h"
#include "engine/text_helpers.h"

namespace lq {

Composer::Composer(const ScriptSettings& settings, PathStyle style, Eol eol,
                   std::string_view header, std::string_view queue, const FileList* list)
    : settings_(settings),
      style_(style),
      eol_(eol),
      list_(list),
      header_(CompileText(CutUtf8View(header, kEditReadMax), eol)),
      queue_(CompileText(CutUtf8View(queue, kEditReadMax), eol)),
      direct_(header_, queue_, settings, style),
      writer_(header_, queue_),
      escaping_(settings.Escape != EscapeKind::kNone) {}

template <bool kEscaping>
char* Composer::WriteLine(char* room, int index, std::string_view name) {
  values_.Reset(settings_, style_, name, index);
  return writer_.Write<kEscaping>(room, header_, queue_, values_, style_);
}

template char* Composer::WriteLine<false>(char*, int, std::string_view);
template char* Composer::WriteLine<true>(char*, int, std::string_view);

void Composer::ExpandInto(std::string& out, const CompiledText& text) {
  const std::size_t start = out.size();
  const char* literals = text.literals.data();
  for (const CompiledText::Segment& s : text.segments) {
    if (s.var < 0) {
      out.append(literals + s.from, s.size);
    } else {
      out += values_.Get(s.var);
    }
  }
  if (out.size() - start <= kComposeWork) [[likely]] {
    return;
  }
  if (escaping_) {
    // A cut could leave a quote the text opened without its end.
    Refuse(values_.name(),
           "the composed text would be longer than " + std::to_string(kComposeWork) + " bytes");
    out.resize(start);
    return;
  }
  out.resize(start + CutUtf8View(std::string_view(out).substr(start), kComposeWork).size());
}

void Composer::Refuse(std::string_view name, std::string_view reason) {
  if (refusal_.ok()) refusal_ = Failure{std::string(name), kUnsafeNameCaption, std::string(reason)};
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
  ExpandInto(out, CompileText(CutUtf8View(text, kComposeWork), eol_));
  const std::string_view written = values_.Written();
  CheckValues(file_buf);
  file_buf.assign(written);
}

void Composer::AppendLine(std::string& out, int index, std::string_view name,
                          std::string& written) {
  const std::size_t start = out.size();
  values_.Reset(settings_, style_, name, index);
  ExpandInto(out, header_);
  written.assign(escaping_ ? values_.Written() : values_.RawWritten());
  out += written;
  ExpandInto(out, queue_);
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
