#pragma once

#include <string>

#include "engine/composer.h"
#include "engine/failure.h"
#include "engine/file_list.h"
#include "engine/path_style.h"
#include "engine/result.h"
#include "engine/script_settings.h"
#include "engine/text_file.h"

namespace lq {

// Composes the output as names arrive: the main head (for the first name), one line per
// name, and the main queue once all have come.
class OutputComposer {
 public:
  OutputComposer(Composer& composer, const ScriptSettings& settings, TextFileWriter& out)
      : composer_(composer),
        settings_(settings),
        out_(out),
        keep_last_(VariablesIn(settings.MainQueue) != 0) {}

  // Fails when the name is refused (see Composer::TakeRefusal): add no more, and abandon
  // what was written.
  Status Add(std::string_view name);
  // The main queue; nothing when no name came. Fails when its values are refused, or with
  // the refusal that stopped Add.
  Status Finish();
  long long Count() const { return count_; }

 private:
  Composer& composer_;
  const ScriptSettings& settings_;
  TextFileWriter& out_;
  long long count_ = 0;
  std::string text_;
  std::string file_;
  std::string last_;  // the name the main queue's variables describe
  bool keep_last_;
  Status refusal_;  // success until a name or the main queue is refused

  Status Refused();
};

// Main head, one composed line per list item, main queue, written as composed (the line
// breaks are the composer's eol). Stops at a refused name and reports it; the output must
// then be abandoned.
Status WriteOutput(TextFileWriter& out, Composer& composer, const ScriptSettings& settings,
                   const FileList& list);

// Checks the list, then writes the whole output to path; the earlier content of path stays
// when anything fails.
Status CreateOutput(Composer& composer, const ScriptSettings& settings, const FileList& list,
                    const std::string& path);

// CreateOutput, then the text of the file written. Nothing is copied when creating failed.
Result<std::string> CreateAndCopy(Composer& composer, const ScriptSettings& settings,
                                  const FileList& list, const std::string& path);

// The composed line for name, its texts' line breaks as the composer's eol.
Result<std::string> SingleLineText(Composer& composer, const std::string& name);

// name's written name.
Result<std::string> PendingNameText(Composer& composer, const std::string& name);

// The selected item's written name; the first item's when none is selected.
Result<std::string> SelectedItemText(Composer& composer, const FileList& list);

// The composed line of the selected item, its name cut as a waiting file's; the first item's
// when none is selected.
Result<std::string> CreateAndCopySelectedText(Composer& composer, const FileList& list);

}  // namespace lq
