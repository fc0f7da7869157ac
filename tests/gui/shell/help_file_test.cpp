#include "shell/help_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace lq::test {
namespace {

namespace fs = std::filesystem;

// An installed tree: the program folder, and the help where the install puts it.
class HelpFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("lq-help-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    program_ = (root_ / "usr/lib/x86_64-linux-gnu/loomquill/").string();
    fs::create_directories(program_);
  }
  void TearDown() override { fs::remove_all(root_); }
  static void Make(const std::string& file) {
    fs::create_directories(fs::path(file).parent_path());
    std::ofstream(file) << "<html></html>";
  }
  fs::path root_;
  std::string program_;
};

TEST_F(HelpFileTest, TheInstalledHelpFolderLiesOutsideTheProgramFolderUnderShareHelp) {
  const std::string folder = InstalledHelpFolder(program_);
  EXPECT_EQ(folder.back(), '/');
  EXPECT_NE(folder.find("/share/help/C/loomquill/"), std::string::npos) << folder;
  EXPECT_EQ(folder.find("/.."), std::string::npos) << folder;
  EXPECT_EQ(folder.rfind(program_, 0), std::string::npos) << folder;
}

TEST_F(HelpFileTest, OpensTheHelpBesideTheProgramFirstThenTheInstalledOne) {
  const std::string beside = program_ + "Weftbook.html";
  const std::string installed = InstalledHelpFolder(program_) + "Weftbook.html";
  // Neither: the name beside the program, for the desktop to say it is missing.
  EXPECT_EQ(HelpFile(program_), beside);
  Make(installed);
  EXPECT_EQ(HelpFile(program_), installed);
  Make(beside);
  EXPECT_EQ(HelpFile(program_), beside);
}

}  // namespace
}  // namespace lq::test
