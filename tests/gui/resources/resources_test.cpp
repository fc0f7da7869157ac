// Loads every dialog and menu of the embedded loomquill.xrc and checks it against the
// layout Loomquill's windows rely on: ids, classes, texts, places in dialog units, styles,
// tab order and menu items.
#include "resources/resources.h"

#include <gtest/gtest.h>
#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "resources/ids.h"
#include "uikit/grafext/zq_list_box.h"

namespace lq {
namespace {

enum Flags : unsigned {
  kPlain = 0,
  kMultiLine = 1,
  kReadOnly = 2,
  kDisabled = 4,
  kGroupStart = 8,
  kDefault = 16,
  kDontWrap = 32,
};

struct Control {
  int id;  // wxID_ANY for the group boxes and texts without an id
  wxClassInfo* base;
  const char* subclass;  // nullptr: a plain wxWidgets control
  const char* text;      // label, or value of an edit
  int x, y, w, h;        // dialog units
  unsigned flags;
};

#define CI(cls) wxCLASSINFO(cls)

// In tab order.
const std::vector<Control> kMainControls = {
    {ids::kCreate, CI(wxButton), "TAutoButton", "Create", 209, 206, 50, 18, kPlain},
    {ids::kHeader, CI(wxTextCtrl), "TZQEditCursor", "", 6, 73, 253, 32, kMultiLine},
    {ids::kQueue, CI(wxTextCtrl), "TZQEditCursor", "", 6, 107, 253, 32, kMultiLine},
    {ids::kRelPathField, CI(wxTextCtrl), "TZQEditCursor", "Relative Path", 68, 208, 136, 10,
     kReadOnly | kDisabled},
    {ids::kModeFull, CI(wxRadioButton), "TZQRadioButton", "Full Paht", 11, 152, 49, 10,
     kGroupStart},
    {ids::kModeRelative, CI(wxRadioButton), "TZQRadioButton", "Relative Path", 11, 163, 49, 10,
     kPlain},
    {ids::kModeName, CI(wxRadioButton), "TZQRadioButton", "No Path", 11, 174, 49, 10, kPlain},
    {ids::kFileList, CI(wxHVScrolledWindow), "TZQListBox", "", 5, 0, 231, 68, kPlain},
    {ids::kMoveUp, CI(wxButton), "TAutoButton", "<", 240, 39, 15, 14, kPlain},
    {ids::kMoveDown, CI(wxButton), "TAutoButton", ">", 240, 54, 15, 14, kPlain},
    {ids::kDeleteItem, CI(wxButton), "TAutoButton", "Del", 240, 15, 20, 14, kPlain},
    {ids::kInvertSlash, CI(wxCheckBox), "TZQCheckBox", "Invert slash (\\ become /)", 72, 189, 90,
     10, kPlain},
    {ids::kModeNone, CI(wxRadioButton), "TZQRadioButton", "None", 11, 185, 49, 10, kPlain},
    {wxID_ANY, CI(wxStaticBox), nullptr, "Path", 6, 142, 57, 59, kPlain},
    {wxID_ANY, CI(wxStaticBox), nullptr, "Settings", 68, 142, 191, 60, kPlain},
    {ids::kOutFileField, CI(wxTextCtrl), "TZQEditCursor", "OutFile", 110, 151, 141, 12, kReadOnly},
    {ids::kMainHeadField, CI(wxTextCtrl), "TZQEditCursor", "MainHeader...", 110, 164, 141, 10,
     kReadOnly},
    {ids::kMainQueueField, CI(wxTextCtrl), "TZQEditCursor", "MainQueue...", 110, 176, 141, 10,
     kReadOnly},
    {ids::kSetOutputFile, CI(wxButton), "TAutoButton", "OutFile", 72, 152, 35, 10, kPlain},
    {ids::kSetMainHead, CI(wxButton), "TAutoButton", "MainHead", 72, 164, 35, 10, kPlain},
    {ids::kSetMainQueue, CI(wxButton), "TAutoButton", "MainQueue", 72, 176, 36, 10, kPlain},
    {ids::kCounter, CI(wxTextCtrl), "TZQEditCursor", "111/2999", 237, 0, 29, 10,
     kReadOnly | kDisabled},
    {ids::kSaveLocal, CI(wxCheckBox), "TZQCheckBox", "Local info in template", 166, 189, 90, 10,
     kPlain},
    {ids::kAutoDrag, CI(wxButton), "TAutoButton", "Auto Drag", 6, 208, 57, 14, kPlain},
};

const std::vector<Control> kInputControls = {
    {ids::kInputEdit, CI(wxTextCtrl), "TZQEditCursor", "", 12, 15, 232, 108,
     kMultiLine | kDontWrap},
    {wxID_OK, CI(wxButton), nullptr, "OK", 133, 134, 50, 14, kDefault},
    {wxID_CANCEL, CI(wxButton), nullptr, "Cancel", 190, 134, 50, 14, kPlain},
};

const char kSendToText[] =
    "To enable Loomquill Send To interface:\n"
    "In your file manager right click over a file,\n"
    "choose Open With and pick Loomquill.\n"
    "The running Loomquill receives the file.";

const std::vector<Control> kSendToControls = {
    {wxID_ANY, CI(wxStaticText), nullptr, kSendToText, 10, 15, 164, 60, kPlain},
    {ids::kSendToName, CI(wxRadioButton), nullptr, "Create and copy file name with path", 8, 81,
     172, 12, kGroupStart},
    {ids::kSendToLine, CI(wxRadioButton), nullptr,
     "Create and copy a line (header, filename, queue)", 8, 93, 178, 12, kPlain},
    {wxID_OK, CI(wxButton), nullptr, "OK", 66, 120, 50, 14, kDefault},
    {wxID_CANCEL, CI(wxButton), nullptr, "Cancel", 124, 120, 50, 14, kPlain},
};

#undef CI

std::string Text(const wxWindow* w) {
  if (const auto* edit = wxDynamicCast(w, wxTextCtrl)) return edit->GetValue().ToStdString();
  return w->GetLabel().ToStdString();
}

// Checks the children of parent, in order, against the table.
void ExpectControls(wxWindow* parent, const std::vector<Control>& table) {
  const wxWindowList& children = parent->GetChildren();
  ASSERT_EQ(children.size(), table.size());
  auto* dialog = wxDynamicCast(parent, wxDialog);
  size_t i = 0;
  for (wxWindow* w : children) {
    const Control& c = table[i++];
    SCOPED_TRACE(testing::Message()
                 << "control #" << i << " id " << c.id << " \"" << c.text << "\"");
    if (c.id == wxID_ANY) {
      EXPECT_LT(w->GetId(), 0);
    } else {
      EXPECT_EQ(w->GetId(), c.id);
      EXPECT_EQ(parent->FindWindow(c.id), w);
    }
    EXPECT_TRUE(w->IsKindOf(c.base)) << w->GetClassInfo()->GetClassName();
    if (c.subclass) {
      EXPECT_EQ(wxString(w->GetClassInfo()->GetClassName()).ToStdString(), c.subclass);
    }
    EXPECT_EQ(Text(w), c.text);
    EXPECT_EQ(w->GetPosition(), parent->ConvertDialogToPixels(wxPoint(c.x, c.y)));
    EXPECT_EQ(w->GetSize(), parent->ConvertDialogToPixels(wxSize(c.w, c.h)));
    EXPECT_EQ(w->IsEnabled(), (c.flags & kDisabled) == 0);
    if (auto* edit = wxDynamicCast(w, wxTextCtrl)) {
      EXPECT_EQ(edit->IsMultiLine(), (c.flags & kMultiLine) != 0);
      EXPECT_EQ(edit->IsEditable(), (c.flags & kReadOnly) == 0);
      EXPECT_EQ(edit->HasFlag(wxTE_DONTWRAP), (c.flags & kDontWrap) != 0);
    }
    if (auto* radio = wxDynamicCast(w, wxRadioButton)) {
      EXPECT_EQ(radio->HasFlag(wxRB_GROUP), (c.flags & kGroupStart) != 0);
    }
    if (dialog && (c.flags & kDefault)) {
      EXPECT_EQ(dialog->GetDefaultItem(), w);
    }
  }
}

class Resources : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitResources(); }

