#include "engine/paths.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

namespace lq {
namespace {

constexpr PathStyle kWin = PathStyle::kWindows;
constexpr PathStyle kPosix = PathStyle::kPosix;

struct SplitCase {
  PathStyle style;
  const char* path;
  const char* drive;
  const char* dir;
  const char* name;
  const char* ext;
};

TEST(SplitPath, Table) {
  const SplitCase cases[] = {
      {kWin, R"(C:\dir\arc.tar.gz)", "C:", R"(\dir\)", "arc.tar", ".gz"},
      {kWin, R"(C:\Music\Rock\song.mp3)", "C:", R"(\Music\Rock\)", "song", ".mp3"},
      {kWin, "C:/a/b.txt", "C:", "/a/", "b", ".txt"},
      {kWin, "noext", "", "", "noext", ""},
      {kWin, R"(\\srv\share\f.doc)", "", R"(\\srv\share\)", "f", ".doc"},
      {kWin, R"(C:\a\)", "C:", R"(\a\)", "", ""},
      {kWin, "", "", "", "", ""},
      {kPosix, "/home/u/dir/arc.tar.gz", "", "/home/u/dir/", "arc.tar", ".gz"},
      {kPosix, "/home/u/Music/Rock/song.mp3", "", "/home/u/Music/Rock/", "song", ".mp3"},
      {kPosix, "C:/x.txt", "", "C:/", "x", ".txt"},
      {kPosix, R"(/a/b\c.txt)", "", "/a/", R"(b\c)", ".txt"},
      {kPosix, "/home/u/.bashrc", "", "/home/u/", "", ".bashrc"},
      {kPosix, "/a.d/noext", "", "/a.d/", "noext", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const PathParts p = SplitPath(c.path, c.style);
    EXPECT_EQ(p.drive, c.drive);
    EXPECT_EQ(p.directory, c.dir);
    EXPECT_EQ(p.name, c.name);
    EXPECT_EQ(p.extension, c.ext);
  }
}

TEST(SplitPath, WindowsLimitsNeverSplitUtf8) {
  // 130 two-byte letters: the 260-byte limit falls between sequences, 255 inside one.
  std::string name;
  for (int i = 0; i < 130; ++i) name += "\xC3\xA9";
  const PathParts p = SplitPath(name, kWin);
  EXPECT_EQ(p.name.size(), 254u);
  const PathParts posix = SplitPath("/" + name + ".txt", kPosix);
  EXPECT_EQ(posix.name, name);
}

// Byte by byte, ASCII only: what SplitPathViews must give however it looks.
PathPartViews SplitOneByOne(std::string_view p, PathStyle style) {
  const bool win = style == kWin;
  const auto cut = [win](std::string_view v) { return win ? v.substr(0, 255) : v; };
  if (win) p = p.substr(0, 260);
  PathPartViews r;
  std::size_t start = 0;
  if (win && p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]))) {
    r.drive = p.substr(0, 2);
    start = 2;
  }
  std::size_t sep = std::string_view::npos;
  for (std::size_t i = start; i < p.size(); ++i) {
    if (p[i] == '/' || (win && p[i] == '\\')) sep = i;
  }
  const std::size_t tail = sep == std::string_view::npos ? start : sep + 1;
  if (sep != std::string_view::npos) r.directory = cut(p.substr(start, tail - start));
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = tail; i < p.size(); ++i) {
    if (p[i] == '.') dot = i;
  }
  r.name = cut(p.substr(tail, dot == std::string_view::npos ? dot : dot - tail));
  if (dot != std::string_view::npos) r.extension = cut(p.substr(dot));
  return r;
}

TEST(SplitPath, AgreesWithOneByOneAtEveryLength) {
  // Separators and dots at random places in names of every length up to and past the
  // 32-byte window the last component is first looked for in, and past the Windows limit.
  std::mt19937 rng(11);
  const std::string alphabet = "ab/\\.:C ";
  for (const PathStyle style : {kPosix, kWin}) {
    for (std::size_t len = 0; len < 300; len += (len < 80 ? 1 : 37)) {
      for (int n = 0; n < 60; ++n) {
        std::string s(len, 'x');
        for (char& c : s) {
          if (rng() % 4 == 0) c = alphabet[rng() % alphabet.size()];
        }
        const PathPartViews got = SplitPathViews(s, style);
        const PathPartViews want = SplitOneByOne(s, style);
        EXPECT_EQ(got.drive, want.drive) << s;
        EXPECT_EQ(got.directory, want.directory) << s;
        EXPECT_EQ(got.name, want.name) << s;
        EXPECT_EQ(got.extension, want.extension) << s;
      }
    }
  }
}

TEST(DirPart, Table) {
  EXPECT_EQ(DirPart(R"(C:\a\f.txt)", kWin), R"(C:\a\)");
  EXPECT_EQ(DirPart(R"(C:\a\)", kWin), R"(C:\a\)");
  EXPECT_EQ(DirPart("out.txt", kWin), "out.txt");
  EXPECT_EQ(DirPart("/home/u/f.txt", kPosix), "/home/u/");
  EXPECT_EQ(DirPart("/home/u/", kPosix), "/home/u/");
  EXPECT_EQ(DirPart("/home/u/.config", kPosix), "/home/u/");
}

