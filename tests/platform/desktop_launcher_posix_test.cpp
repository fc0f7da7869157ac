#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/desktop_launcher_system.h"
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

TEST(LauncherSystemTest, StartDetachedRefusesAnEmptyCommand) {
  EXPECT_FALSE(launcher_system::StartDetached({}));
}

}  // namespace
}  // namespace lq
