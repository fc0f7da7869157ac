// The list's multiple selection: Shift and Ctrl with the mouse and the keys, Del and the
// moves on every selected item, the focused item as "the selected item", and drops into it.
#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "resources/ids.h"
#include "resources/resources.h"
#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

class ListSelectionTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    Start();
  }
  std::vector<std::string> Names(const std::string& letters) const {
    std::vector<std::string> names;
    for (char c : letters) names.push_back(Src(std::string(1, c)));
    return names;
  }
  // The list as letters, the selected ones in capitals.
  std::string Shown() const {
    std::string out;
    const std::vector<int> selected = SelectedItems();
    const std::vector<std::string> items = Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
      const char c = items[i].back();
      const bool on =
          std::find(selected.begin(), selected.end(), static_cast<int>(i)) != selected.end();
      out.push_back(on ? static_cast<char>(std::toupper(c)) : c);
    }
    return out;
  }
  int Focused() const { return ListBox()->FocusedItem(); }
};

// The user's steps, one after the other, with the list, the focus and the counter after each.
TEST_F(ListSelectionTest, ClicksKeysDelAndMovesActOnEverySelectedItem) {
  struct Step {
    const char* what;
    std::function<void(ListSelectionTest&)> act;
    const char* shown;
    int focused;
    const char* counter;
  };
  const Step steps[] = {
      {"click b", [](ListSelectionTest& t) { t.SelectItem(1); }, "aBcdefgh", 1, "2/8"},
      {"shift+click d", [](ListSelectionTest& t) { t.SelectItem(3, wxMOD_SHIFT); }, "aBCDefgh", 3,
       "4/8"},
      {"ctrl+click g", [](ListSelectionTest& t) { t.SelectItem(6, wxMOD_CONTROL); }, "aBCDefGh", 6,
       "7/8"},
      {"ctrl+click c off", [](ListSelectionTest& t) { t.SelectItem(2, wxMOD_CONTROL); }, "aBcDefGh",
       2, "3/8"},
      {"up moves each", [](ListSelectionTest& t) { t.Click(ids::kMoveUp); }, "BaDceGfh", 3, "4/8"},
      {"up again", [](ListSelectionTest& t) { t.Click(ids::kMoveUp); }, "BaDceGfh", 3, "4/8"},
      {"down from the menu", [](ListSelectionTest& t) { t.Command(ids::kMoveDown); }, "aBcDefGh", 2,
       "3/8"},
      {"del deletes all three", [](ListSelectionTest& t) { t.Click(ids::kDeleteItem); }, "aCefh", 1,
       "2/5"},
      {"shift+down", [](ListSelectionTest& t) { t.ListKey(WXK_DOWN, wxMOD_SHIFT); }, "aCEfh", 2,
       "3/5"},
      {"ctrl+down moves the focus alone",
       [](ListSelectionTest& t) { t.ListKey(WXK_DOWN, wxMOD_CONTROL); }, "aCEfh", 3, "4/5"},
      {"ctrl+space adds it", [](ListSelectionTest& t) { t.ListKey(WXK_SPACE, wxMOD_CONTROL); },
       "aCEFh", 3, "4/5"},
      {"end", [](ListSelectionTest& t) { t.ListKey(WXK_END); }, "acefH", 4, "5/5"},
      {"shift+home", [](ListSelectionTest& t) { t.ListKey(WXK_HOME, wxMOD_SHIFT); }, "ACEFH", 0,
       "1/5"},
      {"del of all", [](ListSelectionTest& t) { t.Click(ids::kDeleteItem); }, "", -1, "0/0"},
  };
  OpenListOf(Names("abcdefgh"));
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act(*this);
    EXPECT_EQ(Shown(), step.shown);
    if (step.focused >= 0) {
      EXPECT_EQ(Focused(), step.focused);
    }
    EXPECT_EQ(Counter(), step.counter);
  }
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(ListSelectionTest, CtrlAThenDelEmptiesTheList) {
  OpenListOf(Names("abc"));
  ListKey('A', wxMOD_CONTROL);
  EXPECT_EQ(Shown(), "ABC");
  Command(ids::kDeleteItem);
  EXPECT_TRUE(Items().empty());
  EXPECT_EQ(Counter(), "0/0");
}

