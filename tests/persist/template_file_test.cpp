#include "persist/template_file.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>

#include "engine/escape.h"
#include "tests/support/result_testing.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

class TemplateFile : public testing::Test {
 protected:
  std::string Name(const std::string& file) const { return (dir_.path() / file).string(); }
  Status Load(const std::string& file) {
    return LoadTemplate(file, s_, header_, queue_, HostPathStyle());
  }
  Status Save(const std::string& file) {
    return SaveTemplate(file, s_, header_, queue_, HostPathStyle());
  }

  test::TempDir dir_;
  ScriptSettings s_;
  std::string header_, queue_;
};

TEST_F(TemplateFile, FreshSaveWritesEveryKeyInOrder) {
  s_.MainHead = "<ul>\r\n";
  s_.MainQueue = "</ul>";
  s_.CheckIndex = 1;
  s_.Escape = EscapeKind::kHtml;
  s_.InvertSlash = true;
  s_.FileOutput = "/out/list.html";
  header_ = "<li>";
  queue_ = "</li>\r\n";
  const std::string file = Name("html list.hqd");
  ASSERT_OK(Save(file));
  EXPECT_EQ(ReadFile(file),
            "[Loomquill]\n"
            "h_menutitle=html list\n"
            "h_menuhelp=html list\n"
            "Header=<<li>>\n"
            "Queue=<</li>#ZQ_BR#>\n"
            "MainHead=<<ul>#ZQ_BR#>\n"
            "MainQueue=<</ul>>\n"
            "InvertSlash=1\n"
            "CheckIndex=1\n"
            "Escape=html\n"
            "SaveLocal=0\n");
  // Saving makes it the current template.
  EXPECT_EQ(s_.TemplateFile, file);
  EXPECT_EQ(header_, "<li>");
  EXPECT_EQ(s_.MainHead, "<ul>\r\n");
  EXPECT_EQ(s_.Escape, EscapeKind::kHtml);
}

TEST_F(TemplateFile, EveryEscapeKindRoundTripsAsItsWord) {
  const std::string file = Name("t.hqd");
  for (std::size_t i = 0; i < kEscapeWords.size(); ++i) {
    const auto kind = static_cast<EscapeKind>(i);
    SCOPED_TRACE(kEscapeWords[i]);
    s_.Escape = kind;
    ASSERT_OK(Save(file));
    EXPECT_NE(ReadFile(file).find("\nEscape=" + std::string(kEscapeWords[i]) + "\n"),
              std::string::npos);
    ScriptSettings other;
    other.Escape = kind == EscapeKind::kCsv ? EscapeKind::kUrl : EscapeKind::kCsv;
    ASSERT_OK(LoadTemplate(file, other, header_, queue_, PathStyle::kPosix));
    EXPECT_EQ(other.Escape, kind);
  }
}

// Saving none replaces a kind the file held before, so the template no longer escapes.
TEST_F(TemplateFile, SavingNoneOverwritesAnEarlierKind) {
  const std::string file = Name("t.hqd");
  WriteFile(file, "[Loomquill]\nEscape=shell\n");
  s_.Escape = EscapeKind::kNone;
  ASSERT_OK(Save(file));
  EXPECT_NE(ReadFile(file).find("Escape=none\n"), std::string::npos);
  EXPECT_EQ(ReadFile(file).find("shell"), std::string::npos);
  s_.Escape = EscapeKind::kShell;
  ASSERT_OK(Load(file));
  EXPECT_EQ(s_.Escape, EscapeKind::kNone);
}

TEST_F(TemplateFile, EscapeWordsAreReadIgnoringCaseAndUnknownOnesAsNone) {
  const std::pair<const char*, EscapeKind> cases[] = {
      {"Escape=batch\n", EscapeKind::kBatch}, {"Escape=BATCH\n", EscapeKind::kBatch},
      {"ESCAPE=Url\n", EscapeKind::kUrl},     {"Escape='csv'\n", EscapeKind::kCsv},
      {"Escape=xml\n", EscapeKind::kNone},    {"Escape=htm\n", EscapeKind::kNone},
      {"Escape=\n", EscapeKind::kNone},       {"Header=<x>\n", EscapeKind::kNone},
  };
  const std::string file = Name("t.hqd");
  for (const auto& [body, expected] : cases) {
    SCOPED_TRACE(body);
    WriteFile(file, "[Loomquill]\n" + std::string(body));
    s_.Escape = EscapeKind::kJson;
    ASSERT_OK(Load(file));
    EXPECT_EQ(s_.Escape, expected);
  }
}

TEST_F(TemplateFile, WithoutSaveLocalTheOutputFileStaysAsItIs) {
  s_.FileOutput = "/first/out.txt";
  const std::string file = Name("t.hqd");
  ASSERT_OK(Save(file));
  EXPECT_EQ(ReadFile(file).find("FileOutput"), std::string::npos);

  ScriptSettings other;
  other.FileOutput = "/current/out.txt";
  other.RelPath = "/dropped/folder/";
  ASSERT_OK(LoadTemplate(file, other, header_, queue_, PathStyle::kPosix));
  EXPECT_EQ(other.FileOutput, "/current/out.txt");
  EXPECT_EQ(other.RelPath, "/dropped/folder/");
}

