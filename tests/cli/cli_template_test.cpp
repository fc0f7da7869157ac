// loomquill-cli with templates: the shipped samples, --template and --list-templates.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "persist/template_scan.h"
#include "tests/support/run_process.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace lq::test {
namespace {

namespace fs = std::filesystem;

ProcessResult Cli(const std::vector<std::string>& args) { return RunCli(args); }

std::string Sample(const std::string& name) {
  const char* dir = std::getenv("LQ_BIN_DIR");
  return std::string(dir != nullptr ? dir : "bin") + "/" + name;
}

struct SampleCase {
  const char* file;
  const char* output;
};

TEST(CliTemplates, SamplesComposeASmallList) {
  const SampleCase cases[] = {
      {"Shell backup.hqd",
       "#!/bin/sh\n# Copies each listed file into the backup folder.\nbackup=\"$HOME/backup\"\n"
       "mkdir -p \"$backup\" || exit 1\n"
       "cp -p -- '/w/out/a b.txt' \"$backup/\"\ncp -p -- '/w/out/sub/c.mp3' \"$backup/\"\n"
       "echo \"Copied 2 files to $backup\"\n"},
      {"Batch backup.hqd",
       "@setlocal DisableDelayedExpansion\n@echo off\nrem Copies each listed file into the backup "
       "folder.\n"
       "set \"BACKUP=%USERPROFILE%\\Backup\"\nif not exist \"%BACKUP%\" mkdir \"%BACKUP%\"\n"
       "copy /Y \"/w/out/a b.txt\" \"%BACKUP%\\\"\ncopy /Y \"/w/out/sub/c.mp3\" \"%BACKUP%\\\"\n"
       "echo Copied 2 files to %BACKUP%\npause\n"},
      {"HTML links.hqd",
       "<!DOCTYPE html>\n<html>\n<head><meta charset=\"utf-8\"><title>Files</title></head>\n"
       "<body>\n  <ul>\n    <li><a href=\"a%20b.txt\">a b.txt</a></li>\n"
       "    <li><a href=\"sub/c.mp3\">c.mp3</a></li>\n  </ul>\n</body>\n</html>\n"},
      {"M3U playlist.hqd", "#EXTM3U\n#EXTINF:-1,a b\na b.txt\n#EXTINF:-1,c\nsub/c.mp3\n"},
      {"Markdown list.hqd", "# Files\n\n- [`a%20b.txt`](a%20b.txt)\n- [`c.mp3`](sub/c.mp3)\n"},
      {"JSON lines.hqd",
       "{\"number\": 1, \"file\": \"/w/out/a b.txt\", \"name\": \"a b\", \"extension\": \".txt\"}\n"
       "{\"number\": 2, \"file\": \"/w/out/sub/c.mp3\", \"name\": \"c\", \"extension\": "
       "\".mp3\"}\n"},
      {"More/CSV table.hqd",
       "number,folder,name,extension\n1,\"/w/out/\",\"a b\",\".txt\"\n"
       "2,\"/w/out/sub/\",\"c\",\".mp3\"\n"},
      {"More/Numbered list.hqd", "1. a b.txt\n2. c.mp3\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const auto r = Cli({"--template", Sample(c.file), "--relpath", "/w/out", "--eol", "lf",
                        "/w/out/a b.txt", "/w/out/sub/c.mp3"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.output);
  }
}

TEST(CliTemplates, OptionsOverrideTheTemplate) {
  const auto r = Cli({"--template", Sample("More/Numbered list.hqd"), "--header", "* ", "--mode",
                      "name", "--main-queue", "end\n", "/x/one.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "* one.txt\nend\n");
}

#ifndef _WIN32  // POSIX names under a POSIX temporary folder
TEST(CliTemplates, StoredOutputFileGivesTheRelativeFolderOnly) {
  TempDir dir;
  const std::string tpl = dir.File("local.hqd");
  WriteFile(tpl,
            "[Loomquill]\r\nHeader=<>\r\nQueue=<#ZQ_BR#>\r\nCheckIndex=1\r\nSaveLocal=1\r\n"
            "FileOutput=/srv/site/index.html\r\n");
  auto r = Cli({"--template", tpl, "/srv/site/img/a.png"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "img/a.png\n");
  EXPECT_FALSE(fs::exists("/srv/site/index.html"));
  // --output still decides the folder when given.
  const std::string out = dir.File("list.txt");
  r = Cli({"--template", tpl, "--output", out, dir.File("x/y.png")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(out), "x/y.png\n");
}
#endif

TEST(CliTemplates, MissingTemplateExitsWithOne) {
  TempDir dir;
  const auto r = Cli({"--template", dir.File("none.hqd"), "/a"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(dir.File("none.hqd")), std::string::npos);
  EXPECT_TRUE(r.out.empty());
}

TEST(CliTemplates, ListTemplatesPrintsTheMenuTree) {
  TempDir dir;
  fs::create_directories(dir.path() / "Web" / "Deep");
  fs::create_directories(dir.path() / ".hidden");
  fs::create_directories(dir.path() / "Empty" / "Inner");
  for (const char* f : {"c.hqd", "B.hqd", "a.hqd", "html.hqd", "html2.hqd", "Web/page.hqd",
                        "Web/Deep/x.hqd", ".hidden/no.hqd", "notes.txt"}) {
    WriteFile(dir.File(f), "[Loomquill]\n");
  }
  const auto r = Cli({"--list-templates", dir.path().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "1303 B\n1304 a\n1305 c\n1306 html2\n1307 html\nWeb/\n  1308 page\n  Deep/\n"
            "    1309 x\n");
  EXPECT_EQ(Cli({"--list-templates", dir.File("nope")}).status, 1);
}

// Without a folder, the window's menu: the shipped templates, then the user's after "--".
TEST(CliTemplates, ListTemplatesWithoutAFolderAddsTheUsersOwnAfterALine) {
  TempDir data;
  const ScopedEnv data_home("XDG_DATA_HOME", data.path().string());
  const auto shipped = Cli({"--list-templates"});
  ASSERT_EQ(shipped.status, 0) << shipped.err;
  EXPECT_NE(shipped.out.find(" M3U playlist\n"), std::string::npos) << shipped.out;
  EXPECT_EQ(shipped.out.find("--\n"), std::string::npos) << "no user folder, no line";

  fs::create_directories(data.path() / "loomquill" / "templates" / "Mine");
  WriteFile((data.path() / "loomquill" / "templates" / "Mine" / "notes.hqd").string(),
            "[Loomquill]\n");
  WriteFile((data.path() / "loomquill" / "templates" / "cue.hqd").string(), "[Loomquill]\n");
  const auto joined = Cli({"--list-templates"});
  ASSERT_EQ(joined.status, 0) << joined.err;
  ASSERT_EQ(joined.out.rfind(shipped.out, 0), 0u) << joined.out;
  // The ids go on where the shipped ones end, as the window numbers them.
  const int next =
      kFirstTemplateId + static_cast<int>(BuildTemplatesMenu(Sample("")).FullNames.size());
  EXPECT_EQ(
      joined.out.substr(shipped.out.size()),
      "--\n" + std::to_string(next) + " cue\nMine/\n  " + std::to_string(next + 1) + " notes\n");

  // A folder given lists that folder alone.
  const auto given = Cli({"--list-templates", (data.path() / "loomquill" / "templates").string()});
  EXPECT_EQ(given.out, std::to_string(kFirstTemplateId) + " cue\nMine/\n  " +
                           std::to_string(kFirstTemplateId + 1) + " notes\n");
}

TEST(CliTemplates, ListTemplatesStopsAtTheWindowsDepthAndPrintsItsMenu) {
  TempDir dir;
  // Templates in a chain of folders reaching past the depth the window's scan goes to.
  std::string folder;
  for (int depth = 0; depth <= kTemplateScanDepth + 2; ++depth) {
    fs::create_directories(dir.path() / folder);
    WriteFile(dir.File(folder + "t.hqd"), "[Loomquill]\n");
    WriteFile(dir.File(folder + "b.hqd"), "[Loomquill]\n");
    folder += "d/";
  }
  const auto r = Cli({"--list-templates", dir.path().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  // What the window's Templates menu is built from, entry for entry.
  EXPECT_EQ(r.out, FormatTemplateTree(BuildTemplatesMenu(dir.path())));
  const std::string deepest =
      "  " + std::to_string(kFirstTemplateId + 2 * kTemplateScanDepth + 1) + " t\n";
  EXPECT_TRUE(r.out.ends_with(deepest)) << r.out.substr(r.out.size() - 200);
}

TEST(CliTemplates, ListTemplatesOfAWideTreeStopsWithAWarning) {
  TempDir dir;
  // The root and 20 folders of 99 sub-folders each: one folder more than the scan opens,
  // the last one, which holds a template as the first one does.
  for (int a = 100; a < 120; ++a) {
    for (int b = 101; b < 200; ++b) {
      fs::create_directories(dir.path() / ("f" + std::to_string(a)) / ("s" + std::to_string(b)));
    }
  }
  WriteFile(dir.File("f100/s101/first.hqd"), "[Loomquill]\n");
  WriteFile(dir.File("f119/s199/last.hqd"), "[Loomquill]\n");
  const auto r = Cli({"--list-templates", dir.path().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "f100/\n  s101/\n    1303 first\n");
  EXPECT_EQ(r.err, "loomquill-cli: warning: the scan stopped after " +
                       std::to_string(kListTemplatesBounds.max_folders) +
                       " folders: " + (dir.path() / "f119" / "s199").string() +
                       " and the folders after it were not scanned\n");
}

#ifndef _WIN32
TEST(CliTemplates, ListTemplatesOfTheRootEndsAndSaysWhatItLeftOut) {
  // The whole file system would take minutes; /proc alone is another file system.
  const auto r = Cli({"--list-templates", "/"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("loomquill-cli: warning: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(" folders on other file systems were not entered, the first /"),
            std::string::npos)
      << r.err;
}
#endif

TEST(CliTemplates, ListTemplatesDefaultsToTheProgramFolder) {
  const auto r = Cli({"--list-templates"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(" M3U playlist\n"), std::string::npos);
  EXPECT_NE(r.out.find("More/\n  "), std::string::npos);
}

}  // namespace
}  // namespace lq::test