struct RelCase {
  const char* file;
  const char* folder;
  const char* expected;
};

void CheckRelative(PathStyle style, const RelCase (&cases)[11]) {
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " against " + c.folder);
    EXPECT_EQ(MakeRelativePath(c.file, c.folder, style), c.expected);
  }
}

TEST(FolderOf, Table) {
  struct Case {
    const char* name;
    PathStyle style;
    const char* folder;
  };
  for (const Case& c :
       {Case{"/m/s/a.flac", PathStyle::kPosix, "/m/s/"}, Case{"/m/s/", PathStyle::kPosix, "/m/s/"},
        Case{"out.txt", PathStyle::kPosix, "out.txt"},
        Case{"C:\\m\\a.flac", PathStyle::kWindows, "C:\\m\\"},
        Case{"C:\\m\\a/b.flac", PathStyle::kWindows, "C:\\m\\"},
        Case{"a\\b", PathStyle::kPosix, "a\\b"}}) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FolderOf(c.name, c.style), c.folder);
  }
}

TEST(MakeRelativePath, WindowsTable) {
  const RelCase cases[] = {
      {R"(C:\a\b\f.txt)", R"(C:\a\)", R"(b\f.txt)"},
      {R"(C:\a\f.txt)", R"(C:\a\b\c\)", R"(..\..\f.txt)"},
      {R"(C:\x\y\f.txt)", R"(C:\a\b\)", R"(..\..\x\y\f.txt)"},
      {R"(C:\a\f.txt)", "", R"(C:\a\f.txt)"},
      {R"(C:\a\f.txt)", R"(C:\a\)", "f.txt"},
      {R"(C:\a\bc\f.txt)", R"(C:\a\b\)", R"(C:\a\bc\f.txt)"},
      {R"(c:\A\B\f.txt)", R"(C:\a\)", R"(B\f.txt)"},
      {R"(D:\x\y.txt)", R"(C:\a\)", R"(D:\x\y.txt)"},
      {R"(C:\a\f.txt)", R"(C:\a\f.txt)", R"(C:\a\f.txt)"},
      {R"(\\srv\s\f.txt)", R"(C:\a\)", R"(\\srv\s\f.txt)"},
      // The folder name occurs inside the file's path but not at its start.
      {R"(C:\data\f.txt)", "a", R"(C:\data\f.txt)"},
  };
  CheckRelative(kWin, cases);
}

TEST(MakeRelativePath, PosixTable) {
  const RelCase cases[] = {
      {"/home/u/Music/b/f.txt", "/home/u/Music/", "b/f.txt"},
      {"/home/u/Music/f.txt", "/home/u/Music/b/c/", "../../f.txt"},
      {"/home/u/x/y/f.txt", "/home/u/a/b/", "../../x/y/f.txt"},
      {"/home/u/Music/f.txt", "", "/home/u/Music/f.txt"},
      {"/home/u/Music/f.txt", "/home/u/Music/", "f.txt"},
      {"/home/u/a/bc/f.txt", "/home/u/a/b/", "/home/u/a/bc/f.txt"},
      // Posix names compare exactly: another case is another folder.
      {"/home/u/A/B/f.txt", "/home/u/a/", "../A/B/f.txt"},
      {"/srv/x/y.txt", "/home/u/", "../../srv/x/y.txt"},
      {"relative/f.txt", "/home/u/", "relative/f.txt"},
      {"/home/u/Music/f.txt", "/home/u/Music/f.txt", "/home/u/Music/f.txt"},
      // A folder that merely occurs inside the file's path does not cut it.
      {"/home/u/music/x.mp3", "/music/", "../home/u/music/x.mp3"},
  };
  CheckRelative(kPosix, cases);
}

TEST(MakeRelativePath, ClimbStopsAtFiftyLevels) {
  std::string deep = "/";
  for (int i = 0; i < 60; ++i) deep += "d/";
  // Fifty levels up from sixty folders deep is still not the root, so the full name stays.
  EXPECT_EQ(MakeRelativePath("/x/f.txt", deep, kPosix), "/x/f.txt");
  EXPECT_EQ(MakeRelativePath("/d/x/f.txt", "/d/d/d/", kPosix), "../../x/f.txt");
  std::string wdeep = "C:";
  for (int i = 0; i < 60; ++i) wdeep += "\\d";
  wdeep += "\\";
  EXPECT_EQ(MakeRelativePath(R"(C:\x\f.txt)", wdeep, kWin), R"(C:\x\f.txt)");
}

TEST(InvertSlashes, TurnsEveryBackslash) {
  std::string s = R"(C:\Music\Rock\song.mp3)";
  InvertSlashes(s);
  EXPECT_EQ(s, "C:/Music/Rock/song.mp3");
}

}  // namespace
}  // namespace lq
