#include "engine/composer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/capacities.h"
#include "tests/engine/compose_reference.h"

namespace lq {
namespace {

constexpr PathStyle kWin = PathStyle::kWindows;
constexpr PathStyle kPosix = PathStyle::kPosix;

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
  Composer c(s, ex.style, Eol::kLf, header, "", &list);
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

// A value is written as it stands: a name holding a variable's text is never expanded again.
// (Earlier, variables were replaced one after another and a later one saw the values an
// earlier one brought in.)
TEST(Composer, ValuesAreNeverExpandedAgain) {
  struct Case {
    const char* item;
    const char* header;
    const char* want;
  };
  const Case cases[] = {
      {"/m/ZQ_EXT.txt", "ZQ_NAMEZQ_EXT", "ZQ_EXT.txt"},
      {"/m/ZQ_GETSELINDEX", "ZQ_NAME", "ZQ_GETSELINDEX"},
      {"/m/ZQ_GETCOUNT.ZQ_GETSELINDEX", "ZQ_NAME|ZQ_EXT", "ZQ_GETCOUNT|.ZQ_GETSELINDEX"},
      {"/srv/ZQ_NAME ZQ_RELPATH/song.mp3", "ZQ_PATH", "/srv/ZQ_NAME ZQ_RELPATH/"},
      {"/srv/ZQ_EXT/song.mp3", "ZQ_PATH", "/srv/ZQ_EXT/"},
      {"/ZQ_DRIVE/ZQ_PATH/x", "ZQ_RELPATH", "ZQ_DRIVE/ZQ_PATH"},
  };
  for (const Case& c : cases) {
    const Example posix{kPosix, "/", c.item};
    EXPECT_EQ(Compose(posix, c.header, CheckIndexOf(PathMode::kNone)), c.want) << c.item;
  }
  const Example win{kWin, R"(C:\)", R"(C:\ZQ_NAME\song.mp3)"};
  EXPECT_EQ(Compose(win, "ZQ_PATH", CheckIndexOf(PathMode::kNone)), R"(\ZQ_NAME\)");
}

// A variable's name spelt across a literal and a value, or by literals around an empty value,
// is no variable of the text: only the text's own names are replaced.
TEST(Composer, JunctionsOfTextAndValuesAreNeverScanned) {
  struct Case {
    const char* item;
    const char* header;
    const char* want;
  };
  const Case cases[] = {
      {"/m/_NAME", "ZQZQ_NAME", "ZQ_NAME"},           // a literal "ZQ" before "_NAME"
      {"/m/ZQ_", "ZQ_NAMENAME", "ZQ_NAME"},           // a value "ZQ_" before a literal "NAME"
      {"/m/song.mp3", "ZQ_ZQ_DRIVENAME", "ZQ_NAME"},  // an empty drive between "ZQ_" and "NAME"
      {"/m/song", "ZQ_ZQ_EXTNAME", "ZQ_NAME"},        // an empty extension
      {"/m/song.mp3", "ZQ_NAMEZQ_DRIVE_X", "song_X"},
      {"/m/Z.x", "ZQ_NAMEQ_EXT", "ZQ_EXT"},
      {"/m/song.mp3", "ZQ_VAR ZQ_NAME", "ZQ_VAR song"},  // a look-alike stays
  };
  for (const Case& c : cases) {
    const Example posix{kPosix, "/", c.item};
    EXPECT_EQ(Compose(posix, c.header, CheckIndexOf(PathMode::kNone)), c.want)
        << c.header << " for " << c.item;
  }
}

// Names and folders holding every variable's text, and junctions, for the checks against the
// reference composer.
std::vector<std::string> HostileNames() {
  std::vector<std::string> names = {"/m/song.mp3",
                                    "/m/NAME.x",
                                    "/m/ZQ_.ZQ_",
                                    "/Z/Q_/x",
                                    "/m/_NAME",
                                    "/m/ZQ",
                                    "/m/ZQ_",
                                    "/a\r/b.c",
                                    "/m/two\nlines.txt",
                                    "/m/cr lf\r\n",
                                    R"(C:\ZQ_PATH\ZQ_NAME.ZQ_EXT)",
                                    ""};
  for (const std::string_view v : kVariableNames) {
    const std::string var(v);
    names.push_back("/m/" + var);
    names.push_back("/m/" + var + ".txt");
    names.push_back("/m/x." + var);
    names.push_back("/" + var + "/" + var + "/song.mp3");
    names.push_back("/srv/" + var + " " + var + "Z/a long name to reach the tail look.ogg");
  }
  return names;
}

const char* const kJunctionTexts[] = {"ZQ_ZQ_DRIVENAME",
                                      "ZQ_PATHZQ_NAME",
                                      "ZQ_ZQ_NAMEEXT|ZQ_",
                                      "Z ZQ_EXT Q_",
                                      "ZQ_RELPATH-ZQ_GETCOUNT",
                                      "ZQ_NAME\r\nZQ_EXT\n",
                                      "ZZQ_NAMEQ_NAME",
                                      "ZQZQ_NAME",
                                      "ZQ_NAMENAME",
                                      "ZQ_ZQ_EXTNAME",
                                      "ZQ_NA\r\nME ZQ_\nNAME",
                                      "ZQ_DRIVEZQ_PATHZQ_EXT"};

TEST(Composer, AgreesWithTheReferenceComposer) {
  ScriptSettings s;
  s.RelPath = "/m/";
  const std::vector<std::string> names = HostileNames();
  for (const Eol eol : {Eol::kLf, Eol::kCrLf}) {
    for (PathStyle style : {kPosix, kWin}) {
      for (const char* text : kJunctionTexts) {
        test::ReferenceComposer reference(s, style, eol, text, text);
        Composer c(s, style, eol, text, text);
        int index = 0;
        for (const std::string& name : names) {
          std::string line, file;
          c.ComposeLineFor(line, file, index, name);
          const test::Composed want = reference.Line(name, index);
          EXPECT_EQ(line, want.text) << text << " for " << name;
          EXPECT_EQ(file, want.written) << text << " for " << name;
          std::string piece;
          std::string buf;
          c.ComposePiece(piece, text, buf, index, &name);
          EXPECT_EQ(piece, reference.Piece(text, name, index).text) << text << " for " << name;
          ++index;
        }
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

// Only the texts' own line breaks follow the eol: their CRs go, their LFs become the eol.
// A name's CRs and LFs are its bytes, in every value. (Earlier, a CR was taken out of the
// values too, without escaping.)
TEST(Composer, TextLineBreaksFollowTheEolAndNamesKeepTheirOwn) {
  struct Case {
    Eol eol;
    const char* item;
    const char* want;
  };
  const Case cases[] = {
      {Eol::kLf, "/a/b\rc.txt", "echo\nb\rc\n/a/b\rc.txtx\n"},
      {Eol::kCrLf, "/a/b\rc.txt", "echo\r\nb\rc\r\n/a/b\rc.txtx\r\n"},
      {Eol::kLf, "/a/one\ntwo.txt", "echo\none\ntwo\n/a/one\ntwo.txtx\n"},
      {Eol::kCrLf, "/a/one\ntwo.txt", "echo\r\none\ntwo\r\n/a/one\ntwo.txtx\r\n"},
      {Eol::kCrLf, "/a/lf\r\n.txt", "echo\r\nlf\r\n\r\n/a/lf\r\n.txtx\r\n"},
  };
  ScriptSettings s;
  s.RelPath = "/";
  for (const Case& c : cases) {
    FileList list;
    list.Append(c.item);
    // A lone CR of a text goes too; typed texts come with CR LF or LF alone.
    Composer composer(s, kPosix, c.eol, "echo\r\nZQ_NAME\r\n", "x\r\r\n", &list);
    std::string line, file;
    composer.ComposeLine(line, file, 0);
    EXPECT_EQ(line, c.want) << c.item;
    EXPECT_EQ(file, c.item);
    std::vector<char> room(Composer::kLineRoom);
    char* end = composer.WriteLineTo(room.data(), 0, c.item);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(std::string(room.data(), end), c.want);
  }
}

TEST(Composer, HeaderIsReadUpToItsCapacity) {
  ScriptSettings s;
  FileList list;
  list.Append("/f");
  const std::string header(2000, 'h');
  Composer c(s, kPosix, Eol::kLf, header, "", &list);
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
  Composer c(s, kPosix, Eol::kLf, header, "ZQ_RELPATHZQ_GETCOUNT", &list);
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
  Composer c(s, kPosix, Eol::kLf, "ZQ_NAMEZQ_NAMEZQ_NAMEZQ_NAME", "", &list);
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
  Composer c(s, kPosix, Eol::kLf, "", "", &list);
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
  Composer c(s, kPosix, Eol::kLf, "[ZQ_NAME ZQ_GETSELINDEX]", "", &list);
  std::string line, file;
  const std::string given = "/given/one.txt";
  c.ComposeLine(line, file, 0, &given);
  EXPECT_EQ(line, "[one 1]/given/one.txt");
}

}  // namespace
}  // namespace lq

namespace lq {
namespace {

// A line written straight out must be the line the general way composes, or not be written
// at all.
std::optional<std::string> WrittenStraight(Composer& c, int index, std::string_view name) {
  std::vector<char> room(Composer::kLineRoom);
  char* end = c.WriteLineTo(room.data(), index, name);
  if (end == nullptr) return std::nullopt;
  return std::string(room.data(), static_cast<std::size_t>(end - room.data()));
}

TEST(Composer, LinesWrittenStraightOutAgreeWithTheReference) {
  std::vector<std::string> names = {
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
      "/srv/" + std::string(40, 'n'), "/srv/a long folder name here/two\nlines.txt",
      "/" + std::string(2000, 'n') + std::string(999, 'm')};
  for (const std::string& name : HostileNames()) names.push_back(name);
  std::vector<const char*> texts = {
      "",
      "cp -- \"",
      "\" \"/backup/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT\"\r\n",
      "ZQ_DRIVE|ZQ_PATH|ZQ_NAME|ZQ_EXT|ZQ_RELPATH|ZQ_GETSELINDEX|ZQ_GETCOUNT",
      "Z ZQ_EXT Q_",
      "ZZQ_NAMEQ_NAME",
      "ZQ_NAME\rZQ_EXT\r",
      "ZQ_FOO stays"};
  texts.insert(texts.end(), std::begin(kJunctionTexts), std::end(kJunctionTexts));
  ScriptSettings s;
  s.RelPath = "/home/u/";
  for (const Eol eol : {Eol::kLf, Eol::kCrLf}) {
    for (const PathStyle style : {kPosix, kWin}) {
      for (const int mode : {CheckIndexOf(PathMode::kFull), CheckIndexOf(PathMode::kRelative),
                             CheckIndexOf(PathMode::kName), CheckIndexOf(PathMode::kNone)}) {
        for (const bool invert : {false, true}) {
          s.CheckIndex = mode;
          s.InvertSlash = invert;
          for (const char* header : texts) {
            for (const char* queue : texts) {
              Composer fast(s, style, eol, header, queue);
              test::ReferenceComposer reference(s, style, eol, header, queue);
              int index = 0;
              for (const std::string& name : names) {
                const test::Composed want = reference.Line(name, index);
                const auto straight = WrittenStraight(fast, index, name);
                // Only a line over its capacity, which is cut (by at most a character's
                // bytes below it), goes the general way.
                EXPECT_TRUE(straight || want.text.size() + 3 >= kLineMax)
                    << header << "|" << queue << "|" << name;
                if (straight) {
                  EXPECT_EQ(*straight, want.text) << header << "|" << queue << "|" << name;
                }
                std::string line, file;
                fast.ComposeLineFor(line, file, index, name);
                EXPECT_EQ(line, want.text) << header << "|" << queue << "|" << name;
                ++index;
              }
            }
          }
        }
      }
    }
  }
}

TEST(Composer, CommonLinesAreWrittenStraightOut) {
  ScriptSettings s;
  Composer c(s, kPosix, Eol::kLf, "cp -- \"", "\" \"/b/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT\"\r\n");
  EXPECT_EQ(WrittenStraight(c, 0, "/m/a b.mp3"), "cp -- \"/m/a b.mp3\" \"/b/1-a b.mp3\"\n");
  // A 'Z' in the name is fine as long as no "ZQ_" comes of it.
  EXPECT_EQ(WrittenStraight(c, 9, "/m/ZQ-like.z"), "cp -- \"/m/ZQ-like.z\" \"/b/10-ZQ-like.z\"\n");
  Composer crlf(s, kPosix, Eol::kCrLf, "cp -- \"", "\" \"/b/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT\"\r\n");
  EXPECT_EQ(WrittenStraight(crlf, 0, "/m/a b.mp3"), "cp -- \"/m/a b.mp3\" \"/b/1-a b.mp3\"\r\n");
}

TEST(Composer, OnlyALineToCutGoesTheGeneralWay) {
  ScriptSettings s;
  Composer c(s, kPosix, Eol::kLf, "", "ZQ_NAME|");
  // CRs, line breaks and variables' names in a name are written straight out as they are.
  EXPECT_EQ(WrittenStraight(c, 0, "/a\rb"), "/a\rba\rb|");
  EXPECT_EQ(WrittenStraight(c, 0, "/m/ZQ_EXT.x"), "/m/ZQ_EXT.xZQ_EXT|");
  EXPECT_EQ(WrittenStraight(c, 0, "/m/a\nb"), "/m/a\nba\nb|");
  EXPECT_EQ(WrittenStraight(c, 0, "/" + std::string(2000, 'n') + std::string(999, 'm')),
            std::nullopt);  // a line over its capacity is cut
  Composer joins(s, kPosix, Eol::kLf, "", "ZQ_NAMEQ_EXT");
  EXPECT_EQ(WrittenStraight(joins, 0, "/m/Z.x"), "/m/Z.xZQ_EXT");  // "Z" + "Q_EXT" stays
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
  Composer c(s, PathStyle::kPosix, Eol::kLf, "ZQ_NAMEZQ_NAMEZQ_NAMEZQ_NAME", "", &list);
  std::string line, file;
  c.ComposeLine(line, file, 0);
  EXPECT_EQ(line.size(), kLineMax);
}

}  // namespace
}  // namespace lq
