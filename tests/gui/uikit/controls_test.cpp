#include "uikit/grafext/controls.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/sstream.h>
#include <wx/xml/xml.h>
#include <wx/xrc/xmlres.h>

#include <string>

#include "resources/ids.h"
#include "tests/gui/uikit/kit_fakes.h"
#include "uikit/grafext/desktop.h"
#include "uikit/grafext/face_colours.h"
#include "uikit/grafext/hint_sink.h"
#include "uikit/grafext/popup.h"
#include "uikit/grafext/white_center_dlg.h"
#include "uikit/grafext/zq_list_box.h"

namespace lq {
namespace {

// The test's own label, which no control of the program has.
constexpr int kStaticLabel = 130;

// The resource name of a control or menu item: its id, as the program's resources name them.
std::string XrcName(int id) { return "name=\"" + std::to_string(id) + "\""; }

std::string TestXrc() {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<resource xmlns="http://www.wxwidgets.org/wxxrc" version="2.5.3.0">
  <object class="wxDialog" name="TEST_DLG">
    <title>Test</title>
    <size>420,300</size>
    <object class="TZQListBox" )" +
         XrcName(ids::kFileList) + R"(>
      <pos>10,10</pos><size>150,180</size>
    </object>
    <object class="wxTextCtrl" )" +
         XrcName(ids::kHeader) + R"( subclass="TZQEditCursor">
      <pos>170,10</pos><size>150,28</size>
    </object>
    <object class="wxTextCtrl" )" +
         XrcName(ids::kQueue) + R"( subclass="TZQEditCursor">
      <pos>170,45</pos><size>150,60</size><style>wxTE_MULTILINE</style>
    </object>
    <object class="wxCheckBox" )" +
         XrcName(ids::kInvertSlash) + R"( subclass="TZQCheckBox">
      <pos>170,110</pos><size>150,24</size><label>Invert</label>
    </object>
    <object class="wxRadioButton" )" +
         XrcName(ids::kModeFull) + R"( subclass="TZQRadioButton">
      <pos>170,135</pos><size>150,24</size><label>Full</label><style>wxRB_GROUP</style><value>1</value>
    </object>
    <object class="wxRadioButton" )" +
         XrcName(ids::kModeRelative) + R"( subclass="TZQRadioButton">
      <pos>170,160</pos><size>150,24</size><label>Relative</label>
    </object>
    <object class="wxButton" )" +
         XrcName(ids::kCreate) + R"( subclass="TAutoButton">
      <pos>10,200</pos><size>90,30</size><label>Create</label>
    </object>
    <object class="wxButton" )" +
         XrcName(ids::kMoveUp) + R"( subclass="TAutoButton">
      <pos>110,200</pos><size>40,30</size><label>&lt;</label>
    </object>
    <object class="wxButton" )" +
         XrcName(ids::kView) + R"( subclass="TZQButton">
      <pos>160,200</pos><size>60,30</size><label>View</label>
    </object>
    <object class="wxStaticText" )" +
         XrcName(kStaticLabel) + R"(>
      <pos>240,200</pos><label>Static</label>
    </object>
  </object>
  <object class="wxMenu" name="TEST_MNU">
    <object class="wxMenuItem" )" +
         XrcName(ids::kExit) + R"(><label>Exit</label></object>
  </object>
  <object class="wxMenu" name="LIST_MNU">
    <object class="wxMenuItem" )" +
         XrcName(ids::kCopySelected) + R"(><label>Copy selected item</label></object>
  </object>
  <object class="wxMenu" name="CREATE_TEST_MNU">
    <object class="wxMenuItem" )" +
         XrcName(ids::kCreateAndCopy) + R"(><label>Create and copy</label></object>
  </object>
</resource>
)";
}

void LoadTestXrc() {
  static bool loaded = false;
  if (loaded) return;
  wxStringInputStream stream(wxString::FromUTF8(TestXrc()));
  auto* doc = new wxXmlDocument(stream);
  ASSERT_TRUE(doc->IsOk());
  ASSERT_TRUE(wxXmlResource::Get()->LoadDocument(doc, "uikit_test.xrc"));
  loaded = true;
}

struct PopupRecord {
  wxWindow* owner;
  std::string name;
  wxPoint pos;
};