// Keys with Alt belong to the menu bar (Alt+Up and Alt+Down move the items there), as do Del
// and the Ctrl letters but Ctrl+A: the list leaves them alone.
TEST_F(ListSelectionTest, TheListLeavesTheMenuBarsKeysAlone) {
  OpenListOf(Names("abcd"));
  SelectItem(1);
  // Alt+Down and Alt+Up are the List menu's Move commands, run for the list, which as a
  // scrolled window would take them for scrolling.
  ListKey(WXK_DOWN, wxMOD_ALT);
  EXPECT_EQ(Shown(), "acBd");
  ListKey(WXK_UP, wxMOD_ALT);
  EXPECT_EQ(Shown(), "aBcd");
  for (const auto& [key, modifiers] : std::vector<std::pair<int, int>>{{WXK_END, wxMOD_ALT},
                                                                       {'F', wxMOD_ALT},
                                                                       {WXK_DELETE, 0},
                                                                       {'C', wxMOD_CONTROL},
                                                                       {'O', wxMOD_CONTROL}}) {
    SCOPED_TRACE(key);
    ListKey(key, modifiers);
    EXPECT_EQ(Shown(), "aBcd");
    EXPECT_EQ(Focused(), 1);
  }
  EXPECT_TRUE(presenter_.shown.empty());
}

// The Menu key and Shift+F10 open the list's popup below the focused row, whose commands act
// on the selection as a right click's would.
TEST_F(ListSelectionTest, TheMenuKeyAndShiftF10OpenThePopupBelowTheFocusedRow) {
  OpenListOf(Names("abcde"));
  SelectItem(1);
  SelectItem(2, wxMOD_SHIFT);
  ListKey(WXK_F10);  // F10 alone is the toolkit's, for the menu bar
  EXPECT_TRUE(presenter_.shown.empty());
  ListKey(WXK_WINDOWS_MENU);
  ASSERT_EQ(presenter_.shown.size(), 1u);
  TZQListBox* list = ListBox();
  const wxPoint below = list->GetPosition() + list->ItemRect(2).GetBottomLeft();
  EXPECT_EQ(presenter_.shown[0].name, kListPopup);
  EXPECT_EQ(presenter_.shown[0].owner, list->GetParent());
  EXPECT_GE(presenter_.shown[0].pos.y, below.y - 1);
  EXPECT_LE(presenter_.shown[0].pos.y, below.y + 1);
  EXPECT_LT(presenter_.shown[0].pos.x - list->GetPosition().x, 10);
  presenter_.choose = ids::kDeleteItem;
  ListKey(WXK_F10, wxMOD_SHIFT);
  ASSERT_EQ(presenter_.shown.size(), 2u);
  EXPECT_EQ(Shown(), "aDe");
}

// Commands that speak of one item take the focused one, inside a selection or not.
TEST_F(ListSelectionTest, TheFocusedItemIsTheSelectedItemOfTheCommands) {
  OpenListOf(Names("abcd"));
  ChooseRadio(ids::kModeName);
  SelectItem(0);
  SelectItem(2, wxMOD_SHIFT);
  EXPECT_EQ(Shown(), "ABCd");
  Command(ids::kCopySelected);
  EXPECT_EQ(clipboard_.text, "c");
  Type(ids::kHeader, "play ");
  SelectItem(3, wxMOD_CONTROL);
  Command(ids::kCreateAndCopySelected);
  EXPECT_EQ(clipboard_.text, "play d");
  // The focus may leave the selection: it is still the one item meant.
  SelectItem(3, wxMOD_CONTROL);
  EXPECT_EQ(Shown(), "ABCd");
  Command(ids::kCopySelected);
  EXPECT_EQ(clipboard_.text, "d");
  EXPECT_EQ(Counter(), "4/4");
}

