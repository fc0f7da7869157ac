#include "engine/list_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/list_reader.h"
#include "tests/support/result_testing.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Names at the capacity of an item and one byte past it, as every reader is tried with.
const std::string k999 = "/" + std::string(998, 'n');
const std::string k1000 = "/" + std::string(999, 'n');
// 1000 bytes whose 999th byte is the first of a two-byte character: no cut may keep it.
const std::string kSplitChar = "/" + [] {
  std::string s;
  for (int i = 0; i < 498; ++i) s += "\xC3\xA9";
  return s;
}() + "x\xC3\xA9";
// 999 bytes ending in whole three-byte characters.
const std::string k999Euro = "/ab" + [] {
  std::string s;
  for (int i = 0; i < 332; ++i) s += "\xE2\x82\xAC";
  return s;
}();

struct SplitCase {
  const char* what;
  std::string text;
  std::vector<std::string> names;
  std::vector<std::size_t> left_out;
};

std::vector<SplitCase> ListCases() {
  return {
      {"no final break", "C:\\a.txt\r\nC:\\b.txt", {"C:\\a.txt", "C:\\b.txt"}, {}},
      {"final break adds nothing", "/a\n/b\n", {"/a", "/b"}, {}},
      {"empty line in the middle", "/a\n\n/b", {"/a", "", "/b"}, {}},
      {"empty file", "", {}, {}},
      {"one line break", "\n", {""}, {}},
      {"lone CR is part of the name", "/a\r/b\n", {"/a\r/b"}, {}},
      {"1000 bytes between two", "/a\n" + k1000 + "\n/b\n", {"/a", "/b"}, {2}},
      {"1000 bytes with CR LF", "/a\r\n" + k1000 + "\r\n/b", {"/a", "/b"}, {2}},
      {"1000 bytes last", "/a\n" + k1000, {"/a"}, {2}},
      {"exactly 999 bytes", k999 + "\n/b", {k999, "/b"}, {}},
      {"999 bytes last", "/a\n" + k999, {"/a", k999}, {}},
      {"999 bytes with CR LF", k999 + "\r\n/b\r\n", {k999, "/b"}, {}},
      {"999 bytes and a CR at the end of the text", k999 + "\r", {}, {1}},
      {"999th byte inside a character", "/a\n" + kSplitChar + "\n/b", {"/a", "/b"}, {2}},
      {"999 bytes of whole characters", k999Euro + "\n/b", {k999Euro, "/b"}, {}},
      {"many long lines", k1000 + "\n" + k1000 + k1000 + "\n\n" + k1000, {""}, {1, 2, 4}},
      {"NUL ends a name", std::string("/a\0junk\n/b", 10), {"/a", "/b"}, {}},
  };
}

TEST(SplitListText, Table) {
  for (const auto& c : ListCases()) {
    SCOPED_TRACE(c.what);
    const ListText got = SplitListText(c.text);
    EXPECT_EQ(got.names, c.names);
    EXPECT_EQ(got.left_out, c.left_out);
  }
}

// Files are read in chunks: wherever a chunk ends, inside a long line, between a CR and its
// LF or just past an item's capacity, the same names come out and the same lines are left out.
TEST(LineSplitter, ChunksEndingAnywhereGiveTheSameNames) {
  for (const auto& c : ListCases()) {
    for (const std::size_t step : {1, 2, 3, 500, 998, 999, 1000, 1001, 1002, 1003, 4096}) {
      SCOPED_TRACE(std::string(c.what) + ", chunks of " + std::to_string(step));
      std::vector<std::string> names;
      std::vector<std::size_t> left_out;
      auto add = [&names](std::string_view name) { names.emplace_back(name); };
      auto refuse = [&left_out](std::size_t line, LineProblem why) {
        EXPECT_EQ(why, LineProblem::kTooLong);
        left_out.push_back(line);
      };
      LineSplitter splitter(NulInLine::kCut, kNameMax, kListLineMax);
      for (std::size_t at = 0; at < c.text.size(); at += step) {
        splitter.Feed(std::string_view(c.text).substr(at, step), add, refuse);
      }
      splitter.Finish(add, refuse);
      EXPECT_EQ(splitter.problem(), LineProblem::kNone);
      EXPECT_EQ(names, c.names);
      EXPECT_EQ(left_out, c.left_out);
    }
  }
}

