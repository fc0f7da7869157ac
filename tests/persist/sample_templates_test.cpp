#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "persist/profile.h"
#include "persist/settings_file.h"
#include "persist/template_file.h"
#include "persist/template_scan.h"
#include "tests/support/result_testing.h"

namespace lq {
namespace {

namespace fs = std::filesystem;

fs::path FromEnv(const char* name) {
  const char* value = std::getenv(name);
  return value ? fs::path(value) : fs::path();
}

fs::path SampleFolder() { return FromEnv("LQ_SOURCE_DIR") / "templates"; }

std::vector<fs::path> Samples() {
  std::vector<fs::path> found;
  for (const auto& entry : fs::recursive_directory_iterator(SampleFolder())) {
    if (entry.path().extension() == ".hqd") found.push_back(entry.path());
  }
  return found;
}

// Every line break of a held text is CR LF.
bool OnlyCrLf(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
  }
  return true;
}

TEST(SampleTemplates, EachLoadsWithSaneFields) {
  ASSERT_FALSE(SampleFolder().empty()) << "LQ_SOURCE_DIR not set";
  const std::vector<fs::path> samples = Samples();
  ASSERT_GE(samples.size(), 7u);
  for (const fs::path& sample : samples) {
    SCOPED_TRACE(sample.string());
    const ProfileDocument doc = LoadProfile(sample).document;
    const std::optional<std::string_view> title = doc.Find(kProfileSection, "h_menutitle");
    const std::optional<std::string_view> help = doc.Find(kProfileSection, "h_menuhelp");
    ASSERT_TRUE(title && help);
    EXPECT_EQ(*title, sample.stem().string());
    EXPECT_GT(help->size(), title->size());

    ScriptSettings s;
    s.FileOutput = "/kept/out.txt";
    std::string header, queue;
    ASSERT_OK(LoadTemplate(sample.string(), s, header, queue, PathStyle::kPosix));
    EXPECT_FALSE(header.empty() && queue.empty());
    for (const std::string* text : {&header, &queue, &s.MainHead, &s.MainQueue}) {
      EXPECT_TRUE(OnlyCrLf(*text)) << *text;
      EXPECT_EQ(text->find("#ZQ_BR#"), std::string::npos) << *text;
    }
    EXPECT_GE(s.CheckIndex, 0);
    EXPECT_LE(s.CheckIndex, 3);
    EXPECT_FALSE(s.SaveLocal);
    EXPECT_EQ(s.FileOutput, "/kept/out.txt");
    // Each sample names at least one file by a variable or by its written name.
    const std::string all = header + queue;
    EXPECT_TRUE(s.CheckIndex != 3 || all.find("ZQ_NAME") != std::string::npos) << all;
  }
}

TEST(SampleTemplates, ShellBackupIsAScript) {
  ScriptSettings s;
  std::string header, queue;
  ASSERT_OK(LoadTemplate((SampleFolder() / "Shell backup.hqd").string(), s, header, queue,
                         PathStyle::kPosix));
  EXPECT_EQ(s.MainHead.rfind("#!/bin/sh\r\n", 0), 0u);
  EXPECT_EQ(s.CheckIndex, 0);
  EXPECT_EQ(header, "cp -p -- '");
  EXPECT_EQ(queue, "' \"$backup/\"\r\n");
}

TEST(SampleTemplates, EachEscapesForItsLanguage) {
  struct Case {
    const char* file;
    EscapeKind escape;
  };
  // Playlists and plain lists have no quoting, but one entry a line.
  const Case cases[] = {
      {"Shell backup.hqd", EscapeKind::kShell}, {"Batch backup.hqd", EscapeKind::kBatch},
      {"HTML links.hqd", EscapeKind::kHtmlUrl}, {"Markdown list.hqd", EscapeKind::kUrl},
      {"JSON lines.hqd", EscapeKind::kJson},    {"More/CSV table.hqd", EscapeKind::kCsv},
      {"M3U playlist.hqd", EscapeKind::kLine},  {"More/Numbered list.hqd", EscapeKind::kLine},
  };
  for (const Case& c : cases) {
    ScriptSettings s;
    std::string header, queue;
    ASSERT_OK(LoadTemplate((SampleFolder() / c.file).string(), s, header, queue, PathStyle::kPosix))
        << c.file;
    EXPECT_EQ(s.Escape, c.escape) << c.file;
  }
}

// A script that cmd runs with delayed expansion on would turn !OS! in a name into its value.
TEST(SampleTemplates, BatchBackupTurnsDelayedExpansionOffFirst) {
  ScriptSettings s;
  std::string header, queue;
  ASSERT_OK(LoadTemplate((SampleFolder() / "Batch backup.hqd").string(), s, header, queue,
                         PathStyle::kPosix));
  EXPECT_EQ(s.MainHead.rfind("@setlocal DisableDelayedExpansion\r\n@echo off\r\n", 0), 0u)
      << s.MainHead;
  EXPECT_EQ(s.MainHead.find("EnableDelayedExpansion"), std::string::npos);
  EXPECT_EQ(s.CheckIndex, 0);
  EXPECT_EQ(header, "copy /Y \"");
}

// Every sample that names files by variable or written name escapes them: none writes a
// name as it is.
TEST(SampleTemplates, NoneWritesNamesUnescaped) {
  for (const fs::path& sample : Samples()) {
    SCOPED_TRACE(sample.string());
    ScriptSettings s;
    std::string header, queue;
    ASSERT_OK(LoadTemplate(sample.string(), s, header, queue, PathStyle::kPosix));
    EXPECT_NE(s.Escape, EscapeKind::kNone);
  }
}

TEST(SampleTemplates, MenuFromSourceAndBesideTheExecutables) {
  const std::string expected =
      "1303 Batch backup\n"
      "1304 HTML links\n"
      "1305 JSON lines\n"
      "1306 M3U playlist\n"
      "1307 Markdown list\n"
      "1308 Shell backup\n"
      "More/\n"
      "  1309 CSV table\n"
      "  1310 Numbered list\n";
  EXPECT_EQ(FormatTemplateTree(BuildTemplatesMenu(SampleFolder())), expected);
  const fs::path bin = FromEnv("LQ_BIN_DIR");
  ASSERT_FALSE(bin.empty()) << "LQ_BIN_DIR not set";
  EXPECT_EQ(FormatTemplateTree(BuildTemplatesMenu(bin)), expected);
}

}  // namespace
}  // namespace lq
