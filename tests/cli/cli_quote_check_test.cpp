// loomquill-cli's warnings for quotes that do not fit the escaping chosen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace lq::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kWarning = "loomquill-cli: warning: ";

fs::path SourceDir() {
  const char* dir = std::getenv("LQ_SOURCE_DIR");
  return dir != nullptr ? fs::path(dir) : fs::path();
}

// The lines of err that are warnings, without their prefix.
std::vector<std::string> WarningsIn(const std::string& err) {
  std::vector<std::string> found;
  std::size_t from = 0;
  while (from < err.size()) {
    std::size_t end = err.find('\n', from);
    if (end == std::string::npos) end = err.size();
    const std::string line = err.substr(from, end - from);
    if (line.rfind(kWarning, 0) == 0) found.push_back(line.substr(std::string(kWarning).size()));
    from = end + 1;
  }
  return found;
}

struct Mistake {
  const char* what;
  std::vector<std::string> args;
  const char* want;  // the first warning
};

// The mistakes a user makes: each is said on standard error, and the output is still what
// the options ask for, with exit status 0.
TEST(CliQuoteCheck, EachMistakeIsWarnedOfAndStillComposed) {
  const Mistake cases[] = {
      {"shell kind, double quotes",
       {"--escape", "shell", "--header", "cp -- \"", "--queue", "\" /b\n"},
       "header: the name is inside double quotes, but the shell kind escapes for single quotes"},
      {"shell kind, no quotes",
       {"--escape", "shell", "--header", "cp -- ", "--queue", " /b\n"},
       "header: the name is outside quotes, but the shell kind escapes for single quotes"},
      {"none in single quotes",
       {"--header", "cp -- '", "--queue", "' /b\n"},
       "header: the name is inside single quotes, but the none kind writes names unescaped; "
       "the shell kind escapes for single quotes"},
      {"none in a script's double quotes",
       {"--escape", "none", "--main-head", "@echo off\n", "--header", "copy \"", "--queue",
        "\" D:\\b\n"},
       "header: the name is inside double quotes, but the none kind writes names unescaped; "
       "the batch, csv or json kind escapes for double quotes"},
      {"batch without quotes",
       {"--escape", "batch", "--header", "copy ", "--queue", " D:\\b\n"},
       "header: the name is outside double quotes, but the batch kind escapes for double quotes"},
      {"csv without quotes",
       {"--escape", "csv", "--mode", "none", "--header", "ZQ_GETSELINDEX,ZQ_NAME", "--queue", "\n"},
       "header: ZQ_NAME is in a field without quotes, but the csv kind escapes for double-quoted "
       "fields"},
      {"single-quoted json",
       {"--escape", "json", "--header", "{'file': '", "--queue", "'}\n"},
       "header: the name is inside single quotes, but the json kind escapes for double-quoted "
       "strings"},
      {"html attribute without quotes",
       {"--escape", "html", "--mode", "name", "--header", "<a href=", "--queue", ">ZQ_NAME</a>\n"},
       "header: the name is in an attribute value without quotes, but the html kind escapes for "
       "text and quoted attribute values"},
  };
  for (const Mistake& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--", "/m/song.mp3"});
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> warnings = WarningsIn(r.err);
    ASSERT_EQ(warnings.size(), 1u) << r.err;
    EXPECT_EQ(warnings[0], c.want);
    EXPECT_NE(r.out.find("song"), std::string::npos) << "composed all the same: " << r.out;
  }
}