class RecordingPresenter : public PopupPresenter {
 public:
  void Show(wxWindow* owner, wxMenu&, const std::string& name, const wxPoint& pos) override {
    shown.push_back({owner, name, pos});
  }
  std::vector<PopupRecord> shown;
};

wxCursor TestCursors(const std::string& name) {
  return name == "CUR_NORMAL" || name == "CUR_MANO" ? wxCursor(wxCURSOR_HAND) : wxNullCursor;
}

class TestDlg : public TWhiteCenterDlg, public HintSink {
 public:
  TestDlg(const std::string& menu, const wxFont* font)
      : TWhiteCenterDlg(nullptr, "TEST_DLG", menu, font) {
    Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) { list_events.push_back(e.GetInt()); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent& e) { clicks.push_back(e.GetId()); });
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) { checks.push_back(e.GetInt()); });
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent& e) { radios.push_back(e.GetId()); });
    Bind(wxEVT_DROP_FILES, [this](wxDropFilesEvent& e) { drops += e.GetNumberOfFiles(); });
  }
  void MenuItemHint(int id, bool from_menu) override {
    hints.push_back(id);
    EXPECT_FALSE(from_menu);
  }
  template <class T>
  T* Get(int id) {
    return dynamic_cast<T*>(FindWindow(id));
  }

  std::vector<int> hints, list_events, clicks, checks, radios;
  int drops = 0;
};

void Mouse(wxWindow* window, wxEventType type, const wxPoint& pos) {
  wxMouseEvent event(type);
  event.SetPosition(pos);
  event.SetEventObject(window);
  event.SetId(window->GetId());
  window->ProcessWindowEvent(event);
}

void RightClick(wxWindow* window, const wxPoint& pos) {
  Mouse(window, wxEVT_RIGHT_DOWN, pos);
  Mouse(window, wxEVT_RIGHT_UP, pos);
}

wxPoint InParent(wxWindow* control, const wxPoint& pos) {
  return control->GetParent()->ScreenToClient(control->ClientToScreen(pos));
}

class ControlsTest : public testing::Test {
 protected:
  void SetUp() override {
    LoadTestXrc();
    kit.UsePopups(&presenter);
    kit.UseCursors(&TestCursors);
    font = wxFont(wxFontInfo(13).FaceName("DejaVu Sans"));
    dlg = new TestDlg("TEST_MNU", &font);
    ASSERT_TRUE(dlg->loaded());
    for (const char* name : {"one", "two", "three", "four", "five"}) names.Append(name);
    dlg->Get<TZQListBox>(ids::kFileList)->ShowList(&names);
    dlg->Get<TZQListBox>(ids::kFileList)->Setup("CUR_NORMAL", "LIST_MNU");
    dlg->Get<TZQEditCursor>(ids::kHeader)->Setup(10, "CUR_NORMAL");
    dlg->Get<TZQEditCursor>(ids::kQueue)->Setup(8, "CUR_NORMAL");
    dlg->Get<TZQCheckBox>(ids::kInvertSlash)->Setup("CUR_NORMAL", "");
    dlg->Get<TZQRadioButton>(ids::kModeFull)->Setup("CUR_NORMAL", "");
    dlg->Get<TZQRadioButton>(ids::kModeRelative)->Setup("", "");
    dlg->Get<TZQButton>(ids::kCreate)->Setup("", "CREATE_TEST_MNU", true);
    dlg->Get<TZQButton>(ids::kMoveUp)->Setup("", "");
    dlg->Get<TZQButton>(ids::kView)->Setup("CUR_NOWHERE", "CREATE_TEST_MNU");
    dlg->Show();
    for (int i = 0; i < 5; ++i) wxTheApp->Yield();
  }
  void TearDown() override {
    if (dlg != nullptr) dlg->Destroy();
    wxTheApp->ProcessIdle();
  }

  RecordingPresenter presenter;
  test::KitFakes kit;
  wxFont font;
  FileList names;
  TestDlg* dlg = nullptr;
};

TEST_F(ControlsTest, XrcCreatesTheControlClassesWithTheirIds) {
  EXPECT_NE(dlg->Get<TZQListBox>(ids::kFileList), nullptr);
  EXPECT_NE(dlg->Get<TZQEditCursor>(ids::kHeader), nullptr);
  EXPECT_NE(dlg->Get<TZQCheckBox>(ids::kInvertSlash), nullptr);
  EXPECT_NE(dlg->Get<TZQRadioButton>(ids::kModeRelative), nullptr);
  EXPECT_NE(dlg->Get<TAutoButton>(ids::kCreate), nullptr);
  EXPECT_NE(dlg->Get<TZQButton>(ids::kView), nullptr);
  EXPECT_EQ(dlg->Get<TAutoButton>(ids::kView), nullptr);
}

