#include "engine/result.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>

#include "tests/support/result_testing.h"

namespace lq {
namespace {

// An outcome never reads as a bool: a call site left on `if (auto failure = Step())` must not
// compile, or it would take every success for a failure.
static_assert(!std::is_convertible_v<Status, bool>);
static_assert(!std::is_constructible_v<bool, Status>);
static_assert(!std::is_convertible_v<Result<std::string>, bool>);
static_assert(!std::is_constructible_v<bool, Result<std::string>>);
static_assert(!std::is_constructible_v<bool, Result<int>>);

const Failure kDenied{"/out/list.txt", "Invalid output file name", "Permission denied"};

Status Refuse() { return kDenied; }
Result<std::string> Named(bool ok) {
  if (!ok) return kDenied;
  return std::string("names.txt");
}

TEST(Status, DefaultIsSuccessAndAFailureKeepsEveryField) {
  EXPECT_TRUE(Status().ok());
  const Status failed = Refuse();
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.failure().text, kDenied.text);
  EXPECT_EQ(failed.failure().caption, kDenied.caption);
  EXPECT_EQ(failed.failure().reason, kDenied.reason);
}

TEST(Status, CopiesAreIndependent) {
  Status first = Refuse();
  Status copy = first;
  copy.failure().reason += "; give --null";
  EXPECT_EQ(first.failure().reason, "Permission denied");
  EXPECT_EQ(copy.failure().reason, "Permission denied; give --null");

  Status assigned;
  assigned = first;
  ASSERT_FALSE(assigned.ok());
  first = Status();
  EXPECT_TRUE(first.ok());
  EXPECT_EQ(assigned.failure().text, kDenied.text) << "assigned over, the copy stays";
  const Status& same = assigned;
  assigned = same;
  ASSERT_FALSE(assigned.ok());
  EXPECT_EQ(assigned.failure().text, kDenied.text);
}

TEST(Status, ASuccessAssignedOverAFailureClearsIt) {
  Status s = Refuse();
  s = Status();
  EXPECT_TRUE(s.ok());
  s = Refuse();
  EXPECT_FALSE(s.ok());
}

TEST(Status, AFailureMovedOutIsWhole) {
  Failure taken = Refuse().failure();
  EXPECT_EQ(taken.Describe(), kDenied.Describe());
}

TEST(Result, HoldsTheValueOrTheFailure) {
  Result<std::string> named = Named(true);
  ASSERT_OK(named);
  EXPECT_EQ(named.value(), "names.txt");
  EXPECT_TRUE(named.status().ok());
  EXPECT_EQ(std::move(named).value(), "names.txt");

  const Result<std::string> refused = Named(false);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.failure().Describe(), kDenied.Describe());
  const Status status = refused.status();
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.failure().Describe(), kDenied.Describe());
}

TEST(Result, AnEmptyValueIsStillASuccess) {
  const Result<std::string> empty = std::string();
  EXPECT_TRUE(empty.ok());
  const Result<int> zero = 0;
  EXPECT_TRUE(zero.ok());
  EXPECT_EQ(zero.value(), 0);
}

// What a failed assertion prints: the failure as the CLI tells it, not bytes.
TEST(ResultPrinting, ShowsTheFailuresText) {
  EXPECT_EQ(::testing::PrintToString(Status()), "ok");
  EXPECT_EQ(::testing::PrintToString(Refuse()),
            "failure: Invalid output file name: /out/list.txt (Permission denied)");
  EXPECT_EQ(::testing::PrintToString(Named(true)), "ok");
  EXPECT_EQ(::testing::PrintToString(Named(false)),
            "failure: Invalid output file name: /out/list.txt (Permission denied)");

  const ::testing::AssertionResult asserted = test::Succeeded(Refuse());
  EXPECT_FALSE(asserted);
  EXPECT_NE(std::string(asserted.message()).find("/out/list.txt (Permission denied)"),
            std::string::npos)
      << asserted.message();
  EXPECT_TRUE(test::Succeeded(Named(true)));
  EXPECT_EQ(test::ReasonOf(Refuse()), "Permission denied");
  EXPECT_NE(test::ReasonOf(Status()), "");
}

}  // namespace
}  // namespace lq