  // A loaded dialog, destroyed at the end of the test.
  wxDialog* Dialog(const char* name) {
    auto* dialog = new wxDialog;
    if (!wxXmlResource::Get()->LoadDialog(dialog, nullptr, name)) {
      delete dialog;
      return nullptr;
    }
    dialogs_.emplace_back(dialog);
    return dialog;
  }

  void TearDown() override {
    for (wxWindow* w : dialogs_) w->Destroy();
  }

 private:
  std::vector<wxWindow*> dialogs_;
};

TEST_F(Resources, InitIsIdempotent) {
  InitResources();
  InitResources();
  ASSERT_NE(Dialog(kMainDialog), nullptr);
}

TEST_F(Resources, NumericNamesGiveTheirNumberAsId) {
  EXPECT_EQ(wxXmlResource::GetXRCID("101"), ids::kFileList);
  EXPECT_EQ(wxXmlResource::GetXRCID("24346"), ids::kAbout);
  EXPECT_EQ(wxXmlResource::GetXRCID("0"), 0);
  wxDialog* dialog = Dialog(kMainDialog);
  ASSERT_NE(dialog, nullptr);
  wxWindow* list = dialog->FindWindow(ids::kFileList);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetId(), ids::kFileList);
  EXPECT_EQ(list->GetName(), "101");
}

