#include "engine/composer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/capacities.h"

namespace lq {
namespace {

constexpr PathStyle kWin = PathStyle::Windows;
constexpr PathStyle kPosix = PathStyle::Posix;

// The worked example: the third item of a list, RelPath the Music folder.
struct Example {
  PathStyle style;
  const char* relpath;
  const char* item;
};
const Example kWinExample{kWin, R"(C:\Music\)", R"(C:\Music\Rock\song.mp3)"};
const Example kPosixExample{kPosix, "/home/u/Music/", "/home/u/Music/Rock/song.mp3"};

FileList ListWithThirdItem(const char* item) {
  FileList list;
  list.Append("first");
  list.Append("second");
  list.Append(item);
  return list;
}

std::string Compose(const Example& ex, const char* header, int mode = 0, bool invert = false) {
  ScriptSettings s;
  s.RelPath = ex.relpath;
  s.CheckIndex = mode;
  s.InvertSlash = invert;
  FileList list = ListWithThirdItem(ex.item);
  Composer c(s, ex.style, header, "", &list);
  std::string line, file;
  c.ComposeLine(line, file, 2);
  return line;
}

struct VariableCase {
  const char* header;
  const char* windows;
  const char* posix;
};

TEST(Composer, WorkedExampleVariables) {
  const VariableCase cases[] = {
      {"ZQ_DRIVE|", "C:|", "|"},
      {"ZQ_PATH|", R"(\Music\Rock\|)", "/home/u/Music/Rock/|"},
      {"ZQ_NAME|", "song|", "song|"},
      {"ZQ_EXT|", ".mp3|", ".mp3|"},
      {"ZQ_RELPATH|", "Rock|", "Rock|"},
      {"ZQ_GETSELINDEX|", "3|", "3|"},
      {"ZQ_GETCOUNT|", "2|", "2|"},
      {"ZQ_NAME ZQ_NAME|", "song song|", "song song|"},
      {"zq_name ZQ_NAMES ZQ_FOO|", "zq_name songS ZQ_FOO|", "zq_name songS ZQ_FOO|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.header);
    EXPECT_EQ(Compose(kWinExample, c.header, CheckIndexOf(PathMode::kNone)), c.windows);
    EXPECT_EQ(Compose(kPosixExample, c.header, CheckIndexOf(PathMode::kNone)), c.posix);
  }
}

TEST(Composer, WorkedExampleWrittenNames) {
  struct Case {
    int mode;
    bool invert;
    const char* windows;
    const char* posix;
  };
  const Case cases[] = {
      {CheckIndexOf(PathMode::kFull), false, R"(C:\Music\Rock\song.mp3)",
       "/home/u/Music/Rock/song.mp3"},
      {CheckIndexOf(PathMode::kRelative), false, R"(Rock\song.mp3)", "Rock/song.mp3"},
      {CheckIndexOf(PathMode::kName), false, "song.mp3", "song.mp3"},
      {CheckIndexOf(PathMode::kNone), false, "", ""},
      {7, false, R"(C:\Music\Rock\song.mp3)", "/home/u/Music/Rock/song.mp3"},
      {CheckIndexOf(PathMode::kRelative), true, "Rock/song.mp3", "Rock/song.mp3"},
      {CheckIndexOf(PathMode::kFull), true, "C:/Music/Rock/song.mp3",
       "/home/u/Music/Rock/song.mp3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    EXPECT_EQ(Compose(kWinExample, "", c.mode, c.invert), c.windows);
    EXPECT_EQ(Compose(kPosixExample, "", c.mode, c.invert), c.posix);
  }
  EXPECT_EQ(Compose(kWinExample, "ZQ_PATH", CheckIndexOf(PathMode::kNone), true), "/Music/Rock/");
}

TEST(Composer, RelPathEdgeCases) {
  const Example in_folder_win{kWin, R"(C:\Music\)", R"(C:\Music\song.mp3)"};
  const Example in_folder_posix{kPosix, "/home/u/Music/", "/home/u/Music/song.mp3"};
  EXPECT_EQ(Compose(in_folder_win, "ZQ_RELPATH", CheckIndexOf(PathMode::kNone)), "song.mp3");
  EXPECT_EQ(Compose(in_folder_posix, "ZQ_RELPATH", CheckIndexOf(PathMode::kNone)), "song.mp3");

  const Example other_drive{kWin, R"(C:\Music\)", R"(D:\x\y.txt)"};
  EXPECT_EQ(Compose(other_drive, "ZQ_RELPATH", CheckIndexOf(PathMode::kNone)), R"(D:\x)");
  EXPECT_EQ(Compose(other_drive, "", CheckIndexOf(PathMode::kRelative)), R"(D:\x\y.txt)");
}

TEST(Composer, ModeNameWithoutSeparatorKeepsTheName) {
  const Example bare{kWin, R"(C:\)", "plain.txt"};
  EXPECT_EQ(Compose(bare, "", CheckIndexOf(PathMode::kName)), "plain.txt");
  const Example bare_posix{kPosix, "/", "plain.txt"};
  EXPECT_EQ(Compose(bare_posix, "", CheckIndexOf(PathMode::kName)), "plain.txt");
}

TEST(Composer, LaterVariablesSeeEarlierValues) {
  // A folder called ZQ_NAME: the path brings the word in, the name pass replaces it.
  const Example win{kWin, R"(C:\)", R"(C:\ZQ_NAME\song.mp3)"};
  EXPECT_EQ(Compose(win, "ZQ_PATH", CheckIndexOf(PathMode::kNone)), R"(\song\)");
  const Example posix{kPosix, "/", "/srv/ZQ_EXT/song.mp3"};
  EXPECT_EQ(Compose(posix, "ZQ_PATH", CheckIndexOf(PathMode::kNone)), "/srv/.mp3/");
}

TEST(Composer, VariablesFormedByAJunctionAreReplacedToo) {
  // The empty drive joins "ZQ_" and "NAME" into a variable the name pass then sees.
  const Example posix{kPosix, "/", "/m/song.mp3"};
  EXPECT_EQ(Compose(posix, "ZQ_ZQ_DRIVENAME", CheckIndexOf(PathMode::kNone)), "song");
  EXPECT_EQ(Compose(posix, "ZQ_NAMEZQ_DRIVE_X", CheckIndexOf(PathMode::kNone)), "song_X");
  // A literal that merely looks like a variable stays in every line.
  EXPECT_EQ(Compose(posix, "ZQ_VAR ZQ_NAME", CheckIndexOf(PathMode::kNone)), "ZQ_VAR song");
}

TEST(Composer, OnePassAgreesWithReplacingStepByStep) {
  const char* names[] = {"/m/song.mp3",        "/ZQ_NAME/ZQ_EXT.ZQ_PATH", "/m/NAME.x",
                         "/m/ZQ_.ZQ_",         "/Z/Q_/ZQ_GETCOUNT",       "/a\r/b.c",
                         "/ZQ_RELPATH/x/ZQ_Z", "/dir.ext/ZQ_DRIVE"};
  const char* texts[] = {"ZQ_ZQ_DRIVENAME", "ZQ_PATHZQ_NAME",         "ZQ_ZQ_NAMEEXT|ZQ_",
                         "Z ZQ_EXT Q_",     "ZQ_RELPATH-ZQ_GETCOUNT", "ZQ_NAME\r\nZQ_EXT",
                         "ZZQ_NAMEQ_NAME",  "ZQ_DRIVEZQ_PATHZQ_EXT"};
  ScriptSettings s;
  s.RelPath = "/m/";
  for (PathStyle style : {kPosix, kWin}) {
    for (const char* text : texts) {
      for (const char* name : names) {
        FileList list;
        list.Append(name);
        Composer fast(s, style, text, text, &list);
        Composer slow(s, style, text, text, &list);
        slow.set_stepwise_only(true);
        std::string a, b, fa, fb;
        fast.ComposeLine(a, fa, 0);
        slow.ComposeLine(b, fb, 0);
        EXPECT_EQ(a, b) << text << " for " << name;
      }
    }
  }
}

TEST(Composer, ValuesHoldingTheirOwnNameEnd) {
  const Example win{kWin, R"(C:\)", R"(C:\ZQ_PATH\ZQ_NAME.ZQ_EXT)"};
  EXPECT_EQ(Compose(win, "ZQ_NAME+ZQ_NAME", CheckIndexOf(PathMode::kNone)), "ZQ_NAME+ZQ_NAME");
  EXPECT_EQ(Compose(win, "ZQ_EXT", CheckIndexOf(PathMode::kNone)), ".ZQ_EXT");
  // A value that brings back its own variable is written as it is.
  EXPECT_EQ(Compose(win, "ZQ_PATH", CheckIndexOf(PathMode::kNone)), R"(\ZQ_PATH\)");
  const Example posix{kPosix, "/", "/ZQ_RELPATH/ZQ_RELPATH/x"};
  EXPECT_EQ(Compose(posix, "ZQ_RELPATH", CheckIndexOf(PathMode::kNone)), "ZQ_RELPATH/ZQ_RELPATH");
}

TEST(Composer, CarriageReturnsLeaveTextsButNotTheName) {
  ScriptSettings s;
  s.RelPath = "/";
  FileList list;
  list.Append("/a/b\rc.txt");
  Composer c(s, kPosix, "echo\r\nZQ_NAME\r\n", "x\r\n", &list);
  std::string line, file;
  c.ComposeLine(line, file, 0);
  EXPECT_EQ(line, "echo\nbc\n/a/b\rc.txtx\n");
  EXPECT_EQ(file, "/a/b\rc.txt");
}

TEST(Composer, HeaderIsReadUpToItsCapacity) {
  ScriptSettings s;
  FileList list;
  list.Append("/f");
  const std::string header(2000, 'h');
  Composer c(s, kPosix, header, "", &list);
  std::string line, file;
  c.ComposeLine(line, file, 0);
  EXPECT_EQ(line, std::string(kEditReadMax, 'h') + "/f");
}

TEST(Composer, FullHeaderOfVariablesEndsAndIsCut) {
  ScriptSettings s;
  s.RelPath = "/";
  FileList list;
  const std::string dir = "/" + std::string(200, 'd') + "/ZQ_NAME";
  list.Append(dir + "/" + std::string(200, 'n') + ".ZQ_EXT");
  std::string header;
  while (header.size() + 7 <= kEditReadMax) header += "ZQ_PATH";
  Composer c(s, kPosix, header, "ZQ_RELPATHZQ_GETCOUNT", &list);
  std::string line, file;
  c.ComposeLine(line, file, 0);
  EXPECT_EQ(line.size(), kLineMax);
  EXPECT_EQ(line.substr(0, 202), "/" + std::string(200, 'd') + "/");
}

TEST(Composer, LineCutKeepsUtf8Whole) {
  ScriptSettings s;
  FileList list;
  std::string name = "/";
  for (int i = 0; i < 499; ++i) name += "\xC3\xA9";
  list.Append(name);
  // Four names of 998 bytes overflow the line; its last byte would split an é.
  Composer c(s, kPosix, "ZQ_NAMEZQ_NAMEZQ_NAMEZQ_NAME", "", &list);
  std::string line, file;
  c.ComposeLine(line, file, 0);
  EXPECT_EQ(line.size(), kLineMax - 1);
  EXPECT_EQ(static_cast<unsigned char>(line.back()), 0xA9);
}

TEST(Composer, PieceForAMissingItemKeepsTheFileBuffer) {
  ScriptSettings s;
  s.CheckIndex = CheckIndexOf(PathMode::kName);
  FileList list;
  list.Append("/a/b.txt");
  Composer c(s, kPosix, "", "", &list);
  std::string out;
  std::string file = "/held/name.txt";
  c.ComposePiece(out, "ZQ_NAME ZQ_GETSELINDEX ZQ_GETCOUNT", file, 5);
  EXPECT_EQ(out, "name 6 5");
  EXPECT_EQ(file, "name.txt");
}

TEST(Composer, GivenNameIsUsedInsteadOfTheList) {
  ScriptSettings s;
  FileList list;
  list.Append("/a/b.txt");
  Composer c(s, kPosix, "[ZQ_NAME ZQ_GETSELINDEX]", "", &list);
  std::string line, file;
  const std::string given = "/given/one.txt";
  c.ComposeLine(line, file, 0, &given);
  EXPECT_EQ(line, "[one 1]/given/one.txt");
}

}  // namespace
}  // namespace lq

namespace lq {
namespace {

// A line written straight out must be the line the step-by-step way composes, or not be
// written at all.
std::optional<std::string> WrittenStraight(Composer& c, int index, std::string_view name) {
  std::vector<char> room(Composer::kLineRoom);
  char* end = c.WriteLineTo(room.data(), index, name);
  if (end == nullptr) return std::nullopt;
  return std::string(room.data(), static_cast<std::size_t>(end - room.data()));
}

TEST(Composer, LinesWrittenStraightOutAgreeWithStepByStep) {
  const std::string names[] = {
      "/home/u/Music/Rock/song.mp3", R"(C:\Music\Rock\song.mp3)", "/m/ZQ_NAME.ZQ_EXT",
      "/m/ZQ_EXT.x", "/ZQ_GETCOUNT/a.b", "/Z/Q_/x", "/a\rb/c.d", "plain", "", "/trailing/",
      "/.hidden", "/home/u/Beyonc\xc3\xa9/a long name with spaces and more.tar.gz",
      // Long enough for the one look at the last 32 bytes.
      "/srv/a.long.folder.name/with/depth/track 0001.flac",
      "/srv/a.long.folder.name/with/depth/no extension here",
      "/srv/a.long.folder.name/with/depth/.hidden",
      "/srv/a.long.folder.name/with/depth/ends in a slash/",
      "/srv/a\rlong folder name with a CR/in it/song.mp3",
      "/srv/a long folder name with a CR/in it/so\rng.mp3",
      "/srv/Zappa/a long folder name here/song.mp3",
      "/srv/a long folder name here/Zappa - ZQ_EXT.mp3",
      "/srv/a long folder name here/Zappa - Z.Q_NAME", "/srv/" + std::string(40, 'n') + ".ext",
      "/srv/" + std::string(40, 'n')};
  const char* texts[] = {"",
                         "cp -- \"",
                         "\" \"/backup/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT\"\r\n",
                         "ZQ_DRIVE|ZQ_PATH|ZQ_NAME|ZQ_EXT|ZQ_RELPATH|ZQ_GETSELINDEX|ZQ_GETCOUNT",
                         "Z ZQ_EXT Q_",
                         "ZZQ_NAMEQ_NAME",
                         "ZQ_NAME\rZQ_EXT\r",
                         "ZQ_FOO stays"};
  ScriptSettings s;
  s.RelPath = "/home/u/";
  for (const PathStyle style : {kPosix, kWin}) {
    for (const int mode : {CheckIndexOf(PathMode::kFull), CheckIndexOf(PathMode::kRelative),
                           CheckIndexOf(PathMode::kName), CheckIndexOf(PathMode::kNone)}) {
      for (const bool invert : {false, true}) {
        s.CheckIndex = mode;
        s.InvertSlash = invert;
        for (const char* header : texts) {
          for (const char* queue : texts) {
            Composer fast(s, style, header, queue);
            Composer slow(s, style, header, queue);
            slow.set_stepwise_only(true);
            int index = 0;
            for (const std::string& name : names) {
              std::string line, file;
              slow.ComposeLineFor(line, file, index, name);
              const auto straight = WrittenStraight(fast, index, name);
              if (straight) {
                EXPECT_EQ(*straight, line) << header << "|" << queue << "|" << name;
              }
              ++index;
            }
          }
        }
      }
    }
  }
}

TEST(Composer, CommonLinesAreWrittenStraightOut) {
  ScriptSettings s;
  Composer c(s, kPosix, "cp -- \"", "\" \"/b/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT\"\r\n");
  EXPECT_EQ(WrittenStraight(c, 0, "/m/a b.mp3"), "cp -- \"/m/a b.mp3\" \"/b/1-a b.mp3\"\n");
  // A 'Z' in the name is fine as long as no "ZQ_" comes of it.
  EXPECT_EQ(WrittenStraight(c, 9, "/m/ZQ-like.z"), "cp -- \"/m/ZQ-like.z\" \"/b/10-ZQ-like.z\"\n");
}

TEST(Composer, WhatOnePassCannotPromiseGoesTheGeneralWay) {
  ScriptSettings s;
  Composer c(s, kPosix, "", "ZQ_NAME|");
  EXPECT_EQ(WrittenStraight(c, 0, "/a\rb"), std::nullopt);        // a CR to remove
  EXPECT_EQ(WrittenStraight(c, 0, "/m/ZQ_EXT.x"), std::nullopt);  // a value brings a name
  EXPECT_EQ(WrittenStraight(c, 0, "/" + std::string(2000, 'n') + std::string(999, 'm')),
            std::nullopt);  // a line over its capacity is cut
  Composer joins(s, kPosix, "", "ZQ_NAMEQ_EXT");
  EXPECT_EQ(WrittenStraight(joins, 0, "/m/Z.x"), std::nullopt);  // "Z" + "Q_EXT"
  Composer stepwise(s, kPosix, "", "ZQ_NAME");
  stepwise.set_stepwise_only(true);
  EXPECT_EQ(WrittenStraight(stepwise, 0, "/m/a"), std::nullopt);
}

}  // namespace
}  // namespace lq

namespace lq {
namespace {

// Names that are no UTF-8 still fill their line: the cut backs off over a character only.
TEST(Composer, ALineOfBytesThatAreNoUtf8IsCutNotEmptied) {
  ScriptSettings s;
  FileList list;
  list.Append("/" + std::string(998, '\x80'));
  Composer c(s, PathStyle::Posix, "ZQ_NAMEZQ_NAMEZQ_NAMEZQ_NAME", "", &list);
  std::string line, file;
  c.ComposeLine(line, file, 0);
  EXPECT_EQ(line.size(), kLineMax);
}

}  // namespace
}  // namespace lq
