#include "engine/preview.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/output.h"
#include "engine/text_helpers.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

using Kind = PreviewPiece::Kind;
using test::ReadFile;
using test::TempDir;

struct Script {
  ScriptSettings settings;
  std::string header;
  std::string queue;
  FileList list;
  PathStyle style = PathStyle::kPosix;

  Preview Show(Eol eol = Eol::kLf, int limit = kPreviewItems) {
    Composer c(settings, style, eol, header, queue, &list);
    return ComposePreview(c, settings, list, limit);
  }
  // What Create writes, or its failure's description.
  std::string Create(const TempDir& dir, Eol eol = Eol::kLf) {
    Composer c(settings, style, eol, header, queue, &list);
    const std::string out = dir.File("out.txt");
    if (const Status created = CreateOutput(c, settings, list, out); !created.ok()) {
      return "! " + created.failure().Describe();
    }
    return ReadFile(out);
  }
};

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string OutputOnly(const Preview& preview) {
  std::string text;
  for (const PreviewPiece& piece : preview.pieces) {
    if (piece.kind == Kind::kOutput) text += piece.text;
  }
  return text;
}

TEST(ComposePreview, AnEmptyListGivesCreatesNotice) {
  Script s;
  s.settings.MainHead = "head\r\n";
  const Preview p = s.Show();
  ASSERT_EQ(p.pieces.size(), 1u);
  EXPECT_EQ(p.pieces[0].kind, Kind::kEmpty);
  EXPECT_EQ(p.pieces[0].text,
            "Please drag some files from File Manager before using this command\n");
  EXPECT_EQ(p.items, 0);
  EXPECT_EQ(p.composed, 0);
  EXPECT_EQ(s.Show(Eol::kCrLf).Text(),
            "Please drag some files from File Manager before using this command\r\n");
}

struct SameAsCreate {
  const char* what;
  PathMode mode;
  bool invert;
  EscapeKind escape;
  const char* header;
  const char* queue;
  const char* main_head;
  const char* main_queue;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SameAsCreate& c, std::ostream* os) { *os << c.what; }

class PreviewMatchesCreate : public testing::TestWithParam<SameAsCreate> {};

// For a list shorter than the limit the preview is the file, byte for byte, whichever way
// each line is composed (straight out, or the general way for a long line), names with line
// breaks and variables' names in them included.
TEST_P(PreviewMatchesCreate, ByteForByte) {
  const SameAsCreate& c = GetParam();
  TempDir dir;
  for (const Eol eol : {Eol::kLf, Eol::kCrLf}) {
    SCOPED_TRACE(eol == Eol::kLf ? "LF" : "CR LF");
    Script s;
    s.settings.CheckIndex = CheckIndexOf(c.mode);
    s.settings.InvertSlash = c.invert;
    s.settings.Escape = c.escape;
    s.settings.MainHead = c.main_head;
    s.settings.MainQueue = c.main_queue;
    s.settings.RelPath = "/home/u/Music/";
    s.header = c.header;
    s.queue = c.queue;
    for (const char* name :
         {"/home/u/Music/Rock/song one.mp3", "/home/u/Music/it's 50% & more.flac",
          "/home/u/Music/Zed/Zoo.ogg", "/home/u/Music/back\\slash.wav", "/home/u/Music/ä ö.mp3",
          "/srv/elsewhere/x.y.z", "/home/u/Music/no_ext", "/home/u/Music/two\nlines ZQ_NAME.mp3",
          "/home/u/Music/ZQ_EXT/c\r\nr.ZQ_PATH"}) {
      s.list.Append(name);
    }
    const std::string file = s.Create(dir, eol);
    ASSERT_FALSE(file.starts_with("! ")) << file;
    const Preview p = s.Show(eol);
    EXPECT_EQ(p.Text(), file);
    ASSERT_EQ(p.pieces.size(), 1u);
    EXPECT_EQ(p.pieces[0].kind, Kind::kOutput);
    EXPECT_EQ(p.items, 9);
    EXPECT_EQ(p.composed, 9);
  }
}

// Longer than a line holds once the paths are in.
const std::string kLong = [] {
  std::string text;
  for (int i = 0; i < 140; ++i) text += "ZQ_PATH";
  return text;
}();

