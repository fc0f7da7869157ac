#include "persist/profile_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace lq {
namespace {

using namespace std::string_literals;

struct FindCase {
  const char* what;
  std::string text;
  const char* key;
  std::optional<std::string> expected;
  friend void PrintTo(const FindCase& c, std::ostream* os) { *os << c.what; }
};

class ProfileFind : public testing::TestWithParam<FindCase> {};

TEST_P(ProfileFind, ReadsAsWindowsProfilesDo) {
  const FindCase& c = GetParam();
  const ProfileDocument doc(c.text);
  const std::optional<std::string_view> value = doc.Find("Loomquill", c.key);
  ASSERT_EQ(value.has_value(), c.expected.has_value()) << c.what;
  if (value) {
    EXPECT_EQ(std::string(*value), *c.expected) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileFind,
    testing::Values(FindCase{"plain", "[Loomquill]\nKey=Value\n", "Key", "Value"},
                    FindCase{"names ignore case", "[LOOMquill]\nkEY=v\n", "Key", "v"},
                    FindCase{"blanks trimmed", "  [ Loomquill ]  \n \t Key \t=  v a \t\n", "Key",
                             "v a"},
                    FindCase{"double quotes", "[Loomquill]\nKey=\" v \"\n", "Key", " v "},
                    FindCase{"single quotes", "[Loomquill]\nKey='v'\n", "Key", "v"},
                    FindCase{"one pair only", "[Loomquill]\nKey=\"\"v\"\"\n", "Key", "\"v\""},
                    FindCase{"unmatched quotes", "[Loomquill]\nKey=\"v'\n", "Key", "\"v'"},
                    FindCase{"lone quote", "[Loomquill]\nKey=\"\n", "Key", "\""},
                    FindCase{"CR LF", "[Loomquill]\r\nKey=v\r\n", "Key", "v"},
                    FindCase{"no final line break", "[Loomquill]\nKey=v", "Key", "v"},
                    FindCase{"stray CR at the end", "[Loomquill]\nKey=v\r", "Key", "v"},
                    FindCase{"first duplicate wins", "[Loomquill]\nKey=1\nKey=2\n", "Key", "1"},
                    FindCase{"other section", "[Other]\nKey=v\n[Loomquill]\n", "Key", std::nullopt},
                    FindCase{"before any section", "Key=v\n[Loomquill]\n", "Key", std::nullopt},
                    FindCase{"comment", "[Loomquill]\n;Key=v\n", "Key", std::nullopt},
                    FindCase{"empty value is present", "[Loomquill]\nKey=\n", "Key", ""},
                    FindCase{"equals in value", "[Loomquill]\nKey=a=b\n", "Key", "a=b"},
                    FindCase{"byte order mark", "\xEF\xBB\xBF[Loomquill]\nKey=v\n", "Key", "v"},
                    FindCase{"value ends at NUL", "[Loomquill]\nKey=ab\0cd\n"s, "Key", "ab"},
                    FindCase{"repeated section",
                             "[Loomquill]\nA=1\n[Other]\nB=9\n[loomquill]\nB=2\n", "B", "2"},
                    FindCase{"header without bracket", "[Loomquill\nKey=v\n", "Key", std::nullopt},
                    FindCase{"line without equals", "[Loomquill]\nKey\n", "Key", std::nullopt},
                    FindCase{"blank inside key", "[Loomquill]\nMy Key=v\n", "My Key", "v"},
                    FindCase{"key is not a prefix", "[Loomquill]\nKeys=v\n", "Key", std::nullopt},
                    FindCase{"binary junk around",
                             "\x01\xFF\x80\n[Loomquill]\n\x7F\x02==\nKey=v\n\xFE", "Key", "v"}));

TEST(ProfileReadText, CutsValueAndFallbackAtCapacityWholeCharacters) {
  const ProfileDocument doc("[Loomquill]\nKey=a\xC3\xA9z\nEmpty=\n");
  EXPECT_EQ(doc.ReadText("Loomquill", "Key", "", 2), "a");
  EXPECT_EQ(doc.ReadText("Loomquill", "Key", "", 3), "a\xC3\xA9");
  EXPECT_EQ(doc.ReadText("Loomquill", "Missing", "abc", 2), "ab");
  // Present but empty is not absent.
  EXPECT_EQ(doc.ReadText("Loomquill", "Empty", "fallback", 99), "");
}

struct IntCase {
  const char* value;
  std::int32_t expected;
  friend void PrintTo(const IntCase& c, std::ostream* os) { *os << '"' << c.value << '"'; }
};

class ProfileInt : public testing::TestWithParam<IntCase> {};

TEST_P(ProfileInt, ReadsDecimalOrFallsBack) {
  const ProfileDocument doc(std::string("[Loomquill]\nN=") + GetParam().value + "\n");
  EXPECT_EQ(doc.ReadInt("Loomquill", "N", 42), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileInt,
    testing::Values(IntCase{"5", 5}, IntCase{" -12 ", -12}, IntCase{"+7", 7}, IntCase{"007", 7},
                    IntCase{"\"3\"", 3}, IntCase{"2147483647", 2147483647},
                    IntCase{"-2147483648", -2147483647 - 1}, IntCase{"2147483648", 42},
                    IntCase{"-2147483649", 42}, IntCase{"99999999999999999999", 42},
                    IntCase{"12abc", 42}, IntCase{"abc", 42}, IntCase{"", 42}, IntCase{"-", 42},
                    IntCase{"0x10", 42}, IntCase{"1 2", 42}, IntCase{"--1", 42}));

TEST(ProfileInt, MissingKeyGivesFallback) {
  EXPECT_EQ(ProfileDocument("[Loomquill]\n").ReadInt("Loomquill", "N", -11), -11);
}

TEST(ProfileText, ReproducesAnyInputByteForByte) {
  const std::string inputs[] = {
      "",
      "\n",
      "\r\n\r\n",
      "[Loomquill]\r\nA=1\nB=2\r\n\n; c\n",
      "no section, no final break",
      "\xEF\xBB\xBF[x]\n\r\r\n\0\0\n"s,
      std::string(1 << 20, 'x') + "\n[Loomquill]\nA=1",
  };
  for (const std::string& in : inputs) EXPECT_EQ(ProfileDocument(in).Text(), in);
}

struct WriteCase {
  const char* what;
  std::string before;
  const char* key;
  const char* value;
  std::string after;
  friend void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.what; }
};

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, TouchesOnlyTheKeyLine) {
  const WriteCase& c = GetParam();
  ProfileDocument doc(c.before, Eol::kLf);
  ASSERT_TRUE(doc.Write("Loomquill", c.key, c.value)) << c.what;
  EXPECT_EQ(doc.Text(), c.after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileWrite,
    testing::Values(WriteCase{"new file", "", "Key", "v", "[Loomquill]\nKey=v\n"},
                    WriteCase{"replace in place",
                              "; top\n[Loomquill]\nA=1\nKey=old\n\nB=2\n[X]\nKey=x\n", "Key", "new",
                              "; top\n[Loomquill]\nA=1\nKey=new\n\nB=2\n[X]\nKey=x\n"},
                    WriteCase{"keeps spelling and line break", "[loomquill]\r\n  KEY = old \r\nZ=1",
                              "Key", "new", "[loomquill]\r\n  KEY=new\r\nZ=1"},
                    WriteCase{"first of duplicates", "[Loomquill]\nKey=1\nKey=2\n", "Key", "3",
                              "[Loomquill]\nKey=3\nKey=2\n"},
                    WriteCase{"add before blank lines", "[Loomquill]\nA=1\n\n\n[X]\nB=2\n", "C",
                              "3", "[Loomquill]\nA=1\nC=3\n\n\n[X]\nB=2\n"},
                    WriteCase{"add to empty section", "[Loomquill]\n[X]\n", "C", "3",
                              "[Loomquill]\nC=3\n[X]\n"},
                    WriteCase{"add in CR LF file", "[Loomquill]\r\nA=1\r\n", "C", "3",
                              "[Loomquill]\r\nA=1\r\nC=3\r\n"},
                    WriteCase{"add after last line without break", "[Loomquill]\nA=1", "C", "3",
                              "[Loomquill]\nA=1\nC=3\n"},
                    WriteCase{"new section after junk", "junk\x01\xFF\nmore", "C", "3",
                              "junk\x01\xFF\nmore\n[Loomquill]\nC=3\n"},
                    WriteCase{"new section in CR LF file", "[X]\r\nB=2\r\n", "C", "3",
                              "[X]\r\nB=2\r\n[Loomquill]\r\nC=3\r\n"},
                    WriteCase{"quotes kept blanks", "", "K", " a ", "[Loomquill]\nK=\" a \"\n"},
                    WriteCase{"replace in a CR file", "[Loomquill]\rA=1\rKey=old\r", "Key", "new",
                              "[Loomquill]\rA=1\rKey=new\r"},
                    WriteCase{"add in a CR file", "[Loomquill]\rA=1\r", "C", "3",
                              "[Loomquill]\rA=1\rC=3\r\n"}));

// Old Mac editors and some tools end lines with a lone CR: every key is still found.
TEST(ProfileFind, LinesEndAtCrLfLfOrALoneCr) {
  for (const char* text :
       {"[Loomquill]\rHeader=<a>\rCheckIndex=2\r", "[Loomquill]\r\nHeader=<a>\nCheckIndex=2",
        "[Loomquill]\rHeader=<a>\r\nCheckIndex=2\n"}) {
    const ProfileDocument doc(text);
    EXPECT_EQ(doc.ReadText("Loomquill", "Header", "", 100), "<a>") << text;
    EXPECT_EQ(doc.ReadInt("Loomquill", "CheckIndex", 0), 2) << text;
  }
}

TEST(ProfileWrite, NewFileUsesTheLineBreakAskedFor) {
  ProfileDocument doc("", Eol::kCrLf);
  ASSERT_TRUE(doc.Write("Loomquill", "Key", "v"));
  EXPECT_EQ(doc.Text(), "[Loomquill]\r\nKey=v\r\n");
}

TEST(ProfileWrite, ValuesReadBackExactly) {
  const std::string values[] = {"",         " a",     "a ",       "\t",  "\"q\"",           "'q'",
                                "\"",       "\"q'",   "a=b",      "<x>", "; not a comment", "[x]",
                                "\xC3\xA9", "x\"y\"", "  \"q\"  "};
  for (const std::string& value : values) {
    ProfileDocument doc("[Loomquill]\nKey=old\n");
    ASSERT_TRUE(doc.Write("Loomquill", "Key", value)) << value;
    EXPECT_EQ(ProfileDocument(doc.Text()).Find("Loomquill", "Key"), value) << value;
  }
}

TEST(ProfileWrite, RefusesWhatWouldBreakTheLine) {
  const std::string before = "[Loomquill]\nKey=old\n";
  struct Bad {
    std::string section, key, value;
  };
  const Bad bad[] = {{"Loomquill", "Key", "a\nb"},
                     {"Loomquill", "Key", "a\rb"},
                     {"Loomquill", "Key", "a\0b"s},
                     {"Loomquill", "A=B", "v"},
                     {"Loomquill", "", "v"},
                     {"Loomquill", "[K", "v"},
                     {"Loomquill", ";K", "v"},
                     {"Loomquill", " K", "v"},
                     {"Loomquill", "K\n", "v"},
                     {"Loom]quill", "K", "v"},
                     {"", "K", "v"},
                     {"Loom\nquill", "K", "v"}};
  for (const Bad& b : bad) {
    ProfileDocument doc(before);
    EXPECT_FALSE(doc.Write(b.section, b.key, b.value)) << b.section << "/" << b.key;
    EXPECT_EQ(doc.Text(), before);
  }
}

}  // namespace
}  // namespace lq
