// Every command by keyboard, through the display's own key events (xdotool): the menus'
// mnemonics, the shortcuts, the list reached with Tab and driven by its keys, and the list's
// popup from the keyboard. A focused text field keeps its own keys.
#include <wx/menu.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/file_dialogs.h"
#include "resources/ids.h"
#include "tests/gui/real/real_input.h"
#include "uikit/grafext/zq_list_box.h"

namespace lq::test {
namespace {

class KeyboardRealTest : public RealInputTest {
 protected:
  void StartWithList(const std::string& letters) {
    Start();
    if (!Ready()) return;
    std::vector<std::string> names;
    for (char c : letters) names.push_back("/m/" + std::string(1, c));
    dlg()->HandleDrop(names, Control(ids::kFileList)->GetRect().GetTopLeft());
    frame_->Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& e) {
      e.Skip();
      bar_opened_.push_back(e.GetMenu());
    });
    dlg()->Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& e) {
      e.Skip();
      popups_opened_.push_back(e.GetMenu());
    });
  }
  TZQListBox* List() const { return dynamic_cast<TZQListBox*>(Control(ids::kFileList)); }
  wxTextCtrl* Header() const { return dynamic_cast<wxTextCtrl*>(Control(ids::kHeader)); }
  // The list as letters, the selected ones in capitals.
  std::string Shown() const {
    std::string out;
    for (int i = 0; i < List()->RowCount(); ++i) {
      const char c = List()->RowText(i).utf8_string().back();
      out.push_back(List()->IsItemSelected(i) ? static_cast<char>(std::toupper(c)) : c);
    }
    return out;
  }
  // Keys as xdotool names them, one press each, while the test keeps the loop going.
  void Keys(const std::string& keys) { XLater("sleep 0.1; xdotool key --delay 60 " + keys); }
  bool FocusOnList() {
    List()->SetFocus();
    return PumpUntil([this] { return wxWindow::FindFocus() == List(); });
  }

  std::vector<wxMenu*> bar_opened_;
  std::vector<wxMenu*> popups_opened_;
};

TEST_F(KeyboardRealTest, AltAndTheMnemonicOpenEachMenuOfTheBar) {
  StartWithList("ab");
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  wxMenuBar* bar = frame_->GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 4u);
  const struct {
    const char* key;
    const char* menu;
  } cases[] = {{"alt+f", "File"}, {"alt+t", "Templates"}, {"alt+l", "List"}, {"alt+h", "Help"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    const int at = bar->FindMenu(c.menu);
    ASSERT_NE(at, wxNOT_FOUND);
    bar_opened_.clear();
    Keys(c.key);
    EXPECT_TRUE(PumpUntil([&] { return !bar_opened_.empty(); }));
    if (!bar_opened_.empty()) {
      EXPECT_EQ(bar_opened_.front(), bar->GetMenu(at));
    }
    Keys("Escape Escape");
    Pump(400);
  }
}

TEST_F(KeyboardRealTest, AMnemonicInAnOpenMenuRunsItsItem) {
  StartWithList("abc");
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  ASSERT_TRUE(FocusOnList());
  Keys("End");
  ASSERT_TRUE(PumpUntil([&] { return Shown() == "abC"; })) << Shown();
  // List > Delete selected item, by its letters alone.
  Keys("alt+l e");
  EXPECT_TRUE(PumpUntil([&] { return List()->RowCount() == 2; })) << Shown();
  // File > Open list..., the same way.
  Keys("alt+f o");
  EXPECT_TRUE(PumpUntil([&] { return !prompts_.file_dialogs.empty(); }));
  if (!prompts_.file_dialogs.empty()) {
    EXPECT_STREQ(prompts_.file_dialogs.front().kind.title, kOpenListDialog.title);
  }
}