TEST_F(ControlsTest, DialogIsInTheThemesBackgroundInItsFontCentredWithItsMenu) {
  EXPECT_EQ(dlg->GetBackgroundColour(), ThemeDialogColours().background);
  EXPECT_TRUE(dlg->has_menu());
  EXPECT_EQ(dlg->initial_font(), font);
  for (wxWindow* child : dlg->GetChildren()) EXPECT_EQ(child->GetFont(), font) << child->GetId();
  EXPECT_TRUE(dlg->GetCursor().IsOk());
  // The toolkit's controls keep an arrow rather than the dialog's hand.
  EXPECT_TRUE(dlg->FindWindow(kStaticLabel)->GetCursor().IsOk());
  const wxRect desktop = wxDisplay(0u).GetGeometry();
  EXPECT_EQ(dlg->GetPosition(), CenteredOnDesktop(desktop, dlg->GetSize()));
}

TEST_F(ControlsTest, DialogWithoutFontTakesTheSystemFont) {
  auto* plain = new TestDlg("", nullptr);
  EXPECT_FALSE(plain->has_menu());
  EXPECT_EQ(plain->FindWindow(ids::kHeader)->GetFont(),
            wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  plain->Destroy();
}

TEST_F(ControlsTest, MissingResourceIsNotLoaded) {
  wxLogNull quiet;
  auto* missing = new TWhiteCenterDlg(nullptr, "NO_SUCH_DLG", "", nullptr);
  EXPECT_FALSE(missing->loaded());
  missing->Destroy();
}

// An owner somewhere on the display, shown as the main window is.
class OwnedDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    LoadTestXrc();
    owner = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(60, 80), wxSize(500, 400));
    owner->Show();
    for (int i = 0; i < 3; ++i) wxTheApp->Yield();
  }
  void TearDown() override {
    owner->Destroy();
    wxTheApp->ProcessIdle();
  }
  wxRect Area() const { return wxDisplay(0u).GetClientArea(); }

  test::KitFakes kit;
  wxFrame* owner = nullptr;
};

TEST_F(OwnedDialogTest, OpensCentredOnItsOwnerWhereTheOwnerIsThen) {
  const wxFont font(wxFontInfo(10).FaceName("DejaVu Sans"));
  auto* dlg = new TWhiteCenterDlg(owner, "TEST_DLG", "", &font);
  ASSERT_TRUE(dlg->loaded());
  // The owner moves between the dialog's making and its showing: it opens on the new place.
  owner->Move(400, 300);
  wxTheApp->Yield();
  const wxSize size = dlg->GetSize();
  dlg->Show();
  wxTheApp->Yield();
  EXPECT_EQ(dlg->GetSize(), size);
  EXPECT_EQ(dlg->GetRect(), CenteredWithin(owner->GetRect(), size, Area(), {0, 0}));
  // Hidden and shown again after the owner moved once more, it follows again.
  dlg->Hide();
  owner->Move(100, 120);
  wxTheApp->Yield();
  dlg->Show();
  EXPECT_EQ(dlg->GetRect(), CenteredWithin(owner->GetRect(), size, Area(), {0, 0}));
  dlg->Destroy();
}

TEST_F(OwnedDialogTest, ALargerDialogThanTheDisplayOpensWholeAndLaidOutAgain) {
  // A font large enough to make the laid-out dialog larger than the display.
  const wxFont font(wxFontInfo(44).FaceName("DejaVu Sans"));
  auto* dlg = new TWhiteCenterDlg(owner, "TEST_DLG", "", &font);
  ASSERT_TRUE(dlg->loaded());
  const wxRect area = Area();
  ASSERT_GT(dlg->GetSize().GetWidth(), area.GetWidth());
  const int rescales = dlg->rescale_count();
  dlg->Show();
  wxTheApp->Yield();
  const wxRect placed = dlg->GetRect();
  EXPECT_TRUE(area.Contains(placed))
      << placed.x << "," << placed.y << " " << placed.width << "x" << placed.height;
  EXPECT_GT(dlg->rescale_count(), rescales);
  // Every control is inside the client it was laid out for.
  const wxRect client(wxPoint(0, 0), dlg->GetClientSize());
  for (wxWindow* child : dlg->GetChildren()) {
    EXPECT_TRUE(client.Contains(child->GetRect())) << child->GetId();
  }
  dlg->Destroy();
}

