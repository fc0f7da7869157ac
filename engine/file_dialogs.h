#pragma once

#include <string>

namespace lq {

// One row of the file dialogs Loomquill shows: what the window needs to ask for a name.
struct FileDialogSpec {
  const char* title;
  const char* filter_description;
  const char* filter_pattern;
  const char* default_extension;
  bool open;  // the open dialog; otherwise the save dialog, which asks before overwriting
};

inline constexpr FileDialogSpec kSetOutputFileDialog{"File", "All files", "*.*", "*", true};
inline constexpr FileDialogSpec kOpenListDialog{"Open List", "List file", "*.lst", "lst", true};
inline constexpr FileDialogSpec kSaveListDialog{"Save List", "List file", "*.lst", "lst", false};
inline constexpr FileDialogSpec kOpenTemplateDialog{"Save Head & Queue", "Head&Queue", "*.hqd",
                                                    "hqd", true};
inline constexpr FileDialogSpec kSaveTemplateDialog{"Save Head & Queue", "Head&Queue", "*.hqd",
                                                    "hqd", false};

}  // namespace lq
