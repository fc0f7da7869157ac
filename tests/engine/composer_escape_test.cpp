// Composing with an escaping kind: what is escaped, what is refused, and that the composer
// agrees with the reference composer.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "engine/capacities.h"
#include "engine/composer.h"
#include "engine/output.h"
#include "tests/engine/compose_reference.h"
#include "tests/support/result_testing.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

constexpr PathStyle kPosix = PathStyle::kPosix;
constexpr PathStyle kWin = PathStyle::kWindows;

struct Line {
  std::string text;
  Status refusal;
};

Line ComposeFor(const ScriptSettings& s, PathStyle style, const std::string& header,
                const std::string& queue, const std::string& name, int index = 0) {
  Composer c(s, style, Eol::kLf, header, queue);
  Line out;
  std::string file;
  c.ComposeLineFor(out.text, file, index, name);
  out.refusal = c.TakeRefusal();
  return out;
}

ScriptSettings With(EscapeKind kind, int mode = CheckIndexOf(PathMode::kFull),
                    bool invert = false) {
  ScriptSettings s;
  s.Escape = kind;
  s.CheckIndex = mode;
  s.InvertSlash = invert;
  s.RelPath = "/home/u/";
  return s;
}

TEST(ComposerEscape, EveryValueOfTheNameIsEscapedButNotTypedTextsOrNumbers) {
  const std::string name = "/home/u/it's/a'b.c'd";
  const Line line = ComposeFor(With(EscapeKind::kShell), kPosix,
                               "'ZQ_DRIVE|ZQ_PATH|ZQ_NAME|ZQ_EXT|ZQ_RELPATH|ZQ_GETSELINDEX' '",
                               "' ZQ_GETCOUNT'\n", name, 6);
  EXPECT_OK(line.refusal);
  EXPECT_EQ(line.text,
            "'|/home/u/it'\\''s/|a'\\''b|.c'\\''d|it'\\''s|7' '/home/u/it'\\''s/a'\\''b.c'\\''d' "
            "6'\n");
}

TEST(ComposerEscape, TheWrittenNameIsEscapedAfterPathModeAndSlashes) {
  struct Case {
    PathStyle style;
    int mode;
    bool invert;
    const char* name;
    const char* want;
  };
  const Case cases[] = {
      {kPosix, CheckIndexOf(PathMode::kFull), false, "/home/u/a b&c.txt", "/home/u/a%20b%26c.txt"},
      {kPosix, CheckIndexOf(PathMode::kRelative), false, "/home/u/d#1/x y", "d%231/x%20y"},
      {kPosix, CheckIndexOf(PathMode::kName), false, "/home/u/d/100%.txt", "100%25.txt"},
      {kPosix, CheckIndexOf(PathMode::kNone), false, "/home/u/a b", ""},
      {kWin, CheckIndexOf(PathMode::kFull), true, R"(C:\a b\c.txt)", "C%3A/a%20b/c.txt"},
      {kWin, CheckIndexOf(PathMode::kFull), false, R"(C:\a b\c.txt)", "C%3A%5Ca%20b%5Cc.txt"},
  };
  for (const Case& c : cases) {
    ScriptSettings s = With(EscapeKind::kUrl, c.mode, c.invert);
    s.RelPath = c.style == kWin ? R"(C:\)" : "/home/u/";
    EXPECT_EQ(ComposeFor(s, c.style, "", "", c.name).text, c.want) << c.name;
  }
}

TEST(ComposerEscape, JoinedVariablesComeOutAsTheEscapedWhole) {
  const ScriptSettings s = With(EscapeKind::kHtml, CheckIndexOf(PathMode::kName));
  const std::string name = "/m/<b>&\"'.t&t";
  const Line joined = ComposeFor(s, kPosix, "ZQ_NAMEZQ_EXT", "", name);
  const Line whole = ComposeFor(s, kPosix, "", "", name);
  EXPECT_EQ(joined.text, "&lt;b&gt;&amp;&quot;&#39;.t&amp;t&lt;b&gt;&amp;&quot;&#39;.t&amp;t");
  EXPECT_EQ(whole.text, "&lt;b&gt;&amp;&quot;&#39;.t&amp;t");
}

