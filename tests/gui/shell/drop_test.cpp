// Files dropped on the main dialog: on the list, on the setting controls and on Auto Drag.
#include <wx/dnd.h>
#include <wx/utils.h>

#include <chrono>
#include <functional>

#include "resources/ids.h"
#include "shell/drop_beeps.h"
#include "shell/drop_target.h"
#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

class DropTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    fs::create_directories(work_ / "src" / "Folder");
    for (const char* f : {"a", "b", "c", "d", "e", "x.txt", "y.txt", "z.txt"}) {
      WriteAll(work_ / "src" / f, "");
    }
    Start();
  }

  // The middle of a control of the main dialog, where a drop on it lands.
  wxPoint On(int id) const {
    const wxRect r = dlg()->FindWindow(id)->GetRect();
    return r.GetPosition() + wxSize(r.width / 2, r.height / 2);
  }
  void Drop(const std::vector<std::string>& names, int id) { dlg()->HandleDrop(names, On(id)); }

  std::vector<std::string> Srcs(const std::string& letters) const {
    std::vector<std::string> names;
    for (char c : letters) names.push_back(Src(std::string(1, c)));
    return names;
  }
};

TEST_F(DropTest, FilesGoAfterTheSelectedItemInDropOrder) {
  OpenListOf(Srcs("abcde"));
  SelectItem(1);
  const std::vector<std::string> dropped = {Src("x.txt"), Src("y.txt"), Src("z.txt")};
  Drop(dropped, ids::kFileList);
  EXPECT_EQ(Items(), (std::vector<std::string>{Src("a"), Src("b"), Src("x.txt"), Src("y.txt"),
                                               Src("z.txt"), Src("c"), Src("d"), Src("e")}));
  EXPECT_EQ(ListBox()->FocusedItem(), 4);
  EXPECT_EQ(Counter(), "5/8");
  // The first beep at once, the others from the event loop.
  EXPECT_EQ(beeper_.beeps, 1);
  EXPECT_TRUE(PumpFor([&] { return beeper_.beeps == 3; }));
}

TEST_F(DropTest, ABigDropGoesBackToTheEventLoopAtOnce) {
  std::vector<std::string> names;
  for (int i = 0; i < 12; ++i) names.push_back(Src("x.txt"));
  Drop(names, ids::kFileList);
  EXPECT_EQ(Items().size(), 12u);
  EXPECT_TRUE(clock_.waits.empty()) << "the drop waited for its beeps";
  EXPECT_EQ(beeper_.beeps, 1);
  // The waited beeps come from the toolkit's timer while the loop runs, and no more.
  EXPECT_TRUE(PumpFor([&] { return beeper_.beeps == DropBeeps::kWaitedBeeps; }));
  EXPECT_FALSE(PumpFor([&] { return beeper_.beeps > DropBeeps::kWaitedBeeps; }, 300));
}

TEST_F(DropTest, FilesOnAnEmptyListKeepTheirOrder) {
  Drop({Src("x.txt"), Src("y.txt"), Src("z.txt")}, ids::kFileList);
  EXPECT_EQ(Items(), (std::vector<std::string>{Src("x.txt"), Src("y.txt"), Src("z.txt")}));
  EXPECT_EQ(Counter(), "3/3");
  EXPECT_EQ(ListBox()->FocusedItem(), 2);
}

TEST_F(DropTest, FoldersAndDropsElsewhereAreListedToo) {
  Drop({Src("Folder")}, ids::kFileList);
  Drop({Src("a")}, ids::kHeader);
  Drop({Src("b")}, ids::kCounter);  // disabled: the drop falls on the dialog itself
  EXPECT_EQ(Items(), (std::vector<std::string>{Src("Folder"), Src("a"), Src("b")}));
  EXPECT_EQ(Counter(), "3/3");
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(DropTest, NamesThatCannotBeReadAreLeftOutAndSaidSo) {
  Drop({Src("a"), "", Src("b")}, ids::kFileList);
  EXPECT_EQ(Items(), (std::vector<std::string>{Src("a"), Src("b")}));
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text,
            "1 dropped file name(s) could not be read as text and were left out.");
  prompts_.messages.clear();
  Drop({""}, ids::kOutFileField);
  EXPECT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(Items().size(), 2u);
}

TEST_F(DropTest, SeveralFilesOnTheOutputFieldAreListed) {
  Drop({Src("x.txt"), Src("y.txt")}, ids::kOutFileField);
  EXPECT_EQ(Items().size(), 2u);
  EXPECT_TRUE(prompts_.messages.empty());
}

struct SettingCase {
  const char* what;
  int target;
  const char* name;  // under src/
  bool folder_offer;
  Answer answer;
};

