// The list's multiple selection through the display's own mouse and keyboard.
#include <string>
#include <vector>

#include "resources/ids.h"
#include "tests/gui/real/real_input.h"
#include "uikit/grafext/zq_list_box.h"

namespace lq::test {
namespace {

class ListRealTest : public RealInputTest {
 protected:
  TZQListBox* List() const { return dynamic_cast<TZQListBox*>(Control(ids::kFileList)); }
  wxPoint RowPoint(int i) const {
    const wxRect row = List()->ItemRect(i);
    return List()->ClientToScreen(row.GetTopLeft() + wxPoint(20, row.height / 2));
  }
  int SelectedCount() const {
    int n = 0;
    for (int i = 0; i < List()->RowCount(); ++i) n += List()->IsItemSelected(i) ? 1 : 0;
    return n;
  }
};

TEST_F(ListRealTest, ShiftAndCtrlSelectAndDelTakesThemAll) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  std::vector<std::string> names;
  for (const char* n : {"a", "b", "c", "d", "e", "f"}) names.push_back("/m/" + std::string(n));
  dlg()->HandleDrop(names, Control(ids::kFileList)->GetRect().GetTopLeft());
  ASSERT_NE(List(), nullptr);

  MoveTo(RowPoint(1));
  XClick(1);
  ASSERT_TRUE(PumpUntil([&] { return List()->FocusedItem() == 1 && SelectedCount() == 1; }));
  MoveTo(RowPoint(3));
  XLater("xdotool keydown shift click 1 keyup shift");
  ASSERT_TRUE(PumpUntil([&] { return SelectedCount() == 3; })) << SelectedCount();
  EXPECT_EQ(List()->FocusedItem(), 3);
  // The keys reach the list that the click gave the focus.
  XLater("xdotool key ctrl+Down; sleep 0.1; xdotool key shift+Down");
  ASSERT_TRUE(PumpUntil([&] { return SelectedCount() == 5; })) << SelectedCount();
  EXPECT_EQ(List()->FocusedItem(), 5);

  Hover(ids::kDeleteItem);
  XClick(1);
  ASSERT_TRUE(PumpUntil([&] { return List()->RowCount() == 1; })) << List()->RowCount();
  EXPECT_EQ(List()->RowText(0), "/m/a");
  EXPECT_TRUE(prompts_.messages.empty());
}

}  // namespace
}  // namespace lq::test
