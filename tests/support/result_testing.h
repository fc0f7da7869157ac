#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/result.h"

namespace lq::test {

// Success as GoogleTest asserts it, with the failure's text in the message when there is one:
// EXPECT_OK(SaveList(...)) reads "Succeeded(...) ... failure: list.txt: Permission denied".
template <typename Outcome>
::testing::AssertionResult Succeeded(const Outcome& outcome) {
  if (outcome.ok()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << outcome;
}

// The reason of a failure, to compare with the one expected; a success has none to match.
template <typename Outcome>
std::string ReasonOf(const Outcome& outcome) {
  return outcome.ok() ? "(success)" : outcome.failure().reason;
}

}  // namespace lq::test

#define EXPECT_OK(outcome) EXPECT_TRUE(::lq::test::Succeeded(outcome))
#define ASSERT_OK(outcome) ASSERT_TRUE(::lq::test::Succeeded(outcome))
