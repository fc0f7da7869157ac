// loomquill-cli with --escape and NUL-separated names.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace lq::test {
namespace {

namespace fs = std::filesystem;

ProcessResult Cli(const std::vector<std::string>& args, const std::string& input = "") {
  return RunCli(args, input);
}

TEST(CliNames, NulSeparatedNamesPassWhole) {
  const std::string input =
      std::string("/m/two\nlines.txt") + '\0' + "/m/ends in cr\r" + '\0' + "/m/last without a nul";
  const auto r = Cli({"-0", "--files-from", "-", "--header", "<", "--queue", ">"}, input);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "</m/two\nlines.txt></m/ends in cr\r></m/last without a nul>");
  const auto same =
      Cli({"--null", "--files-from", "-", "--header", "<", "--queue", ">"}, input + '\0');
  EXPECT_EQ(same.out, r.out);
}

TEST(CliNames, ANulInALineIsAnErrorNamingTheLine) {
  TempDir dir;
  const std::string list = dir.File("names");
  WriteFile(list, std::string("/a\n/b\n/c") + '\0' + "d\n/e\n");
  const std::string out = dir.File("out.txt");
  const auto r = Cli({"--files-from", list, "--output", out});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(list + ":3: the line holds a NUL byte"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--null"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(out));
  // find -print0 without -0: one look at the first name tells.
  const auto piped = Cli({"--files-from", "-"}, std::string("/x") + '\0' + "/y" + '\0');
  EXPECT_EQ(piped.status, 1);
  EXPECT_NE(piped.err.find("standard input:1: the line holds a NUL byte"), std::string::npos);
  EXPECT_TRUE(piped.out.empty());
}

TEST(CliNames, ListFilesStillCutAtNul) {
  TempDir dir;
  const std::string list = dir.File("a.lst");
  WriteFile(list, std::string("/a") + '\0' + "junk\n/b");
  const auto r = Cli({"--list", list, "--queue", ";"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "/a;/b;");
}

TEST(CliEscape, EachKindEscapesTheNames) {
  struct Case {
    const char* kind;
    const char* want;
  };
  const Case cases[] = {
      {"none", "[/m/it's & \"x\" 5%.txt|it's & \"x\" 5%]"},
      {"shell", "[/m/it'\\''s & \"x\" 5%.txt|it'\\''s & \"x\" 5%]"},
      {"html", "[/m/it&#39;s &amp; &quot;x&quot; 5%.txt|it&#39;s &amp; &quot;x&quot; 5%]"},
      {"url", "[/m/it%27s%20%26%20%22x%22%205%25.txt|it%27s%20%26%20%22x%22%205%25]"},
      {"csv", "[/m/it's & \"\"x\"\" 5%.txt|it's & \"\"x\"\" 5%]"},
      {"json", "[/m/it's & \\\"x\\\" 5%.txt|it's & \\\"x\\\" 5%]"},
  };
  for (const Case& c : cases) {
    const auto r = Cli({"--escape", c.kind, "--header", "[", "--queue", "|ZQ_NAME]", "--",
                        "/m/it's & \"x\" 5%.txt"});
    EXPECT_EQ(r.status, 0) << c.kind << r.err;
    EXPECT_EQ(r.out, c.want) << c.kind;
  }
}

#ifndef _WIN32  // names that are no UTF-8 cannot be Windows names
TEST(CliEscape, ARefusedNameWritesNothingAndKeepsTheEarlierFile) {
  TempDir dir;
  const std::string out = dir.File("backup.bat");
  WriteFile(out, "earlier");
  const auto r = Cli({"--escape", "batch", "--header", "copy \"", "--queue", "\" x\n", "--output",
                      out, "/m/fine.txt", "/m/say \"hi\".txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("/m/say \"hi\".txt"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("double quote"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(out), "earlier");
  // To standard output nothing comes out either, and --single refuses the same way.
  const auto piped = Cli({"--escape", "json", "/m/fine", "/m/\xFF"});
  EXPECT_EQ(piped.status, 1);
  EXPECT_TRUE(piped.out.empty());
  const auto single = Cli({"--escape", "batch", "--single", "/m/a\nb"});
  EXPECT_EQ(single.status, 1);
  EXPECT_TRUE(single.out.empty());
}

// A refusal met while a source is read ends the run there, said once: nothing after it in that
// source is told (the line too long, the empty name skipped), and no later source is opened.
TEST(CliEscape, ARefusalInASourceEndsTheReadingThere) {
  TempDir dir;
  const std::string names = dir.File("names.txt");
  WriteFile(names, "\n/m/say \"hi\".txt\n" + std::string(2000, 'x') + "\n/m/after.txt\n");
  const std::string out = dir.File("backup.bat");
  const auto r =
      Cli({"--escape", "batch", "--header", "copy \"", "--queue", "\" x\n", "--files-from", names,
           "--files-from", dir.File("missing.txt"), "--output", out});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("loomquill-cli: /m/say \"hi\".txt: ", 0), 0u) << r.err;
  EXPECT_EQ(r.err.find("loomquill-cli:", 1), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  EXPECT_FALSE(fs::exists(out));
}
#endif

}  // namespace
}  // namespace lq::test