// A right click inside the selection keeps it, so the popup's Del takes every item of it;
// outside, it selects the item alone, as before.
TEST_F(ListSelectionTest, RightClickKeepsASelectionItFallsIn) {
  OpenListOf(Names("abcde"));
  SelectItem(1);
  SelectItem(3, wxMOD_SHIFT);
  auto right_click = [this](int index) {
    TZQListBox* list = ListBox();
    const wxPoint at = list->ItemRect(index).GetTopLeft() + wxPoint(5, 3);
    for (wxEventType type : {wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP}) {
      wxMouseEvent event(type);
      event.SetPosition(at);
      event.SetEventObject(list);
      list->ProcessWindowEvent(event);
    }
  };
  presenter_.choose = ids::kDeleteItem;
  right_click(2);
  ASSERT_EQ(presenter_.shown.size(), 1u);
  EXPECT_EQ(Shown(), "aE");
  EXPECT_EQ(Counter(), "2/2");
  presenter_.choose = 0;
  right_click(0);
  EXPECT_EQ(Shown(), "Ae");
  EXPECT_EQ(Counter(), "1/2");
}

// A drop goes after the focused item in one range and selects its last name alone.
TEST_F(ListSelectionTest, ADropGoesAfterTheFocusAndSelectsItsLast) {
  OpenListOf(Names("abcd"));
  SelectItem(0);
  SelectItem(1, wxMOD_SHIFT);
  SelectItem(3, wxMOD_CONTROL);
  const wxRect r = ListBox()->GetRect();
  dlg()->HandleDrop(Names("xyz"), r.GetPosition() + wxSize(r.width / 2, r.height / 2));
  EXPECT_EQ(Shown(), "abcdxyZ");
  EXPECT_EQ(Focused(), 6);
  EXPECT_EQ(Counter(), "7/7");
  // One beep at once, the others from the event loop.
  EXPECT_TRUE(PumpFor([&] { return beeper_.beeps == 3; }));
  // Into the middle: the items after move down together.
  SelectItem(1);
  dlg()->HandleDrop(Names("pq"), r.GetPosition() + wxSize(r.width / 2, r.height / 2));
  EXPECT_EQ(Shown(), "abpQcdxyz");
  EXPECT_EQ(Counter(), "4/9");
}

// Many names: the list shows the rows in view only, and the focus is kept in view.
TEST_F(ListSelectionTest, ALongListKeepsTheFocusInView) {
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i) names.push_back("/n/" + std::to_string(i));
  OpenListOf(names);
  TZQListBox* list = ListBox();
  ASSERT_EQ(list->RowCount(), 5000);
  EXPECT_TRUE(list->RowsOverflow());
  SelectItem(0);
  ListKey(WXK_PAGEDOWN);
  const int page = list->RowsPerPage();
  EXPECT_EQ(Focused(), page - 1);
  ListKey(WXK_END);
  EXPECT_EQ(Counter(), "5000/5000");
  const wxRect last = list->ItemRect(4999);
  EXPECT_EQ(list->HitTest(last.GetTopLeft() + wxPoint(2, 2)), 4999) << "scrolled into view";
  SelectItem(4000, wxMOD_SHIFT);
  EXPECT_EQ(SelectedItems().size(), 1000u);
  Click(ids::kDeleteItem);
  EXPECT_EQ(list->RowCount(), 4000);
  EXPECT_EQ(Counter(), "4000/4000");
  EXPECT_EQ(Items().back(), "/n/3999");
}

// Below the last item there is no item: a click there keeps the selection, and the list
// sends nothing.
TEST_F(ListSelectionTest, AClickBelowTheLastItemChangesNothing) {
  OpenListOf(Names("abc"));
  SelectItem(0);
  SelectItem(1, wxMOD_SHIFT);
  TZQListBox* list = ListBox();
  const wxRect below = list->ItemRect(3);
  ASSERT_LT(below.y + 2, list->GetClientSize().y) << "the list has room below its items";
  EXPECT_EQ(list->HitTest(below.GetTopLeft() + wxPoint(2, 2)), wxNOT_FOUND);
  wxMouseEvent press(wxEVT_LEFT_DOWN);
  press.SetPosition(below.GetTopLeft() + wxPoint(2, 2));
  press.SetEventObject(list);
  list->ProcessWindowEvent(press);
  EXPECT_EQ(Shown(), "ABc");
  EXPECT_EQ(Counter(), "2/3");
}

}  // namespace
}  // namespace lq::test