TEST_F(TemplateFile, WithSaveLocalTheOutputFileAndItsFolderAreTaken) {
  s_.FileOutput = "/stored/dir/out.txt";
  s_.SaveLocal = true;
  const std::string file = Name("t.hqd");
  ASSERT_OK(Save(file));

  ScriptSettings other;
  other.FileOutput = "/current/out.txt";
  other.RelPath = "/current/";
  ASSERT_OK(LoadTemplate(file, other, header_, queue_, PathStyle::kPosix));
  EXPECT_TRUE(other.SaveLocal);
  EXPECT_EQ(other.FileOutput, "/stored/dir/out.txt");
  EXPECT_EQ(other.RelPath, "/stored/dir/");
}

TEST_F(TemplateFile, StoredOutputIsKeptButIgnoredOnceSaveLocalIsOff) {
  const std::string file = Name("t.hqd");
  s_.FileOutput = "/stored/out.txt";
  s_.SaveLocal = true;
  ASSERT_OK(Save(file));
  s_.SaveLocal = false;
  s_.FileOutput = "/newer/out.txt";
  ASSERT_OK(Save(file));
  EXPECT_NE(ReadFile(file).find("FileOutput=/stored/out.txt\n"), std::string::npos);
  EXPECT_EQ(s_.FileOutput, "/newer/out.txt");

  // An empty stored output file does not replace the current one.
  WriteFile(file, "[Loomquill]\nSaveLocal=1\nFileOutput=\n");
  ASSERT_OK(Load(file));
  EXPECT_EQ(s_.FileOutput, "/newer/out.txt");
}

TEST_F(TemplateFile, HandWrittenMenuTitleAndHelpAreKept) {
  const std::string file = Name("web.hqd");
  const std::string long_help(2000, 'h');
  WriteFile(file, "[Loomquill]\r\nh_menutitle=  \"My Web Page\"  \r\nh_menuhelp=" + long_help +
                      "\r\nExtra=kept\r\n");
  header_ = "x";
  ASSERT_OK(Save(file));
  const std::string after = ReadFile(file);
  EXPECT_NE(after.find("h_menutitle=  \"My Web Page\"  \r\n"), std::string::npos);
  EXPECT_NE(after.find("h_menuhelp=" + long_help + "\r\n"), std::string::npos);
  EXPECT_NE(after.find("Extra=kept\r\n"), std::string::npos);
  EXPECT_NE(after.find("Header=<x>\r\n"), std::string::npos);
}

TEST_F(TemplateFile, LoadingClearsWhatTheTemplateDoesNotCarry) {
  const std::string file = Name("sparse.hqd");
  WriteFile(file, "[Loomquill]\nQueue=<\\n>\n");
  s_.MainHead = "old head";
  s_.MainQueue = "old queue";
  s_.CheckIndex = 2;
  s_.Escape = EscapeKind::kShell;
  s_.InvertSlash = true;
  s_.SaveLocal = true;
  s_.SendToIndex = 1;
  s_.UseTip = false;
  header_ = "old header";
  ASSERT_OK(Load(file));
  EXPECT_EQ(s_.MainHead, "");
  EXPECT_EQ(s_.MainQueue, "");
  EXPECT_EQ(header_, "");
  EXPECT_EQ(queue_, "\\n");
  EXPECT_EQ(s_.CheckIndex, 0);
  EXPECT_EQ(s_.Escape, EscapeKind::kNone);
  EXPECT_FALSE(s_.InvertSlash);
  EXPECT_FALSE(s_.SaveLocal);
  // Never part of a template.
  EXPECT_EQ(s_.SendToIndex, 1);
  EXPECT_FALSE(s_.UseTip);
  EXPECT_EQ(s_.TemplateFile, file);
}

TEST_F(TemplateFile, DamagedTemplateReadsWithoutFuss) {
  const std::string file = Name("junk.hqd");
  WriteFile(file, std::string("\xFF\x00\x01\n", 4) + std::string(1 << 20, '=') +
                      "\n[Loomquill]\nCheckIndex=x\nHeader=<ok>");
  s_.CheckIndex = 2;
  ASSERT_OK(Load(file));
  EXPECT_EQ(header_, "ok");
  EXPECT_EQ(s_.CheckIndex, 0);
}

TEST_F(TemplateFile, MissingTemplateChangesNothingAndIsReported) {
  s_.MainHead = "mine";
  header_ = "my header";
  const std::string file = Name("gone.hqd");
  const Status failed = Load(file);
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.failure().text, file);
  EXPECT_EQ(s_.MainHead, "mine");
  EXPECT_EQ(header_, "my header");
  EXPECT_EQ(s_.TemplateFile, "");
}

TEST_F(TemplateFile, TemplateThatCannotBeWrittenChangesNothing) {
  s_.MainHead = "mine";
  header_ = "my header";
  s_.TemplateFile = "/before.hqd";
  const std::string file = Name("no/folder/t.hqd");
  ASSERT_FALSE(Save(file).ok());
  EXPECT_EQ(s_.MainHead, "mine");
  EXPECT_EQ(header_, "my header");
  EXPECT_EQ(s_.TemplateFile, "/before.hqd");
}

TEST(TemplateCaption, NamesTheBaseName) {
  EXPECT_EQ(TemplateCaption("C:\\T\\html list.hqd", PathStyle::kWindows),
            "Halvorn Loomquill - html list");
  EXPECT_EQ(TemplateCaption("C:\\T\\web.hqd", PathStyle::kWindows), "Halvorn Loomquill - web");
  EXPECT_EQ(TemplateCaption("/t/a.b.hqd", PathStyle::kPosix), "Halvorn Loomquill - a.b");
  EXPECT_EQ(TemplateCaption("", PathStyle::kPosix), "Halvorn Loomquill");
}

}  // namespace
}  // namespace lq