TEST_F(ControlsTest, RightClickOnTheBackgroundOpensTheDialogMenu) {
  RightClick(dlg, wxPoint(400, 280));
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].owner, dlg);
  EXPECT_EQ(presenter.shown[0].name, "TEST_MNU");
  EXPECT_EQ(presenter.shown[0].pos, wxPoint(400, 280));
  // A release without its press opens nothing.
  Mouse(dlg, wxEVT_RIGHT_UP, wxPoint(400, 280));
  EXPECT_EQ(presenter.shown.size(), 1u);
}

TEST_F(ControlsTest, LeftPressOnTheBackgroundDragsTheWindow) {
  const wxPoint start = dlg->ClientToScreen(wxPoint(400, 280));
  dlg->WarpPointer(400, 280);
  wxTheApp->Yield();
  if (wxGetMousePosition() != start) GTEST_SKIP() << "the display cannot move the pointer";
  const wxPoint before = dlg->GetPosition();
  Mouse(dlg, wxEVT_LEFT_DOWN, wxPoint(400, 280));
  dlg->WarpPointer(380, 250);
  wxTheApp->Yield();
  Mouse(dlg, wxEVT_MOTION, wxPoint(380, 250));
  Mouse(dlg, wxEVT_LEFT_UP, wxPoint(380, 250));
  EXPECT_EQ(dlg->GetPosition(), before + wxPoint(-20, -30));
  EXPECT_FALSE(dlg->HasCapture());
}

TEST_F(ControlsTest, RightClickOnAListItemSelectsItThenOpensTheListMenu) {
  auto* list = dlg->Get<TZQListBox>(ids::kFileList);
  int y4 = -1;
  for (int y = 0; y < list->GetClientSize().GetHeight() && y4 < 0; ++y) {
    if (list->HitTest(wxPoint(20, y)) == 3) y4 = y;
  }
  ASSERT_GE(y4, 0) << "the fourth item is not visible";
  const wxPoint at(20, y4 + 2);
  RightClick(list, at);
  for (int i = 0; i < 3; ++i) wxTheApp->Yield();
  EXPECT_EQ(list->FocusedItem(), 3);
  EXPECT_TRUE(list->IsItemSelected(3));
  EXPECT_EQ(dlg->list_events, std::vector<int>{3});
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].owner, dlg);
  EXPECT_EQ(presenter.shown[0].name, "LIST_MNU");
  EXPECT_EQ(presenter.shown[0].pos, InParent(list, at));
}

TEST_F(ControlsTest, RightClickOnAButtonWithAPopupDoesNotClickIt) {
  auto* view = dlg->Get<TZQButton>(ids::kView);
  RightClick(view, wxPoint(5, 6));
  EXPECT_TRUE(dlg->clicks.empty());
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].name, "CREATE_TEST_MNU");
  EXPECT_EQ(presenter.shown[0].owner, dlg);
  EXPECT_EQ(presenter.shown[0].pos, InParent(view, wxPoint(5, 6)));
}

TEST_F(ControlsTest, RightClickOnAButtonWithoutAPopupClicksIt) {
  RightClick(dlg->Get<TZQButton>(ids::kMoveUp), wxPoint(5, 6));
  EXPECT_EQ(dlg->clicks, std::vector<int>{ids::kMoveUp});
  EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(ControlsTest, LeftPressOnTheDropDownButtonOpensItsMenuBelowIt) {
  auto* create = dlg->Get<TZQButton>(ids::kCreate);
  EXPECT_TRUE(create->drop_down());
  Mouse(create, wxEVT_LEFT_DOWN, wxPoint(30, 10));
  Mouse(create, wxEVT_LEFT_UP, wxPoint(30, 10));
  EXPECT_TRUE(dlg->clicks.empty());
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].name, "CREATE_TEST_MNU");
  const wxRect r = create->GetRect();
  EXPECT_EQ(presenter.shown[0].pos, wxPoint(r.GetX(), r.GetY() + r.GetHeight()));
  // A right click opens it at the pointer.
  RightClick(create, wxPoint(30, 10));
  ASSERT_EQ(presenter.shown.size(), 2u);
  EXPECT_EQ(presenter.shown[1].pos, InParent(create, wxPoint(30, 10)));
  EXPECT_TRUE(dlg->clicks.empty());
}

