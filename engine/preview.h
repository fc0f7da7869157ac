#pragma once

#include <string>
#include <vector>

#include "engine/composer.h"
#include "engine/file_list.h"
#include "engine/path_style.h"
#include "engine/script_settings.h"

namespace lq {

// The items a preview composes: enough to judge the output by, few enough that composing
// stays quick whatever the length of the list.
inline constexpr int kPreviewItems = 200;

struct PreviewPiece {
  enum class Kind {
    kOutput,   // bytes exactly as Create writes them
    kRefused,  // why a name cannot be written, in place of its line (or of a main text)
    kMore,     // how many items were left out
    kEmpty,    // the list is empty: the notice Create would show
  };
  Kind kind;
  std::string text;
};

struct Preview {
  std::vector<PreviewPiece> pieces;
  int items = 0;     // in the list
  int composed = 0;  // of them, composed
  // Where the texts' quotes do not fit the escaping (QuoteWarnings): shown above the lines,
  // never among them, so that the lines stay what Create writes.
  std::vector<std::string> warnings;
  // Every piece's text, in order.
  std::string Text() const;
};

// What Create would write now, for at most the first `limit` items: the main head, their
// lines, a note of how many more there are, and the main queue, which describes the whole
// list as in the file. The texts' line breaks, and those ending the notes, are the
// composer's eol. Where Create would stop at a refused name, the preview shows the reason in
// place of that text and goes on. Composes with composer, made for settings and list, the
// way Create does.
Preview ComposePreview(Composer& composer, const ScriptSettings& settings, const FileList& list,
                       int limit = kPreviewItems);

}  // namespace lq
