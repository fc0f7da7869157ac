#include "engine/file_values.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/name_scan.h"
#include "engine/paths.h"

namespace lq {
namespace {

// Byte by byte, as the scan must find them.
NameMarks MarksOneByOne(std::string_view name, char separator) {
  NameMarks m;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '/' || name[i] == separator) m.last_separator = i;
    if (name[i] == '.') m.last_dot = i;
    if (name[i] == '\r') m.has_cr = true;
    if (name[i] == 'Z') m.has_z = true;
  }
  return m;
}

void ExpectSameMarks(std::string_view name, char separator) {
  NameMarks got;
  ScanName(name.data(), name.size(), separator, got);
  const NameMarks want = MarksOneByOne(name, separator);
  EXPECT_EQ(got.last_separator, want.last_separator) << name;
  EXPECT_EQ(got.last_dot, want.last_dot) << name;
  EXPECT_EQ(got.has_cr, want.has_cr) << name;
  EXPECT_EQ(got.has_z, want.has_z) << name;
}

TEST(ScanName, FindsEachMarkAtEveryPlaceAndLength) {
  // Lengths around the 16-byte blocks; the byte sought at every place, and nowhere.
  for (const char mark : {'/', '\\', '.', '\r', 'Z'}) {
    for (std::size_t len = 0; len < 50; ++len) {
      for (std::size_t at = 0; at <= len; ++at) {
        std::string s(len, 'x');
        if (at < len) s[at] = mark;
        ExpectSameMarks(s, '/');
        ExpectSameMarks(s, '\\');
      }
    }
  }
}

TEST(ScanName, ReadsNoBytePastTheName) {
  // The marks past the end must not count, whatever lies there.
  const std::string text = "abcdefghijklmnopqrstuvwxyz/./Z\r";
  for (std::size_t len = 0; len <= 26; ++len) {
    NameMarks m;
    ScanName(text.data(), len, '/', m);
    EXPECT_EQ(m.last_separator, std::string_view::npos) << len;
    EXPECT_EQ(m.last_dot, std::string_view::npos) << len;
    EXPECT_FALSE(m.has_cr || m.has_z) << len;
  }
}

TEST(ScanName, RandomNamesAgreeWithOneByOne) {
  std::mt19937 rng(7);
  const std::string alphabet = "ab/.\\Z\r\xc3\xa9 ";
  for (int n = 0; n < 3000; ++n) {
    std::string s(rng() % 120, 'a');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    ExpectSameMarks(s, '/');
    ExpectSameMarks(s, '\\');
  }
}

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
