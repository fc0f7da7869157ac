// Hints in the status bar, the controls' popups, and the F1 key.
#include <wx/app.h>
#include <wx/menu.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

class HintsTest : public ShellTest {
 protected:
  // Hints show only while the frame is the active window: bring it up with the pointer in it.
  bool StartActive() {
    Start();
    frame()->Raise();
    frame()->SetFocus();
    Hover(dlg(), wxPoint(2, 2));
    for (int i = 0; i < 100 && !frame()->IsActive(); ++i) {
      Yield();
      wxMilliSleep(10);
    }
    return frame()->IsActive();
  }
  // Moves the real pointer to a point of window, then delivers the move the window gets.
  void Hover(wxWindow* window, const wxPoint& pos) {
    window->WarpPointer(pos.x, pos.y);
    wxMouseEvent motion(wxEVT_MOTION);
    motion.SetPosition(pos);
    motion.SetEventObject(window);
    window->ProcessWindowEvent(motion);
  }
  void HoverControl(int id) {
    wxWindow* control = dlg()->FindWindow(id);
    ASSERT_NE(control, nullptr);
    Hover(control, wxPoint(control->GetSize().x / 2, control->GetSize().y / 2));
  }
  void Mouse(wxWindow* window, wxEventType type, const wxPoint& pos) {
    wxMouseEvent event(type);
    event.SetPosition(pos);
    event.SetEventObject(window);
    window->ProcessWindowEvent(event);
  }
  void MenuHighlight(wxWindow* target, int id) {
    wxMenuEvent event(wxEVT_MENU_HIGHLIGHT, id);
    event.SetEventObject(target);
    target->ProcessWindowEvent(event);
  }
  // A point inside list item index, found the way a user aims at it.
  wxPoint ItemPoint(int index) {
    TZQListBox* list = ListBox();
    // The toolkit lays rows out when it gets round to it.
    for (int attempt = 0; attempt < 100; ++attempt) {
      for (int y = 0; y < list->GetClientSize().y; ++y) {
        if (list->HitTest(wxPoint(10, y)) == index) return wxPoint(10, y + 2);
      }
      Yield();
      wxMilliSleep(10);
    }
    std::string seen;
    for (int y = 0; y < list->GetClientSize().y; y += 5) {
      seen += std::to_string(list->HitTest(wxPoint(10, y))) + " ";
    }
    ADD_FAILURE() << "item " << index << " is not visible: " << seen << list->GetClientSize().x
                  << "x" << list->GetClientSize().y << " " << list->RowCount();
    return wxPoint(10, 0);
  }
  std::string Out() const { return (work_ / "out" / "o.txt").string(); }
};

#define START_ACTIVE()                                                             \
  do {                                                                             \
    if (!StartActive()) GTEST_SKIP() << "the display never made the frame active"; \
  } while (false)

struct ControlHint {
  int id;
  const char* status;
  const char* tip;
};

TEST_F(HintsTest, HoveringAControlShowsItsHint) {
  START_ACTIVE();
  const ControlHint hints[] = {
      {ids::kFileList, "Drag and drop here your files from File Manager", "Drag & Drop files"},
      {ids::kCreate, "Create output file containing header, files, queue",
       "Click here\nto create output"},
      {ids::kHeader, "Header, will be placed before file name", "Header"},
      {ids::kInvertSlash, "Invert \\ to / for HTML code", "Invert"},
      {ids::kModeRelative,
       "Relative path will be calculated from output file (drag folder here to change)",
       "Relative (drag)"},
      {ids::kAutoDrag, "Drag a single file here for special settings", ""},
      {ids::kSetOutputFile, "Set the name of the output file", "Output file (drag)"},
  };
  for (const ControlHint& hint : hints) {
    SCOPED_TRACE(hint.id);
    HoverControl(hint.id);
    EXPECT_EQ(status()->ShownText(), hint.status);
    EXPECT_EQ(status()->GetStatusText(0).utf8_string(), hint.status);
    EXPECT_EQ(status()->TipText(), hint.tip);
    EXPECT_EQ(status()->HintAnchor(), wxGetMousePosition());
  }
}

TEST_F(HintsTest, WithTooltipsOffHoveringStillShowsTheStatusText) {
  START_ACTIVE();
  Command(ids::kUseTooltip);
  HoverControl(ids::kFileList);
  EXPECT_EQ(status()->ShownText(), "Drag and drop here your files from File Manager");
  EXPECT_FALSE(status()->AreTipsEnabled());
}

