#include "engine/quote_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lq {
namespace {

struct Texts {
  const char* what;
  EscapeKind kind;
  const char* header;
  const char* queue;
  const char* main_head = "";
  const char* main_queue = "";
  PathMode mode = PathMode::kFull;
};

std::vector<std::string> WarningsFor(const Texts& t) {
  ScriptSettings s;
  s.Escape = t.kind;
  s.CheckIndex = CheckIndexOf(t.mode);
  s.MainHead = t.main_head;
  s.MainQueue = t.main_queue;
  return QuoteWarnings(s, t.header, t.queue);
}

struct Mistake {
  Texts texts;
  std::vector<std::string> want;
};

// The mistakes a user makes, each with every sentence it earns.
TEST(QuoteWarnings, EachMistakeSaysWhereWhatAndWhichQuotesTheKindWants) {
  const Mistake cases[] = {
      {{"shell kind, name in double quotes", EscapeKind::kShell, "cp -- \"", "\" /b\r\n"},
       {"header: the name is inside double quotes, but the shell kind escapes for single "
        "quotes"}},
      {{"shell kind, name without quotes", EscapeKind::kShell, "cp -- ", " /b\r\n"},
       {"header: the name is outside quotes, but the shell kind escapes for single quotes"}},
      {{"none, name in a shell's single quotes", EscapeKind::kNone, "cp -- '", "' /b\r\n"},
       {"header: the name is inside single quotes, but the none kind writes names unescaped; "
        "the shell kind escapes for single quotes"}},
      {{"none, name in a batch file's double quotes", EscapeKind::kNone, "copy \"", "\" D:\\b\r\n"},
       {"header: the name is inside double quotes, but the none kind writes names unescaped; "
        "the batch, csv or json kind escapes for double quotes"}},
      {{"batch kind without quotes", EscapeKind::kBatch, "copy ", " D:\\b\r\n"},
       {"header: the name is outside double quotes, but the batch kind escapes for double "
        "quotes"}},
      {{"csv kind without quotes", EscapeKind::kCsv, "ZQ_GETSELINDEX,ZQ_NAME,", "\r\n", "", "",
        PathMode::kName},
       {"header: ZQ_NAME is in a field without quotes, but the csv kind escapes for "
        "double-quoted fields",
        "header: the name is in a field without quotes, but the csv kind escapes for "
        "double-quoted fields"}},
      {{"json kind in single quotes", EscapeKind::kJson, "{'file': '", "'}\r\n"},
       {"header: the name is inside single quotes, but the json kind escapes for double-quoted "
        "strings"}},
      {{"html attribute without quotes", EscapeKind::kHtml, "<a href=", ">ZQ_NAME</a>\r\n"},
       {"header: the name is in an attribute value without quotes, but the html kind escapes "
        "for text and quoted attribute values"}},
  };
  for (const Mistake& c : cases) EXPECT_EQ(WarningsFor(c.texts), c.want) << c.texts.what;
}

// The two kinds made for one reader each: a link target and a line of its own.
TEST(QuoteWarnings, LinkTargetsAndLinesAskForTheirOwnPlaces) {
  const Mistake cases[] = {
      {{"html-url: name as link target, variables as text", EscapeKind::kHtmlUrl, "<li><a href=\"",
        "\">ZQ_NAMEZQ_EXT</a></li>\r\n"},
       {}},
      {{"html-url: link target without quotes", EscapeKind::kHtmlUrl,
        "<a href=", ">ZQ_NAME</a>\r\n"},
       {}},
      {{"html-url: name as link text", EscapeKind::kHtmlUrl, "<li>", "</li>\r\n"},
       {"header: the name is in HTML text, but the html-url kind escapes the name for a link "
        "target in an attribute value"}},
      {{"html-url: variable in a bare attribute", EscapeKind::kHtmlUrl, "<a title=ZQ_NAME href='",
        "'>x</a>\r\n"},
       {"header: ZQ_NAME is in an attribute value without quotes, but the html-url kind escapes "
        "for text and quoted attribute values"}},
      {{"line: playlist entry", EscapeKind::kLine, "#EXTINF:-1,ZQ_NAME\r\n", "\r\n", "#EXTM3U\r\n"},
       {}},
      {{"line: name inside single quotes", EscapeKind::kLine, "cp -- '", "' /b\r\n"},
       {"header: the name is inside single quotes, but the line kind writes names unescaped; "
        "the shell kind escapes for single quotes"}},
  };
  for (const Mistake& c : cases) EXPECT_EQ(WarningsFor(c.texts), c.want) << c.texts.what;
}

// Each kind with the quotes it escapes for, and texts as the sample templates write them.
TEST(QuoteWarnings, TextsThatFitTheirKindEarnNone) {
  const Texts cases[] = {
      {"shell backup", EscapeKind::kShell, "cp -p -- '", "' \"$backup/\"\r\n",
       "#!/bin/sh\r\n# Copies each listed file into the backup folder.\r\n"
       "backup=\"$HOME/backup\"\r\nmkdir -p \"$backup\" || exit 1\r\n",
       "echo \"Copied ZQ_GETCOUNT files to $backup\"\r\n"},
      {"shell, variables in single quotes", EscapeKind::kShell, "mv -- '",
       "' 'ZQ_PATHZQ_NAME.bak' # don't ZQ_GETSELINDEX\r\n", "# it's ZQ_GETCOUNT\r\n"},
      {"shell, quotes inside a substitution", EscapeKind::kShell, "echo \"$(basename '",
       "')\"\r\n"},
      {"batch backup", EscapeKind::kBatch, "copy /Y \"", "\" \"%BACKUP%\\\"\r\n",
       "@echo off\r\nrem Copies each listed file into the backup folder.\r\n"
       "set \"BACKUP=%USERPROFILE%\\Backup\"\r\nif not exist \"%BACKUP%\" mkdir \"%BACKUP%\"\r\n",
       "echo Copied ZQ_GETCOUNT files to %BACKUP%\r\npause\r\n"},
      {"html links", EscapeKind::kHtml, "    <li><a href=\"", "\">ZQ_NAMEZQ_EXT</a></li>\r\n",
       "<!DOCTYPE html>\r\n<html>\r\n<head><meta charset=\"utf-8\"><title>Files</title></head>"
       "\r\n<body>\r\n  <ul>\r\n",
       "  </ul>\r\n</body>\r\n</html>\r\n"},
      {"html, single-quoted attribute", EscapeKind::kHtml, "<img alt='ZQ_NAME' src='", "'>\r\n"},
      {"json lines", EscapeKind::kJson, "{\"number\": ZQ_GETSELINDEX, \"file\": \"",
       "\", \"name\": \"ZQ_NAME\", \"extension\": \"ZQ_EXT\"}\r\n"},
      {"csv table", EscapeKind::kCsv, "ZQ_GETSELINDEX,\"ZQ_DRIVEZQ_PATH\",\"ZQ_NAME\",\"ZQ_EXT\"",
       "\r\n", "number,folder,name,extension\r\n", "", PathMode::kNone},
      {"csv, name last", EscapeKind::kCsv, "ZQ_GETSELINDEX,\"", "\"\r\n"},
      {"url: any quotes", EscapeKind::kUrl, "- [ZQ_NAMEZQ_EXT](", ")\r\n", "# Files\r\n"},
      {"url in single quotes", EscapeKind::kUrl, "<a href='", "'>", "'ZQ_NAME", "\"ZQ_NAME"},
      {"none, m3u playlist", EscapeKind::kNone, "#EXTINF:-1,ZQ_NAME\r\n", "\r\n", "#EXTM3U\r\n"},
      {"none, numbered list", EscapeKind::kNone, "ZQ_GETSELINDEX. ZQ_NAMEZQ_EXT", "\r\n"},
      {"none, apostrophes in prose", EscapeKind::kNone, "It's ZQ_NAME, isn't it: ", "\r\n"},
      {"none, a quote never closed on its line", EscapeKind::kNone, "say '", "\r\n'"},
      {"none, quotes elsewhere on the line", EscapeKind::kNone, "'a' ", " \"b\"\r\n"},
  };
  for (const Texts& c : cases) {
    EXPECT_EQ(WarningsFor(c), std::vector<std::string>()) << c.what;
  }
}

TEST(QuoteWarnings, EveryNameVariableInEveryTextIsChecked) {
  // Each text reads from its own start: the main head and main queue alone, the file's line
  // as header, name and queue.
  const Texts t{"all texts",    EscapeKind::kShell,
                "ZQ_DRIVE '",   "' ZQ_RELPATH \"ZQ_EXT\"",
                "echo ZQ_PATH", "echo \"ZQ_NAME\" 'ZQ_EXT' ZQ_GETCOUNT"};
  EXPECT_EQ(WarningsFor(t),
            (std::vector<std::string>{
                "main head: ZQ_PATH is outside quotes, but the shell kind escapes for single "
                "quotes",
                "header: ZQ_DRIVE is outside quotes, but the shell kind escapes for single "
                "quotes",
                "queue: ZQ_RELPATH is outside quotes, but the shell kind escapes for single "
                "quotes",
                "queue: ZQ_EXT is inside double quotes, but the shell kind escapes for single "
                "quotes",
                "main queue: ZQ_NAME is inside double quotes, but the shell kind escapes for "
                "single quotes",
            }));
}

TEST(QuoteWarnings, TheQueueReadsOnFromTheHeader) {
  // The header's quote is still open in the queue; a line break in the header goes on.
  EXPECT_EQ(WarningsFor({"open", EscapeKind::kShell, "cp '", " ZQ_NAME'\r\n"}),
            std::vector<std::string>());
  EXPECT_EQ(WarningsFor({"closed", EscapeKind::kShell, "cp '", "' ZQ_NAME\r\n"}).size(), 1u);
  EXPECT_EQ(WarningsFor({"across lines", EscapeKind::kShell, "cat <<'E' '\r\nx", "'\r\n"}),
            std::vector<std::string>());
  // Batch quotes end at the header's line break.
  EXPECT_EQ(WarningsFor({"batch", EscapeKind::kBatch, "rem \"\r\ncopy ", "\r\n"}),
            std::vector<std::string>{"header: the name is outside double quotes, but the batch "
                                     "kind escapes for double quotes"});
}

TEST(QuoteWarnings, TheNameCountsOnlyWhenThePathModeWritesIt) {
  Texts t{"mode none", EscapeKind::kShell, "echo ", "\r\n"};
  t.mode = PathMode::kNone;
  EXPECT_TRUE(WarningsFor(t).empty());
  for (const PathMode mode : {PathMode::kFull, PathMode::kRelative, PathMode::kName}) {
    t.mode = mode;
    EXPECT_EQ(WarningsFor(t).size(), 1u) << CheckIndexOf(mode);
  }
  // A stored number outside 0..3 writes the full name.
  ScriptSettings s;
  s.Escape = EscapeKind::kShell;
  s.CheckIndex = 7;
  EXPECT_EQ(QuoteWarnings(s, "echo ", "").size(), 1u);
}

TEST(QuoteWarnings, EachSentenceOnceInTheOrderOfTheOutput) {
  const Texts t{"twice", EscapeKind::kJson, "ZQ_NAME ZQ_EXT ZQ_NAME \"", "\" ZQ_EXT\r\n"};
  EXPECT_EQ(WarningsFor(t),
            (std::vector<std::string>{
                "header: ZQ_NAME is outside any string, but the json kind escapes for "
                "double-quoted strings",
                "header: ZQ_EXT is outside any string, but the json kind escapes for "
                "double-quoted strings",
                "queue: ZQ_EXT is outside any string, but the json kind escapes for "
                "double-quoted strings",
            }));
}

TEST(QuoteWarnings, TheNumbersAndValuesNeverCount) {
  // The numbers are never escaped nor quoted; a variable's value is taken to be plain, so
  // ZQ_NAME between two quotes of the header does not close the first.
  EXPECT_TRUE(WarningsFor({"numbers only", EscapeKind::kShell, "n=ZQ_GETSELINDEX ", "",
                           "ZQ_GETCOUNT", "ZQ_GETSELINDEX", PathMode::kNone})
                  .empty());
  EXPECT_TRUE(
      WarningsFor({"plain", EscapeKind::kCsv, "\"ZQ_NAMEZQ_EXT,ZQ_PATH", "\"\r\n"}).empty());
}

TEST(QuoteWarnings, OtherPlacesEachKindTellsApart) {
  const Mistake cases[] = {
      {{"shell $'...'", EscapeKind::kShell, "printf $'", "'\r\n"},
       {"header: the name is inside $'...' quotes, but the shell kind escapes for single "
        "quotes"}},
      {{"shell comment", EscapeKind::kShell, "'", "'\r\n", "# ZQ_NAME\r\n"},
       {"main head: ZQ_NAME is in a comment, but the shell kind escapes for single quotes"}},
      {{"csv after the quote", EscapeKind::kCsv, "\"x\"", "\r\n"},
       {"header: the name is after a field's closing quote, but the csv kind escapes for "
        "double-quoted fields"}},
      {{"json bare", EscapeKind::kJson, "{\"n\": ", "}\r\n"},
       {"header: the name is outside any string, but the json kind escapes for double-quoted "
        "strings"}},
      {{"html tag", EscapeKind::kHtml, "<p ", ">\r\n"},
       {"header: the name is inside a tag, outside any attribute value, but the html kind "
        "escapes for text and quoted attribute values"}},
      {{"html script", EscapeKind::kHtml, "<script>f(\"", "\")</script>\r\n"},
       {"header: the name is inside a script or style element, which reads no entities, but "
        "the html kind escapes for text and quoted attribute values"}},
      {{"none in an html attribute", EscapeKind::kNone, "<a href=\"", "\">\r\n"},
       {"header: the name is inside a quoted attribute value, but the none kind writes names "
        "unescaped; the html kind escapes for quoted attribute values"}},
      {{"none in the main queue", EscapeKind::kNone, "", "\r\n", "", "echo 'last: ZQ_NAME'\r\n"},
       {"main queue: ZQ_NAME is inside single quotes, but the none kind writes names "
        "unescaped; the shell kind escapes for single quotes"}},
  };
  for (const Mistake& c : cases) EXPECT_EQ(WarningsFor(c.texts), c.want) << c.texts.what;
}

TEST(QuoteWarnings, TextsAreReadAsTheComposerReadsThem) {
  // The header is composed from its first 998 bytes: a quote past them opens nothing.
  const std::string header = std::string(998, 'a') + "'";
  ScriptSettings s;
  s.Escape = EscapeKind::kShell;
  EXPECT_EQ(QuoteWarnings(s, header, "'").size(), 1u);
  EXPECT_TRUE(QuoteWarnings(s, header.substr(1), "'").empty());
}

}  // namespace
}  // namespace lq