TEST(CliQuoteCheck, AWarningLeavesAFailuresExitStatusAsItIs) {
  TempDir dir;
  const auto r = RunCli({"--escape", "batch", "--header", "copy ", "--queue", "\n", "--output",
                         dir.File("out.bat"), "/m/say \"hi\".txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(WarningsIn(r.err).size(), 1u) << r.err;
  EXPECT_NE(r.err.find("double quote"), std::string::npos) << r.err;
  // Said before composing: the warning comes first.
  EXPECT_EQ(r.err.rfind(kWarning, 0), 0u) << r.err;
  // Usage errors stay usage errors, whatever the texts.
  EXPECT_EQ(RunCli({"--escape", "shell", "--header", "\"", "--bogus"}).status, 2);
}

TEST(CliQuoteCheck, EverySampleTemplateIsSilent) {
  ASSERT_FALSE(SourceDir().empty()) << "LQ_SOURCE_DIR not set";
  std::vector<fs::path> samples;
  for (const auto& entry : fs::recursive_directory_iterator(SourceDir() / "templates")) {
    if (entry.path().extension() == ".hqd") samples.push_back(entry.path());
  }
  ASSERT_GE(samples.size(), 8u);
  for (const fs::path& sample : samples) {
    SCOPED_TRACE(sample.string());
    const auto r = RunCli({"--template", sample.string(), "--relpath", "/w", "--eol", "lf",
                           "/w/a b.txt", "/w/sub/it's.mp3"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
  }
}

// The README's table shows each kind inside the quotes it escapes for (the none row shows
// what goes wrong, and is warned of above).
TEST(CliQuoteCheck, TheReadmesEscapingExamplesAreSilent) {
  const std::vector<std::vector<std::string>> cases = {
      {"--escape", "shell", "--header", "cp -- '", "--queue", "' /b\n"},
      {"--escape", "batch", "--header", "copy \"", "--queue", "\" D:\\b\n"},
      {"--escape", "html", "--mode", "name", "--header", "<li>", "--queue", "</li>\n"},
      {"--escape", "url", "--mode", "name", "--header", "<a href=\"", "--queue", "\">\n"},
      {"--escape", "csv", "--header", "ZQ_GETSELINDEX,\"", "--queue", "\"\n"},
      {"--escape", "json", "--header", "{\"file\": \"", "--queue", "\"}\n"},
  };
  for (std::vector<std::string> args : cases) {
    SCOPED_TRACE(args[1]);
    args.insert(args.end(), {"--", "/m/it's 50% & more.txt"});
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
  }
}

#ifndef _WIN32
struct ReadBack {
  const char* what;
  std::vector<std::string> args;
  std::string program;              // reads the output on standard input, or runs it
  std::vector<std::string> reader;  // its arguments; "-c" for a shell, before the output
  bool warned;
};

// A warning is given exactly where the real reader does not get the name back: silent texts
// are read back byte for byte, warned ones are not.
TEST(CliQuoteCheck, WarnedTextsAreTheOnesTheRealReaderMisreads) {
  const std::string name = "/m/it's $(echo INJECTED) \"q\" `x`, 50% & a  b.txt";
  const std::string py = "/usr/bin/python3";
  const std::vector<std::string> csv = {
      "-c", "import csv,sys; print(next(csv.reader(sys.stdin))[0], end='')"};
  const std::vector<std::string> json = {
      "-c", "import json,sys; print(json.loads(sys.stdin.read())['f'], end='')"};
  const std::vector<std::string> html = {
      "-c",
      "import html.parser,sys\n"
      "class P(html.parser.HTMLParser):\n"
      "  def handle_starttag(self, tag, attrs): print(dict(attrs)['href'], end='')\n"
      "P().feed(sys.stdin.read())"};
  const ReadBack cases[] = {
      {"shell, single quotes",
       {"--escape", "shell", "--header", "printf %s '", "--queue", "'"},
       "/bin/sh",
       {"-c"},
       false},
      {"shell, inside a substitution",
       {"--escape", "shell", "--header", "printf %s \"$(printf %s '", "--queue", "')\""},
       "/bin/sh",
       {"-c"},
       false},
      {"shell, double quotes",
       {"--escape", "shell", "--header", "printf %s \"", "--queue", "\""},
       "/bin/sh",
       {"-c"},
       true},
      {"none, single quotes", {"--header", "printf %s '", "--queue", "'"}, "/bin/sh", {"-c"}, true},
      {"csv, quoted field",
       {"--escape", "csv", "--header", "\"", "--queue", "\"\n"},
       py,
       csv,
       false},
      {"csv, bare field", {"--escape", "csv", "--queue", "\n"}, py, csv, true},
      {"json, string",
       {"--escape", "json", "--header", "{\"f\": \"", "--queue", "\"}"},
       py,
       json,
       false},
      {"json, single quotes",
       {"--escape", "json", "--header", "{'f': '", "--queue", "'}"},
       py,
       json,
       true},
      {"html, quoted value",
       {"--escape", "html", "--header", "<a href=\"", "--queue", "\">"},
       py,
       html,
       false},
      {"html, bare value",
       {"--escape", "html", "--header", "<a href=", "--queue", ">"},
       py,
       html,
       true},
  };
  for (const ReadBack& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--", name});
    const auto made = RunCli(args);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(WarningsIn(made.err).empty(), !c.warned) << made.err;
    std::vector<std::string> reader = c.reader;
    const bool runs = reader == std::vector<std::string>{"-c"};
    if (runs) reader.push_back(made.out);
    const auto read = RunProcess(c.program, reader, runs ? "" : made.out);
    if (c.warned) {
      EXPECT_NE(read.out, name) << made.out;
    } else {
      EXPECT_EQ(read.status, 0) << read.err;
      EXPECT_EQ(read.out, name) << made.out;
    }
  }
}

// The examples of the README's loomquill-cli section, run as they stand by bash.
TEST(CliQuoteCheck, TheReadmesCommandExamplesAreSilent) {
  ASSERT_FALSE(SourceDir().empty()) << "LQ_SOURCE_DIR not set";
  const std::string readme = ReadFile((SourceDir() / "README.md").string());
  const std::size_t section = readme.find("\n## loomquill-cli");
  ASSERT_NE(section, std::string::npos);
  const std::string open = "Examples:\n\n```sh\n";
  const std::size_t from = readme.find(open, section);
  ASSERT_NE(from, std::string::npos);
  const std::size_t to = readme.find("```", from + open.size());
  ASSERT_NE(to, std::string::npos);
  const std::string examples = readme.substr(from + open.size(), to - from - open.size());
  ASSERT_NE(examples.find("loomquill-cli"), std::string::npos);

  TempDir dir;
  const fs::path home = dir.path();
  fs::create_directories(home / "Music" / "Rock");
  WriteFile((home / "Music" / "Rock" / "it's 50%.mp3").string(), "");
  WriteFile((home / "Music" / "Rock" / "b.flac").string(), "");
  const std::string script = "export HOME='" + home.string() + "'; cd \"$HOME\"; PATH='" +
                             fs::path(CliPath()).parent_path().string() + "':$PATH\nset -e\n" +
                             examples;
  const auto r = RunProcess("/bin/bash", {"-c", script});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(fs::exists(home / "backup.sh"));
  EXPECT_TRUE(fs::exists(home / "Music" / "all.m3u"));
}
#endif

}  // namespace
}  // namespace lq::test