// Typed CR LF still gives LF; a CR inside a name is part of the name, in every kind. (Without
// escaping, a value's CR was taken out earlier.)
TEST(ComposerEscape, CarriageReturnsOfTheNameStayInEveryKind) {
  const std::string name = "/m/a\rb.txt";
  EXPECT_EQ(ComposeFor(With(EscapeKind::kShell), kPosix, "'ZQ_NAME'\r\n", "", name).text,
            "'a\rb'\n/m/a\rb.txt");
  EXPECT_EQ(ComposeFor(With(EscapeKind::kNone), kPosix, "'ZQ_NAME'\r\n", "", name).text,
            "'a\rb'\n/m/a\rb.txt");
  EXPECT_EQ(ComposeFor(With(EscapeKind::kCsv), kPosix, "\"ZQ_NAME\"\r\n", "", name).text,
            "\"a\rb\"\n/m/a\rb.txt");
  EXPECT_EQ(ComposeFor(With(EscapeKind::kJson), kPosix, "ZQ_NAME\r\n", "", name).text,
            "a\\rb\n/m/a\\rb.txt");
}

TEST(ComposerEscape, ANameTheKindCannotHoldIsRefusedAndNamed) {
  struct Case {
    EscapeKind kind;
    int mode;
    const char* header;
    const char* name;
    bool refused;
  };
  const Case cases[] = {
      {EscapeKind::kBatch, CheckIndexOf(PathMode::kFull), "", "/m/say \"hi\".txt", true},
      {EscapeKind::kBatch, CheckIndexOf(PathMode::kFull), "", "/m/two\nlines", true},
      {EscapeKind::kBatch, CheckIndexOf(PathMode::kNone), "ZQ_EXT", "/m/a\rb",
       false},  // the CR is not asked for
      {EscapeKind::kBatch, CheckIndexOf(PathMode::kNone), "ZQ_PATH", "/m\"/a", true},
      {EscapeKind::kBatch, CheckIndexOf(PathMode::kNone), "ZQ_NAME", "/m\"/a", false},
      {EscapeKind::kJson, CheckIndexOf(PathMode::kFull), "", "/m/\xFF.txt", true},
      {EscapeKind::kJson, CheckIndexOf(PathMode::kNone), "ZQ_EXT", "/m/\xFF.txt", false},
      {EscapeKind::kJson, CheckIndexOf(PathMode::kNone), "ZQ_NAME", "/m/\xFF.txt", true},
      {EscapeKind::kShell, CheckIndexOf(PathMode::kFull), "", "/m/\xFF\"\n.txt", false},
  };
  for (const Case& c : cases) {
    const Line line = ComposeFor(With(c.kind, c.mode), kPosix, c.header, "\n", c.name);
    EXPECT_EQ(!line.refusal.ok(), c.refused) << EscapeWord(c.kind) << " " << c.name;
    if (!line.refusal.ok()) {
      EXPECT_EQ(line.refusal.failure().text, c.name);
      EXPECT_EQ(line.refusal.failure().caption, kUnsafeNameCaption);
      EXPECT_FALSE(line.refusal.failure().reason.empty());
    }
  }
}

TEST(ComposerEscape, ALineTooLongToHoldIsRefusedNotCut) {
  // Escaped, the name outgrows the line; a cut could leave the quote open.
  const std::string name = "/" + std::string(990, '\'');
  const Line shell = ComposeFor(With(EscapeKind::kShell), kPosix, "cp -- '", "' /b\n", name);
  ASSERT_FALSE(shell.refusal.ok());
  EXPECT_NE(shell.refusal.failure().reason.find("2999"), std::string::npos);
  const Line none = ComposeFor(With(EscapeKind::kNone), kPosix, "cp -- '", "' /b\n", name);
  EXPECT_OK(none.refusal);
  EXPECT_EQ(none.text.size(), 7 + name.size() + 5);
}

// A main text whose values outgrow the working bound: escaped it is refused, as a cut could
// leave a quote open; plain it is cut there, never inside a character.
TEST(ComposerEscape, AMainTextOutgrowingItsBoundIsRefusedEscapedAndCutPlain) {
  std::string text;
  for (int i = 0; i < 140; ++i) text += "ZQ_PATH";
  const std::string name = "/" + std::string(658, '\'') + "\xC3\xA9/x";
  for (const EscapeKind kind : {EscapeKind::kShell, EscapeKind::kNone}) {
    const ScriptSettings s = With(kind);
    Composer c(s, kPosix, Eol::kLf, "", "");
    std::string out, file;
    c.ComposePiece(out, text, file, 0, &name);
    const Status refusal = c.TakeRefusal();
    if (kind == EscapeKind::kShell) {
      ASSERT_FALSE(refusal.ok());
      EXPECT_NE(refusal.failure().reason.find(std::to_string(kComposeWork)), std::string::npos);
    } else {
      EXPECT_OK(refusal);
      // 662 bytes a path: the bound falls between the two bytes of the 99th path's é.
      EXPECT_EQ(out.size(), kComposeWork - 1);
      EXPECT_EQ(out.substr(0, 662), "/" + std::string(658, '\'') + "\xC3\xA9/");
    }
  }
}

