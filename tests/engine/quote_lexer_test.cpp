#include "engine/quote_lexer.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

struct Case {
  Syntax syntax;
  const char* text;  // what stands before a plain letter
  Spot want;
};

std::string Describe(const Case& c) {
  return std::to_string(static_cast<int>(c.syntax)) + " [" + c.text + "]";
}

TEST(QuoteLexer, ShellQuotesEscapesCommentsAndSubstitutions) {
  const Case cases[] = {
      {Syntax::kShell, "", Spot::kBare},
      {Syntax::kShell, "cp -- '", Spot::kSingle},
      {Syntax::kShell, "cp -- 'a' '", Spot::kSingle},
      {Syntax::kShell, "cp -- 'a'", Spot::kBare},
      {Syntax::kShell, "cp -- \"", Spot::kDouble},
      {Syntax::kShell, "echo \"it's ", Spot::kDouble},  // ' is plain inside "..."
      {Syntax::kShell, "echo 'say \"", Spot::kSingle},  // " is plain inside '...'
      {Syntax::kShell, "echo \\'", Spot::kBare},        // an escaped quote opens nothing
      {Syntax::kShell, "echo \"a\\\"", Spot::kDouble},  // \" does not close
      {Syntax::kShell, "echo \\", Spot::kBare},         // the value's first byte escaped
      {Syntax::kShell, "printf $'", Spot::kDollarSingle},
      {Syntax::kShell, "printf $'a\\'", Spot::kDollarSingle},
      {Syntax::kShell, "printf $'a' '", Spot::kSingle},
      {Syntax::kShell, "x=$(basename '", Spot::kSingle},
      {Syntax::kShell, "echo \"$(basename '", Spot::kSingle},
      {Syntax::kShell, "echo \"$(basename 'a') ", Spot::kDouble},
      {Syntax::kShell, "echo \"`basename '", Spot::kSingle},
      {Syntax::kShell, "echo `basename 'a'` '", Spot::kSingle},
      {Syntax::kShell, "# don't\ncp '", Spot::kSingle},  // an apostrophe in a comment
      {Syntax::kShell, "# Copies ", Spot::kComment},
      {Syntax::kShell, "echo a#b '", Spot::kSingle},  // # inside a word starts no comment
      {Syntax::kShell, "echo ${#x} '", Spot::kSingle},
      {Syntax::kShell, "cp -- '\n", Spot::kSingle},  // quotes go on over line breaks
  };
  for (const Case& c : cases) EXPECT_EQ(SpotAfter(c.syntax, c.text), c.want) << Describe(c);
}

TEST(QuoteLexer, BatchQuotesEndWithTheirLine) {
  const Case cases[] = {
      {Syntax::kBatch, "copy \"", Spot::kDouble},
      {Syntax::kBatch, "copy \"a\" ", Spot::kBare},
      {Syntax::kBatch, "copy \"a\" \"", Spot::kDouble},
      {Syntax::kBatch, "copy \"\n", Spot::kBare},
      {Syntax::kBatch, "echo ^\"", Spot::kBare},    // ^" is a plain quote
      {Syntax::kBatch, "copy \"^", Spot::kDouble},  // ^ is plain inside quotes
      {Syntax::kBatch, "copy 'a", Spot::kBare},     // cmd has no single quotes
      {Syntax::kBatch, "set \"B=%U%\\B\"\ncopy \"", Spot::kDouble},
  };
  for (const Case& c : cases) EXPECT_EQ(SpotAfter(c.syntax, c.text), c.want) << Describe(c);
}

TEST(QuoteLexer, CsvFieldsAreQuotedFromTheirFirstByteOnly) {
  const Case cases[] = {
      {Syntax::kCsv, "", Spot::kBareField},
      {Syntax::kCsv, "\"", Spot::kQuotedField},
      {Syntax::kCsv, "1,\"", Spot::kQuotedField},
      {Syntax::kCsv, "1,", Spot::kBareField},
      {Syntax::kCsv, "1, \"", Spot::kBareField},  // a space first: the quote is data
      {Syntax::kCsv, "a\"", Spot::kBareField},
      {Syntax::kCsv, "\"say \"\"", Spot::kQuotedField},  // a doubled quote stays inside
      {Syntax::kCsv, "\"a\"", Spot::kAfterField},
      {Syntax::kCsv, "\"a,\nb", Spot::kQuotedField},  // fields go on over line breaks
      {Syntax::kCsv, "\"a\"\n\"", Spot::kQuotedField},
      {Syntax::kCsv, "\"a\r\n", Spot::kQuotedField},
      {Syntax::kCsv, "a\r\n\"", Spot::kQuotedField},
  };
  for (const Case& c : cases) EXPECT_EQ(SpotAfter(c.syntax, c.text), c.want) << Describe(c);
}

