// The "Escape names for" choice in File > Options: the record, the check mark, the settings
// file, templates and the hints.
#include "engine/escape.h"

#include <wx/menu.h>
#include <wx/utils.h>

#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

#include "tests/gui/shell/shell_fixture.h"
#include "uikit/grafext/popup.h"

namespace lq {

// Names the kind in failure messages instead of its bytes.
static void PrintTo(EscapeKind kind, std::ostream* os) { *os << EscapeWord(kind); }

namespace test {
namespace {

struct EscapeItem {
  int id;
  EscapeKind kind;
  const char* word;
  const char* label;
  const char* status;
};

const EscapeItem kItems[] = {
    {ids::kEscapeNone, EscapeKind::kNone, "none", "None",
     "Write names as they are, unescaped (unsafe for scripts)"},
    {ids::kEscapeShell, EscapeKind::kShell, "shell", "Shell script (inside '...')",
     "Escape names for POSIX shell single quotes: ' becomes '\\''"},
    {ids::kEscapeBatch, EscapeKind::kBatch, "batch", "Batch file (inside \"...\")",
     "Escape names for cmd double quotes: % becomes %%; a name with \" or a line break is "
     "refused"},
    {ids::kEscapeHtml, EscapeKind::kHtml, "html", "HTML",
     "Escape names for HTML: & < > \" ' CR become &amp; &lt; &gt; &quot; &#39; &#13;; a name must "
     "be UTF-8"},
    {ids::kEscapeUrl, EscapeKind::kUrl, "url", "URL",
     "Escape names for URLs: every byte but letters, digits and - . _ ~ / becomes %XX"},
    {ids::kEscapeCsv, EscapeKind::kCsv, "csv", "CSV (inside \"...\")",
     "Escape names for CSV double quotes: \" becomes \"\"; cells starting with = + - @ are kept (a "
     "spreadsheet may run them)"},
    {ids::kEscapeJson, EscapeKind::kJson, "json", "JSON (inside \"...\")",
     "Escape names for JSON strings: \\ \" and control characters get a backslash; a name must "
     "be UTF-8"},
    {ids::kEscapeHtmlUrl, EscapeKind::kHtmlUrl, "html-url", "HTML link (name as URL)",
     "Escape the written name as a link target (%XX, as URL) and the variables as HTML text; a "
     "name must be UTF-8"},
    {ids::kEscapeLine, EscapeKind::kLine, "line", "Lines (one name a line)",
     "For one-name-a-line lists: a name with a line break is refused; a relative #x or a:b is "
     "written as ./#x, ./a:b"},
};

class EscapeTest : public ShellTest {
 protected:
  wxMenuItem* BarItem(int id) const { return frame()->GetMenuBar()->FindItem(id); }
  // The one checked item of the sub-menu, 0 when none is.
  int CheckedItem() const {
    int checked = 0;
    for (const EscapeItem& item : kItems) {
      wxMenuItem* found = BarItem(item.id);
      if (found == nullptr) {
        ADD_FAILURE() << "no item " << item.id;
        continue;
      }
      if (found->IsChecked()) {
        EXPECT_EQ(checked, 0) << "two checked items";
        checked = item.id;
      }
    }
    return checked;
  }
  // The bar's File menu about to open, as the toolkit reports it.
  void OpenFileMenu() {
    wxMenu* file = frame()->GetMenuBar()->GetMenu(0);
    wxMenuEvent event(wxEVT_MENU_OPEN, 0, file);
    event.SetEventObject(file);
    frame()->HandleWindowEvent(event);
  }
};

TEST_F(EscapeTest, TheSubMenuSitsInOptionsWithOneRadioItemPerKind) {
  Start();
  wxMenuItem* tooltip = BarItem(ids::kUseTooltip);
  ASSERT_NE(tooltip, nullptr);
  wxMenu* options = tooltip->GetMenu();
  ASSERT_EQ(options->GetMenuItemCount(), 3u);
  wxMenuItem* sub = options->FindItemByPosition(2);
  ASSERT_TRUE(sub->IsSubMenu());
  EXPECT_EQ(sub->GetItemLabelText(), "Escape names for");
  wxMenu* escape = sub->GetSubMenu();
  ASSERT_EQ(escape->GetMenuItemCount(), std::size(kItems));
  for (std::size_t i = 0; i < std::size(kItems); ++i) {
    SCOPED_TRACE(kItems[i].label);
    const wxMenuItem* item = escape->FindItemByPosition(i);
    EXPECT_EQ(item->GetId(), kItems[i].id);
    EXPECT_EQ(item->GetItemLabelText().utf8_string(), kItems[i].label);
    EXPECT_EQ(item->GetKind(), wxITEM_RADIO);
  }
  EXPECT_EQ(CheckedItem(), ids::kEscapeNone) << "no settings file: none";
  EXPECT_EQ(dlg()->settings().Escape, EscapeKind::kNone);
}

TEST_F(EscapeTest, ChoosingAnItemSetsTheKindAndItsCheckMark) {
  Start();
  // Every item after every other, so no item only works from the default.
  for (const EscapeItem& item : kItems) {
    for (const EscapeItem& next : kItems) {
      if (next.id == item.id) continue;
      SCOPED_TRACE(std::string(item.word) + " then " + next.word);
      Command(item.id);
      EXPECT_EQ(dlg()->settings().Escape, item.kind);
      EXPECT_EQ(CheckedItem(), item.id);
      Command(next.id);
      EXPECT_EQ(dlg()->settings().Escape, next.kind);
      EXPECT_EQ(CheckedItem(), next.id);
    }
  }
  EXPECT_TRUE(prompts_.messages.empty());
}

// Over the background the File menu is a copy of the bar's: a choice there counts, and the
// copy shows the current kind when it opens.
TEST_F(EscapeTest, TheBackgroundMenuChoosesAndShowsTheKindToo) {
  Start();
  presenter_.choose = ids::kEscapeCsv;
  wxMouseEvent down(wxEVT_RIGHT_DOWN);
  down.SetPosition(wxPoint(2, 2));
  dlg()->ProcessWindowEvent(down);
  wxMouseEvent up(wxEVT_RIGHT_UP);
  up.SetPosition(wxPoint(2, 2));
  dlg()->ProcessWindowEvent(up);
  ASSERT_EQ(presenter_.shown.size(), 1u);
  EXPECT_EQ(presenter_.shown[0].name, "MENU_PROVA");
  EXPECT_EQ(dlg()->settings().Escape, EscapeKind::kCsv);
  EXPECT_EQ(CheckedItem(), ids::kEscapeCsv);

  Command(ids::kEscapeBatch);
  std::unique_ptr<wxMenu> copy = LoadPopupMenu("MENU_PROVA");
  ASSERT_TRUE(copy);
  ASSERT_TRUE(copy->FindItem(ids::kEscapeNone)->IsChecked()) << "as the resource has it";
  wxMenuEvent open(wxEVT_MENU_OPEN, 0, copy.get());
  open.SetEventObject(copy.get());
  dlg()->ProcessWindowEvent(open);
  EXPECT_TRUE(copy->FindItem(ids::kEscapeBatch)->IsChecked());
  EXPECT_FALSE(copy->FindItem(ids::kEscapeNone)->IsChecked());
}

TEST_F(EscapeTest, TheKindSurvivesClosingAndReopening) {
  for (const EscapeItem& item : kItems) {
    SCOPED_TRACE(item.word);
    Start();
    Command(item.id);
    Command(ids::kExit);
    ASSERT_TRUE(FrameGone());
    EXPECT_EQ(SettingsValue("Escape"), item.word);
    Start();
    EXPECT_EQ(dlg()->settings().Escape, item.kind);
    EXPECT_EQ(CheckedItem(), item.id);
    OpenFileMenu();
    EXPECT_EQ(CheckedItem(), item.id) << "opening the menu keeps it";
    frame()->Destroy();
    ASSERT_TRUE(FrameGone());
  }
}

TEST_F(EscapeTest, StoredWordsAreReadIgnoringCaseAndUnknownOnesAsNone) {
  const std::pair<const char*, int> cases[] = {{"Escape=HTML\n", ids::kEscapeHtml},
                                               {"Escape=Shell\n", ids::kEscapeShell},
                                               {"Escape=perl\n", ids::kEscapeNone},
                                               {"Escape=HTML-URL\n", ids::kEscapeHtmlUrl},
                                               {"Escape=line\n", ids::kEscapeLine},
                                               {"Escape=lines\n", ids::kEscapeNone},
                                               {"", ids::kEscapeNone}};
  for (const auto& [body, id] : cases) {
    SCOPED_TRACE(body);
    WriteSettings(body);
    Start();
    EXPECT_EQ(CheckedItem(), id);
    frame()->Destroy();
    ASSERT_TRUE(FrameGone());
  }
}

TEST_F(EscapeTest, TemplatesCarryTheKindAndOneWithoutTheKeyGivesNone) {
  WriteProgramFile("a plain.hqd", "[Loomquill]\nHeader=<cp >\n");
  WriteProgramFile("b json.hqd", "[Loomquill]\nHeader=<\">\nEscape=json\n");
  WriteSettings("Escape=shell\n");
  Start();
  EXPECT_EQ(CheckedItem(), ids::kEscapeShell);

  Command(ids::kFirstTemplate + 1);  // "b json"
  EXPECT_EQ(dlg()->settings().Escape, EscapeKind::kJson);
  EXPECT_EQ(CheckedItem(), ids::kEscapeJson);
  Command(ids::kFirstTemplate);  // "a plain": no key
  EXPECT_EQ(dlg()->settings().Escape, EscapeKind::kNone);
  EXPECT_EQ(CheckedItem(), ids::kEscapeNone);
  OpenFileMenu();
  EXPECT_EQ(CheckedItem(), ids::kEscapeNone);

  // Save Template stores the kind; loading the saved file brings it back.
  Command(ids::kEscapeUrl);
  const fs::path saved = work_ / "url.hqd";
  prompts_.file_answers.push_back(saved.string());
  Command(ids::kSaveTemplate);
  EXPECT_NE(ReadAll(saved).find("\nEscape=url\n"), std::string::npos) << ReadAll(saved);
  Command(ids::kFirstTemplate);
  EXPECT_EQ(CheckedItem(), ids::kEscapeNone);
  prompts_.file_answers.push_back(saved.string());
  Command(ids::kOpenTemplate);
  EXPECT_EQ(frame()->GetTitle(), "Halvorn Loomquill - url");
  EXPECT_EQ(dlg()->settings().Escape, EscapeKind::kUrl);
  EXPECT_EQ(CheckedItem(), ids::kEscapeUrl);
  EXPECT_TRUE(prompts_.messages.empty());
}

// Highlighting an item shows what its kind does in the status bar, and no tooltip.
TEST_F(EscapeTest, HighlightingAnItemShowsItsHint) {
  Start();
  for (const EscapeItem& item : kItems) {
    SCOPED_TRACE(item.word);
    wxMenuEvent event(wxEVT_MENU_HIGHLIGHT, item.id);
    event.SetEventObject(frame());
    frame()->ProcessWindowEvent(event);
    EXPECT_EQ(status()->ShownText(), item.status);
    EXPECT_EQ(status()->GetStatusText(0).utf8_string(), item.status);
    EXPECT_EQ(status()->TipText(), "");
  }
  wxMenuEvent close(wxEVT_MENU_CLOSE, 0, frame()->GetMenuBar()->GetMenu(0));
  frame()->ProcessWindowEvent(close);
  EXPECT_EQ(status()->ShownText(), DefaultOutput());
}

}  // namespace
}  // namespace test
}  // namespace lq