struct BoundCase {
  const char* what;
  std::string text;
  std::vector<std::string> names;
  std::vector<std::size_t> left_out;
  LineProblem problem;
  std::size_t problem_line;
};

// With names of at most 4 bytes and lines of at most 10: a line left out is skipped to its
// end, one past 10 bytes stops the reading there, whatever its chunks.
TEST(LineSplitter, ALineNoListHoldsStopsTheReading) {
  const BoundCase cases[] = {
      {"10 bytes left out", "abcd\n0123456789\nx", {"abcd", "x"}, {2}, LineProblem::kNone, 0},
      {"10 bytes and CR LF", "0123456789\r\nx", {"x"}, {1}, LineProblem::kNone, 0},
      {"11 bytes stop", "abcd\n0123456789A\nx", {"abcd"}, {}, LineProblem::kEndless, 2},
      {"11 bytes last stop", "abcd\n0123456789A", {"abcd"}, {}, LineProblem::kEndless, 2},
      {"10 bytes and a CR last stop", "0123456789\r", {}, {}, LineProblem::kEndless, 1},
      {"no line break ever", std::string(100, 'z'), {}, {}, LineProblem::kEndless, 1},
  };
  for (const BoundCase& c : cases) {
    for (const std::size_t step : {1, 2, 5, 11, 12, 100}) {
      SCOPED_TRACE(std::string(c.what) + ", chunks of " + std::to_string(step));
      std::vector<std::string> names;
      std::vector<std::size_t> left_out;
      auto add = [&names](std::string_view name) { names.emplace_back(name); };
      auto refuse = [&left_out](std::size_t line, LineProblem) { left_out.push_back(line); };
      LineSplitter splitter(NulInLine::kCut, 4, 10);
      for (std::size_t at = 0; at < c.text.size(); at += step) {
        splitter.Feed(std::string_view(c.text).substr(at, step), add, refuse);
      }
      splitter.Finish(add, refuse);
      EXPECT_EQ(names, c.names);
      EXPECT_EQ(left_out, c.left_out);
      EXPECT_EQ(splitter.problem(), c.problem);
      EXPECT_EQ(splitter.problem_line(), c.problem_line);
    }
  }
}

struct NulCase {
  const char* what;
  std::string text;
  std::vector<std::string> names;
  std::vector<std::size_t> left_out;
  std::size_t empty;
  LineProblem problem;
};

std::string Nul(std::initializer_list<std::string> names) {
  std::string text;
  for (const std::string& name : names) text += name + '\0';
  return text;
}

// NUL-separated names, as find -print0 writes them: an empty one is no name.
TEST(NulSplitter, EmptyNamesAreSkippedAndCountedAndLongOnesLeftOut) {
  const NulCase cases[] = {
      {"one empty name", Nul({"/a", "", "/b"}), {"/a", "/b"}, {}, 1, LineProblem::kNone},
      {"empty first and last", Nul({"", "/a", "", ""}), {"/a"}, {}, 3, LineProblem::kNone},
      {"line breaks are data",
       Nul({"/a\nb", "/c\r\n"}),
       {"/a\nb", "/c\r\n"},
       {},
       0,
       LineProblem::kNone},
      {"no final NUL", Nul({"/a"}) + "/b", {"/a", "/b"}, {}, 0, LineProblem::kNone},
      {"1000 bytes between two",
       Nul({"/a", k1000, "/b"}),
       {"/a", "/b"},
       {2},
       0,
       LineProblem::kNone},
      {"1000 bytes last", Nul({"/a"}) + k1000, {"/a"}, {2}, 0, LineProblem::kNone},
      {"999 bytes", Nul({k999, k999Euro}), {k999, k999Euro}, {}, 0, LineProblem::kNone},
      {"999 bytes and a CR LF", Nul({k999 + "\r\n", "/b"}), {"/b"}, {1}, 0, LineProblem::kNone},
      {"999th byte inside a character",
       Nul({kSplitChar, "/b"}),
       {"/b"},
       {1},
       0,
       LineProblem::kNone},
      {"empty names numbered too", Nul({"", k1000, "/b"}), {"/b"}, {2}, 1, LineProblem::kNone},
      {"one short of a run",
       std::string(kEmptyRunMax - 1, '\0') + Nul({"/b"}),
       {"/b"},
       {},
       kEmptyRunMax - 1,
       LineProblem::kNone},
      {"a run of empty names",
       Nul({"/a"}) + std::string(kEmptyRunMax, '\0') + Nul({"/b"}),
       {"/a"},
       {},
       kEmptyRunMax - 1,
       LineProblem::kEmptyRun},
      {"runs broken by names",
       std::string(kEmptyRunMax - 1, '\0') + Nul({"/b"}) + std::string(kEmptyRunMax - 1, '\0') +
           Nul({k1000}) + std::string(kEmptyRunMax - 1, '\0'),
       {"/b"},
       {2 * kEmptyRunMax},
       3 * (kEmptyRunMax - 1),
       LineProblem::kNone},
  };
  for (const NulCase& c : cases) {
    for (const std::size_t step : {std::size_t{1}, std::size_t{3}, std::size_t{999},
                                   std::size_t{1000}, std::size_t{1001}, std::size_t{1} << 17}) {
      SCOPED_TRACE(std::string(c.what) + ", chunks of " + std::to_string(step));
      std::vector<std::string> names;
      std::vector<std::size_t> left_out;
      auto add = [&names](std::string_view name) { names.emplace_back(name); };
      auto refuse = [&left_out](std::size_t line, LineProblem why) {
        EXPECT_EQ(why, LineProblem::kTooLong);
        left_out.push_back(line);
      };
      NulSplitter splitter(kNameMax, kListLineMax);
      for (std::size_t at = 0; at < c.text.size(); at += step) {
        splitter.Feed(std::string_view(c.text).substr(at, step), add, refuse);
      }
      splitter.Finish(add, refuse);
      EXPECT_EQ(names, c.names);
      EXPECT_EQ(left_out, c.left_out);
      EXPECT_EQ(splitter.empty_names(), c.empty);
      EXPECT_EQ(splitter.problem(), c.problem);
    }
  }
}

