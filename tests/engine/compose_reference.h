#pragma once

// A deliberately plain composer that Composer is checked against, in the tests and the
// fuzzer. At each position of a text it tries every variable's name in turn: the value of
// the one found is written and the scan goes on after the name, so nothing a value brings
// is ever looked at; any other byte is the text's own: a CR is dropped and an LF written as
// the line break. It shares only the split of a name into its parts (FileValues::Raw) and
// the UTF-8 cut with Composer, none of its compiling, fast paths, escaping shortcuts or
// bounds checks: the written name and the relative folder come from WriteFileName, and
// every value is escaped here, with AppendEscaped and AppendEscapedName.

#include <string>
#include <string_view>

#include "engine/capacities.h"
#include "engine/escape.h"
#include "engine/file_values.h"
#include "engine/path_style.h"
#include "engine/paths.h"
#include "engine/script_settings.h"
#include "engine/text_helpers.h"

namespace lq::test {

struct Composed {
  std::string text;
  std::string written;  // the written name, as Composer leaves it in its file buffer
  bool refused = false;
};

class ReferenceComposer {
 public:
  ReferenceComposer(const ScriptSettings& settings, PathStyle style, Eol eol,
                    std::string_view header, std::string_view queue)
      : settings_(settings),
        style_(style),
        eol_(eol),
        header_(CutUtf8View(header, kEditReadMax)),
        queue_(CutUtf8View(queue, kEditReadMax)) {}

  void SetRelativeBase(std::string base) { base_ = std::move(base); }

  // Header, written name and queue for name.
  Composed Line(std::string_view name, int index) {
    Composed out;
    values_.Reset(settings_, style_, name, index);
    std::string line = Expand(header_, out.refused);
    out.written = Written(name, out.refused);
    line += out.written;
    line += Expand(queue_, out.refused);
    if (line.size() > kLineMax) {
      if (escaping()) out.refused = true;
      CutUtf8(line, kLineMax);
    }
    out.text = std::move(line);
    return out;
  }

  // A main head or queue composed for name.
  Composed Piece(std::string_view text, std::string_view name, int index) {
    Composed out;
    values_.Reset(settings_, style_, name, index);
    out.text = Expand(CutUtf8View(text, kComposeWork), out.refused);
    out.written = Written(name, out.refused);
    return out;
  }

 private:
  bool escaping() const { return settings_.Escape != EscapeKind::kNone; }

  // The written name, escaped as a whole; empty and refused when the escaping cannot hold it.
  std::string Written(std::string_view name, bool& refused) const {
    std::string raw;
    WriteFileName(raw, name, settings_, style_, base_);
    return Escaped(raw, true, refused);
  }

  std::string Escaped(std::string_view raw, bool whole, bool& refused) const {
    if (!escaping()) return std::string(raw);
    std::string out;
    const bool held = whole ? AppendEscapedName(out, raw, settings_.Escape, style_)
                            : AppendEscaped(out, raw, settings_.Escape);
    if (held) return out;
    refused = true;
    return std::string();
  }

  // ZQ_RELPATH: the relative mode's name up to its last separator, then slashes inverted.
  std::string RelativeFolder(std::string_view name) const {
    ScriptSettings relative = settings_;
    relative.CheckIndex = CheckIndexOf(PathMode::kRelative);
    relative.InvertSlash = false;
    std::string rel;
    WriteFileName(rel, name, relative, style_, base_);
    const std::size_t at = LastSeparator(rel, style_);
    if (at != std::string::npos) rel.resize(at);
    if (settings_.InvertSlash) InvertSlashes(rel);
    return rel;
  }

  std::string Value(Variable v, bool& refused) {
    if (v >= Variable::kGetSelIndex) return std::string(values_.Raw(v));
    if (v == Variable::kRelPath) return Escaped(RelativeFolder(values_.name()), false, refused);
    return Escaped(values_.Raw(v), false, refused);
  }

  std::string Expand(std::string_view text, bool& refused) {
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
      bool found = false;
      for (std::size_t v = 0; v < kVariableNames.size(); ++v) {
        if (text.substr(at, kVariableNames[v].size()) == kVariableNames[v]) {
          out += Value(static_cast<Variable>(v), refused);
          at += kVariableNames[v].size();
          found = true;
          break;
        }
      }
      if (found) continue;
      const char c = text[at++];
      if (c == '\r') continue;
      if (c == '\n' && eol_ == Eol::kCrLf) out += '\r';
      out += c;
    }
    if (out.size() > kComposeWork) {
      if (escaping()) {
        refused = true;
        out.clear();
      }
      CutUtf8(out, kComposeWork);
    }
    return out;
  }

  const ScriptSettings& settings_;
  PathStyle style_;
  Eol eol_;
  std::string header_;
  std::string queue_;
  FileValues values_;
  std::string base_;
};

}  // namespace lq::test