TEST_F(Resources, MainDialogControlsInTabOrder) {
  wxDialog* dialog = Dialog(kMainDialog);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetClientSize(), dialog->ConvertDialogToPixels(wxSize(266, 226)));
  ExpectControls(dialog, kMainControls);
}

TEST_F(Resources, SubclassesAreTheRealControlClasses) {
  wxDialog* dialog = Dialog(kMainDialog);
  ASSERT_NE(dialog, nullptr);
  for (const Control& c : kMainControls) {
    if (!c.subclass) continue;
    wxWindow* w = dialog->FindWindow(c.id);
    ASSERT_NE(w, nullptr) << c.id;
    EXPECT_STREQ(wxString(w->GetClassInfo()->GetClassName()).utf8_str(), c.subclass) << c.id;
  }
}

TEST_F(Resources, MainPanelHoldsTheSameControls) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "host");
  wxPanel* panel = wxXmlResource::Get()->LoadPanel(frame, kMainPanel);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetSize(), frame->ConvertDialogToPixels(wxSize(266, 226)));
  ExpectControls(panel, kMainControls);
  frame->Destroy();
}

TEST_F(Resources, MainDialogControlsHaveTheirStyles) {
  wxDialog* dialog = Dialog(kMainDialog);
  ASSERT_NE(dialog, nullptr);
  // The list is the kit's virtual list: framed, scrolling both ways, empty until shown.
  auto* list = wxDynamicCast(dialog->FindWindow(ids::kFileList), TZQListBox);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->HasFlag(wxBORDER_SUNKEN));
  EXPECT_TRUE(list->HasFlag(wxVSCROLL));
  EXPECT_TRUE(list->HasFlag(wxHSCROLL));
  EXPECT_EQ(list->RowCount(), 0);
  for (int id : {ids::kHeader, ids::kQueue}) {
    auto* edit = wxDynamicCast(dialog->FindWindow(id), wxTextCtrl);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->HasFlag(wxVSCROLL)) << id;
    EXPECT_FALSE(edit->HasFlag(wxTE_PROCESS_ENTER)) << id;  // Enter is a new line
  }
}

// Single-line edits only: wxGTK cannot limit a multi-line edit, whose control class does.
TEST_F(Resources, SingleLineEditsHoldAtMost1000Characters) {
  wxDialog* dialog = Dialog(kMainDialog);
  ASSERT_NE(dialog, nullptr);
  for (int id : {ids::kRelPathField, ids::kOutFileField, ids::kMainHeadField, ids::kMainQueueField,
                 ids::kCounter}) {
    auto* edit = wxDynamicCast(dialog->FindWindow(id), wxTextCtrl);
    ASSERT_NE(edit, nullptr);
    edit->SetEditable(true);
    edit->Clear();
    edit->WriteText(wxString(wxUniChar('x'), 1000));
    EXPECT_EQ(edit->GetValue().length(), 1000u) << id;
    edit->WriteText("y");
    EXPECT_EQ(edit->GetValue().length(), 1000u) << id;
  }
}