const SameAsCreate kSameAsCreate[] = {
    {"full path", PathMode::kFull, false, EscapeKind::kNone, "cp \"", "\" /b\r\n", "#!/bin/sh\r\n",
     "exit 0\r\n"},
    {"relative, inverted", PathMode::kRelative, true, EscapeKind::kNone, "<a href=\"", "\">\r\n",
     "", ""},
    {"name only", PathMode::kName, false, EscapeKind::kNone, "", "\r\n", "", ""},
    {"variables", PathMode::kNone, false, EscapeKind::kNone,
     "ZQ_GETSELINDEX ZQ_GETCOUNT ZQ_DRIVE|ZQ_PATH|ZQ_NAME|ZQ_EXT|ZQ_RELPATH ", "\r\n",
     "first ZQ_NAME of ZQ_GETCOUNT\r\n", "last ZQ_NAMEZQ_EXT ZQ_GETSELINDEX\r\n"},
    {"shell escaping", PathMode::kFull, false, EscapeKind::kShell, "cp -- '", "' /b/\r\n",
     "#!/bin/sh\r\nset -e\r\n", "echo done ZQ_GETCOUNT\r\n"},
    {"html escaping", PathMode::kName, false, EscapeKind::kHtml, "<li>ZQ_NAME: ", "</li>\r\n",
     "<ul>\r\n", "</ul>\r\n"},
    {"url escaping", PathMode::kRelative, false, EscapeKind::kUrl, "<a href=\"",
     "\">ZQ_NAME</a>\r\n", "", ""},
    {"csv escaping", PathMode::kFull, false, EscapeKind::kCsv, "ZQ_GETSELINDEX,\"", "\"\r\n",
     "n,name\r\n", ""},
    {"json escaping", PathMode::kFull, false, EscapeKind::kJson, "{\"file\": \"", "\"}\r\n", "",
     ""},
    {"a queue without a line break", PathMode::kName, false, EscapeKind::kNone, "[", "]", "", ""},
    {"a header spelling a variable", PathMode::kNone, false, EscapeKind::kNone, "ZQ_", "NAME\r\n",
     "", ""},
    {"long lines are cut", PathMode::kFull, false, EscapeKind::kNone, kLong.c_str(), kLong.c_str(),
     "", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, PreviewMatchesCreate, testing::ValuesIn(kSameAsCreate));

// A long list: the head and the first lines as in the file, a note of the rest, and the main
// queue as in the file, describing the last item and the whole count.
TEST(ComposePreview, ALongListShowsItsFirstItemsThenTheMainQueueOfTheWholeList) {
  TempDir dir;
  for (const Eol eol : {Eol::kLf, Eol::kCrLf}) {
    Script s;
    s.settings.CheckIndex = CheckIndexOf(PathMode::kName);
    s.settings.MainHead = "head ZQ_NAME\r\n";
    s.settings.MainQueue = "queue ZQ_NAME ZQ_GETSELINDEX ZQ_GETCOUNT\r\n";
    s.header = "ZQ_GETSELINDEX ";
    s.queue = "\r\n";
    for (int i = 0; i < 1000; ++i) s.list.Append("/m/track" + std::to_string(i) + ".flac");
    const std::vector<std::string> file = LinesOf(s.Create(dir, eol));
    ASSERT_EQ(file.size(), 1002u);
    ASSERT_EQ(file.back(),
              eol == Eol::kLf ? "queue track999 1001 1000" : "queue track999 1001 1000\r");

    const Preview p = s.Show(eol);
    EXPECT_EQ(p.items, 1000);
    EXPECT_EQ(p.composed, 200);
    ASSERT_EQ(p.pieces.size(), 3u);
    EXPECT_EQ(p.pieces[1].kind, Kind::kMore);
    EXPECT_EQ(p.pieces[1].text, eol == Eol::kLf ? "\xE2\x80\xA6 and 800 more items\n"
                                                : "\xE2\x80\xA6 and 800 more items\r\n");
    std::vector<std::string> want(file.begin(), file.begin() + 201);
    want.push_back(LinesOf(p.pieces[1].text).front());
    want.push_back(file.back());
    EXPECT_EQ(LinesOf(p.Text()), want);
  }
}

TEST(ComposePreview, OneMoreItemIsSaidSo) {
  Script s;
  s.queue = "\r\n";
  for (int i = 0; i < 201; ++i) s.list.Append("f" + std::to_string(i));
  const Preview p = s.Show();
  ASSERT_EQ(p.pieces.size(), 2u);
  EXPECT_EQ(p.pieces[1].text, "\xE2\x80\xA6 and 1 more item\n");
}

TEST(ComposePreview, TheLimitBoundsTheComposedItems) {
  Script s;
  s.settings.MainHead = "[";
  s.settings.MainQueue = "]";
  s.queue = ";";
  for (const char* n : {"a", "b", "c"}) s.list.Append(n);
  EXPECT_EQ(s.Show(Eol::kLf, 0).Text(), "[\xE2\x80\xA6 and 3 more items\n]");
  EXPECT_EQ(s.Show(Eol::kLf, 2).Text(), "[a;b;\xE2\x80\xA6 and 1 more item\n]");
  EXPECT_EQ(s.Show(Eol::kLf, 3).Text(), "[a;b;c;]");
  EXPECT_EQ(s.Show(Eol::kLf, -5).composed, 0);
}

// Where Create stops at a refused name, the preview shows Create's reason in place of that
// line, on one line, and goes on with the others.
TEST(ComposePreview, ARefusedNameShowsCreatesReasonInPlaceOfItsLine) {
  TempDir dir;
  Script s;
  s.settings.Escape = EscapeKind::kBatch;
  s.settings.MainHead = "@echo off\r\n";
  s.settings.MainQueue = "pause\r\n";
  s.header = "copy \"";
  s.queue = "\" D:\\b\r\n";
  s.list.Append("/x/one 100%.txt");
  s.list.Append("/x/say \"hi\".txt");
  s.list.Append("/x/two\nlines.txt");
  s.list.Append("/x/three.txt");
  const std::string created = s.Create(dir);
  ASSERT_TRUE(created.starts_with("! ")) << created;

  const Preview p = s.Show();
  ASSERT_EQ(p.pieces.size(), 4u);
  EXPECT_EQ(p.pieces[0].kind, Kind::kOutput);
  EXPECT_EQ(p.pieces[0].text, "@echo off\ncopy \"/x/one 100%%.txt\" D:\\b\n");
  EXPECT_EQ(p.pieces[1].kind, Kind::kRefused);
  EXPECT_EQ("! " + p.pieces[1].text, created + "\n");
  EXPECT_EQ(p.pieces[2].kind, Kind::kRefused);
  EXPECT_NE(p.pieces[2].text.find("/x/two\\nlines.txt"), std::string::npos) << p.pieces[2].text;
  EXPECT_EQ(LinesOf(p.pieces[2].text).size(), 1u);
  EXPECT_EQ(p.pieces[3].kind, Kind::kOutput);
  EXPECT_EQ(p.pieces[3].text, "copy \"/x/three.txt\" D:\\b\npause\n");
}

// The main head describes the first name: when that name is refused, so is the head.
TEST(ComposePreview, ARefusedFirstNameAlsoRefusesTheHeadThatDescribesIt) {
  Script s;
  s.settings.Escape = EscapeKind::kJson;
  s.settings.MainHead = "[\r\n";
  s.settings.MainQueue = "]\r\n";
  s.header = "\"";
  s.queue = "\",\r\n";
  s.list.Append("/x/\xFF.txt");
  s.list.Append("/x/ok.txt");
  const Preview p = s.Show();
  ASSERT_EQ(p.pieces.size(), 4u);
  EXPECT_EQ(p.pieces[0].kind, Kind::kRefused);
  EXPECT_EQ(p.pieces[1].kind, Kind::kRefused);
  EXPECT_EQ(OutputOnly(p), "\"/x/ok.txt\",\n");
  // A main queue without variables is composed for the first name too, as in Create.
  EXPECT_EQ(p.pieces[3].kind, Kind::kRefused);
  s.settings.MainQueue = "] ZQ_GETCOUNT\r\n";
  EXPECT_EQ(OutputOnly(s.Show()), "\"/x/ok.txt\",\n] 2\n");
}

}  // namespace
}  // namespace lq
