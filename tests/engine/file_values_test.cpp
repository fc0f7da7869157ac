#include "engine/file_values.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "engine/paths.h"

namespace lq {
namespace {

TEST(FileValues, PosixPartsAreThoseOfSplitPath) {
  const char* names[] = {"/home/u/a.b.mp3",
                         "/home/u/.config",
                         "/home/u/dir.d/file",
                         "noext",
                         ".hidden",
                         "/",
                         "",
                         "a/",
                         "/x.y/",
                         "rel/a.tar.gz",
                         "/trailing.",
                         "//a//b.c"};
  ScriptSettings s;
  FileValues v;
  for (const char* name : names) {
    v.Reset(s, PathStyle::kPosix, name, 0);
    const PathPartViews want = SplitPathViews(name, PathStyle::kPosix);
    EXPECT_EQ(v.Get(Variable::kDrive), want.drive) << name;
    EXPECT_EQ(v.Get(Variable::kPath), want.directory) << name;
    EXPECT_EQ(v.Get(Variable::kName), want.name) << name;
    EXPECT_EQ(v.Get(Variable::kExt), want.extension) << name;
  }
}

TEST(FileValues, WrittenNameIsThatOfWriteFileName) {
  ScriptSettings s;
  s.RelPath = R"(C:\Music\)";
  FileValues v;
  for (const int mode : {0, 1, 2, 3, 7}) {
    for (const bool invert : {false, true}) {
      s.CheckIndex = mode;
      s.InvertSlash = invert;
      for (const char* name : {R"(C:\Music\Rock\a.mp3)", R"(D:\b/c\d)", "plain"}) {
        std::string want;
        WriteFileName(want, name, s, PathStyle::kWindows);
        v.Reset(s, PathStyle::kWindows, name, 0);
        EXPECT_EQ(v.Written(), want) << name << " mode " << mode << " invert " << invert;
      }
    }
  }
}

// A kind that treats the written name as a whole name does so only there: the variables are
// escaped as values, the written name after the path mode.
TEST(FileValues, TheWrittenNameHasAnEscapingOfItsOwn) {
  struct Case {
    EscapeKind kind;
    int mode;
    const char* name;
    const char* written;
    const char* file_name;  // ZQ_NAME
    bool refused;
  };
  const Case cases[] = {
      {EscapeKind::kHtmlUrl, CheckIndexOf(PathMode::kRelative), "/site/a&b #1.txt",
       "a%26b%20%231.txt", "a&amp;b #1", false},
      {EscapeKind::kHtmlUrl, CheckIndexOf(PathMode::kFull), "//host/x", "/%2Fhost/x", "x", false},
      {EscapeKind::kHtmlUrl, CheckIndexOf(PathMode::kFull), "/site/\xFF", "/site/%FF", "", true},
      {EscapeKind::kUrl, CheckIndexOf(PathMode::kFull), "//host/x:y", "/%2Fhost/x%3Ay", "x%3Ay",
       false},
      {EscapeKind::kLine, CheckIndexOf(PathMode::kRelative), "/site/#a:b.mp3", "./#a:b.mp3", "#a:b",
       false},
      {EscapeKind::kLine, CheckIndexOf(PathMode::kRelative), "/site/sub/#a.mp3", "sub/#a.mp3", "#a",
       false},
      {EscapeKind::kLine, CheckIndexOf(PathMode::kName), "/site/sub/http:x", "./http:x", "http:x",
       false},
      {EscapeKind::kLine, CheckIndexOf(PathMode::kFull), "/site/#a", "/site/#a", "#a", false},
      {EscapeKind::kLine, CheckIndexOf(PathMode::kNone), "/site/a\nb", "", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(EscapeWord(c.kind)) + " " + c.name);
    ScriptSettings s;
    s.Escape = c.kind;
    s.CheckIndex = c.mode;
    s.RelPath = "/site/";
    FileValues v;
    v.Reset(s, PathStyle::kPosix, c.name, 0);
    EXPECT_EQ(v.Written(), c.written);
    EXPECT_EQ(v.Get(Variable::kName), c.file_name);
    EXPECT_EQ(v.refused(), c.refused);
  }
}

// An empty item, as an empty line of a list file gives, names no file: related to the
// current folder it would name a folder above RelPath, which a script would act on.
TEST(FileValues, AnEmptyNameWritesNothingInRelativeMode) {
  ScriptSettings s;
  s.CheckIndex = CheckIndexOf(PathMode::kRelative);
  s.RelPath = "/x/y/";
  FileValues v;
  v.SetRelativeBase("/work/here/");
  v.Reset(s, PathStyle::kPosix, "", 0);
  EXPECT_EQ(v.Written(), "");
  EXPECT_EQ(v.Get(Variable::kRelPath), "");
  std::string out;
  WriteFileName(out, "", s, PathStyle::kPosix, "/work/here/");
  EXPECT_EQ(out, "");
  // A relative name is made absolute from the current folder only in the host's own style.
  if (HostPathStyle() == PathStyle::kPosix) {
    v.Reset(s, PathStyle::kPosix, "rel/a.txt", 1);
    EXPECT_EQ(v.Written(), "../../work/here/rel/a.txt");
  }
}

// Relative names are found on views for Posix names; the general way (WriteFileName, which
// builds paths) stays the reference for every name, folder and current folder.
TEST(FileValues, RelativeNamesAreThoseOfWriteFileName) {
  const char* folders[] = {
      "/home/u/",  "/home/u",    "/home/u/list.m3u", "/",        "",         "rel/", "rel",
      "/home/u//", "/home/./u/", "/home/u/../v/",    "/Home/U/", "/a/b/c/d/"};
  const char* bases[] = {
      "",          "/", "/home/u/", "/work/here/", "/work/./here/", "/work//here/", "/home/u/sub/",
      "/work/here"};
  const char* names[] = {"/home/u/a.mp3",
                         "/home/u/Music/Rock/a.mp3",
                         "/home/u",
                         "/home/u/",
                         "/home/u/list.m3u",
                         "/home/uv/a.mp3",
                         "/home/U/a.mp3",
                         "/Home/U/a.mp3",
                         "/home/a.mp3",
                         "/srv/media/a.mp3",
                         "/",
                         "/home/u/../v/a.mp3",
                         "/home/u/./a.mp3",
                         "/home/u//a.mp3",
                         "/home/u/sub/",
                         "/a/b/x",
                         "/a/x",
                         "a.mp3",
                         "sub/a.mp3",
                         "./a.mp3",
                         "../a.mp3",
                         "sub/../a.mp3",
                         "sub//a",
                         "sub/.",
                         "sub/..",
                         ".hidden",
                         "..x/a",
                         "sub/",
                         "rel/a",
                         "rel",
                         "home/u",
                         "a\\b/c",
                         ""};
  FileValues v;
  for (const char* base : bases) {
    v.SetRelativeBase(base);
    for (const char* folder : folders) {
      for (const bool invert : {false, true}) {
        ScriptSettings s;
        s.CheckIndex = CheckIndexOf(PathMode::kRelative);
        s.RelPath = folder;
        s.InvertSlash = invert;
        for (const char* name : names) {
          SCOPED_TRACE(std::string("base '") + base + "' folder '" + folder + "' name '" + name +
                       "' invert " + (invert ? "on" : "off"));
          std::string want;
          WriteFileName(want, name, s, PathStyle::kPosix, base);
          v.Reset(s, PathStyle::kPosix, name, 0);
          EXPECT_EQ(v.Written(), want);
          // ZQ_RELPATH is the same name up to its last separator, slashes inverted after.
          ScriptSettings plain = s;
          plain.InvertSlash = false;
          std::string rel;
          WriteFileName(rel, name, plain, PathStyle::kPosix, base);
          const std::size_t at = rel.rfind('/');
          if (at != std::string::npos) rel.resize(at);
          if (invert) InvertSlashes(rel);
          v.Reset(s, PathStyle::kPosix, name, 0);
          EXPECT_EQ(v.Get(Variable::kRelPath), rel);
        }
      }
    }
  }
}

// What relative mode writes for names around the folder, as a script would be given them.
TEST(FileValues, RelativeNamesAroundTheFolder) {
  struct Case {
    const char* folder;
    const char* name;
    const char* written;
  };
  const Case cases[] = {
      {"/home/u/", "/home/u/Music/a.mp3", "Music/a.mp3"},
      {"/home/u/", "/home/u/a.mp3", "a.mp3"},
      {"/home/u/", "/home/a.mp3", "../a.mp3"},
      {"/home/u/", "/srv/media/a.mp3", "../../srv/media/a.mp3"},
      // Posix names differ in case: another folder.
      {"/home/u/", "/home/U/a.mp3", "../U/a.mp3"},
      // A folder name that merely starts another one does not contain it; the climb stops
      // there, finds no common folder and leaves the name whole.
      {"/home/u/", "/home/uv/a.mp3", "/home/uv/a.mp3"},
      // Absolute names are related as they are given, .. included.
      {"/home/u/", "/home/u/../v/a.mp3", "../v/a.mp3"},
      // The folder itself, and its name without the separator, are written whole.
      {"/home/u/", "/home/u/", "/home/u/"},
      {"/home/u/", "/home/u", "../u"},
      // A folder given as a file's name relates to the folder that holds it.
      {"/home/u/list.m3u", "/home/u/a.mp3", "a.mp3"},
      {"/home/u/list.m3u", "/home/u/list.m3u", "/home/u/list.m3u"},
  };
  // Relative names are taken from the current folder and tidied first, where the names are
  // the host's own (the current folder is a POSIX one only there).
  const Case from_current_folder[] = {
      {"/work/", "sub/a.mp3", "here/sub/a.mp3"},
      {"/work/", "../a.mp3", "a.mp3"},
      {"/work/here/", "./sub//a.mp3", "sub/a.mp3"},
      {"/other/", "a.mp3", "../work/here/a.mp3"},
  };
  std::vector<Case> all(std::begin(cases), std::end(cases));
  if (HostPathStyle() == PathStyle::kPosix) {
    all.insert(all.end(), std::begin(from_current_folder), std::end(from_current_folder));
  }
  FileValues v;
  v.SetRelativeBase("/work/here/");
  for (const Case& c : all) {
    SCOPED_TRACE(std::string(c.folder) + " " + c.name);
    ScriptSettings s;
    s.CheckIndex = CheckIndexOf(PathMode::kRelative);
    s.RelPath = c.folder;
    v.Reset(s, PathStyle::kPosix, c.name, 0);
    EXPECT_EQ(v.Written(), c.written);
  }
}

// Windows names ignore case and take either slash; they keep to the general way.
TEST(FileValues, WindowsRelativeNamesIgnoreCase) {
  ScriptSettings s;
  s.CheckIndex = CheckIndexOf(PathMode::kRelative);
  s.RelPath = R"(C:\Music\)";
  FileValues v;
  v.Reset(s, PathStyle::kWindows, R"(c:\MUSIC\Rock.mp3)", 0);
  EXPECT_EQ(v.Written(), R"(Rock.mp3)");
  v.Reset(s, PathStyle::kWindows, R"(C:\Video.mp4)", 0);
  EXPECT_EQ(v.Written(), R"(..\Video.mp4)");
}

TEST(DecimalText, CountsOnAndJumps) {
  DecimalText d;
  struct Step {
    long long n;
    const char* text;
  };
  const Step steps[] = {{0, "0"},
                        {1, "1"},
                        {9, "9"},
                        {10, "10"},
                        {11, "11"},
                        {99, "99"},
                        {100, "100"},
                        {100, "100"},
                        {999, "999"},
                        {1000, "1000"},
                        {-1, "-1"},
                        {0, "0"},
                        {1, "1"},
                        {5, "5"},
                        {4, "4"},
                        {9999999, "9999999"},
                        {10000000, "10000000"}};
  for (const Step& s : steps) EXPECT_EQ(d.For(s.n), s.text) << s.n;
}

}  // namespace
}  // namespace lq