TEST_F(Resources, PathRadiosFormOneGroupOfFour) {
  wxDialog* dialog = Dialog(kMainDialog);
  ASSERT_NE(dialog, nullptr);
  auto radio = [&](int id) { return wxDynamicCast(dialog->FindWindow(id), wxRadioButton); };
  std::vector<int> group;
  for (wxRadioButton* r = radio(ids::kModeFull); r; r = r->GetNextInGroup()) {
    group.push_back(r->GetId());
  }
  EXPECT_EQ(group,
            (std::vector<int>{ids::kModeFull, ids::kModeRelative, ids::kModeName, ids::kModeNone}));
  radio(ids::kModeNone)->SetValue(true);
  EXPECT_FALSE(radio(ids::kModeFull)->GetValue());
  radio(ids::kModeName)->SetValue(true);
  EXPECT_FALSE(radio(ids::kModeNone)->GetValue());
}

TEST_F(Resources, InputDialog) {
  wxDialog* dialog = Dialog(kInputDialog);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetTitle(), "Input");
  EXPECT_EQ(dialog->GetClientSize(), dialog->ConvertDialogToPixels(wxSize(252, 156)));
  for (long style : {wxCAPTION, wxSYSTEM_MENU, wxRESIZE_BORDER, wxMAXIMIZE_BOX}) {
    EXPECT_TRUE(dialog->HasFlag(style)) << style;
  }
  ExpectControls(dialog, kInputControls);
  auto* edit = wxDynamicCast(dialog->FindWindow(ids::kInputEdit), wxTextCtrl);
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(edit->HasFlag(wxVSCROLL));
}

TEST_F(Resources, SendToDialog) {
  wxDialog* dialog = Dialog(kSendToDialog);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetTitle(), "Send To");
  EXPECT_EQ(dialog->GetClientSize(), dialog->ConvertDialogToPixels(wxSize(188, 144)));
  for (long style : {wxCAPTION, wxSYSTEM_MENU, wxRESIZE_BORDER, wxMAXIMIZE_BOX}) {
    EXPECT_TRUE(dialog->HasFlag(style)) << style;
  }
  ExpectControls(dialog, kSendToControls);
  const wxWindow* text = dialog->GetChildren().front();
  EXPECT_TRUE(text->HasFlag(wxALIGN_CENTRE_HORIZONTAL));
  auto* first = wxDynamicCast(dialog->FindWindow(ids::kSendToName), wxRadioButton);
  auto* second = wxDynamicCast(dialog->FindWindow(ids::kSendToLine), wxRadioButton);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->GetNextInGroup(), second);
  EXPECT_EQ(second->GetNextInGroup(), nullptr);
  second->SetValue(true);
  EXPECT_FALSE(first->GetValue());
}

TEST_F(Resources, AboutBox) {
  wxDialog* dialog = Dialog(kAboutDialog);
  ASSERT_NE(dialog, nullptr);
  std::vector<std::string> texts;
  const wxStaticBitmap* icon = nullptr;
  const wxButton* ok = nullptr;
  for (wxWindow* w : dialog->GetChildren()) {
    if (auto* t = wxDynamicCast(w, wxStaticText)) texts.push_back(t->GetLabel().ToStdString());
    if (auto* b = wxDynamicCast(w, wxStaticBitmap)) icon = b;
    if (auto* b = wxDynamicCast(w, wxButton)) ok = b;
  }
  // The version and the license are filled in from the one version when the box is made.
  EXPECT_EQ(texts, (std::vector<std::string>{"Halvorn Loomquill", "Version:", "License"}));
  EXPECT_NE(dialog->FindWindow("ABOUT_VERSION"), nullptr);
  EXPECT_NE(dialog->FindWindow("ABOUT_LICENSE"), nullptr);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(icon->GetBitmap().IsOk());
  EXPECT_EQ(icon->GetBitmap().GetSize(), wxSize(32, 32));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->GetId(), wxID_OK);
  EXPECT_EQ(ok->GetLabel(), "OK");
  EXPECT_EQ(dialog->GetDefaultItem(), ok);
}

TEST_F(Resources, ArtProviderGivesTheAppIcon) {
  const wxBitmap icon = wxArtProvider::GetBitmap(kArtAppIcon, wxART_OTHER, wxSize(48, 48));
  ASSERT_TRUE(icon.IsOk());
  EXPECT_EQ(icon.GetSize(), wxSize(48, 48));
  EXPECT_FALSE(wxArtProvider::GetBitmap("LQ_NO_SUCH_ART").IsOk());
}

