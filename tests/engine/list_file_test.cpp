#include "engine/list_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/list_reader.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct SplitCase {
  const char* what;
  std::string text;
  std::vector<std::string> names;
};

TEST(SplitListText, Table) {
  const std::string long_line(1000, 'x');
  const SplitCase cases[] = {
      {"no final break", "C:\\a.txt\r\nC:\\b.txt", {"C:\\a.txt", "C:\\b.txt"}},
      {"final break adds nothing", "/a\n/b\n", {"/a", "/b"}},
      {"empty line in the middle", "/a\n\n/b", {"/a", "", "/b"}},
      {"empty file", "", {}},
      {"one line break", "\n", {""}},
      {"lone CR is part of the name", "/a\r/b\n", {"/a\r/b"}},
      {"long line in pieces", long_line + "\n/b", {std::string(999, 'x'), "x", "/b"}},
      {"exactly 999 bytes", std::string(999, 'y') + "\n/b", {std::string(999, 'y'), "/b"}},
      {"NUL ends a name", std::string("/a\0junk\n/b", 10), {"/a", "/b"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SplitListText(c.text), c.names);
  }
}

TEST(SplitListText, LongLinesAreCutBetweenCharacters) {
  std::string line;
  for (int i = 0; i < 600; ++i) line += "\xC3\xA9";
  const auto names = SplitListText(line);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0].size(), 998u);
  EXPECT_EQ(names[0] + names[1], line);
}

TEST(ListFiles, SaveWritesNoBreakAfterTheLastName) {
  TempDir dir;
  FileList list;
  list.Append(R"(C:\a.txt)");
  list.Append(R"(C:\b.txt)");
  const std::string path = dir.File("two.lst");
  ASSERT_FALSE(SaveList(list, path, Eol::CrLf));
  EXPECT_EQ(ReadFile(path), "C:\\a.txt\r\nC:\\b.txt");
  ASSERT_FALSE(SaveList(list, path, Eol::Lf));
  EXPECT_EQ(ReadFile(path), "C:\\a.txt\nC:\\b.txt");

  FileList reopened;
  reopened.Append("kept");
  reopened.Select(0);
  ASSERT_FALSE(OpenList(reopened, path));
  ASSERT_FALSE(OpenList(reopened, path));
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
  ASSERT_FALSE(SaveList(list, dir.File("n.lst"), Eol::Lf));
  FileList back;
  ASSERT_FALSE(OpenList(back, dir.File("n.lst")));
  ASSERT_EQ(back.Count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(*back.Item(i), names[static_cast<std::size_t>(i)]);
}

TEST(ListFiles, UnreadableFileLeavesTheListAlone) {
  TempDir dir;
  FileList list;
  list.Append("a");
  auto failure = OpenList(list, dir.File("missing.lst"));
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->caption, "Invalid file name");
  EXPECT_EQ(failure->text, dir.File("missing.lst"));
  EXPECT_FALSE(failure->reason.empty());
  EXPECT_EQ(list.Count(), 1);
  // A folder opens but cannot be read as a list.
  EXPECT_TRUE(OpenList(list, dir.path().string()));
  EXPECT_EQ(list.Count(), 1);
}

TEST(ListFiles, SaveRefusesAnEmptyListAndABadPlace) {
  TempDir dir;
  FileList empty;
  auto failure = SaveList(empty, dir.File("e.lst"), Eol::Lf);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->caption, "Info");
  EXPECT_FALSE(std::filesystem::exists(dir.File("e.lst")));

  FileList list;
  list.Append("a");
  failure = SaveList(list, dir.File("no/such/folder.lst"), Eol::Lf);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->caption, "Invalid output file name");
  EXPECT_EQ(failure->text, dir.File("no/such/folder.lst"));
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
    auto failure = SaveList(list, fresh, Eol::Lf);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->caption, "Cannot save list");
    EXPECT_EQ(failure->text, c.shown);
    EXPECT_EQ(failure->reason, "the name holds a line break, which a list file cannot hold");
    EXPECT_FALSE(std::filesystem::exists(fresh));

    const std::string earlier = dir.File("earlier.lst");
    WriteFile(earlier, "/kept/1\r\n/kept/2");
    failure = SaveList(list, earlier, Eol::CrLf);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->caption, "Cannot save list");
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
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->text, fifo);
  EXPECT_EQ(failure->reason, "not a regular file");
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
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Describe(), file + ":2: line longer than 1048576 bytes");
  EXPECT_EQ(list.Count(), 1);
}

TEST(OpenList, NoMoreNamesThanTheListTakes) {
  test::TempDir dir;
  const std::string file = dir.File("six.lst");
  test::WriteFile(file, "1\n2\n3\n4\n5\n6");
  FileList list;
  list.Append("0");
  const auto failure = OpenList(list, file, {}, nullptr, 6);
  ASSERT_TRUE(failure);
  EXPECT_NE(failure->reason.find("more than 6 names"), std::string::npos);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_FALSE(OpenList(list, file, {}, nullptr, 7));
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
  bool stopped = false;
  const auto failure = OpenList(
      list, file,
      [&seen](std::uint64_t done, std::uint64_t size) {
        seen.push_back(done);
        return seen.size() < 3 && size > 0;
      },
      &stopped);
  EXPECT_FALSE(failure);
  EXPECT_TRUE(stopped);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_GT(list.Count(), 1000);
  EXPECT_LT(list.Count(), 100000);
  EXPECT_EQ(*list.Item(0), "/folder/name 0");
  // Read to its end, the same file gives every name.
  FileList whole;
  EXPECT_FALSE(OpenList(
      whole, file, [](std::uint64_t, std::uint64_t) { return true; }, &stopped));
  EXPECT_FALSE(stopped);
  EXPECT_EQ(whole.Count(), 100000);
}

}  // namespace
}  // namespace lq
