#include "persist/encoded_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace lq {
namespace {

struct Case {
  std::string text;
  std::string stored;
  // Names the case by its stored form, line breaks made visible.
  friend void PrintTo(const Case& c, std::ostream* os) {
    if (c.stored.empty()) *os << "(empty)";
    for (char ch : c.stored) *os << (ch == '\r' ? "\\r" : ch == '\n' ? "\\n" : std::string(1, ch));
  }
};

class EncodeTextTable : public testing::TestWithParam<Case> {};

TEST_P(EncodeTextTable, Encodes) {
  std::string text = GetParam().text;
  EncodeText(text);
  EXPECT_EQ(text, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Table, EncodeTextTable,
                         testing::Values(Case{"echo\r\npause", "<echo#ZQ_BR#pause>"},
                                         Case{"", "<>"}, Case{"a\r\n\r\nb", "<a#ZQ_BR##ZQ_BR#b>"},
                                         Case{"  x  ", "<  x  >"},
                                         Case{"a\nb", "<a\nb>"},  // a lone LF is not encoded
                                         Case{"\r\r\n\n", "<\r#ZQ_BR#\n>"}));

class DecodeTextTable : public testing::TestWithParam<Case> {};

TEST_P(DecodeTextTable, Decodes) {
  std::string text = GetParam().stored;
  DecodeText(text);
  EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecodeTextTable,
    testing::Values(Case{"echo\r\npause", "<echo#ZQ_BR#pause>"}, Case{"", "<>"}, Case{"", ""},
                    Case{"", "a"}, Case{"", "ab"}, Case{"b", "abc"},  // the wrapper is not checked
                    Case{"", "#ZQ_BR#"},  // replaced first, then unwrapped
                    Case{"  x  ", "<  x  >"}, Case{"\r\n\r\n", "<#ZQ_BR##ZQ_BR#>"}));

TEST(EncodedValue, MakesEveryLineBreakStorable) {
  EXPECT_EQ(EncodedValue("a\nb"), "<a#ZQ_BR#b>");
  EXPECT_EQ(EncodedValue("a\rb"), "<a#ZQ_BR#b>");
  EXPECT_EQ(EncodedValue("a\r\nb\n\r"), "<a#ZQ_BR#b#ZQ_BR##ZQ_BR#>");
  EXPECT_EQ(EncodedValue("  x  "), "<  x  >");
}

TEST(DecodedValue, CutsWithoutHalfABreakOrCharacter) {
  EXPECT_EQ(DecodedValue("<ab#ZQ_BR#c>", 3), "ab");
  EXPECT_EQ(DecodedValue("<ab#ZQ_BR#c>", 4), "ab\r\n");
  EXPECT_EQ(DecodedValue("<a\xC3\xA9>", 2), "a");
  EXPECT_EQ(DecodedValue("<abc>", 99), "abc");
}

TEST(EncodedCapacity, HoldsTheLongestEncodingOfAFullText) {
  std::string worst;
  while (worst.size() + 2 <= 999) worst += "\r\n";
  worst += 'x';
  ASSERT_EQ(worst.size(), 999u);
  EXPECT_LE(EncodedValue(worst).size(), EncodedCapacity(999));
  EXPECT_EQ(DecodedValue(EncodedValue(worst), 999), worst);
}

}  // namespace
}  // namespace lq
