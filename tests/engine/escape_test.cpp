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
      {EscapeKind::kNone, "a'b\"c&<>%$\n", "a'b\"c&<>%$\n"},
      {EscapeKind::kShell, "it's", "it'\\''s"},
      {EscapeKind::kShell, "''", "'\\'''\\''"},
      {EscapeKind::kShell, "$(rm -rf ~) `x` *\n\"\\", "$(rm -rf ~) `x` *\n\"\\"},
      {EscapeKind::kBatch, "50% & more^!", "50%% & more^!"},
      {EscapeKind::kBatch, "%PATH%", "%%PATH%%"},
      {EscapeKind::kHtml, "a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e&#39;f"},
      {EscapeKind::kHtml, "&amp;", "&amp;amp;"},
      {EscapeKind::kHtml, "a\rb\r\nc\n\t", "a&#13;b&#13;\nc\n\t"},
      {EscapeKind::kHtml, "caf\xC3\xA9 \xE2\x80\xAE", "caf\xC3\xA9 \xE2\x80\xAE"},
      {EscapeKind::kHtmlUrl, "a&b<c>d\"e'f\r", "a&amp;b&lt;c&gt;d&quot;e&#39;f&#13;"},
      {EscapeKind::kHtmlUrl, "javascript:x %#?", "javascript:x %#?"},
      {EscapeKind::kUrl, "/a b/c%d.txt", "/a%20b/c%25d.txt"},
      {EscapeKind::kUrl, "AZaz09-._~/", "AZaz09-._~/"},
      {EscapeKind::kUrl, "\"<>'&#?=\\", "%22%3C%3E%27%26%23%3F%3D%5C"},
      {EscapeKind::kUrl, "\xC3\xA9\xFF\n", "%C3%A9%FF%0A"},
      {EscapeKind::kCsv, "say \"hi\", ok\n", "say \"\"hi\"\", ok\n"},
      {EscapeKind::kJson, "a\"b\\c/d", "a\\\"b\\\\c/d"},
      {EscapeKind::kJson, "\n\r\t\b\f\x1f\x01", "\\n\\r\\t\\b\\f\\u001f\\u0001"},
      {EscapeKind::kJson, "caf\xC3\xA9 \xF0\x9F\x8E\xB5", "caf\xC3\xA9 \xF0\x9F\x8E\xB5"},
      // Values of a line list only lose nothing: the written name is guarded on its own.
      {EscapeKind::kLine, "#x:y \t\"'\xFF", "#x:y \t\"'\xFF"},
  };
  for (const Case& c : cases) {
    std::string out = "keep:";
    EXPECT_TRUE(AppendEscaped(out, c.value, c.kind)) << EscapeWord(c.kind) << " " << c.value;
    EXPECT_EQ(out, "keep:" + c.want) << EscapeWord(c.kind);
  }
}

