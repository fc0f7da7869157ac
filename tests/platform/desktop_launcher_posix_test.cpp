#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "platform/app_id.h"
#include "platform/desktop_launcher.h"
#include "platform/desktop_launcher_system.h"
#include "tests/support/run_process.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

using test::WriteFile;

TEST(LauncherSystemTest, ExecutableMeansARegularFileWithExecuteBits) {
  const test::TempDir dir;
  const std::string tool = dir.File("tool");
  const std::string plain = dir.File("plain");
  WriteFile(tool, "#!/bin/sh\n");
  WriteFile(plain, "x");
  ASSERT_EQ(::chmod(tool.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(plain.c_str(), 0644), 0);
  EXPECT_TRUE(launcher_system::IsExecutableFile(tool));
  EXPECT_FALSE(launcher_system::IsExecutableFile(plain));
  EXPECT_FALSE(launcher_system::IsExecutableFile(dir.path().string()));  // a folder
  EXPECT_FALSE(launcher_system::IsExecutableFile(dir.File("missing")));
}

TEST(LauncherSystemTest, ExistsForFilesAndFolders) {
  const test::TempDir dir;
  WriteFile(dir.File("f"), "x");
  EXPECT_TRUE(launcher_system::Exists(dir.File("f")));
  EXPECT_TRUE(launcher_system::Exists(dir.path().string()));
  EXPECT_FALSE(launcher_system::Exists(dir.File("missing")));
  EXPECT_FALSE(launcher_system::Exists(""));
}

TEST(LauncherSystemTest, ProgramsAreLookedForOnPath) {
  {
    const test::ScopedEnv path("PATH", "/nonexistent:/usr/bin");
    EXPECT_EQ(launcher_system::ProgramSearchPath(), "/nonexistent:/usr/bin");
  }
  const test::ScopedEnv path("PATH", std::nullopt);
  EXPECT_EQ(launcher_system::ProgramSearchPath(), "");
}

std::string ReadAll(const std::string& name) {
  std::ifstream in(name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// GIO reads the XDG folders once a process: this is the one test that asks it.
TEST(LauncherSystemTest, TheTextEditorIsTheDesktopsAndNeverLoomquill) {
  const test::TempDir dir;
  const std::string apps = dir.File("data/applications");
  std::filesystem::create_directories(apps);
  std::filesystem::create_directories(dir.File("sys"));
  std::filesystem::create_directories(dir.File("config"));
  std::filesystem::create_directory_symlink("/usr/share/mime", dir.File("sys/mime"));
  // The editor records what it was given.
  const std::string editor = dir.File("editor.sh");
  WriteFile(editor, "#!/bin/sh\nprintf '%s\\n' \"$@\" >\"$0.args\"\n");
  ASSERT_EQ(::chmod(editor.c_str(), 0755), 0);
  WriteFile(apps + "/editor.desktop", "[Desktop Entry]\nType=Application\nName=Editor\nExec=" +
                                          editor + " %f\nMimeType=text/plain;\n");
  // Loomquill as the user's own choice for plain text, made in an Open With dialog.
  const std::string self = std::string(AppId()) + ".desktop";
  WriteFile(apps + "/" + self,
            "[Desktop Entry]\nType=Application\nName=Loomquill\nExec=/bin/true %f\n"
            "MimeType=text/plain;\n");
  WriteFile(dir.File("config/mimeapps.list"), "[Default Applications]\ntext/plain=" + self + "\n");
  // The cache a real install's trigger builds, from which GIO lists a type's handlers.
  ASSERT_EQ(test::RunProcess("/usr/bin/update-desktop-database", {apps}).status, 0);
  const test::ScopedEnv home("HOME", dir.path().string());
  const test::ScopedEnv data_home("XDG_DATA_HOME", dir.File("data"));
  const test::ScopedEnv data_dirs("XDG_DATA_DIRS", dir.File("sys"));
  const test::ScopedEnv config_home("XDG_CONFIG_HOME", dir.File("config"));
  const test::ScopedEnv config_dirs("XDG_CONFIG_DIRS", dir.File("none"));

  const auto handlers = launcher_system::TextHandlers();
  ASSERT_EQ(handlers.size(), 2u);
  EXPECT_EQ(handlers[0].id, self);  // the default first
  EXPECT_EQ(handlers[1], (DesktopHandler{"editor.desktop", editor}));

  const std::string file = dir.File("out put.txt");
  WriteFile(file, "x");
  DesktopLauncher launcher;
  ASSERT_TRUE(launcher.OpenInTextEditor(file));
  std::string args;
  for (int i = 0; i < 100 && args.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    args = ReadAll(editor + ".args");
  }
  EXPECT_EQ(args, file + "\n");
  EXPECT_FALSE(launcher_system::LaunchDesktopApp("no-such-app.desktop", file));
}

TEST(LauncherSystemTest, StartDetachedRefusesAnEmptyCommand) {
  EXPECT_FALSE(launcher_system::StartDetached({}));
}

}  // namespace
}  // namespace lq
