#pragma once

#include <cstddef>

namespace lq {

// What a drop on the main dialog does, from what lands where; the file system's part (is the
// name a folder?) is the handler's.
enum class DropAction {
  kNothing,         // several files on Auto Drag
  kAutoDragMenu,    // one file on Auto Drag: its menu opens at the drop point
  kRelativeFolder,  // one file on Relative Path or its field: its folder becomes RelPath
  kOutputFile,      // one file on OutFile or its field: it becomes the output file
  kList,            // anything else: the files join the list
};

// count names dropped on the control of target_id (0 when none); on_rel_field when the
// pointer is over the relative-path field, which is disabled and so never the target.
DropAction DecideDrop(std::size_t count, int target_id, bool on_rel_field);

}  // namespace lq