TEST(Escape, RefusedValuesLeaveTheOutputAlone) {
  const Case cases[] = {
      {EscapeKind::kBatch, "a\"b", ""},
      {EscapeKind::kBatch, "a\nb", ""},
      {EscapeKind::kBatch, "a\rb", ""},
      {EscapeKind::kJson, "\xFF", ""},
      {EscapeKind::kJson, "\xC3", ""},              // cut sequence
      {EscapeKind::kJson, "\xC0\xAF", ""},          // overlong '/'
      {EscapeKind::kJson, "\xED\xA0\x80", ""},      // a surrogate
      {EscapeKind::kJson, "\xF4\x90\x80\x80", ""},  // above U+10FFFF
      {EscapeKind::kHtml, "bad \xFF\xFE.txt", ""},
      {EscapeKind::kHtml, "\xED\xA0\x80", ""},
      {EscapeKind::kHtmlUrl, "\xC3", ""},
      {EscapeKind::kLine, "two\nlines", ""},
      {EscapeKind::kLine, "carriage\rreturn", ""},
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

struct NameCase {
  EscapeKind kind;
  PathStyle style;
  std::string name;
  std::string want;
};

TEST(Escape, TheWrittenNameIsEscapedAsAWholeName) {
  const NameCase cases[] = {
      // A link target: nothing a browser reads as a scheme, a query, a fragment or a host.
      {EscapeKind::kHtmlUrl, PathStyle::kPosix, "javascript:alert(1)", "javascript%3Aalert%281%29"},
      {EscapeKind::kHtmlUrl, PathStyle::kPosix, "http:x", "http%3Ax"},
      {EscapeKind::kHtmlUrl, PathStyle::kPosix, "a%b#c?d\te", "a%25b%23c%3Fd%09e"},
      {EscapeKind::kHtmlUrl, PathStyle::kPosix, "  lead", "%20%20lead"},
      {EscapeKind::kHtmlUrl, PathStyle::kPosix, "a\"b'c&d", "a%22b%27c%26d"},
      {EscapeKind::kHtmlUrl, PathStyle::kPosix, "../up/\xFF", "../up/%FF"},
      {EscapeKind::kHtmlUrl, PathStyle::kPosix, "//host/x", "/%2Fhost/x"},
      {EscapeKind::kHtmlUrl, PathStyle::kPosix, "///x", "/%2F/x"},
      {EscapeKind::kHtmlUrl, PathStyle::kPosix, "/a//b", "/a//b"},
      {EscapeKind::kHtmlUrl, PathStyle::kWindows, "\\\\server\\x", "%5C%5Cserver%5Cx"},
      {EscapeKind::kUrl, PathStyle::kPosix, "//host/x y", "/%2Fhost/x%20y"},
      {EscapeKind::kUrl, PathStyle::kPosix, "/", "/"},
      // A line list: comments and URLs made files again, everything else as it is.
      {EscapeKind::kLine, PathStyle::kPosix, "#hidden.mp3", "./#hidden.mp3"},
      {EscapeKind::kLine, PathStyle::kPosix, "javascript:x", "./javascript:x"},
      {EscapeKind::kLine, PathStyle::kPosix, "http://host/x", "./http://host/x"},
      {EscapeKind::kLine, PathStyle::kPosix, "C:x", "./C:x"},
      {EscapeKind::kLine, PathStyle::kPosix, "dir/a:b", "dir/a:b"},
      {EscapeKind::kLine, PathStyle::kPosix, "dir/#a", "dir/#a"},
      {EscapeKind::kLine, PathStyle::kPosix, "../#a", "../#a"},
      {EscapeKind::kLine, PathStyle::kPosix, "/abs/#a:b", "/abs/#a:b"},
      {EscapeKind::kLine, PathStyle::kPosix, " #lead", " #lead"},
      {EscapeKind::kLine, PathStyle::kPosix, "-x \t'\"", "-x \t'\""},
      {EscapeKind::kLine, PathStyle::kPosix, "", ""},
      {EscapeKind::kLine, PathStyle::kWindows, "C:\\m\\a.mp3", "C:\\m\\a.mp3"},
      {EscapeKind::kLine, PathStyle::kWindows, "\\\\srv\\#a", "\\\\srv\\#a"},
      {EscapeKind::kLine, PathStyle::kWindows, "#a\\b", "./#a\\b"},
      {EscapeKind::kLine, PathStyle::kWindows, "sub\\a:b", "sub\\a:b"},
      // The other kinds write the name as they write a value.
      {EscapeKind::kHtml, PathStyle::kPosix, "//a&b", "//a&amp;b"},
      {EscapeKind::kShell, PathStyle::kPosix, "#it's", "#it'\\''s"},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(std::string(EscapeWord(c.kind)) + " " + c.name);
    std::string out = "keep:";
    EXPECT_TRUE(AppendEscapedName(out, c.name, c.kind, c.style));
    EXPECT_EQ(out, "keep:" + c.want);
    EXPECT_EQ(NameWrittenAsItIs(c.name, c.kind, c.style), c.want == c.name);
  }
}

TEST(Escape, ANameALineListCannotHoldIsRefusedWithItsReason) {
  for (const char* name : {"two\nlines", "cr\r", "\n#x"}) {
    std::string out = "keep";
    EXPECT_FALSE(AppendEscapedName(out, name, EscapeKind::kLine, PathStyle::kPosix));
    EXPECT_EQ(out, "keep");
    EXPECT_FALSE(NameWrittenAsItIs(name, EscapeKind::kLine, PathStyle::kPosix));
  }
  EXPECT_NE(RefusalReason(EscapeKind::kLine).find("line break"), std::string_view::npos);
  EXPECT_NE(RefusalReason(EscapeKind::kHtml).find("UTF-8"), std::string_view::npos);
  EXPECT_NE(RefusalReason(EscapeKind::kHtmlUrl).find("UTF-8"), std::string_view::npos);
  // html-url's link target holds any byte: only the text around it needs UTF-8.
  std::string out;
  EXPECT_TRUE(AppendEscapedName(out, "\xFF\xFE", EscapeKind::kHtmlUrl, PathStyle::kPosix));
  EXPECT_EQ(out, "%FF%FE");
}

// The quick look at a whole name must agree with the careful way, as for values.
TEST(Escape, WhatNeedsNoEscapingAsANameIsWrittenUnchanged) {
  std::vector<std::string> names = {"", "/", "//", "#", ":", "a/b:c", "/x", "C:\\x", "\\\\x"};
  for (int b = 0; b < 256; ++b) {
    const std::string c(1, static_cast<char>(b));
    for (const std::string& n : {c, c + "a", "a" + c + "b", "/" + c, c + "/" + c}) {
      names.push_back(n);
    }
  }
  for (std::size_t k = 0; k < kEscapeWords.size(); ++k) {
    const auto kind = static_cast<EscapeKind>(k);
    for (const PathStyle style : {PathStyle::kPosix, PathStyle::kWindows}) {
      for (const std::string& n : names) {
        std::string out;
        const bool held = AppendEscapedName(out, n, kind, style);
        EXPECT_EQ(NameWrittenAsItIs(n, kind, style), held && out == n)
            << kEscapeWords[k] << " " << n;
      }
    }
  }
}

TEST(Escape, WordsNameTheKinds) {
  for (std::size_t k = 0; k < kEscapeWords.size(); ++k) {
    const auto kind = static_cast<EscapeKind>(k);
    EXPECT_EQ(EscapeKindFromWord(EscapeWord(kind)), kind);
  }
  EXPECT_EQ(EscapeKindFromWord("Shell"), EscapeKind::kShell);
  EXPECT_EQ(EscapeKindFromWord("HTML"), EscapeKind::kHtml);
  EXPECT_EQ(EscapeKindFromWord("Html-URL"), EscapeKind::kHtmlUrl);
  EXPECT_EQ(EscapeKindFromWord("line"), EscapeKind::kLine);
  EXPECT_EQ(EscapeKindFromWord("html_url"), std::nullopt);
  EXPECT_EQ(EscapeKindFromWord("lines"), std::nullopt);
  EXPECT_EQ(EscapeKindFromWord("sh"), std::nullopt);
  EXPECT_EQ(EscapeKindFromWord(""), std::nullopt);
}

}  // namespace
}  // namespace lq
