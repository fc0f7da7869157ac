#include "engine/output.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "engine/text_helpers.h"
#include "tests/support/result_testing.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct Script {
  ScriptSettings settings;
  std::string header;
  std::string queue;
  FileList list;
  PathStyle style = PathStyle::kWindows;

  Status Create(const std::string& path, Eol eol = Eol::kCrLf) {
    Composer c(settings, style, eol, header, queue, &list);
    return CreateOutput(c, settings, list, path);
  }
};

TEST(CreateOutput, CopyLinesToABackupFolder) {
  TempDir dir;
  Script s;
  s.settings.CheckIndex = CheckIndexOf(PathMode::kName);
  s.settings.MainHead = "@echo off\r\n";
  s.settings.MainQueue = "pause\r\n";
  s.header = "copy ";
  s.queue = " d:\\backup\r\n";
  s.list.Append(R"(C:\x\a.txt)");
  s.list.Append(R"(C:\x\b.txt)");
  const std::string out = dir.File("out.bat");
  ASSERT_OK(s.Create(out));
  EXPECT_EQ(ReadFile(out),
            "@echo off\r\ncopy a.txt d:\\backup\r\ncopy b.txt d:\\backup\r\npause\r\n");
  ASSERT_OK(s.Create(out, Eol::kLf));
  EXPECT_EQ(ReadFile(out), "@echo off\ncopy a.txt d:\\backup\ncopy b.txt d:\\backup\npause\n");
}

TEST(CreateOutput, NothingIsAddedBetweenPieces) {
  TempDir dir;
  Script s;
  s.style = PathStyle::kPosix;
  s.settings.CheckIndex = CheckIndexOf(PathMode::kNone);
  s.header = "ZQ_NAMEZQ_EXT;";
  s.list.Append("/m/a.mp3");
  s.list.Append("/m/b.ogg");
  ASSERT_OK(s.Create(dir.File("o")));
  EXPECT_EQ(ReadFile(dir.File("o")), "a.mp3;b.ogg;");
}

TEST(CreateOutput, MainTextsUseTheirIndexes) {
  TempDir dir;
  Script s;
  s.style = PathStyle::kPosix;
  s.settings.CheckIndex = CheckIndexOf(PathMode::kNone);
  s.settings.MainHead = "head ZQ_GETSELINDEX ZQ_GETCOUNT ZQ_NAME\r\nsecond line\r\n";
  s.settings.MainQueue = "queue ZQ_GETSELINDEX ZQ_GETCOUNT ZQ_NAME";
  s.header = "ZQ_GETSELINDEX\n";
  for (const char* n : {"/a/one.txt", "/a/two.txt", "/a/three.txt"}) s.list.Append(n);
  ASSERT_OK(s.Create(dir.File("o"), Eol::kCrLf));
  EXPECT_EQ(ReadFile(dir.File("o")),
            "head 1 0 one\r\nsecond line\r\n1\r\n2\r\n3\r\nqueue 4 3 three");
}

TEST(CreateOutput, ManyBuffersOfLinesComeOutWhole) {
  // Megabytes, so lines cross the writer's buffer ends; names with a 'Z' or a CR come out
  // as they are among the others.
  TempDir dir;
  Script s;
  s.style = PathStyle::kPosix;
  s.settings.MainHead = "head\r\n";
  s.settings.MainQueue = "end ZQ_GETSELINDEX ZQ_NAME\r\n";
  s.header = "cp \"";
  const std::string pad(100, '#');
  s.queue = "\" \"/b/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT\" " + pad + "\r\n";
  std::string want = "head\n";
  std::string last;
  for (int i = 0; i < 30000; ++i) {
    std::string stem = std::string(static_cast<std::size_t>(i % 70), 'x') +
                       (i % 7 == 0 ? "Z" : "") + (i % 501 == 0 ? "\r" : "") + std::to_string(i);
    const std::string name = "/m/" + stem + ".e";
    want += "cp \"" + name + "\" \"/b/" + std::to_string(i + 1) + "-" + stem + ".e\" " + pad + "\n";
    s.list.Append(name);
    last = stem;
  }
  want += "end 30001 " + last + "\n";
  // Megabytes differ at one place at most: say where, not all of them.
  auto expect_same = [](const std::string& got, const std::string& expected) {
    const auto at = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
    EXPECT_TRUE(got == expected) << "first difference at byte " << (at.first - got.begin()) << ": "
                                 << got.substr(at.first - got.begin(), 80);
  };
  ASSERT_OK(s.Create(dir.File("lf"), Eol::kLf));
  expect_same(ReadFile(dir.File("lf")), want);
  ASSERT_OK(s.Create(dir.File("crlf"), Eol::kCrLf));
  expect_same(ReadFile(dir.File("crlf")), ToCrLf(want));
}

TEST(CreateOutput, EmptyListWritesNothing) {
  TempDir dir;
  Script s;
  auto failure = s.Create(dir.File("o"));
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().caption, "Info");
  EXPECT_FALSE(std::filesystem::exists(dir.File("o")));
}