// Lines can skip empty names as NUL-separated names do; a list file's reader keeps them.
TEST(LineSplitter, EmptyLinesAreSkippedWhenAsked) {
  const std::string text = "\n/a\r\n\r\n" + k1000 + "\n\n/b\n\n";
  for (const std::size_t step : {1, 2, 1000, 4096}) {
    SCOPED_TRACE(step);
    std::vector<std::string> names;
    std::vector<std::size_t> left_out;
    auto add = [&names](std::string_view name) { names.emplace_back(name); };
    auto refuse = [&left_out](std::size_t line, LineProblem) { left_out.push_back(line); };
    LineSplitter splitter(NulInLine::kRefuse, kNameMax, kListLineMax, EmptyNames::kSkip);
    for (std::size_t at = 0; at < text.size(); at += step) {
      splitter.Feed(std::string_view(text).substr(at, step), add, refuse);
    }
    splitter.Finish(add, refuse);
    EXPECT_EQ(names, (std::vector<std::string>{"/a", "/b"}));
    EXPECT_EQ(left_out, std::vector<std::size_t>{4});
    EXPECT_EQ(splitter.empty_names(), 4u);
    EXPECT_EQ(splitter.problem(), LineProblem::kNone);
  }
  LineSplitter endless(NulInLine::kRefuse, kNameMax, kListLineMax, EmptyNames::kSkip);
  std::vector<std::string> names;
  auto add = [&names](std::string_view name) { names.emplace_back(name); };
  endless.Feed("/a\n" + std::string(kEmptyRunMax, '\n') + "/b\n", add,
               [](std::size_t, LineProblem) {});
  EXPECT_EQ(endless.problem(), LineProblem::kEmptyRun);
  EXPECT_EQ(names, std::vector<std::string>{"/a"});
}

