#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/capacities.h"
#include "engine/compiled_text.h"
#include "engine/direct_line.h"
#include "engine/failure.h"
#include "engine/file_list.h"
#include "engine/file_values.h"
#include "engine/line_writer.h"
#include "engine/path_style.h"
#include "engine/result.h"
#include "engine/script_settings.h"

namespace lq {

// Turns texts into output for one file at a time: replaces the variables with values taken
// from the file's name and writes the name in the form the path mode asks for. A text is
// scanned once: a value is written as its bytes are and never scanned for variables. The
// texts' own line breaks are written as eol; a value's CRs and LFs are the name's own and
// stay as they are. Holds references to the record and the list; keep both alive, and the
// record as it is, while composing.
class Composer {
 public:
  // header and queue are the per-file texts, read as the edits give them (cut to their
  // read capacity here).
  Composer(const ScriptSettings& settings, PathStyle style, Eol eol, std::string_view header,
           std::string_view queue, const FileList* list = nullptr);

  // The line break the texts' own line breaks are written as.
  Eol eol() const { return eol_; }

  // Composes text for list item index, or for given when it is not null. file_buf receives
  // the written name; when neither given nor the item exists it keeps what it held.
  void ComposePiece(std::string& out, std::string_view text, std::string& file_buf, int index,
                    const std::string* given = nullptr);

  // Composed header, written name and composed queue, cut at the line capacity.
  void ComposeLine(std::string& line, std::string& file_buf, int index,
                   const std::string* given = nullptr);
  // The same for a name that is not in the list.
  void ComposeLineFor(std::string& line, std::string& file_buf, int index, std::string_view name);
  // The room WriteLineTo needs: the longest line and what a short copy may write past it.
  static constexpr std::size_t kLineRoom = std::max(LineWriter::kRoom, DirectLine::kRoom);
  // Writes the line for name into room (kLineRoom bytes at least) and returns its end, or
  // null when the line needs the general way (ComposeLineFor): it outgrows the line
  // capacity, or the escaping refuses the name. Nothing written before the returned end is
  // then of any use; what is written is what ComposeLineFor gives.
  // Inline, so that the usual lines are written inside the caller's loop.
  [[gnu::always_inline]] char* WriteLineTo(char* room, int index, std::string_view name) {
    // Two copies, so that names written as they are pay nothing for escaping.
    if (direct_.on()) {
      char* end = escaping_ ? direct_.Write<true>(room, index, name)
                            : direct_.Write<false>(room, index, name);
      if (end != nullptr) [[likely]] {
        return end;
      }
    }
    return escaping_ ? WriteLine<true>(room, index, name) : WriteLine<false>(room, index, name);
  }

  // WriteLineTo for the lines DirectLine leaves: names written as they are, or escaped.
  template <bool kEscaping>
  char* WriteLine(char* room, int index, std::string_view name);

  // The name of item index as a line writes it: path mode, slash option and escaping. A name
  // the escaping refuses leaves its refusal for TakeRefusal.
  std::string WrittenNameOf(std::string_view name, int index);

  // Relative names are related to RelPath as seen from base, the current folder (absolute,
  // with its separator), as RelPath is; empty relates them as they are.
  void SetRelativeBase(std::string base) { values_.SetRelativeBase(std::move(base)); }

  // With an escaping kind a name may be refused: its values cannot be escaped, or its line
  // outgrows its capacity, where a cut could leave a quote open. What was composed for it
  // must then not be used; the first refusal since the last call names the file.
  bool refused() const { return !refusal_.ok(); }
  // The refusal, or success when nothing was refused.
  Status TakeRefusal() { return std::exchange(refusal_, Status()); }

 private:
  void Refuse(std::string_view name, std::string_view reason);
  // Refuses name when one of its values could not be escaped.
  void CheckValues(std::string_view name);
  void LineFromName(std::string& line, std::string& file_buf, int index);
  // Appends header, written name and queue for name; the written name also goes to written.
  void AppendLine(std::string& out, int index, std::string_view name, std::string& written);
  // Appends text composed for the current values to out, bounded by kComposeWork: cut when
  // unescaped, refused when escaped.
  void ExpandInto(std::string& out, const CompiledText& text);

  const ScriptSettings& settings_;
  PathStyle style_;
  Eol eol_;
  const FileList* list_;
  CompiledText header_;
  CompiledText queue_;
  FileValues values_;
  DirectLine direct_;  // the usual jobs: lines written straight from the name
  LineWriter writer_;  // the others: lines written straight out from the values
  std::string scratch_;
  // An escaping kind is chosen: nothing is cut, a text that does not fit is refused.
  bool escaping_ = false;
  Status refusal_;  // success until a name is refused
};

}  // namespace lq
