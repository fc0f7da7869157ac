#include "platform/readable_name.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(ReadableName, UTF8StaysAsItIs) {
  EXPECT_EQ(ReadableName("/home/u/Ångström & co.hqd"), "/home/u/Ångström & co.hqd");
  EXPECT_EQ(ReadableName(""), "");
}

TEST(ReadableName, OtherBytesShowAsHex) {
  EXPECT_EQ(ReadableName("Caf\xE9.hqd"), "Caf\\xE9.hqd");
  EXPECT_EQ(ReadableName("\xFF"), "\\xFF");
  // Overlong forms, surrogates and cut sequences are no UTF-8 either.
  EXPECT_EQ(ReadableName("\xC0\xAF"), "\\xC0\\xAF");
  EXPECT_EQ(ReadableName("\xED\xA0\x80"), "\\xED\\xA0\\x80");
  EXPECT_EQ(ReadableName("a\xE2\x82"), "a\\xE2\\x82");
  // Valid sequences beside them stay whole.
  EXPECT_EQ(ReadableName("\xFFÅ\xFE€"), "\\xFFÅ\\xFE€");
}

}  // namespace
}  // namespace lq