TEST_F(KeyboardRealTest, TabReachesTheListAndItsKeysMoveTheSelection) {
  StartWithList("abcdefghijklmnopqrstuvwxyz");
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  // From the control before it in the tab order, and back out again with Shift+Tab.
  wxWindow* before = Control(ids::kModeName);
  before->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == before; }));
  Keys("Tab");
  ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == List(); }))
      << "focus on " << (wxWindow::FindFocus() ? wxWindow::FindFocus()->GetId() : -1);
  const int page = std::max(1, List()->RowsPerPage() - 1);
  struct Step {
    const char* keys;
    int focused;
    int selected;  // how many
  };
  const Step steps[] = {
      {"Home", 0, 1},
      {"Down", 1, 1},
      {"shift+Down shift+Down", 3, 3},
      {"ctrl+Down ctrl+Down", 5, 3},
      {"ctrl+space", 5, 4},
      {"Up", 4, 1},
      {"Next", 4 + page, 1},
      {"Prior", 4, 1},
      {"shift+End", 25, 22},
      {"End", 25, 1},
      {"ctrl+a", 25, 26},
      {"Home", 0, 1},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.keys);
    Keys(step.keys);
    auto count = [this] {
      int n = 0;
      for (int i = 0; i < List()->RowCount(); ++i) n += List()->IsItemSelected(i) ? 1 : 0;
      return n;
    };
    EXPECT_TRUE(PumpUntil([&] {
      return List()->FocusedItem() == step.focused && count() == step.selected;
    })) << "focused "
        << List()->FocusedItem() << ", selected " << count();
    // The focused row stays in view.
    EXPECT_TRUE(List()->GetClientRect().Contains(List()->ItemRect(List()->FocusedItem())));
  }
  // Back into the radio group, which gives the focus to its checked button.
  Keys("shift+Tab");
  EXPECT_TRUE(PumpUntil([&] {
    wxWindow* at = wxWindow::FindFocus();
    return at != nullptr && at != List() && at->GetId() >= ids::kModeFull &&
           at->GetId() <= ids::kModeName;
  }));
}

TEST_F(KeyboardRealTest, DelRemovesTheSelectedItemsAndATextFieldKeepsItsDel) {
  StartWithList("abcde");
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  ASSERT_TRUE(FocusOnList());
  Keys("Home Down shift+Down");
  ASSERT_TRUE(PumpUntil([&] { return Shown() == "aBCde"; })) << Shown();
  Keys("Delete");
  ASSERT_TRUE(PumpUntil([&] { return List()->RowCount() == 3; })) << Shown();
  EXPECT_EQ(List()->RowText(0), "/m/a");
  EXPECT_EQ(List()->RowText(1), "/m/d");

  // In the header, Del deletes a character and the list stays as it is.
  Header()->ChangeValue("xyz");
  Header()->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == Header(); }));
  Header()->SetInsertionPoint(0);
  Keys("Delete");
  EXPECT_TRUE(PumpUntil([&] { return Header()->GetValue() == "yz"; })) << Header()->GetValue();
  Pump(200);
  EXPECT_EQ(List()->RowCount(), 3);
}

TEST_F(KeyboardRealTest, ShiftF10AndTheMenuKeyOpenTheListPopup) {
  StartWithList("abcd");
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  ASSERT_TRUE(FocusOnList());
  Keys("End");
  ASSERT_TRUE(PumpUntil([&] { return Shown() == "abcD"; })) << Shown();
  // The popup runs its own loop: its letter "e" (Delete selected item) closes it.
  XLater("sleep 0.1; xdotool key shift+F10; sleep 0.8; xdotool key e");
  ASSERT_TRUE(PumpUntil([&] { return List()->RowCount() == 3; }, 5000)) << Shown();
  ASSERT_FALSE(popups_opened_.empty());
  EXPECT_NE(popups_opened_.front()->FindItem(ids::kCopySelected), nullptr);

  popups_opened_.clear();
  XLater("sleep 0.1; xdotool key Menu; sleep 0.8; xdotool key u");  // Move up
  ASSERT_TRUE(PumpUntil([&] { return Shown() == "aCb"; }, 5000)) << Shown();
  ASSERT_FALSE(popups_opened_.empty());
  EXPECT_NE(popups_opened_.front()->FindItem(ids::kDeleteItem), nullptr);
}

