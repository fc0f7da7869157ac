#include "persist/settings_file.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>

#include "engine/escape.h"
#include "persist/profile.h"
#include "persist/user_folders.h"
#include "tests/support/result_testing.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

// Every test gets a home and a config folder of its own.
class SettingsFile : public testing::Test {
 protected:
  SettingsFile()
      : home_env_("HOME", (dir_.path() / "home").string()),
        profile_env_("USERPROFILE", (dir_.path() / "home").string()),
        config_env_("XDG_CONFIG_HOME", (dir_.path() / "config").string()),
        desktop_env_("XDG_DESKTOP_DIR", std::nullopt) {
    fs::create_directories(Home() / "Desktop");
  }

  fs::path Home() const { return dir_.path() / "home"; }
  fs::path File() const { return SettingsFilePath(); }
  void WriteSettings(const std::string& text) {
    fs::create_directories(File().parent_path());
    WriteFile(File().string(), text);
  }
  void Load(PathStyle style = HostPathStyle()) { LoadSettings(File(), s_, header_, queue_, style); }

  test::TempDir dir_;
  test::ScopedEnv home_env_, profile_env_, config_env_, desktop_env_;
  ScriptSettings s_;
  std::string header_ = "stale", queue_ = "stale";
};

#ifndef _WIN32  // Windows keeps settings under APPDATA
TEST_F(SettingsFile, LivesInTheConfigFolder) {
  EXPECT_EQ(SettingsFilePath(), dir_.path() / "config" / "loomquill" / "ZQIni.ini");
  test::ScopedEnv relative("XDG_CONFIG_HOME", "not/absolute");
  EXPECT_EQ(SettingsFilePath(), Home() / ".config" / "loomquill" / "ZQIni.ini");
  test::ScopedEnv unset("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(SettingsFilePath(), Home() / ".config" / "loomquill" / "ZQIni.ini");
}

TEST_F(SettingsFile, UserTemplatesLiveInTheDataFolder) {
  test::ScopedEnv data("XDG_DATA_HOME", (dir_.path() / "data").string());
  EXPECT_EQ(UserTemplateFolder(), dir_.path() / "data" / "loomquill" / "templates");
  test::ScopedEnv relative("XDG_DATA_HOME", "not/absolute");
  EXPECT_EQ(UserTemplateFolder(), Home() / ".local" / "share" / "loomquill" / "templates");
  test::ScopedEnv unset("XDG_DATA_HOME", std::nullopt);
  EXPECT_EQ(UserTemplateFolder(), Home() / ".local" / "share" / "loomquill" / "templates");
}
#endif

TEST_F(SettingsFile, NoFileGivesEveryDefault) {
  s_.MainHead = s_.MainQueue = "stale";
  s_.CheckIndex = 2;
  s_.Escape = EscapeKind::kJson;
  s_.UseTip = false;
  s_.SaveLocal = s_.InvertSlash = true;
  Load();
  EXPECT_EQ(s_.FileOutput, (Home() / "Desktop" / "ZQScript.txt").string());
  EXPECT_EQ(s_.RelPath, (Home() / "Desktop" / "").string());
  EXPECT_EQ(header_, "");
  EXPECT_EQ(queue_, "");
  EXPECT_EQ(s_.MainHead, "");
  EXPECT_EQ(s_.MainQueue, "");
  EXPECT_EQ(s_.CheckIndex, 0);
  EXPECT_EQ(s_.Escape, EscapeKind::kNone);
  EXPECT_EQ(s_.SendToIndex, 0);
  EXPECT_FALSE(s_.InvertSlash);
  EXPECT_FALSE(s_.SaveLocal);
  EXPECT_TRUE(s_.UseTip);
  EXPECT_FALSE(fs::exists(File()));
}

#ifndef _WIN32  // user-dirs.dirs is the XDG desktop's
TEST_F(SettingsFile, DefaultOutputFollowsTheUserDesktop) {
  fs::create_directories(dir_.path() / "config");
  WriteFile((dir_.path() / "config" / "user-dirs.dirs").string(),
            "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  fs::create_directories(Home() / "Schreibtisch");
  EXPECT_EQ(DefaultOutputFile(), (Home() / "Schreibtisch" / "ZQScript.txt").string());
}
#endif

TEST_F(SettingsFile, WithoutADesktopFolderTheDefaultOutputIsInTheHomeFolder) {
  fs::remove(Home() / "Desktop");
  Load();
  EXPECT_EQ(s_.FileOutput, (Home() / "ZQScript.txt").string());
  EXPECT_EQ(s_.RelPath, (Home() / "").string());
  // A desktop named by user-dirs.dirs that is not there counts as missing too.
  fs::create_directories(dir_.path() / "config");
  WriteFile((dir_.path() / "config" / "user-dirs.dirs").string(),
            "XDG_DESKTOP_DIR=\"$HOME/Gone\"\n");
  EXPECT_EQ(DefaultOutputFile(), (Home() / "ZQScript.txt").string());
  // A plain file named like the desktop is no folder.
  WriteFile((Home() / "Gone").string(), "x");
  EXPECT_EQ(DefaultOutputFile(), (Home() / "ZQScript.txt").string());
}

TEST(DesktopFromUserDirs, ReadsWhatXdgUserDirReads) {
  const std::string home = "/home/u";
  EXPECT_EQ(DesktopFromUserDirs("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", home), "/home/u/Desktop");
  EXPECT_EQ(DesktopFromUserDirs("XDG_DESKTOP_DIR=\"/srv/desk\"", home), "/srv/desk");
  EXPECT_EQ(DesktopFromUserDirs("  XDG_DESKTOP_DIR=\"${HOME}/D\"\r\n", home), "/home/u/D");
  EXPECT_EQ(DesktopFromUserDirs("XDG_DESKTOP_DIR=\"$HOME/My \\\"D\\\"\"", home),
            "/home/u/My \"D\"");
  EXPECT_EQ(DesktopFromUserDirs("#XDG_DESKTOP_DIR=\"/x\"\nXDG_MUSIC_DIR=\"/m\"", home), "");
  EXPECT_EQ(DesktopFromUserDirs("XDG_DESKTOP_DIR=\"relative\"", home), "");
  EXPECT_EQ(DesktopFromUserDirs("XDG_DESKTOP_DIR=\"/a\"\nXDG_DESKTOP_DIR=\"/b\"", home), "/b");
}

TEST_F(SettingsFile, SavedFileHasEveryKeyInOrder) {
  s_.FileOutput = "/out/x.txt";
  s_.CheckIndex = 1;
  s_.Escape = EscapeKind::kShell;
  s_.SendToIndex = 1;
  s_.InvertSlash = true;
  s_.MainHead = "head\r\n";
  s_.UseTip = false;
  ASSERT_OK(SaveSettings(File(), s_, "h", "q\r\n"));
  EXPECT_EQ(ReadFile(File().string()),
            "[Loomquill]\n"
            "Header=<h>\n"
            "Queue=<q#ZQ_BR#>\n"
            "FileOutput=/out/x.txt\n"
            "InvertSlash=1\n"
            "CheckIndex=1\n"
            "Escape=shell\n"
            "SendToIndex=1\n"
            "MainHead=<head#ZQ_BR#>\n"
            "MainQueue=<>\n"
            "SaveLocal=0\n"
            "UseTip=0\n");
}

TEST_F(SettingsFile, RoundTripsTheRecordAndTexts) {
  ScriptSettings saved;
  saved.FileOutput = "/w/out file.txt";
  saved.MainHead = "  two\r\nbreaks\r\n  ";
  saved.MainQueue = "end";
  saved.CheckIndex = 3;
  saved.SendToIndex = 1;
  saved.InvertSlash = true;
  saved.SaveLocal = true;
  saved.UseTip = false;
  saved.RelPath = "/elsewhere/";
  saved.TemplateFile = "/t/x.hqd";
  const std::string header = "a\r\nb\r\nc";
  ASSERT_OK(SaveSettings(File(), saved, header, "  q  "));
  // Two line breaks are stored on one line with two escapes.
  EXPECT_NE(ReadFile(File().string()).find("Header=<a#ZQ_BR#b#ZQ_BR#c>\n"), std::string::npos);
  EXPECT_EQ(ReadFile(File().string()).find("RelPath"), std::string::npos);
  EXPECT_EQ(ReadFile(File().string()).find("TemplateFile"), std::string::npos);

  Load(PathStyle::kPosix);
  EXPECT_EQ(header_, header);
  EXPECT_EQ(queue_, "  q  ");
  EXPECT_EQ(s_.FileOutput, saved.FileOutput);
  EXPECT_EQ(s_.RelPath, "/w/");
  EXPECT_EQ(s_.MainHead, saved.MainHead);
  EXPECT_EQ(s_.MainQueue, saved.MainQueue);
  EXPECT_EQ(s_.CheckIndex, 3);
  EXPECT_EQ(s_.SendToIndex, 1);
  EXPECT_TRUE(s_.InvertSlash);
  EXPECT_TRUE(s_.SaveLocal);
  EXPECT_FALSE(s_.UseTip);
}

TEST_F(SettingsFile, EveryEscapeKindRoundTripsAsItsWord) {
  for (std::size_t i = 0; i < kEscapeWords.size(); ++i) {
    const auto kind = static_cast<EscapeKind>(i);
    SCOPED_TRACE(kEscapeWords[i]);
    s_.Escape = kind;
    ASSERT_OK(SaveSettings(File(), s_, "", ""));
    EXPECT_NE(ReadFile(File().string()).find("\nEscape=" + std::string(kEscapeWords[i]) + "\n"),
              std::string::npos);
    // Loaded into a record that holds some other kind.
    s_.Escape = kind == EscapeKind::kCsv ? EscapeKind::kUrl : EscapeKind::kCsv;
    Load();
    EXPECT_EQ(s_.Escape, kind);
  }
}

// The word is read ignoring case; a key that is absent or names no kind gives none.
TEST_F(SettingsFile, EscapeWordsAreReadIgnoringCaseAndUnknownOnesAsNone) {
  const std::pair<const char*, EscapeKind> cases[] = {
      {"Escape=shell\n", EscapeKind::kShell},
      {"Escape=SHELL\n", EscapeKind::kShell},
      {"escape=Html\n", EscapeKind::kHtml},
      {"Escape=  jSoN  \n", EscapeKind::kJson},
      {"Escape=\"csv\"\n", EscapeKind::kCsv},
      {"Escape=none\n", EscapeKind::kNone},
      {"Escape=bash\n", EscapeKind::kNone},
      {"Escape=shellx\n", EscapeKind::kNone},
      {"Escape=shell script\n", EscapeKind::kNone},
      {"Escape=1\n", EscapeKind::kNone},
      {"Escape=\n", EscapeKind::kNone},
      {"CheckIndex=2\n", EscapeKind::kNone},
      {"[Other]\nEscape=shell\n", EscapeKind::kNone},
  };
  for (const auto& [body, expected] : cases) {
    SCOPED_TRACE(body);
    WriteSettings("[Loomquill]\n" + std::string(body));
    s_.Escape = EscapeKind::kUrl;
    Load();
    EXPECT_EQ(s_.Escape, expected);
  }
}

TEST_F(SettingsFile, HandEditedValuesReadAsStored) {
  WriteSettings(
      "[Loomquill]\nHeader=abc\nQueue=<  x  >\nInvertSlash=5\nCheckIndex=7\n"
      "SaveLocal=junk\nUseTip=0\nFileOutput=\n");
  Load();
  EXPECT_EQ(header_, "b");
  EXPECT_EQ(queue_, "  x  ");
  EXPECT_TRUE(s_.InvertSlash);
  EXPECT_EQ(s_.CheckIndex, 7);
  EXPECT_FALSE(s_.SaveLocal);
  EXPECT_FALSE(s_.UseTip);
  // An empty output file name cannot be used.
  EXPECT_EQ(s_.FileOutput, (Home() / "Desktop" / "ZQScript.txt").string());
}

TEST_F(SettingsFile, FullTextsWithManyBreaksRoundTripWhole) {
  std::string header;
  while (header.size() + 2 <= 998) header += "\r\n";
  std::string head(999, 'h');
  head.replace(0, 4, "\r\n\r\n");
  s_.MainHead = head;
  ASSERT_OK(SaveSettings(File(), s_, header, ""));
  ScriptSettings loaded;
  LoadSettings(File(), loaded, header_, queue_, PathStyle::kPosix);
  EXPECT_EQ(header_, header);
  EXPECT_EQ(loaded.MainHead, head);
}

TEST_F(SettingsFile, HeaderIsSavedAsTheEditGivesIt) {
  ASSERT_OK(SaveSettings(File(), s_, std::string(1200, 'x'), std::string(997, 'y') + "\r\n"));
  Load();
  EXPECT_EQ(header_, std::string(998, 'x'));
  EXPECT_EQ(queue_, std::string(997, 'y'));  // no half line break
}

TEST_F(SettingsFile, DamagedFileReadsAndKeepsWhatWasNotTouched) {
  const std::string junk = std::string("\x00\xFF\x01 binary\n", 11) + std::string(10 << 20, 'z') +
                           "\n[loomquill]\nCheckIndex=2\nCheckIndex=9\nUseTip=\x01\n; note\n"
                           "Custom=keep me\n[Other]\nHeader=<not ours>\nlast line";
  WriteSettings(junk);
  Load();
  EXPECT_EQ(s_.CheckIndex, 2);
  EXPECT_TRUE(s_.UseTip);
  EXPECT_EQ(header_, "");

  ASSERT_OK(SaveSettings(File(), s_, "h", "q"));
  const std::string after = ReadFile(File().string());
  for (const std::string& kept :
       {std::string("\x00\xFF\x01 binary\n", 11), std::string(10 << 20, 'z') + "\n",
        std::string("CheckIndex=9\n"), std::string("; note\n"), std::string("Custom=keep me\n"),
        std::string("[Other]\nHeader=<not ours>\nlast line")}) {
    EXPECT_NE(after.find(kept), std::string::npos) << kept.substr(0, 20);
  }
  Load();
  EXPECT_EQ(header_, "h");
  EXPECT_EQ(queue_, "q");
}

TEST_F(SettingsFile, UnstorableOutputNameIsReportedAndTheRestSaved) {
  s_.FileOutput = "/tmp/line\nbreak.txt";
  s_.MainHead = "kept";
  const Status failed = SaveSettings(File(), s_, "h", "q");
  ASSERT_FALSE(failed.ok());
  EXPECT_NE(failed.failure().reason.find("FileOutput"), std::string::npos);
  ScriptSettings loaded;
  LoadSettings(File(), loaded, header_, queue_, PathStyle::kPosix);
  EXPECT_EQ(loaded.MainHead, "kept");
  EXPECT_EQ(header_, "h");
  EXPECT_EQ(ReadFile(File().string()).find("break.txt"), std::string::npos);
}

TEST_F(SettingsFile, FileThatCannotBeWrittenIsReported) {
  // A folder where the settings folder should be.
  fs::create_directories(dir_.path() / "config");
  WriteFile((dir_.path() / "config" / "loomquill").string(), "not a folder");
  EXPECT_FALSE(SaveSettings(File(), s_, "", "").ok());
}

TEST_F(SettingsFile, FontDefaultsAndOrder) {
  const FontSettings dflt = LoadFontSettings(File());
  EXPECT_EQ(dflt.Height, -11);
  EXPECT_EQ(dflt.Weight, 400);
  EXPECT_EQ(dflt.Italic, 0);
  EXPECT_EQ(dflt.Underline, 0);
  EXPECT_EQ(dflt.StrikeOut, 0);
  EXPECT_EQ(dflt.FaceName, "Arial");

  FontSettings font{-16, 700, 1, 1, 0, std::string(40, 'F')};
  ASSERT_OK(SaveFontSettings(File(), font, 12));
  EXPECT_EQ(ReadFile(File().string()),
            "[Loomquill]\nlfHeight=-16\nlfPointSize=12\nlfWeight=700\nlfItalic=1\n"
            "lfUnderline=1\nlfStrikeOut=0\nlfFaceName=" +
                std::string(30, 'F') + "\n");
  const FontSettings loaded = LoadFontSettings(File());
  EXPECT_EQ(loaded.Height, -16);
  EXPECT_EQ(loaded.Weight, 700);
  EXPECT_EQ(loaded.Italic, 1);
  EXPECT_EQ(loaded.FaceName, std::string(30, 'F'));
}

TEST_F(SettingsFile, FontKeysLiveBesideTheScript) {
  ASSERT_OK(SaveSettings(File(), s_, "h", "q"));
  ASSERT_OK(SaveFontSettings(File(), FontSettings{-20, 400, 0, 0, 1, "Mono"}, 15));
  ASSERT_OK(SaveSettings(File(), s_, "h2", "q"));
  Load();
  EXPECT_EQ(header_, "h2");
  EXPECT_EQ(LoadFontSettings(File()).FaceName, "Mono");
  EXPECT_EQ(LoadFontSettings(File()).StrikeOut, 1);
}

TEST_F(SettingsFile, UnusableFontValuesGiveDefaults) {
  WriteSettings("[Loomquill]\nlfFaceName=\nlfWeight=bold\nlfHeight= -9 \n");
  const FontSettings font = LoadFontSettings(File());
  EXPECT_EQ(font.FaceName, "Arial");
  EXPECT_EQ(font.Weight, 400);
  EXPECT_EQ(font.Height, -9);
}

TEST_F(SettingsFile, PreviewIsClosedAndUnplacedWhenNothingIsStored) {
  const PreviewSettings preview = LoadPreviewSettings(File());
  EXPECT_FALSE(preview.Open);
  EXPECT_FALSE(preview.Placed());
  EXPECT_EQ(preview.Width, 0);
  EXPECT_EQ(preview.Height, 0);
}

TEST_F(SettingsFile, PreviewStateRoundTripsInItsKeys) {
  ASSERT_OK(SavePreviewSettings(File(), PreviewSettings{true, -8, 40, 520, 610}));
  EXPECT_EQ(ReadFile(File().string()),
            "[Loomquill]\nPreviewOpen=1\nPreviewLeft=-8\nPreviewTop=40\nPreviewWidth=520\n"
            "PreviewHeight=610\n");
  PreviewSettings preview = LoadPreviewSettings(File());
  EXPECT_TRUE(preview.Open);
  EXPECT_TRUE(preview.Placed());
  EXPECT_EQ(preview.Left, -8);
  EXPECT_EQ(preview.Top, 40);
  EXPECT_EQ(preview.Width, 520);
  EXPECT_EQ(preview.Height, 610);

  ASSERT_OK(SavePreviewSettings(File(), PreviewSettings{false, 1, 2, 300, 200}));
  preview = LoadPreviewSettings(File());
  EXPECT_FALSE(preview.Open);
  EXPECT_EQ(preview.Left, 1);
  EXPECT_EQ(preview.Height, 200);
}

TEST_F(SettingsFile, AnUnplacedPreviewStoresOnlyWhetherItWasOpenAndKeepsAnEarlierPlace) {
  ASSERT_OK(SavePreviewSettings(File(), PreviewSettings{}));
  EXPECT_EQ(ReadFile(File().string()), "[Loomquill]\nPreviewOpen=0\n");
  ASSERT_OK(SavePreviewSettings(File(), PreviewSettings{true, 3, 4, 500, 400}));
  ASSERT_OK(SavePreviewSettings(File(), PreviewSettings{true, 0, 0, 0, 0}));
  const PreviewSettings preview = LoadPreviewSettings(File());
  EXPECT_TRUE(preview.Open);
  EXPECT_EQ(preview.Left, 3);
  EXPECT_EQ(preview.Width, 500);
}

TEST_F(SettingsFile, PreviewKeysLiveBesideTheScriptAndTheFont) {
  ASSERT_OK(SaveSettings(File(), s_, "h", "q"));
  ASSERT_OK(SavePreviewSettings(File(), PreviewSettings{true, 5, 6, 400, 300}));
  ASSERT_OK(SaveFontSettings(File(), FontSettings{-20, 400, 0, 0, 0, "Mono"}, 15));
  ASSERT_OK(SaveSettings(File(), s_, "h2", "q"));
  Load();
  EXPECT_EQ(header_, "h2");
  EXPECT_EQ(LoadFontSettings(File()).FaceName, "Mono");
  const PreviewSettings preview = LoadPreviewSettings(File());
  EXPECT_TRUE(preview.Open);
  EXPECT_EQ(preview.Width, 400);
}

TEST_F(SettingsFile, APreviewSizeThatMakesNoWindowCountsAsUnplaced) {
  WriteSettings("[Loomquill]\nPreviewOpen=7\nPreviewWidth=0\nPreviewHeight=300\n");
  PreviewSettings preview = LoadPreviewSettings(File());
  EXPECT_TRUE(preview.Open);
  EXPECT_FALSE(preview.Placed());
  EXPECT_EQ(preview.Height, 0);
  WriteSettings("[Loomquill]\nPreviewOpen=yes\nPreviewWidth=-400\nPreviewHeight=-300\n");
  preview = LoadPreviewSettings(File());
  EXPECT_FALSE(preview.Open);
  EXPECT_FALSE(preview.Placed());
}

}  // namespace
}  // namespace lq