const std::string kSeparator = "---";
const std::string kSubmenuEnd = "<";
std::string Item(int id, const std::string& label) { return std::to_string(id) + " " + label; }
std::string Check(int id, const std::string& label) { return std::to_string(id) + " [x] " + label; }
std::string Submenu(const std::string& label) { return "> " + label; }
std::string Radio(int id, const std::string& label) { return std::to_string(id) + " (o) " + label; }

// A menu as lines: "id label", "---" for a separator, "id [x] label" for a check item,
// "id (o) label" for a radio item, "> label" ... "<" around a submenu. Labels are the captions
// as shown, without their mnemonic marks and shortcuts, which KeyboardReach checks.
void Describe(const wxMenu* menu, std::vector<std::string>& out) {
  for (const wxMenuItem* item : menu->GetMenuItems()) {
    if (item->IsSeparator()) {
      out.push_back(kSeparator);
    } else if (item->IsSubMenu()) {
      out.push_back(Submenu(item->GetItemLabelText().ToStdString()));
      Describe(item->GetSubMenu(), out);
      out.push_back(kSubmenuEnd);
    } else {
      const std::string label = item->GetItemLabelText().ToStdString();
      if (item->GetKind() == wxITEM_RADIO) {
        out.push_back(Radio(item->GetId(), label));
      } else {
        out.push_back(item->IsCheckable() ? Check(item->GetId(), label)
                                          : Item(item->GetId(), label));
      }
    }
  }
}

std::vector<std::string> Lines(const wxMenu* menu) {
  std::vector<std::string> out;
  Describe(menu, out);
  return out;
}

TEST_F(Resources, MainMenuBar) {
  std::unique_ptr<wxMenuBar> bar(wxXmlResource::Get()->LoadMenuBar(kMainMenuBar));
  ASSERT_TRUE(bar);
  ASSERT_EQ(bar->GetMenuCount(), 3u);
  EXPECT_EQ(bar->GetMenuLabelText(0), "File");
  EXPECT_EQ(bar->GetMenuLabelText(1), "List");
  EXPECT_EQ(bar->GetMenuLabelText(2), "Help");
  EXPECT_EQ(Lines(bar->GetMenu(0)), (std::vector<std::string>{
                                        Item(ids::kCreate, "Create output file"),
                                        Item(ids::kView, "View output file"),
                                        Item(ids::kPreview, "Preview output"),
                                        kSeparator,
                                        Item(ids::kClearList, "Clear List"),
                                        Item(ids::kOpenList, "Open list..."),
                                        Item(ids::kSaveList, "Save list..."),
                                        kSeparator,
                                        Item(ids::kSetOutputFile, "Set output file,,,"),
                                        Item(ids::kSetMainHead, "Set main head..."),
                                        Item(ids::kSetMainQueue, "Set main queue..."),
                                        kSeparator,
                                        Item(ids::kSendToOptions, "Set Send To interface..."),
                                        kSeparator,
                                        Submenu("Options"),
                                        Item(ids::kChangeFont, "Change Font..."),
                                        Check(ids::kUseTooltip, "Use Tooltip"),
                                        Submenu("Escape names for"),
                                        Radio(ids::kEscapeNone, "None"),
                                        Radio(ids::kEscapeShell, "Shell script (inside '...')"),
                                        Radio(ids::kEscapeBatch, "Batch file (inside \"...\")"),
                                        Radio(ids::kEscapeHtml, "HTML"),
                                        Radio(ids::kEscapeUrl, "URL"),
                                        Radio(ids::kEscapeCsv, "CSV (inside \"...\")"),
                                        Radio(ids::kEscapeJson, "JSON (inside \"...\")"),
                                        Radio(ids::kEscapeHtmlUrl, "HTML link (name as URL)"),
                                        Radio(ids::kEscapeLine, "Lines (one name a line)"),
                                        kSubmenuEnd,
                                        kSubmenuEnd,
                                        kSeparator,
                                        Item(ids::kExit, "Exit"),
                                    }));
  // The list popup's commands, in its order.
  std::unique_ptr<wxMenu> popup(wxXmlResource::Get()->LoadMenu(kListPopup));
  ASSERT_TRUE(popup);
  EXPECT_EQ(Lines(bar->GetMenu(1)), Lines(popup.get()));
  EXPECT_EQ(Lines(bar->GetMenu(2)), (std::vector<std::string>{
                                        Item(ids::kHelpIndex, "Index"),
                                        Item(ids::kWebPage, "Connect to WEB page"),
                                        kSeparator,
                                        Item(ids::kAbout, "About..."),
                                    }));
  EXPECT_EQ(bar->FindItem(ids::kUseTooltip)->GetKind(), wxITEM_CHECK);
}