TEST(QuoteLexer, JsonStringsAndSingleQuotes) {
  const Case cases[] = {
      {Syntax::kJson, "{\"file\": \"", Spot::kDouble},
      {Syntax::kJson, "{\"file\": ", Spot::kBare},
      {Syntax::kJson, "{'file': '", Spot::kSingle},
      {Syntax::kJson, "{\"a\\\"", Spot::kDouble},  // \" does not close
      {Syntax::kJson, "{\"it's\": \"", Spot::kDouble},
      {Syntax::kJson, "[\"a\", \"", Spot::kDouble},
  };
  for (const Case& c : cases) EXPECT_EQ(SpotAfter(c.syntax, c.text), c.want) << Describe(c);
}

TEST(QuoteLexer, HtmlTextTagsValuesCommentsAndRawText) {
  const Case cases[] = {
      {Syntax::kHtml, "<li>", Spot::kHtmlText},
      {Syntax::kHtml, "<a href=\"", Spot::kHtmlQuotedValue},
      {Syntax::kHtml, "<a href='", Spot::kHtmlQuotedValue},
      {Syntax::kHtml, "<a title=\"it's\" href='", Spot::kHtmlQuotedValue},
      {Syntax::kHtml, "<a href=", Spot::kHtmlBareValue},
      {Syntax::kHtml, "<a href = ", Spot::kHtmlBareValue},
      {Syntax::kHtml, "<a href=\"x\">", Spot::kHtmlText},
      {Syntax::kHtml, "<a href=\"x\" ", Spot::kHtmlTag},
      {Syntax::kHtml, "<", Spot::kHtmlTag},  // the value would be the tag's name
      {Syntax::kHtml, "a < ", Spot::kHtmlText},
      {Syntax::kHtml, "<!DOCTYPE html>\n<ul>", Spot::kHtmlText},
      {Syntax::kHtml, "<!-- <a href=", Spot::kHtmlText},
      {Syntax::kHtml, "<!-- x --><a href=", Spot::kHtmlBareValue},
      {Syntax::kHtml, "<!--><a href=", Spot::kHtmlBareValue},
      {Syntax::kHtml, "<script>var f = \"", Spot::kHtmlRawText},
      {Syntax::kHtml, "<SCRIPT type=\"x\"><a href=", Spot::kHtmlRawText},
      {Syntax::kHtml, "<script>x</Script><p>", Spot::kHtmlText},
      {Syntax::kHtml, "<style>p{}</style>", Spot::kHtmlText},
      {Syntax::kHtml, "<scripts><p>", Spot::kHtmlText},
      {Syntax::kHtml, "</script><p>", Spot::kHtmlText},
  };
  for (const Case& c : cases) EXPECT_EQ(SpotAfter(c.syntax, c.text), c.want) << Describe(c);
}

TEST(QuoteLexer, ScriptLikeQuotesStayOnTheirLineAndSkipApostrophes) {
  const Case cases[] = {
      {Syntax::kScriptLike, "cp -- '", Spot::kSingle},
      {Syntax::kScriptLike, "copy \"", Spot::kDouble},
      {Syntax::kScriptLike, "it's ", Spot::kBare},
      {Syntax::kScriptLike, "cp '\n", Spot::kBare},
      {Syntax::kScriptLike, "echo \\'", Spot::kBare},
      {Syntax::kScriptLike, "copy \"D:\\b\\", Spot::kDouble},  // a Windows folder in quotes
      {Syntax::kScriptLike, "<a href=\"", Spot::kHtmlQuotedValue},
      {Syntax::kScriptLike, "<a href='", Spot::kHtmlQuotedValue},
      {Syntax::kScriptLike, "<p>\"", Spot::kDouble},
      {Syntax::kScriptLike, "#EXTINF:-1,", Spot::kBare},
  };
  for (const Case& c : cases) EXPECT_EQ(SpotAfter(c.syntax, c.text), c.want) << Describe(c);
}

}  // namespace
}  // namespace lq
