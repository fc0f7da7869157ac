#include "shell/start_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lq::test {
namespace {

struct StartCase {
  std::vector<const char*> arguments;  // after the program's name
  bool help;
  bool version;
  std::vector<std::string> files;
};

// A file manager hands over absolute names; a name given by hand may begin with "-", and only
// the four option words (before "--") are not files.
const StartCase kStartCases[] = {
    {{}, false, false, {}},
    {{"--help"}, true, false, {}},
    {{"-h"}, true, false, {}},
    {{"--version"}, false, true, {}},
    {{"-V"}, false, true, {}},
    {{"/music/a.mp3", "b.txt"}, false, false, {"/music/a.mp3", "b.txt"}},
    {{"-x", "--output", "-"}, false, false, {"-x", "--output", "-"}},
    {{"--", "--help", "-V"}, false, false, {"--help", "-V"}},
    {{"a", "--", "--"}, false, false, {"a", "--"}},
    {{"a", "--help", "b"}, true, false, {"a", "b"}},
    {{"--HELP", "-v", "--versio"}, false, false, {"--HELP", "-v", "--versio"}},
};

TEST(StartOptions, TakesOnlyTheOptionWordsAndEveryOtherArgumentAsAFile) {
  for (const StartCase& c : kStartCases) {
    std::vector<const char*> argv{"loomquill"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    const StartOptions got = ReadStartOptions(static_cast<int>(argv.size()), argv.data());
    std::string shown;
    for (const char* a : c.arguments) shown += std::string(a) + " ";
    EXPECT_EQ(got.help, c.help) << shown;
    EXPECT_EQ(got.version, c.version) << shown;
    EXPECT_EQ(got.files, c.files) << shown;
  }
}

TEST(StartOptions, HelpNamesEveryOptionItTakes) {
  const std::string help = StartHelpText();
  EXPECT_EQ(help.rfind("Usage: loomquill [OPTION]... [FILE]...\n", 0), 0u);
  for (const char* word : {"-h, --help", "-V, --version", "--  "}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
  EXPECT_EQ(help.back(), '\n');
}

}  // namespace
}  // namespace lq::test
