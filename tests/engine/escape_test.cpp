#include "engine/escape.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lq {
namespace {

struct Case {
  EscapeKind kind;
  std::string value;
  std::string want;
};

TEST(Escape, EachKindEscapesWhatItsQuotesNeed) {
  const Case cases[] = {
      {EscapeKind::None, "a'b\"c&<>%$\n", "a'b\"c&<>%$\n"},
      {EscapeKind::Shell, "it's", "it'\\''s"},
      {EscapeKind::Shell, "''", "'\\'''\\''"},
      {EscapeKind::Shell, "$(rm -rf ~) `x` *\n\"\\", "$(rm -rf ~) `x` *\n\"\\"},
      {EscapeKind::Batch, "50% & more^!", "50%% & more^!"},
      {EscapeKind::Batch, "%PATH%", "%%PATH%%"},
      {EscapeKind::Html, "a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e&#39;f"},
      {EscapeKind::Html, "&amp;", "&amp;amp;"},
      {EscapeKind::Url, "/a b/c%d.txt", "/a%20b/c%25d.txt"},
      {EscapeKind::Url, "AZaz09-._~/", "AZaz09-._~/"},
      {EscapeKind::Url, "\"<>'&#?=\\", "%22%3C%3E%27%26%23%3F%3D%5C"},
      {EscapeKind::Url, "\xC3\xA9\xFF\n", "%C3%A9%FF%0A"},
      {EscapeKind::Csv, "say \"hi\", ok\n", "say \"\"hi\"\", ok\n"},
      {EscapeKind::Json, "a\"b\\c/d", "a\\\"b\\\\c/d"},
      {EscapeKind::Json, "\n\r\t\b\f\x1f\x01", "\\n\\r\\t\\b\\f\\u001f\\u0001"},
      {EscapeKind::Json, "caf\xC3\xA9 \xF0\x9F\x8E\xB5", "caf\xC3\xA9 \xF0\x9F\x8E\xB5"},
  };
  for (const Case& c : cases) {
    std::string out = "keep:";
    EXPECT_TRUE(AppendEscaped(out, c.value, c.kind)) << EscapeWord(c.kind) << " " << c.value;
    EXPECT_EQ(out, "keep:" + c.want) << EscapeWord(c.kind);
  }
}

TEST(Escape, RefusedValuesLeaveTheOutputAlone) {
  const Case cases[] = {
      {EscapeKind::Batch, "a\"b", ""},
      {EscapeKind::Batch, "a\nb", ""},
      {EscapeKind::Batch, "a\rb", ""},
      {EscapeKind::Json, "\xFF", ""},
      {EscapeKind::Json, "\xC3", ""},              // cut sequence
      {EscapeKind::Json, "\xC0\xAF", ""},          // overlong '/'
      {EscapeKind::Json, "\xED\xA0\x80", ""},      // a surrogate
      {EscapeKind::Json, "\xF4\x90\x80\x80", ""},  // above U+10FFFF
  };
  for (const Case& c : cases) {
    std::string out = "keep";
    EXPECT_FALSE(AppendEscaped(out, c.value, c.kind)) << EscapeWord(c.kind);
    EXPECT_EQ(out, "keep");
    EXPECT_FALSE(RefusalReason(c.kind).empty());
  }
}

TEST(Escape, EscapingAJoinedValueIsJoiningTheEscapedParts) {
  const std::string parts[] = {"it's", "\"a\"", "&<>", "%20", "\n\x01", "caf\xC3\xA9", ""};
  for (std::size_t k = 0; k < kEscapeWords.size(); ++k) {
    const auto kind = static_cast<EscapeKind>(k);
    for (const std::string& a : parts) {
      for (const std::string& b : parts) {
        std::string joined, left;
        const bool whole = AppendEscaped(joined, a + b, kind);
        const bool each = AppendEscaped(left, a, kind) && AppendEscaped(left, b, kind);
        EXPECT_EQ(whole, each);
        if (whole) {
          EXPECT_EQ(joined, left) << kEscapeWords[k];
        }
      }
    }
  }
}

// The quick look must never let through a value the careful way would change or refuse.
TEST(Escape, WhatNeedsNoEscapingIsWrittenUnchanged) {
  std::vector<std::string> values = {"", "plain name.txt", "caf\xC3\xA9", "\xED\xA0\x80"};
  for (int b = 0; b < 256; ++b) values.push_back("a" + std::string(1, static_cast<char>(b)) + "b");
  for (std::size_t k = 0; k < kEscapeWords.size(); ++k) {
    const auto kind = static_cast<EscapeKind>(k);
    for (const std::string& v : values) {
      std::string out;
      const bool held = AppendEscaped(out, v, kind);
      EXPECT_EQ(WrittenAsItIs(v, kind), held && out == v) << kEscapeWords[k] << " " << v;
    }
  }
}

TEST(Escape, WordsNameTheKinds) {
  for (std::size_t k = 0; k < kEscapeWords.size(); ++k) {
    const auto kind = static_cast<EscapeKind>(k);
    EXPECT_EQ(EscapeKindFromWord(EscapeWord(kind)), kind);
  }
  EXPECT_EQ(EscapeKindFromWord("Shell"), EscapeKind::Shell);
  EXPECT_EQ(EscapeKindFromWord("HTML"), EscapeKind::Html);
  EXPECT_EQ(EscapeKindFromWord("sh"), std::nullopt);
  EXPECT_EQ(EscapeKindFromWord(""), std::nullopt);
}

}  // namespace
}  // namespace lq
