#pragma once

#include <array>

#include "resources/ids.h"

namespace lq {

// The path mode and the options live in their controls until a command takes them into the
// record. These commands have the panel take them first: the ones that compose, and the ones
// that show the record in the controls again, which would otherwise undo a choice the record
// has not taken yet. Every template of the Templates menu is one of them too.
inline constexpr std::array kTakesControlsFirst = {
    ids::kCreate,        ids::kCreateAndCopy,     ids::kCopySelected,   ids::kCreateAndCopySelected,
    ids::kDragCopyName,  ids::kDragCreateAndCopy, ids::kDragSetRelPath, ids::kDragSetOutputFile,
    ids::kSetOutputFile, ids::kSetMainHead,       ids::kSetMainQueue,   ids::kSaveTemplate,
    ids::kOpenTemplate,
};

constexpr bool TakesControlsFirst(int id) {
  if (id >= ids::kFirstTemplate && id <= ids::kLastTemplate) return true;
  for (int each : kTakesControlsFirst) {
    if (each == id) return true;
  }
  return false;
}

}  // namespace lq