TEST(ComposerEscape, ARefusalIsReportedOnceAndThenCleared) {
  const ScriptSettings s = With(EscapeKind::kBatch);
  Composer c(s, kPosix, Eol::kLf, "", "");
  std::string line, file;
  c.ComposeLineFor(line, file, 0, "/a\"b");
  c.ComposeLineFor(line, file, 1, "/c\"d");
  const Status first = c.TakeRefusal();
  ASSERT_FALSE(first.ok());
  EXPECT_EQ(first.failure().text, "/a\"b");
  EXPECT_OK(c.TakeRefusal());
  c.ComposeLineFor(line, file, 2, "/fine");
  EXPECT_FALSE(c.refused());
}

// Both ways of the composer must give the reference's bytes for every kind, refusals included.
TEST(ComposerEscape, AgreesWithTheReferenceForEveryKind) {
  std::vector<std::string> names = {
      "/home/u/Music/Rock/song.mp3",
      "/home/u/it's \"quoted\" & <tagged>/50% off.tar.gz",
      "/home/u/ZQ_NAME/ZQ_EXT'.x",
      "/m/Z'Q_/a\rb.c",
      "/srv/a long folder name that is long/line\nbreak.txt",
      "/srv/a long folder name that is long/caf\xC3\xA9 $(x) `y`.json",
      "/srv/bad \xFF utf8/and a long tail name.txt",
      R"(C:\Music\it's\song&.mp3)",
      "/" + std::string(600, '\''),
      "plain",
      "/m/_NAME",
      "/m/ZQ_",
      "/m/two\nlines \"q\" 'a'.txt",
      ""};
  for (const std::string_view v : kVariableNames) {
    const std::string var(v);
    names.push_back("/m/" + var + "'.txt");
    names.push_back("/" + var + "/" + var + " & <" + var + ">/song.mp3");
  }
  // Escaped paths grow past the working bound of a text: refused, never cut.
  std::string paths;
  for (int i = 0; i < 140; ++i) paths += "ZQ_PATH";
  const std::string long_path = "/" + std::string(500, '\'') + "/x";
  names.push_back(long_path);
  const std::string texts[] = {"",
                               "cp -- '",
                               "' \"/b/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT\"\r\n",
                               "ZQ_DRIVE|ZQ_PATH|ZQ_NAME|ZQ_EXT|ZQ_RELPATH|ZQ_GETCOUNT",
                               "Z ZQ_EXT Q_ ZQ_PATHZQ_PATH",
                               "ZQ_NAME\rZQ_EXT\r",
                               "ZQZQ_NAME ZQ_NAMENAME ZQ_ZQ_DRIVENAME\n",
                               paths};
  for (std::size_t k = 0; k < kEscapeWords.size(); ++k) {
    for (const PathStyle style : {kPosix, kWin}) {
      for (const int mode : {CheckIndexOf(PathMode::kFull), CheckIndexOf(PathMode::kRelative),
                             CheckIndexOf(PathMode::kName), CheckIndexOf(PathMode::kNone)}) {
        for (const bool invert : {false, true}) {
          const ScriptSettings s = With(static_cast<EscapeKind>(k), mode, invert);
          const Eol eol = invert ? Eol::kCrLf : Eol::kLf;  // both, without doubling the run
          for (const std::string& header : texts) {
            for (const std::string& queue : texts) {
              Composer fast(s, style, eol, header, queue);
              test::ReferenceComposer reference(s, style, eol, header, queue);
              int index = 0;
              for (const std::string& name : names) {
                std::string a, fa;
                fast.ComposeLineFor(a, fa, index, name);
                const Status ra = fast.TakeRefusal();
                const test::Composed b = reference.Line(name, index);
                const std::string where = std::string(kEscapeWords[k]) + " " +
                                          header.substr(0, 40) + "|" + queue.substr(0, 40) + "|" +
                                          name.substr(0, 80);
                EXPECT_EQ(!ra.ok(), b.refused) << where;
                if (!b.refused) {
                  EXPECT_EQ(a, b.text) << where;
                }
                std::vector<char> room(Composer::kLineRoom);
                if (char* end = fast.WriteLineTo(room.data(), index, name)) {
                  EXPECT_FALSE(b.refused) << "a refused line was written straight out: " << where;
                  EXPECT_EQ(std::string(room.data(), end), b.text) << where;
                }
                EXPECT_FALSE(fast.refused()) << "writing straight out never refuses";
                std::string piece, buf;
                fast.ComposePiece(piece, header, buf, index, &name);
                const test::Composed p = reference.Piece(header, name, index);
                EXPECT_EQ(!fast.TakeRefusal().ok(), p.refused) << where;
                if (!p.refused) {
                  EXPECT_EQ(piece, p.text) << where;
                }
                ++index;
              }
            }
          }
        }
      }
    }
  }
}