TEST_F(HintsTest, RelativeFolderFieldHintsThroughTheDialog) {
  START_ACTIVE();
  wxWindow* field = dlg()->FindWindow(ids::kRelPathField);
  const wxPoint inside = field->GetPosition() + wxPoint(3, 3);
  Hover(dlg(), inside);
  EXPECT_EQ(status()->ShownText(), "Relative path, drag a folder here to change");
  EXPECT_EQ(status()->TipText(), "Rel Path");
  EXPECT_EQ(status()->HintAnchor(), dlg()->ClientToScreen(inside));
  // Away from every control the output file shows again.
  Hover(dlg(), wxPoint(1, dlg()->GetClientSize().y - 2));
  EXPECT_EQ(status()->ShownText(), DefaultOutput());
}

TEST_F(HintsTest, PopupItemHighlightShowsTheStatusPartOnly) {
  START_ACTIVE();
  Hover(dlg(), wxPoint(3, 3));
  MenuHighlight(dlg(), ids::kCreate);
  EXPECT_EQ(status()->ShownText(), "Create output file containing header, files, queue");
  EXPECT_EQ(status()->TipText(), "");
  // Keys move through the menu while the pointer stays: the hint stays.
  MenuHighlight(dlg(), ids::kCreateAndCopy);
  EXPECT_EQ(status()->ShownText(), "Create output file containing header, files, queue");
  Hover(dlg(), wxPoint(4, 3));
  MenuHighlight(dlg(), ids::kCreateAndCopy);
  EXPECT_EQ(status()->ShownText(), "Create output file, and copy it into Clipboard");
  // A popup about to open clears it.
  wxMenuEvent open(wxEVT_MENU_OPEN, 0, nullptr);
  dlg()->ProcessWindowEvent(open);
  EXPECT_EQ(status()->ShownText(), DefaultOutput());
}

// The File menu over the background holds the escaping items too.
TEST_F(HintsTest, EscapeItemInThePopupShowsItsStatusText) {
  START_ACTIVE();
  Hover(dlg(), wxPoint(3, 3));
  MenuHighlight(dlg(), ids::kEscapeShell);
  EXPECT_EQ(status()->ShownText(), "Escape names for POSIX shell single quotes: ' becomes '\\''");
  EXPECT_EQ(status()->TipText(), "");
  Hover(dlg(), wxPoint(4, 3));
  MenuHighlight(dlg(), ids::kEscapeCsv);
  EXPECT_EQ(status()->ShownText(),
            "Escape names for CSV double quotes: \" becomes \"\"; cells starting with = + - @ are "
            "kept (a spreadsheet may run them)");
}

TEST_F(HintsTest, MenuBarHighlightShowsTheHintUntilTheMenuCloses) {
  WriteProgramFile("web.hqd", "[Loomquill]\n");
  START_ACTIVE();
  MenuHighlight(frame(), ids::kExit);
  EXPECT_EQ(status()->ShownText(), "Close program");
  MenuHighlight(frame(), ids::kView);
  EXPECT_EQ(status()->ShownText(), "Open last created output with Notepad");
  EXPECT_EQ(status()->TipText(), "") << "menu items show no tooltip";
  Hover(dlg(), wxPoint(5, 4));
  MenuHighlight(frame(), ids::kFirstTemplate);
  EXPECT_EQ(status()->ShownText(), program_.string() + "/web.hqd");
  wxMenuEvent close(wxEVT_MENU_CLOSE, 0, frame()->GetMenuBar()->GetMenu(1));
  frame()->ProcessWindowEvent(close);
  EXPECT_EQ(status()->ShownText(), DefaultOutput());
}

TEST_F(HintsTest, RightClickOnAListItemSelectsItAndOpensTheListMenu) {
  START_ACTIVE();
  OpenListOf({Src("1"), Src("2"), Src("3"), Src("4"), Src("5")});
  const wxPoint at = ItemPoint(3);
  Mouse(ListBox(), wxEVT_RIGHT_DOWN, at);
  EXPECT_EQ(ListBox()->FocusedItem(), 3);
  EXPECT_EQ(Counter(), "4/5");
  EXPECT_TRUE(presenter_.shown.empty()) << "the menu waits for the release";
  presenter_.choose = ids::kDeleteItem;  // "Delete selected item"
  Mouse(ListBox(), wxEVT_RIGHT_UP, at);
  ASSERT_EQ(presenter_.shown.size(), 1u);
  const RecordingPresenter::Request& menu = presenter_.shown[0];
  EXPECT_EQ(menu.name, "MAINLIST_MNU");
  EXPECT_EQ(menu.owner, dlg());
  EXPECT_EQ(menu.pos, dlg()->ScreenToClient(ListBox()->ClientToScreen(at)));
  const std::vector<int> items{ids::kCopySelected, ids::kCreateAndCopySelected,
                               wxID_SEPARATOR,     ids::kMoveUp,
                               ids::kMoveDown,     wxID_SEPARATOR,
                               ids::kDeleteItem,   ids::kClearList};
  EXPECT_EQ(menu.ids, items);
  const std::vector<std::string> left{Src("1"), Src("2"), Src("3"), Src("5")};
  EXPECT_EQ(Items(), left);
  EXPECT_EQ(Counter(), "4/4");
}