TEST_F(KeyboardRealTest, TheShortcutsRunTheirCommands) {
  StartWithList("abcd");
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  ASSERT_TRUE(FocusOnList());
  Keys("Home Down");
  ASSERT_TRUE(PumpUntil([&] { return Shown() == "aBcd"; })) << Shown();

  Keys("ctrl+c");
  EXPECT_TRUE(PumpUntil([&] { return clipboard_.text.has_value(); }));
  EXPECT_EQ(clipboard_.text.value_or(""), "/m/b");
  Header()->ChangeValue("<");
  Keys("ctrl+shift+c");
  EXPECT_TRUE(PumpUntil([&] { return clipboard_.text.value_or("") != "/m/b"; }));
  EXPECT_NE(clipboard_.text.value_or("").find("</m/b"), std::string::npos)
      << clipboard_.text.value_or("");

  Keys("ctrl+o");
  EXPECT_TRUE(PumpUntil([&] { return prompts_.file_dialogs.size() == 1; }));
  Keys("ctrl+s");
  EXPECT_TRUE(PumpUntil([&] { return prompts_.file_dialogs.size() == 2; }));
  if (prompts_.file_dialogs.size() == 2) {
    EXPECT_STREQ(prompts_.file_dialogs[0].kind.title, kOpenListDialog.title);
    EXPECT_STREQ(prompts_.file_dialogs[1].kind.title, kSaveListDialog.title);
  }

  const std::filesystem::path out = dlg()->settings().FileOutput;
  ASSERT_FALSE(out.empty());
  Keys("ctrl+Return");
  EXPECT_TRUE(PumpUntil([&] { return std::filesystem::exists(out); })) << out;
}

// Not yet so: Alt+Up and Alt+Down with the list focused, and Ctrl+Shift+P, do not reach
// their menu items under Xvfb (the moves' keys may be taken by the list's scrolling).
TEST_F(KeyboardRealTest, AltArrowsMoveTheItemsAndCtrlShiftPPreviews) {
  StartWithList("abcd");
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  ASSERT_TRUE(FocusOnList());
  Keys("Home Down");
  ASSERT_TRUE(PumpUntil([&] { return Shown() == "aBcd"; })) << Shown();
  Keys("alt+Down alt+Down");
  EXPECT_TRUE(PumpUntil([&] { return Shown() == "acdB"; })) << Shown();
  Keys("alt+Up");
  EXPECT_TRUE(PumpUntil([&] { return Shown() == "acBd"; })) << Shown();
  Keys("ctrl+shift+p");
  EXPECT_TRUE(PumpUntil([&] { return dlg()->preview().IsOpen(); }));
}

TEST_F(KeyboardRealTest, AFocusedTextFieldKeepsTheKeysItUses) {
  StartWithList("ab");
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  Header()->ChangeValue("first");
  Header()->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == Header(); }));
  const std::string list_before = Shown();
  Header()->SetSelection(0, 5);
  // Copy copies the field's text, not the list's item.
  Keys("ctrl+c");
  Pump(400);
  EXPECT_FALSE(clipboard_.text.has_value()) << clipboard_.text.value_or("");
  // Ctrl+A selects the field's text, not the list's items.
  Header()->SetInsertionPointEnd();
  Keys("ctrl+a");
  EXPECT_TRUE(PumpUntil([&] {
    long from = 0;
    long to = 0;
    Header()->GetSelection(&from, &to);
    return from == 0 && to == 5;
  }));
  EXPECT_EQ(Shown(), list_before);
}

}  // namespace
}  // namespace lq::test