TEST(CreateOutput, UnopenableFileNamesItself) {
  TempDir dir;
  Script s;
  s.list.Append("a");
  const std::string bad = dir.File("missing/out.txt");
  auto failure = s.Create(bad);
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().text, bad);
  EXPECT_EQ(failure.failure().caption, "Invalid output file name");
  failure = s.Create(dir.path().string());
  ASSERT_FALSE(failure.ok());
}

#ifndef _WIN32  // file size limits, symbolic links and pipes are POSIX's
TEST(CreateOutput, AFailedWriteIsReportedAndKeepsTheEarlierFile) {
  TempDir dir;
  Script s;
  for (int i = 0; i < 200; ++i) s.list.Append(std::string(200, 'n'));
  const std::string out = dir.File("out.txt");
  WriteFile(out, "earlier output");

  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 4096;
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  auto failure = s.Create(out);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);

  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().text, out);
  EXPECT_FALSE(failure.failure().reason.empty());
  EXPECT_EQ(ReadFile(out), "earlier output");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}
#endif

TEST(CreateOutput, AFullDeviceIsAFailure) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  Script s;
  for (int i = 0; i < 10; ++i) s.list.Append("name");
  auto failure = s.Create("/dev/full");
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().text, "/dev/full");
}

#ifndef _WIN32  // file size limits, symbolic links and pipes are POSIX's
TEST(CreateOutput, KeepsTheModeOfAnExistingFileAndWritesThroughLinks) {
  TempDir dir;
  Script s;
  s.list.Append("x");
  const std::string target = dir.File("run.sh");
  WriteFile(target, "old");
  namespace fs = std::filesystem;
  fs::permissions(target, fs::perms::owner_all);
  fs::create_symlink(target, dir.File("link.sh"));
  ASSERT_OK(s.Create(dir.File("link.sh")));
  EXPECT_TRUE(fs::is_symlink(dir.File("link.sh")));
  EXPECT_EQ(ReadFile(target), "x");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_all);
}
#endif

#ifndef _WIN32  // file size limits, symbolic links and pipes are POSIX's
// The window must never wait for a program to open the other end of a pipe.
TEST(CreateOutput, APipeIsRefusedAtOnce) {
  TempDir dir;
  Script s;
  s.list.Append("x");
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto failure = s.Create(fifo);
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().text, fifo);
  EXPECT_EQ(failure.failure().reason, "not a regular file");
}
#endif

TEST(CreateAndCopy, GivesTheFileTextAndNothingWhenCreatingFails) {
  TempDir dir;
  Script s;
  s.queue = "\n";
  s.list.Append("a");
  const std::string out = dir.File("o.txt");
  Composer c(s.settings, s.style, Eol::kCrLf, s.header, s.queue, &s.list);
  auto text = CreateAndCopy(c, s.settings, s.list, out);
  ASSERT_OK(text);
  EXPECT_EQ(text.value(), "a\r\n");

  FileList empty;
  Composer c2(s.settings, s.style, Eol::kCrLf, s.header, s.queue, &empty);
  auto stale = CreateAndCopy(c2, s.settings, empty, out);
  EXPECT_FALSE(stale.ok());
}

TEST(SingleFileCommands, LineAndNameForPendingFile) {
  ScriptSettings settings;
  settings.RelPath = "/home/u/";
  settings.CheckIndex = CheckIndexOf(PathMode::kRelative);
  FileList list;
  Composer c(settings, PathStyle::kPosix, Eol::kCrLf, "cp ZQ_GETSELINDEX ", "\n\n", &list);
  const std::string pending = "/home/u/docs/a b.txt";
  // The texts come from the name alone: asked again, they come again.
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(SingleLineText(c, pending).value(), "cp 1 docs/a b.txt\r\n\r\n");
    EXPECT_EQ(PendingNameText(c, pending).value(), "docs/a b.txt");
  }
}

// The commands act on the selected item, the first when none is, and leave the selection to
// the window.
TEST(SingleFileCommands, SelectedItem) {
  ScriptSettings settings;
  settings.CheckIndex = CheckIndexOf(PathMode::kName);
  settings.InvertSlash = true;
  FileList list;
  list.Append(R"(C:\a\one.txt)");
  list.Append(R"(C:\a\two.txt)");
  Composer c(settings, PathStyle::kWindows, Eol::kLf, "ZQ_PATH", "", &list);
  EXPECT_EQ(SelectedItemText(c, list).value(), "one.txt");
  EXPECT_EQ(CreateAndCopySelectedText(c, list).value(), "/a/one.txt");
  EXPECT_EQ(list.Selected(), -1);
  list.Select(1);
  EXPECT_EQ(SelectedItemText(c, list).value(), "two.txt");
  EXPECT_EQ(CreateAndCopySelectedText(c, list).value(), "/a/two.txt");
  EXPECT_EQ(list.Selected(), 1);

  FileList empty;
  EXPECT_FALSE(SelectedItemText(c, empty).ok());
  EXPECT_FALSE(CreateAndCopySelectedText(c, empty).ok());
}

}  // namespace
}  // namespace lq