TEST_F(Resources, TemplatesMenuGivesItsTitleThenTheRest) {
  std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu(kTemplatesMenu));
  ASSERT_TRUE(menu);
  EXPECT_EQ(Lines(menu.get()), (std::vector<std::string>{
                                   Item(0, "Templates"),
                                   Item(ids::kSaveTemplate, "Save Template"),
                                   Item(ids::kOpenTemplate, "Open Template"),
                                   kSeparator,
                               }));
  // What the window does with it: keep the first item's text as the title, drop the item.
  wxMenuItem* first = menu->FindItemByPosition(0);
  const wxString title = first->GetItemLabelText();
  menu->Destroy(first);
  EXPECT_EQ(title, "Templates");
  EXPECT_EQ(Lines(menu.get()), (std::vector<std::string>{
                                   Item(ids::kSaveTemplate, "Save Template"),
                                   Item(ids::kOpenTemplate, "Open Template"),
                                   kSeparator,
                               }));
}

TEST_F(Resources, ListPopup) {
  std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu(kListPopup));
  ASSERT_TRUE(menu);
  EXPECT_EQ(Lines(menu.get()),
            (std::vector<std::string>{
                Item(ids::kCopySelected, "Copy selected item"),
                Item(ids::kCreateAndCopySelected, "Create and copy selected item"),
                kSeparator,
                Item(ids::kMoveUp, "Move up"),
                Item(ids::kMoveDown, "Move down"),
                kSeparator,
                Item(ids::kDeleteItem, "Delete selected item"),
                Item(ids::kClearList, "Clear: delete all items"),
            }));
}

TEST_F(Resources, CreatePopup) {
  std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu(kCreatePopup));
  ASSERT_TRUE(menu);
  EXPECT_EQ(Lines(menu.get()), (std::vector<std::string>{
                                   Item(ids::kCreate, "Create"),
                                   Item(ids::kCreateAndCopy, "Create and copy"),
                                   kSeparator,
                                   Item(ids::kView, "View output file"),
                                   Item(ids::kPreview, "Preview output"),
                                   Item(ids::kExecute, "Execute output file"),
                               }));
}

TEST_F(Resources, AutoDragPopup) {
  std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu(kAutoDragPopup));
  ASSERT_TRUE(menu);
  EXPECT_EQ(Lines(menu.get()), (std::vector<std::string>{
                                   Item(ids::kAutoDrag, "Help"),
                                   kSeparator,
                                   Item(ids::kDragCopyName, "Copy"),
                                   Item(ids::kDragCreateAndCopy, "Create and copy"),
                                   kSeparator,
                                   Item(ids::kDragSetRelPath, "Set Relative Path"),
                                   Item(ids::kDragSetOutputFile, "Set Output File"),
                               }));
}

// The mnemonic letter of a label ("&" before it, "&&" being a plain "&"), lower case; 0 when
// it has none, '?' when it has more than one.
char Mnemonic(const wxString& label) {
  const std::string text = label.BeforeFirst('\t').utf8_string();
  char found = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    found =
        found == 0 ? static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1]))) : '?';
  }
  return found;
}

// Every item of the menu, and of each submenu in turn, has a letter of its own in its menu.
void ExpectMnemonics(const wxMenu* menu, const std::string& where) {
  std::string taken;
  for (const wxMenuItem* item : menu->GetMenuItems()) {
    if (item->IsSeparator()) continue;
    const std::string label = item->GetItemLabel().utf8_string();
    const char letter = Mnemonic(item->GetItemLabel());
    EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(letter))) << where << ": " << label;
    EXPECT_EQ(taken.find(letter), std::string::npos)
        << where << ": " << label << " repeats " << letter;
    taken.push_back(letter);
    if (item->IsSubMenu()) ExpectMnemonics(item->GetSubMenu(), where + " > " + label);
  }
}