// Under NulInLine::kRefuse a NUL stops the reading at its line, even inside a line already
// left out for its length: what follows may be pieces of -print0 names.
TEST(LineSplitter, ANulStopsTheReadingWhenRefused) {
  const BoundCase cases[] = {
      {"in the third line",
       std::string("/a\n/b\n/c\0d\n/e\n", 12),
       {"/a", "/b"},
       {},
       LineProblem::kNul,
       3},
      {"in a long line",
       "/a\n" + k1000 + std::string("\0\n/e\n", 4),
       {"/a"},
       {},
       LineProblem::kNul,
       2},
      {"after a long line",
       "/a\n" + k1000 + std::string("\n\0\n/e\n", 5),
       {"/a"},
       {2},
       LineProblem::kNul,
       3},
  };
  for (const BoundCase& c : cases) {
    for (const std::size_t step : {1, 2, 1000, 4096}) {
      SCOPED_TRACE(std::string(c.what) + ", chunks of " + std::to_string(step));
      std::vector<std::string> names;
      std::vector<std::size_t> left_out;
      auto add = [&names](std::string_view name) { names.emplace_back(name); };
      auto refuse = [&left_out](std::size_t line, LineProblem) { left_out.push_back(line); };
      LineSplitter splitter(NulInLine::kRefuse, kNameMax, kListLineMax);
      for (std::size_t at = 0; at < c.text.size(); at += step) {
        splitter.Feed(std::string_view(c.text).substr(at, step), add, refuse);
      }
      splitter.Finish(add, refuse);
      EXPECT_EQ(names, c.names);
      EXPECT_EQ(left_out, c.left_out);
      EXPECT_EQ(splitter.problem(), c.problem);
      EXPECT_EQ(splitter.problem_line(), c.problem_line);
    }
  }
}

TEST(ForEachPiece, AReaderThatWantsNoMoreEndsTheReadingWithoutAFailure) {
  TempDir dir;
  const std::string path = dir.File("names.lst");
  WriteFile(path, "/a\n/b\n/c\n/d");
  for (bool nul : {false, true}) {
    if (nul) WriteFile(path, std::string("/a\0/b\0/c\0/d", 11));
    std::vector<std::string> seen;
    auto take_two = [&seen](std::string_view name) {
      seen.emplace_back(name);
      return seen.size() < 2;
    };
    auto refuse = [](std::size_t, LineProblem) { ADD_FAILURE() << "nothing is too long"; };
    LineSplitter lines;
    NulSplitter names;
    const auto failure = nul ? ForEachPiece(path, "caption", names, take_two, refuse, "name")
                             : ForEachPiece(path, "caption", lines, take_two, refuse, "line");
    EXPECT_OK(failure);
    EXPECT_EQ(seen, (std::vector<std::string>{"/a", "/b"})) << "NUL-separated: " << nul;
    EXPECT_EQ(nul ? names.problem() : lines.problem(), LineProblem::kEnough);
  }
}

TEST(ListFiles, SaveWritesNoBreakAfterTheLastName) {
  TempDir dir;
  FileList list;
  list.Append(R"(C:\a.txt)");
  list.Append(R"(C:\b.txt)");
  const std::string path = dir.File("two.lst");
  ASSERT_OK(SaveList(list, path, Eol::kCrLf));
  EXPECT_EQ(ReadFile(path), "C:\\a.txt\r\nC:\\b.txt");
  ASSERT_OK(SaveList(list, path, Eol::kLf));
  EXPECT_EQ(ReadFile(path), "C:\\a.txt\nC:\\b.txt");

  FileList reopened;
  reopened.Append("kept");
  reopened.Select(0);
  ASSERT_OK(OpenList(reopened, path));
  ASSERT_OK(OpenList(reopened, path));
  EXPECT_EQ(reopened.Count(), 5);
  EXPECT_EQ(*reopened.Item(4), R"(C:\b.txt)");
  EXPECT_EQ(reopened.Selected(), 0);
}

TEST(ListFiles, NamesComeBackByteForByte) {
  TempDir dir;
  FileList list;
  const std::vector<std::string> names = {"/home/u/a b.txt", "/x/\"q\"/$HOME", "-rf",
                                          "/Müsik/Ångström.flac", "/tab\tin/name"};
  for (const auto& n : names) list.Append(n);
  ASSERT_OK(SaveList(list, dir.File("n.lst"), Eol::kLf));
  FileList back;
  ASSERT_OK(OpenList(back, dir.File("n.lst")));
  ASSERT_EQ(back.Count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(*back.Item(i), names[static_cast<std::size_t>(i)]);
}

TEST(ListFiles, UnreadableFileLeavesTheListAlone) {
  TempDir dir;
  FileList list;
  list.Append("a");
  auto failure = OpenList(list, dir.File("missing.lst"));
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().caption, "Invalid file name");
  EXPECT_EQ(failure.failure().text, dir.File("missing.lst"));
  EXPECT_FALSE(failure.failure().reason.empty());
  EXPECT_EQ(list.Count(), 1);
  // A folder opens but cannot be read as a list.
  EXPECT_FALSE(OpenList(list, dir.path().string()).ok());
  EXPECT_EQ(list.Count(), 1);
}