TEST_F(DropTest, OneNameOnASettingControlAsksFirst) {
  const SettingCase cases[] = {
      {"file on the output field, yes", ids::kOutFileField, "x.txt", false, Answer::kYes},
      {"file on the OutFile button, no", ids::kSetOutputFile, "y.txt", false, Answer::kNo},
      {"folder on the output field", ids::kOutFileField, "Folder", true, Answer::kYes},
      {"file on the Relative Path radio", ids::kModeRelative, "x.txt", true, Answer::kYes},
      {"file inside the relative-path field", ids::kRelPathField, "z.txt", true, Answer::kYes},
      {"folder on the Relative Path radio, no", ids::kModeRelative, "Folder", true, Answer::kNo},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    prompts_.messages.clear();
    prompts_.answers = {c.answer};
    const std::string output_before = Field(ids::kOutFileField);
    const std::string rel_before = Field(ids::kRelPathField);
    const std::string name = Src(c.name);
    Drop({name}, c.target);
    ASSERT_EQ(prompts_.messages.size(), 1u);
    const auto& asked = prompts_.messages[0];
    EXPECT_TRUE(Items().empty());
    if (c.folder_offer) {
      const std::string folder =
          fs::is_directory(name) ? name + "/" : (work_ / "src").string() + "/";
      EXPECT_EQ(asked.text, "Do you want set Relative path to:\n\n" + folder + " ?");
      EXPECT_EQ(asked.caption, "Halvorn Loomquill");
      EXPECT_EQ(asked.style, kPromptYesNo);
      EXPECT_EQ(Field(ids::kRelPathField), c.answer == Answer::kYes ? folder : rel_before);
      EXPECT_EQ(Field(ids::kOutFileField), output_before);
    } else {
      EXPECT_EQ(asked.text, "Do you want set Output file to:\n\n" + name +
                                "\n\nWarning: the file will be overwritten!");
      EXPECT_EQ(asked.caption, "Warning");
      EXPECT_EQ(asked.style, kPromptYesNo | kPromptIconError | kPromptDefaultSecond);
      if (c.answer == Answer::kYes) {
        EXPECT_EQ(Field(ids::kOutFileField), name);
        EXPECT_EQ(Field(ids::kRelPathField), (work_ / "src").string() + "/");
        EXPECT_EQ(dlg()->settings().FileOutput, name);
      } else {
        EXPECT_EQ(Field(ids::kOutFileField), output_before);
      }
    }
    EXPECT_TRUE(dlg()->pending_file().empty());
  }
  EXPECT_GE(beeper_.beeps, 2);  // each output confirmation beeps first
}

TEST_F(DropTest, OneFileOnAutoDragOpensItsMenuAtTheDropPoint) {
  const wxPoint at = On(ids::kAutoDrag);
  dlg()->HandleDrop({Src("x.txt")}, at);
  ASSERT_EQ(presenter_.shown.size(), 1u);
  const auto& popup = presenter_.shown[0];
  EXPECT_EQ(popup.name, "AUTODRAG_MNU");
  EXPECT_EQ(popup.pos.y, at.y);
  EXPECT_LT(popup.pos.x, at.x);  // the menu's right edge is at the point
  EXPECT_EQ(popup.ids, (std::vector<int>{ids::kAutoDrag, wxID_SEPARATOR, ids::kDragCopyName,
                                         ids::kDragCreateAndCopy, wxID_SEPARATOR,
                                         ids::kDragSetRelPath, ids::kDragSetOutputFile}));
  EXPECT_EQ(dlg()->pending_file(), Src("x.txt"));
  EXPECT_TRUE(Items().empty());
}

TEST_F(DropTest, SeveralFilesOnAutoDragDoNothing) {
  Drop({Src("x.txt"), Src("y.txt")}, ids::kAutoDrag);
  EXPECT_TRUE(presenter_.shown.empty());
  EXPECT_TRUE(Items().empty());
  EXPECT_TRUE(prompts_.messages.empty());
  EXPECT_EQ(Counter(), "0/0");
}

TEST_F(DropTest, AutoDragMenuCommandsActOnTheDroppedFile) {
  ChooseRadio(ids::kModeName);
  Type(ids::kHeader, "cp ");
  Type(ids::kQueue, " /b/ZQ_NAME\n");

  presenter_.choose = ids::kDragCopyName;  // Copy
  Drop({Src("x.txt")}, ids::kAutoDrag);
  EXPECT_EQ(clipboard_.text, "x.txt");
  EXPECT_TRUE(dlg()->pending_file().empty());

  presenter_.choose = ids::kDragCreateAndCopy;  // Create and copy
  Drop({Src("y.txt")}, ids::kAutoDrag);
  EXPECT_EQ(clipboard_.text, "cp y.txt /b/y\n");

  presenter_.choose = ids::kDragSetOutputFile;  // Set Output File, with a folder
  Drop({Src("Folder")}, ids::kAutoDrag);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text, "Can't set a Folder like Output File\nPlease select a file");
  EXPECT_EQ(prompts_.messages[0].caption, "Halvorn Loomquill");

  presenter_.choose = ids::kDragSetRelPath;  // Set Relative Path, from a file: its folder
  prompts_.answers = {Answer::kYes};
  Drop({Src("z.txt")}, ids::kAutoDrag);
  EXPECT_EQ(Field(ids::kRelPathField), (work_ / "src").string() + "/");
  EXPECT_TRUE(Items().empty());
}

TEST_F(DropTest, TheDropTargetOfAControlHandsOverInDialogCoordinates) {
  // A drop delivered to the output field's own target, at a point of that field. The drop
  // target asks where the pointer is: it is kept off the relative-path field.
  kit_.UseFakePointer();
  kit_.pointer.pos = {-100, -100};
  wxWindow* field = dlg()->FindWindow(ids::kOutFileField);
  wxDropTarget* target = field->GetDropTarget();
  ASSERT_NE(target, nullptr);
  wxArrayString names;
  names.push_back(wxString::FromUTF8(Src("x.txt")));
  prompts_.answers = {Answer::kNo};
  static_cast<PanelDropTarget*>(target)->OnDropFiles(3, 3, names);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].caption, "Warning");
  // And one on the list's target lands in the list.
  static_cast<PanelDropTarget*>(ListBox()->GetDropTarget())->OnDropFiles(5, 5, names);
  EXPECT_EQ(Items(), std::vector<std::string>{Src("x.txt")});
}

}  // namespace
}  // namespace lq::test