TEST_F(ControlsTest, RightClickTogglesTheCheckBox) {
  auto* box = dlg->Get<TZQCheckBox>(ids::kInvertSlash);
  ASSERT_FALSE(box->GetValue());
  RightClick(box, wxPoint(3, 3));
  EXPECT_TRUE(box->GetValue());
  RightClick(box, wxPoint(3, 3));
  EXPECT_FALSE(box->GetValue());
  EXPECT_EQ(dlg->checks, (std::vector<int>{1, 0}));
  EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(ControlsTest, RightClickSelectsTheRadioButton) {
  auto* full = dlg->Get<TZQRadioButton>(ids::kModeFull);
  auto* relative = dlg->Get<TZQRadioButton>(ids::kModeRelative);
  ASSERT_TRUE(full->GetValue());
  RightClick(relative, wxPoint(3, 3));
  EXPECT_TRUE(relative->GetValue());
  EXPECT_FALSE(full->GetValue());
  EXPECT_EQ(dlg->radios, std::vector<int>{ids::kModeRelative});
  // Already selected: nothing more is announced, as with a left click.
  RightClick(relative, wxPoint(3, 3));
  EXPECT_EQ(dlg->radios, std::vector<int>{ids::kModeRelative});
}

TEST_F(ControlsTest, MovingOverAControlRaisesItsHint) {
  Mouse(dlg->Get<TZQListBox>(ids::kFileList), wxEVT_MOTION, wxPoint(5, 5));
  Mouse(dlg->Get<TZQEditCursor>(ids::kHeader), wxEVT_MOTION, wxPoint(5, 5));
  Mouse(dlg->Get<TZQButton>(ids::kCreate), wxEVT_MOTION, wxPoint(5, 5));
  Mouse(dlg->Get<TZQCheckBox>(ids::kInvertSlash), wxEVT_MOTION, wxPoint(5, 5));
  Mouse(dlg->Get<TZQRadioButton>(ids::kModeFull), wxEVT_MOTION, wxPoint(5, 5));
  EXPECT_EQ(dlg->hints, (std::vector<int>{ids::kFileList, ids::kHeader, ids::kCreate,
                                          ids::kInvertSlash, ids::kModeFull}));
}

TEST_F(ControlsTest, CursorsByName) {
  EXPECT_EQ(dlg->Get<TZQListBox>(ids::kFileList)->behaviour().cursor_name(), "CUR_NORMAL");
  EXPECT_TRUE(dlg->Get<TZQListBox>(ids::kFileList)->GetCursor().IsOk());
  // A name that names no cursor hides the pointer: still a cursor of its own.
  EXPECT_TRUE(dlg->Get<TZQButton>(ids::kView)->GetCursor().IsOk());
  // A button without a name shows the arrow; other controls keep the toolkit's.
  EXPECT_TRUE(dlg->Get<TZQButton>(ids::kMoveUp)->GetCursor().IsOk());
  EXPECT_FALSE(dlg->Get<TZQEditCursor>(ids::kHeader)->behaviour().cursor_name().empty());
  EXPECT_EQ(LoadNamedCursor("CUR_NOWHERE").IsOk(), true);
}

TEST_F(ControlsTest, EscUndoesTheEdit) {
  auto* edit = dlg->Get<TZQEditCursor>(ids::kHeader);
  edit->SetCrLfText("abc");
  edit->AppendText("def");
  EXPECT_EQ(edit->GetValue(), "abcdef");
  wxKeyEvent esc(wxEVT_CHAR_HOOK);
  esc.m_keyCode = WXK_ESCAPE;
  esc.SetEventObject(edit);
  edit->ProcessWindowEvent(esc);
  EXPECT_EQ(edit->GetValue(), "abc");
  EXPECT_TRUE(dlg->IsShown());
  edit->ProcessWindowEvent(esc);
  EXPECT_EQ(edit->GetValue(), "abcdef");
}

TEST_F(ControlsTest, MultiLineTextsAreHandedOverWithCrLf) {
  auto* edit = dlg->Get<TZQEditCursor>(ids::kQueue);
  edit->SetCrLfText("a\r\nb\r\n");
  EXPECT_EQ(edit->GetValue(), "a\nb\n");
  EXPECT_EQ(edit->GetCrLfText(1000), "a\r\nb\r\n");
  // A cut never leaves half a line break or half a character.
  EXPECT_EQ(edit->GetCrLfText(2), "a");
  EXPECT_EQ(edit->GetCrLfText(3), "a\r\n");
  edit->SetCrLfText("\xC3\xA9\xC3\xA9");
  EXPECT_EQ(edit->GetCrLfText(3), "\xC3\xA9");
  EXPECT_EQ(edit->GetCrLfText(0), "");
}

TEST_F(ControlsTest, TheByteLimitRefusesLongerTexts) {
  auto* edit = dlg->Get<TZQEditCursor>(ids::kQueue);  // limit 8
  edit->SetCrLfText("abc\r\nd");                      // 6 bytes
  edit->AppendText("e");                              // 7: kept
  EXPECT_EQ(edit->GetValue(), "abc\nde");
  edit->AppendText("\nf");  // 10 with CR LF: refused
  wxTheApp->ProcessPendingEvents();
  EXPECT_EQ(edit->GetValue(), "abc\nde");
  EXPECT_EQ(edit->GetCrLfText(1000), "abc\r\nde");
  EXPECT_EQ(edit->text_limit(), 8u);
}

TEST_F(ControlsTest, FilesDroppedOnAButtonReachTheDialog) {
  // The event owns the array.
  wxDropFilesEvent drop(wxEVT_DROP_FILES, 1, new wxString[1]{"/tmp/a.txt"});
  auto* button = dlg->Get<TZQButton>(ids::kMoveUp);
  drop.SetEventObject(button);
  button->ProcessWindowEvent(drop);
  EXPECT_EQ(dlg->drops, 1);
}

// What a screen reader reads of the list and does with it goes to the FileList, as clicks do.
TEST_F(ControlsTest, ReadersReadTheRowsAndTheSelectionRanges) {
  AccessibleRows& rows = dlg->Get<TZQListBox>(ids::kFileList)->RowsForReaders();
  EXPECT_EQ(rows.RowCount(), 5);
  EXPECT_EQ(rows.RowName(2), "three");
  names.ClearSelection();
  names.SetSelected({0, 2}, true);
  names.SetSelected({3, 4}, true);
  EXPECT_EQ(rows.SelectedRowCount(), 3);
  const struct {
    int n;
    int row;
  } table[] = {{0, 0}, {1, 1}, {2, 3}, {3, -1}, {-1, -1}};
  for (const auto& c : table) EXPECT_EQ(rows.NthSelectedRow(c.n), c.row) << c.n;
  AccessibleRows::Area area;
  EXPECT_TRUE(rows.RowArea(0, area));
  EXPECT_GT(area.height, 0);
  EXPECT_FALSE(rows.RowArea(5, area));
}

TEST_F(ControlsTest, ReadersSelectAsCtrlClicksAndTellTheWindow) {
  AccessibleRows& rows = dlg->Get<TZQListBox>(ids::kFileList)->RowsForReaders();
  names.ClearSelection();
  dlg->list_events.clear();
  rows.SetRowSelected(2, true);  // nothing selected: it alone, focused
  EXPECT_EQ(names.Selected(), 2);
  EXPECT_EQ(names.SelectedCount(), 1);
  rows.SetRowSelected(4, true);  // added, and the focus follows
  EXPECT_EQ(names.Selected(), 4);
  EXPECT_EQ(names.SelectedCount(), 2);
  rows.SetRowSelected(2, false);
  EXPECT_FALSE(names.IsSelected(2));
  EXPECT_EQ(names.Selected(), 4);
  rows.SetRowSelected(9, true);  // no such row
  EXPECT_EQ(names.SelectedCount(), 1);
  rows.ClickRow(0);
  EXPECT_EQ(names.Selected(), 0);
  EXPECT_EQ(names.SelectedCount(), 1);
  EXPECT_EQ(dlg->list_events, (std::vector<int>{2, 4, 4, 0}));
}

}  // namespace
}  // namespace lq
