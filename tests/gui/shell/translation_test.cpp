// The window in the user's language: under a German locale its menus, buttons, status bar
// and messages read German from the built catalog; under C they stay as written.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/translation.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "resources/ids.h"
#include "shell/user_locale.h"
#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

struct Captions {
  std::string file_menu;
  std::string help_menu;
  std::string create_button;
  std::string ready;
  std::string message;
  std::string caption;
};

class TranslationTest : public ShellTest {
 protected:
  // Starts the window as a user with LANG=lang would, with the build's catalogs.
  void StartIn(const char* lang) {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    unsetenv("LANGUAGE");
    setenv("LANG", lang, 1);
    const char* bin = std::getenv("LQ_BIN_DIR");
    ASSERT_NE(bin, nullptr) << "LQ_BIN_DIR names the build's programs";
    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(wxString::FromUTF8(bin) + "/locale");
    UseUserLocale();
    Start();
  }
  void TearDown() override {
    ShellTest::TearDown();
    wxTranslations::Set(nullptr);
    std::setlocale(LC_ALL, "C");
  }
  Captions Read() {
    Captions seen;
    wxMenuBar* bar = frame()->GetMenuBar();
    seen.file_menu = ToUtf8(bar->GetMenuLabelText(0));
    seen.help_menu = ToUtf8(bar->GetMenuLabelText(bar->GetMenuCount() - 1));
    seen.create_button = ToUtf8(dlg()->FindWindow(ids::kCreate)->GetLabel());
    seen.ready = ToUtf8(status()->GetStatusText(1));
    Command(ids::kCopySelected);  // with an empty list: the "drag some files" notice
    if (!prompts_.messages.empty()) {
      seen.message = prompts_.messages[0].text;
      seen.caption = prompts_.messages[0].caption;
    }
    return seen;
  }
  static std::string ToUtf8(const wxString& text) { return std::string(text.utf8_str()); }
};

TEST_F(TranslationTest, GermanLocaleShowsGermanCaptions) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (localedef -i de_DE -f UTF-8 "
                    "de_DE.UTF-8)";
  }
  StartIn("de_DE.UTF-8");
  const Captions seen = Read();
  EXPECT_EQ(seen.file_menu, "Datei");
  EXPECT_EQ(seen.help_menu, "Hilfe");
  EXPECT_EQ(seen.create_button, "Erstellen");
  EXPECT_EQ(seen.ready, "Bereit");
  EXPECT_EQ(seen.message,
            "Bitte ziehen Sie zuerst einige Dateien aus der Dateiverwaltung hierher, bevor Sie "
            "diesen Befehl verwenden");
  EXPECT_EQ(seen.caption, "Info");
}

TEST_F(TranslationTest, CLocaleKeepsTheEnglishTexts) {
  StartIn("C");
  const Captions seen = Read();
  EXPECT_EQ(seen.file_menu, "File");
  EXPECT_EQ(seen.help_menu, "Help");
  EXPECT_EQ(seen.create_button, "Create");
  EXPECT_EQ(seen.ready, "Ready");
  EXPECT_EQ(seen.message, "Please drag some files from File Manager before using this command");
  EXPECT_EQ(seen.caption, "Info");
}

}  // namespace
}  // namespace lq::test