TEST(ComposerEscape, CommonEscapedLinesAreWrittenStraightOut) {
  const ScriptSettings s = With(EscapeKind::kShell);
  Composer c(s, kPosix, Eol::kLf, "cp -- '", "' '/b/ZQ_NAMEZQ_EXT'\r\n");
  std::vector<char> room(Composer::kLineRoom);
  char* end = c.WriteLineTo(room.data(), 0, "/m/it's.mp3");
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(std::string(room.data(), end), "cp -- '/m/it'\\''s.mp3' '/b/it'\\''s.mp3'\n");
}

TEST(ComposerEscape, ARefusedNameLeavesTheEarlierOutputFile) {
  test::TempDir dir;
  const std::string out = dir.File("backup.bat");
  test::WriteFile(out, "earlier");
  ScriptSettings s = With(EscapeKind::kBatch);
  s.MainHead = "@echo off\r\n";
  FileList list;
  list.Append("/m/fine.txt");
  list.Append("/m/bad\".txt");
  Composer c(s, kPosix, Eol::kCrLf, "copy \"", "\" x\r\n", &list);
  const Status failure = CreateOutput(c, s, list, out);
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().text, "/m/bad\".txt");
  EXPECT_EQ(test::ReadFile(out), "earlier");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(ComposerEscape, ClipboardTextsOfARefusedNameAreFailures) {
  const ScriptSettings s = With(EscapeKind::kJson);
  FileList list;
  list.Append("/m/\xFE.txt");
  Composer c(s, kPosix, Eol::kLf, "\"", "\"", &list);
  const std::string refused = "/m/\xFE.txt";
  EXPECT_FALSE(SingleLineText(c, refused).ok());
  EXPECT_FALSE(PendingNameText(c, refused).ok());
  EXPECT_FALSE(SelectedItemText(c, list).ok());
  EXPECT_FALSE(CreateAndCopySelectedText(c, list).ok());
  EXPECT_EQ(PendingNameText(c, "/m/fine \"one\".txt").value(), "/m/fine \\\"one\\\".txt");
}

TEST(ComposerEscape, MainHeadAndQueueValuesAreEscapedAndCanBeRefused) {
  test::TempDir dir;
  ScriptSettings s = With(EscapeKind::kHtml, CheckIndexOf(PathMode::kName));
  s.MainHead = "<h1>ZQ_NAME</h1>\r\n";
  s.MainQueue = "<p>ZQ_GETCOUNT, last ZQ_NAMEZQ_EXT</p>\r\n";
  FileList list;
  list.Append("/m/a&b.txt");
  list.Append("/m/<c>.txt");
  Composer c(s, kPosix, Eol::kLf, "<li>", "</li>\r\n", &list);
  ASSERT_OK(CreateOutput(c, s, list, dir.File("o.html")));
  EXPECT_EQ(test::ReadFile(dir.File("o.html")),
            "<h1>a&amp;b</h1>\n<li>a&amp;b.txt</li>\n<li>&lt;c&gt;.txt</li>\n"
            "<p>2, last &lt;c&gt;.txt</p>\n");

  // The lines ask only for names; the main queue asks for the folder, which batch refuses.
  ScriptSettings bat = With(EscapeKind::kBatch, CheckIndexOf(PathMode::kNone));
  bat.MainQueue = "echo done in ZQ_PATH";
  FileList quoted;
  quoted.Append("/m\"x/last.txt");
  Composer b(bat, kPosix, Eol::kLf, "echo ZQ_NAME", "\r\n", &quoted);
  const Status failure = CreateOutput(b, bat, quoted, dir.File("o.bat"));
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().text, "/m\"x/last.txt");
  EXPECT_FALSE(std::filesystem::exists(dir.File("o.bat")));
}

}  // namespace
}  // namespace lq