TEST_F(HintsTest, RightClickOnAButtonWithoutMenuClicksIt) {
  START_ACTIVE();
  OpenListOf({Src("1"), Src("2"), Src("3")});
  SelectItem(2);
  wxWindow* up = dlg()->FindWindow(ids::kMoveUp);
  Mouse(up, wxEVT_RIGHT_DOWN, wxPoint(3, 3));
  Mouse(up, wxEVT_RIGHT_UP, wxPoint(3, 3));
  const std::vector<std::string> moved{Src("1"), Src("3"), Src("2")};
  EXPECT_EQ(Items(), moved);
  EXPECT_EQ(Counter(), "2/3");
  EXPECT_TRUE(presenter_.shown.empty());
}

TEST_F(HintsTest, CreateButtonOpensItsMenuBelowItOnALeftPress) {
  START_ACTIVE();
  OpenListOf({Src("a.txt")});
  SetOutput(Out());
  wxWindow* create = dlg()->FindWindow(ids::kCreate);
  Mouse(create, wxEVT_LEFT_DOWN, wxPoint(5, 5));
  ASSERT_EQ(presenter_.shown.size(), 1u);
  EXPECT_EQ(presenter_.shown[0].name, "CREATE_MNU");
  EXPECT_EQ(presenter_.shown[0].owner, dlg());
  EXPECT_EQ(presenter_.shown[0].pos, create->GetPosition() + wxPoint(0, create->GetSize().y));
  const std::vector<int> items{ids::kCreate, ids::kCreateAndCopy, wxID_SEPARATOR,
                               ids::kView,   ids::kPreview,       ids::kExecute};
  EXPECT_EQ(presenter_.shown[0].ids, items);
  EXPECT_FALSE(fs::exists(Out())) << "the press only opens the menu";

  // Right click: the same menu at the pointer, still nothing created.
  Mouse(create, wxEVT_RIGHT_DOWN, wxPoint(7, 4));
  Mouse(create, wxEVT_RIGHT_UP, wxPoint(7, 4));
  ASSERT_EQ(presenter_.shown.size(), 2u);
  EXPECT_EQ(presenter_.shown[1].name, "CREATE_MNU");
  EXPECT_EQ(presenter_.shown[1].pos, create->GetPosition() + wxPoint(7, 4));
  EXPECT_FALSE(fs::exists(Out()));

  // Choosing "Create" in it writes the output.
  presenter_.choose = ids::kCreate;
  Mouse(create, wxEVT_LEFT_DOWN, wxPoint(5, 5));
  EXPECT_EQ(ReadAll(Out()), Src("a.txt"));
  ASSERT_EQ(clock_.notices.size(), 1u);
  EXPECT_EQ(clock_.notices[0].text, "Click view to see created file");
}

// F1 reaches the frame as the accelerator of "&Index\tF1", wherever the focus is. This
// needs the display's keyboard, so it is skipped where the key cannot be sent.
TEST_F(HintsTest, F1InTheListOpensTheHelp) {
  START_ACTIVE();
  OpenListOf({Src("a.txt")});
  ListBox()->SetFocus();
  Yield();
  if (wxWindow::FindFocus() != ListBox()) GTEST_SKIP() << "the list never got the focus";
  wxUIActionSimulator keys;
  keys.Char(WXK_F1);
  for (int i = 0; i < 50 && launcher_.calls.empty(); ++i) {
    Yield();
    wxMilliSleep(10);
  }
  const std::vector<FakeLauncher::Call> expected{
      {FakeLauncher::Kind::kAssociation, {program_.string() + "/Weftbook.html"}}};
  EXPECT_EQ(launcher_.calls, expected);
}

}  // namespace
}  // namespace lq::test
