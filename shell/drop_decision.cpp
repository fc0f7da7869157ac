#include "shell/drop_decision.h"

#include "resources/ids.h"

namespace lq {

DropAction DecideDrop(std::size_t count, int target_id, bool on_rel_field) {
  if (on_rel_field) return count == 1 ? DropAction::kRelativeFolder : DropAction::kList;
  if (target_id == ids::kAutoDrag) {
    return count == 1 ? DropAction::kAutoDragMenu : DropAction::kNothing;
  }
  if (count != 1) return DropAction::kList;
  if (target_id == ids::kModeRelative) return DropAction::kRelativeFolder;
  if (target_id == ids::kSetOutputFile || target_id == ids::kOutFileField) {
    return DropAction::kOutputFile;
  }
  return DropAction::kList;
}

}  // namespace lq
