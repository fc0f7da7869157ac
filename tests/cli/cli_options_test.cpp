#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include "tests/support/result_testing.h"

namespace lq {
namespace {

TEST(ParseCommandLine, ValuesMayBeginWithADash) {
  const auto p = ParseCommandLine({"--header", "-n ", "--queue=--x", "--", "--not-an-option"});
  ASSERT_OK(p);
  EXPECT_EQ(*p.value().header, "-n ");
  EXPECT_EQ(*p.value().queue, "--x");
  EXPECT_EQ(p.value().files, std::vector<std::string>{"--not-an-option"});
}

TEST(ParseCommandLine, ListTemplatesTakesAnOptionalFolder) {
  auto p = ParseCommandLine({"--list-templates"});
  EXPECT_TRUE(p.value().list_templates);
  EXPECT_FALSE(p.value().templates_folder);
  p = ParseCommandLine({"--list-templates", "/t"});
  EXPECT_EQ(*p.value().templates_folder, "/t");
  p = ParseCommandLine({"--list-templates", "--eol", "lf"});
  EXPECT_FALSE(p.value().templates_folder);
  EXPECT_EQ(p.value().eol, Eol::kLf);
  p = ParseCommandLine({"--list-templates=/x"});
  EXPECT_EQ(*p.value().templates_folder, "/x");
}

TEST(ParseCommandLine, RepeatedSourcesKeepTheirOrder) {
  const auto p = ParseCommandLine({"--list", "a.lst", "f1", "--list", "b.lst", "--mode", "name"});
  EXPECT_EQ(p.value().lists, (std::vector<std::string>{"a.lst", "b.lst"}));
  EXPECT_EQ(p.value().files, std::vector<std::string>{"f1"});
  EXPECT_EQ(*p.value().mode, 2);
}

TEST(ParseCommandLine, EscapeKindsAndNulSeparatedNames) {
  auto p = ParseCommandLine({"--escape", "json", "-0", "--files-from", "-"});
  ASSERT_OK(p);
  EXPECT_EQ(p.value().escape, EscapeKind::kJson);
  EXPECT_TRUE(p.value().null_separated);
  p = ParseCommandLine({"--escape=CSV", "--null"});
  EXPECT_EQ(p.value().escape, EscapeKind::kCsv);
  EXPECT_TRUE(p.value().null_separated);
  p = ParseCommandLine({"a"});
  EXPECT_FALSE(p.value().escape);
  EXPECT_FALSE(p.value().null_separated);
}

}  // namespace
}  // namespace lq