TEST(ListFiles, SaveRefusesAnEmptyListAndABadPlace) {
  TempDir dir;
  FileList empty;
  auto failure = SaveList(empty, dir.File("e.lst"), Eol::kLf);
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().caption, "Info");
  EXPECT_FALSE(std::filesystem::exists(dir.File("e.lst")));

  FileList list;
  list.Append("a");
  failure = SaveList(list, dir.File("no/such/folder.lst"), Eol::kLf);
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().caption, "Invalid output file name");
  EXPECT_EQ(failure.failure().text, dir.File("no/such/folder.lst"));
}

struct LineBreakCase {
  const char* what;
  std::vector<std::string> names;
  std::string shown;  // how the refusal names the item
};

// A name holding a line break would come back from the list file as two names: the whole
// list is refused, the first such name is given, and nothing is written.
TEST(ListFiles, SaveRefusesANameHoldingALineBreak) {
  const LineBreakCase cases[] = {
      {"LF inside", {"/src/a\nb.txt"}, "/src/a\u240Ab.txt"},
      {"lone CR inside", {"/src/a\rb.txt"}, "/src/a\u240Db.txt"},
      {"CR LF at the end", {"/src/c.txt\r\n"}, "/src/c.txt\u240D\u240A"},
      {"LF first", {"\n/src/d"}, "\u240A/src/d"},
      {"only a later item", {"/ok/1", "/ok/2", "/bad\n3", "/bad\r4"}, "/bad\u240A3"},
  };
  for (const LineBreakCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    FileList list;
    for (const std::string& name : c.names) list.Append(name);

    const std::string fresh = dir.File("fresh.lst");
    auto failure = SaveList(list, fresh, Eol::kLf);
    ASSERT_FALSE(failure.ok());
    EXPECT_EQ(failure.failure().caption, "Cannot save list");
    EXPECT_EQ(failure.failure().text, c.shown);
    EXPECT_EQ(failure.failure().reason,
              "the name holds a line break, which a list file cannot hold");
    EXPECT_FALSE(std::filesystem::exists(fresh));

    const std::string earlier = dir.File("earlier.lst");
    WriteFile(earlier, "/kept/1\r\n/kept/2");
    failure = SaveList(list, earlier, Eol::kCrLf);
    ASSERT_FALSE(failure.ok());
    EXPECT_EQ(failure.failure().caption, "Cannot save list");
    EXPECT_EQ(ReadFile(earlier), "/kept/1\r\n/kept/2");
    // No half-written file beside it either.
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      left.push_back(entry.path());
    }
    EXPECT_EQ(left, std::vector<std::filesystem::path>{earlier});
  }
}

}  // namespace
}  // namespace lq

namespace lq {
namespace {

#ifndef _WIN32  // pipes in the file system are POSIX's
// Open list takes regular files only, in bounded memory, and can stop with what it read.
TEST(OpenList, APipeIsRefusedAtOnceAndNeverWaitedFor) {
  test::TempDir dir;
  const std::string fifo = dir.File("names.lst");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  FileList list;
  const auto failure = OpenList(list, fifo);
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().text, fifo);
  EXPECT_EQ(failure.failure().reason, "not a regular file");
  EXPECT_TRUE(list.Empty());
}
#endif

TEST(OpenList, ALineLongerThanTheBoundIsRefusedAndTheListKept) {
  test::TempDir dir;
  const std::string file = dir.File("huge.lst");
  test::WriteFile(file, "/a\n" + std::string(kListLineMax + 10, 'x') + "\n/b");
  FileList list;
  list.Append("/kept");
  const auto failure = OpenList(list, file);
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().Describe(), file + ":2: line longer than 1048576 bytes");
  EXPECT_EQ(list.Count(), 1);
}

