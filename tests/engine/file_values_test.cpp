#include "engine/file_values.h"

#include <gtest/gtest.h>

#include <string>

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
    v.Reset(s, PathStyle::Posix, name, 0);
    const PathPartViews want = SplitPathViews(name, PathStyle::Posix);
    EXPECT_EQ(v.Get(Variable::Drive), want.drive) << name;
    EXPECT_EQ(v.Get(Variable::Path), want.directory) << name;
    EXPECT_EQ(v.Get(Variable::Name), want.name) << name;
    EXPECT_EQ(v.Get(Variable::Ext), want.extension) << name;
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
        WriteFileName(want, name, s, PathStyle::Windows);
        v.Reset(s, PathStyle::Windows, name, 0);
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
      {EscapeKind::HtmlUrl, CheckIndexOf(PathMode::kRelative), "/site/a&b #1.txt",
       "a%26b%20%231.txt", "a&amp;b #1", false},
      {EscapeKind::HtmlUrl, CheckIndexOf(PathMode::kFull), "//host/x", "/%2Fhost/x", "x", false},
      {EscapeKind::HtmlUrl, CheckIndexOf(PathMode::kFull), "/site/\xFF", "/site/%FF", "", true},
      {EscapeKind::Url, CheckIndexOf(PathMode::kFull), "//host/x:y", "/%2Fhost/x%3Ay", "x%3Ay",
       false},
      {EscapeKind::Line, CheckIndexOf(PathMode::kRelative), "/site/#a:b.mp3", "./#a:b.mp3", "#a:b",
       false},
      {EscapeKind::Line, CheckIndexOf(PathMode::kRelative), "/site/sub/#a.mp3", "sub/#a.mp3", "#a",
       false},
      {EscapeKind::Line, CheckIndexOf(PathMode::kName), "/site/sub/http:x", "./http:x", "http:x",
       false},
      {EscapeKind::Line, CheckIndexOf(PathMode::kFull), "/site/#a", "/site/#a", "#a", false},
      {EscapeKind::Line, CheckIndexOf(PathMode::kNone), "/site/a\nb", "", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(EscapeWord(c.kind)) + " " + c.name);
    ScriptSettings s;
    s.Escape = c.kind;
    s.CheckIndex = c.mode;
    s.RelPath = "/site/";
    FileValues v;
    v.Reset(s, PathStyle::Posix, c.name, 0);
    EXPECT_EQ(v.Written(), c.written);
    EXPECT_EQ(v.Get(Variable::Name), c.file_name);
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
  v.Reset(s, PathStyle::Posix, "", 0);
  EXPECT_EQ(v.Written(), "");
  EXPECT_EQ(v.Get(Variable::RelPath), "");
  std::string out;
  WriteFileName(out, "", s, PathStyle::Posix, "/work/here/");
  EXPECT_EQ(out, "");
  // A relative name is made absolute from the current folder only in the host's own style.
  if (HostPathStyle() == PathStyle::Posix) {
    v.Reset(s, PathStyle::Posix, "rel/a.txt", 1);
    EXPECT_EQ(v.Written(), "../../work/here/rel/a.txt");
  }
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
