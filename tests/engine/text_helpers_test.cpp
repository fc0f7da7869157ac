#include "engine/text_helpers.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(CutUtf8, NeverSplitsASequence) {
  struct Case {
    std::string text;
    std::size_t max;
    std::string expected;
  };
  const Case cases[] = {
      {"abc", 5, "abc"},
      {"abc", 2, "ab"},
      {"a\xC3\xA9", 2, "a"},      // é would be cut in half
      {"a\xE2\x82\xAC", 3, "a"},  // € needs three bytes
      {"a\xE2\x82\xAC", 4, "a\xE2\x82\xAC"},
      {"\xF0\x9F\x8E\xB5x", 4, "\xF0\x9F\x8E\xB5"},
      {"\xF0\x9F\x8E\xB5x", 3, ""},
      // Bytes that are no UTF-8 are cut where they fall: a run of them never eats the text.
      {std::string(10, '\x80'), 6, std::string(6, '\x80')},
      {"ab" + std::string(8, '\x80'), 6, "ab\x80\x80\x80\x80"},
      {"a\xC3\x80\x80\x80", 2, "a"},    // a whole sequence with stray bytes after it
      {"a\xE2\x82z", 2, "a\xE2"},       // cut sequence after the cut: no backing off
      {"ab\xF0\x9F\x8E\xB5", 5, "ab"},  // four bytes, three before the cut
      {"a\xF8\x80\x80", 2, "a\xF8"},    // no lead byte at all
  };
  for (const auto& c : cases) {
    std::string t = c.text;
    CutUtf8(t, c.max);
    EXPECT_EQ(t, c.expected) << "max " << c.max;
  }
}

TEST(ReplaceFirst, ReportsWhetherItReplaced) {
  std::string empty;
  EXPECT_FALSE(ReplaceFirst(empty, "ZQ_NAME", "x"));
  std::string t = "a ZQ_NAME ZQ_NAME";
  EXPECT_TRUE(ReplaceFirst(t, "ZQ_NAME", "x"));
  EXPECT_EQ(t, "a x ZQ_NAME");
  EXPECT_FALSE(ReplaceFirst(t, "zq_name", "x"));
}

TEST(ReplaceAll, EndsWhenTheValueHoldsThePattern) {
  std::string t = "<ZQ_NAME|ZQ_NAME>";
  EXPECT_EQ(ReplaceAll(t, "ZQ_NAME", "ZQ_NAME.ZQ_NAME"), 2u);
  EXPECT_EQ(t, "<ZQ_NAME.ZQ_NAME|ZQ_NAME.ZQ_NAME>");
  std::string u = "ZQ_NAME";
  EXPECT_EQ(ReplaceAll(u, "ZQ_NAME", ""), 1u);
  EXPECT_EQ(u, "");
}

TEST(FindNoCase, ComparesLetterCaseBlind) {
  EXPECT_EQ(FindNoCase(R"(C:\Music\)", R"(c:\music)"), 0u);
  EXPECT_EQ(FindNoCase("abc", ""), 0u);
  EXPECT_EQ(FindNoCase("abc", "D"), std::string_view::npos);
  EXPECT_EQ(FindNoCase("xxABc", "abC"), 2u);
}

TEST(LineBreaks, TypedTextAndStrippedText) {
  EXPECT_EQ(ToCrLf("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
  std::string t = "a\r\nb\rc";
  StripCR(t);
  EXPECT_EQ(t, "a\nbc");
}

TEST(FindLastOfEither, EveryPositionAndLength) {
  // Lengths around the eight-byte steps, with the byte at every place and none at all.
  for (std::size_t len = 0; len < 40; ++len) {
    EXPECT_EQ(FindLastOfEither(std::string(len, 'x'), '/', '\\'), std::string_view::npos);
    for (std::size_t at = 0; at < len; ++at) {
      std::string s(len, 'x');
      s[at] = '\\';
      if (at > 0) s[at / 2] = '/';
      EXPECT_EQ(FindLastOfEither(s, '/', '\\'), at) << len << " " << at;
    }
  }
  EXPECT_EQ(FindLastOfEither("a\x80\xff/\xff\xff\xff\xff\xff\xff\xff\xff", '/', '/'), 3u);
}

TEST(IntToText, Decimal) {
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(-42), "-42");
  EXPECT_EQ(IntToText(1000000), "1000000");
}

}  // namespace
}  // namespace lq
