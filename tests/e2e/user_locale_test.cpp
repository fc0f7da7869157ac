// The locale comes from the environment: GTK's own labels follow LANG, the hint table and
// the form of numbers do not.
#include "shell/user_locale.h"

#include <gtest/gtest.h>
#include <libintl.h>
#include <wx/stockitem.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "resources/hint_table.h"

namespace lq::test {
namespace {

TEST(UserLocaleTest, GtkLabelsFollowLang) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (localedef -i de_DE -f UTF-8 "
                    "de_DE.UTF-8)";
  }
  std::setlocale(LC_ALL, "C");
  // What GTK's file and font dialogs put on their buttons.
  if (std::string(dgettext("gtk30", "_Cancel")) == "_Cancel") {
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const bool translated = std::string(dgettext("gtk30", "_Cancel")) != "_Cancel";
    std::setlocale(LC_ALL, "C");
    if (!translated) GTEST_SKIP() << "GTK's German translations are not installed";
  }
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  unsetenv("LANGUAGE");
  setenv("LANG", "de_DE.UTF-8", 1);
  UseUserLocale();
  EXPECT_EQ(std::string(dgettext("gtk30", "_Cancel")), "_Abbrechen");
  EXPECT_EQ(std::string(dgettext("gtk30", "_Open")), "Ö_ffnen");
  // The hint table holds the English source texts; the window translates them as it shows them.
  EXPECT_EQ(HintString(1003), "Clear file list");
  char number[16];
  std::snprintf(number, sizeof number, "%.1f", 1.5);
  EXPECT_STREQ(number, "1.5");
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace lq::test