// Open list adds every line that fits and notes the others, whatever the list held before.
TEST(OpenList, ALineTooLongIsLeftOutWholeAndTheOthersAdded) {
  test::TempDir dir;
  const std::string file = dir.File("mixed.lst");
  test::WriteFile(file, "/a\r\n" + k1000 + "\r\n/b\r\n" + k999 + "\r\n" + k999 + "\n" + kSplitChar +
                            "\n" + k999Euro + "\r\n/c");
  FileList list;
  list.Append("/kept");
  list.Select(0);
  OpenListReport report;
  ASSERT_OK(OpenList(list, file, {}, &report));
  const std::vector<std::string> want = {"/kept", "/a", "/b", k999, k999, k999Euro, "/c"};
  ASSERT_EQ(list.Count(), static_cast<int>(want.size()));
  for (int i = 0; i < list.Count(); ++i)
    EXPECT_EQ(*list.Item(i), want[static_cast<std::size_t>(i)]);
  EXPECT_EQ(list.Selected(), 0);
  EXPECT_EQ(report.left_out, 2u);
  EXPECT_EQ(report.first_left_out, (std::vector<std::string>{"2: name longer than 999 bytes",
                                                             "6: name longer than 999 bytes"}));
  EXPECT_FALSE(report.stopped);

  // A list whose lines all fit leaves nothing to tell.
  test::WriteFile(file, "/a\n" + k999);
  ASSERT_OK(OpenList(list, file, {}, &report));
  EXPECT_EQ(report.left_out, 0u);
  EXPECT_TRUE(report.first_left_out.empty());
  EXPECT_OK(LeftOutNotice(file, report));
}

TEST(OpenList, TheNoticeNamesTheFileTheCountAndTheFirstLines) {
  struct Case {
    const char* what;
    std::size_t lines;  // long lines, each between two good ones
    std::string reason;
  };
  const Case cases[] = {
      {"one", 1, "1 line was left out:\n2: name longer than 999 bytes"},
      {"five", 5,
       "5 lines were left out:\n2: name longer than 999 bytes\n4: name longer than 999 bytes\n"
       "6: name longer than 999 bytes\n8: name longer than 999 bytes\n"
       "10: name longer than 999 bytes"},
      {"seven", 7,
       "7 lines were left out:\n2: name longer than 999 bytes\n4: name longer than 999 bytes\n"
       "6: name longer than 999 bytes\n8: name longer than 999 bytes\n"
       "10: name longer than 999 bytes\nand 2 more"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    const std::string file = dir.File("long.lst");
    std::string text = "/0";
    for (std::size_t i = 1; i <= c.lines; ++i) text += "\n" + k1000 + "\n/" + std::to_string(i);
    test::WriteFile(file, text);
    FileList list;
    OpenListReport report;
    ASSERT_OK(OpenList(list, file, {}, &report));
    EXPECT_EQ(list.Count(), static_cast<int>(c.lines + 1));
    const auto notice = LeftOutNotice(file, report);
    ASSERT_FALSE(notice.ok());
    EXPECT_EQ(notice.failure().text, file);
    EXPECT_EQ(notice.failure().caption, "Lines left out");
    EXPECT_EQ(notice.failure().reason, c.reason);
  }
}

TEST(OpenList, NoMoreNamesThanTheListTakes) {
  test::TempDir dir;
  const std::string file = dir.File("six.lst");
  test::WriteFile(file, "1\n2\n3\n4\n5\n6");
  FileList list;
  list.Append("0");
  const auto failure = OpenList(list, file, {}, nullptr, 6);
  ASSERT_FALSE(failure.ok());
  EXPECT_NE(failure.failure().reason.find("more than 6 names"), std::string::npos);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_OK(OpenList(list, file, {}, nullptr, 7));
  EXPECT_EQ(list.Count(), 7);
}

TEST(OpenList, StoppingKeepsWhatWasRead) {
  test::TempDir dir;
  const std::string file = dir.File("long.lst");
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "/folder/name " + std::to_string(i) + "\n";
  test::WriteFile(file, text);
  FileList list;
  std::vector<std::uint64_t> seen;
  OpenListReport report;
  const auto failure = OpenList(
      list, file,
      [&seen](std::uint64_t done, std::uint64_t size) {
        seen.push_back(done);
        return seen.size() < 3 && size > 0;
      },
      &report);
  EXPECT_OK(failure);
  EXPECT_TRUE(report.stopped);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_GT(list.Count(), 1000);
  EXPECT_LT(list.Count(), 100000);
  EXPECT_EQ(*list.Item(0), "/folder/name 0");
  // Read to its end, the same file gives every name.
  FileList whole;
  EXPECT_OK(OpenList(
      whole, file, [](std::uint64_t, std::uint64_t) { return true; }, &report));
  EXPECT_FALSE(report.stopped);
  EXPECT_EQ(whole.Count(), 100000);
}

}  // namespace
}  // namespace lq