TEST_F(Resources, EveryMenuAndItemHasAMnemonicOfItsOwn) {
  std::unique_ptr<wxMenuBar> bar(wxXmlResource::Get()->LoadMenuBar(kMainMenuBar));
  std::unique_ptr<wxMenu> templates(wxXmlResource::Get()->LoadMenu(kTemplatesMenu));
  ASSERT_TRUE(bar && templates);
  // The bar's titles, the Templates title among them (it goes in at the second place).
  std::vector<wxString> titles;
  for (std::size_t i = 0; i < bar->GetMenuCount(); ++i) titles.push_back(bar->GetMenuLabel(i));
  wxMenuItem* title = templates->FindItemByPosition(0);
  titles.push_back(title->GetItemLabel());
  std::string taken;
  for (const wxString& t : titles) {
    const char letter = Mnemonic(t);
    EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(letter))) << t;
    EXPECT_EQ(taken.find(letter), std::string::npos) << t;
    taken.push_back(letter);
  }
  EXPECT_EQ(taken, "flht");
  for (std::size_t i = 0; i < bar->GetMenuCount(); ++i) {
    ExpectMnemonics(bar->GetMenu(i), bar->GetMenuLabelText(i).utf8_string());
  }
  templates->Destroy(title);
  ExpectMnemonics(templates.get(), "Templates");
  for (const char* popup : {kListPopup, kCreatePopup, kAutoDragPopup}) {
    std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu(popup));
    ASSERT_TRUE(menu) << popup;
    ExpectMnemonics(menu.get(), popup);
  }
}

struct Shortcut {
  int id;
  int flags;
  int key;
};

// The shortcut a menu item shows and answers, or none ({id, 0, 0}).
Shortcut ShortcutOf(const wxMenuItem* item) {
  std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
  if (!accel) return {item->GetId(), 0, 0};
  return {item->GetId(), accel->GetFlags(), accel->GetKeyCode()};
}

void CollectShortcuts(const wxMenu* menu, std::vector<Shortcut>& out) {
  for (const wxMenuItem* item : menu->GetMenuItems()) {
    if (item->IsSubMenu()) {
      CollectShortcuts(item->GetSubMenu(), out);
    } else if (!item->IsSeparator()) {
      const Shortcut s = ShortcutOf(item);
      if (s.key != 0) out.push_back(s);
    }
  }
}

bool operator==(const Shortcut& a, const Shortcut& b) {
  return a.id == b.id && a.flags == b.flags && a.key == b.key;
}

std::ostream& operator<<(std::ostream& out, const Shortcut& s) {
  return out << s.id << ":" << s.flags << "+" << s.key;
}

TEST_F(Resources, TheCommonCommandsShowTheShortcutsTheyAnswer) {
  const std::vector<Shortcut> expected = {
      {ids::kCreate, wxACCEL_CTRL, WXK_RETURN},
      {ids::kPreview, wxACCEL_CTRL | wxACCEL_SHIFT, 'P'},
      {ids::kOpenList, wxACCEL_CTRL, 'O'},
      {ids::kSaveList, wxACCEL_CTRL, 'S'},
      {ids::kExit, wxACCEL_CTRL, 'Q'},
      {ids::kCopySelected, wxACCEL_CTRL, 'C'},
      {ids::kCreateAndCopySelected, wxACCEL_CTRL | wxACCEL_SHIFT, 'C'},
      {ids::kMoveUp, wxACCEL_ALT, WXK_UP},
      {ids::kMoveDown, wxACCEL_ALT, WXK_DOWN},
      {ids::kDeleteItem, wxACCEL_NORMAL, WXK_DELETE},
      {ids::kHelpIndex, wxACCEL_NORMAL, WXK_F1},
  };
  std::unique_ptr<wxMenuBar> bar(wxXmlResource::Get()->LoadMenuBar(kMainMenuBar));
  ASSERT_TRUE(bar);
  std::vector<Shortcut> shown;
  for (std::size_t i = 0; i < bar->GetMenuCount(); ++i) CollectShortcuts(bar->GetMenu(i), shown);
  EXPECT_EQ(shown, expected);
  // The popups show the bar's shortcut for the same command, and only those.
  for (const char* popup : {kListPopup, kCreatePopup, kAutoDragPopup}) {
    std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu(popup));
    ASSERT_TRUE(menu) << popup;
    std::vector<Shortcut> in_popup;
    CollectShortcuts(menu.get(), in_popup);
    for (const Shortcut& s : in_popup) {
      EXPECT_NE(std::find(expected.begin(), expected.end(), s), expected.end())
          << popup << " " << s;
    }
  }
}

}  // namespace
}  // namespace lq
