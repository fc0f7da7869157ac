// The drop handler's choice, without a display.
#include "shell/drop_decision.h"

#include <gtest/gtest.h>

#include "resources/ids.h"

namespace lq {
namespace {

TEST(DecideDrop, WhatLandsWhereDecidesWhatHappens) {
  struct Case {
    std::size_t count;
    int target;
    bool on_rel_field;
    DropAction action;
  };
  const Case cases[] = {
      {1, ids::kAutoDrag, false, DropAction::kAutoDragMenu},
      {3, ids::kAutoDrag, false, DropAction::kNothing},
      {1, ids::kModeRelative, false, DropAction::kRelativeFolder},
      {2, ids::kModeRelative, false, DropAction::kList},
      // The disabled field is never the target: the pointer decides.
      {1, 0, true, DropAction::kRelativeFolder},
      {2, 0, true, DropAction::kList},
      {1, ids::kSetOutputFile, false, DropAction::kOutputFile},
      {1, ids::kOutFileField, false, DropAction::kOutputFile},
      {4, ids::kOutFileField, false, DropAction::kList},
      {1, ids::kFileList, false, DropAction::kList},
      {1, ids::kHeader, false, DropAction::kList},
      {1, 0, false, DropAction::kList},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.count << " on " << c.target << " rel " << c.on_rel_field);
    EXPECT_EQ(DecideDrop(c.count, c.target, c.on_rel_field), c.action);
  }
}

}  // namespace
}  // namespace lq
