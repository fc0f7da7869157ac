// The Templates menu built from the program folder, and loading and saving templates.
#include <wx/menu.h>

#include "resources/ids.h"
#include "tests/gui/shell/shell_fixture.h"
#include "uikit/exten/zq_mex.h"

namespace lq::test {
namespace {

constexpr const char* kWebTemplate =
    "[Loomquill]\n"
    "h_menutitle=Web page\n"
    "Header=<<a href=\">\n"
    "Queue=<\">link</a>#ZQ_BR#>\n"
    "MainHead=<<html>#ZQ_BR#<body>#ZQ_BR#>\n"
    "MainQueue=<</body>>\n"
    "InvertSlash=1\n"
    "CheckIndex=1\n"
    "SaveLocal=0\n"
    "FileOutput=/elsewhere/ignored.html\n";

class TemplatesTest : public ShellTest {
 protected:
  void WriteTemplates() {
    WriteProgramFile("c.hqd", "[Loomquill]\nHeader=<c>\n");
    WriteProgramFile("B.hqd", "[Loomquill]\nHeader=<B>\n");
    WriteProgramFile("a.hqd", kWebTemplate);
    WriteProgramFile("Web/page.hqd",
                     "[Loomquill]\nHeader=<page>\nSaveLocal=1\n"
                     "FileOutput=/srv/www/index.html\n");
    WriteProgramFile("Empty/Deeper/readme.txt", "no template here");
    WriteProgramFile(".hidden/secret.hqd", "[Loomquill]\n");
    WriteProgramFile("notes.txt", "not a template");
  }
  wxMenu* TemplatesMenu() const { return frame()->GetMenuBar()->GetMenu(1); }
  struct Item {
    int id;
    std::string label;
    bool sub;
    bool operator==(const Item&) const = default;
  };
  static std::vector<Item> ItemsOf(wxMenu* menu) {
    std::vector<Item> items;
    for (wxMenuItem* item : menu->GetMenuItems()) {
      items.push_back({item->IsSeparator() ? wxID_SEPARATOR : item->GetId(),
                       item->GetItemLabelText().utf8_string(), item->IsSubMenu()});
    }
    return items;
  }
};

TEST_F(TemplatesTest, MenuIsTheSecondWithTheScannedTemplates) {
  WriteTemplates();
  Start();
  wxMenuBar* bar = frame()->GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 4u);
  EXPECT_EQ(bar->GetMenuLabelText(0), "File");
  EXPECT_EQ(bar->GetMenuLabelText(1), "Templates");
  EXPECT_EQ(bar->GetMenuLabelText(2), "List");
  EXPECT_EQ(bar->GetMenuLabelText(3), "Help");

  const std::vector<Item> expected{{ids::kSaveTemplate, "Save Template", false},
                                   {ids::kOpenTemplate, "Open Template", false},
                                   {wxID_SEPARATOR, "", false},
                                   {ids::kFirstTemplate, "B", false},
                                   {ids::kFirstTemplate + 1, "a", false},
                                   {ids::kFirstTemplate + 2, "c", false},
                                   {-1, "Web", true}};
  std::vector<Item> items = ItemsOf(TemplatesMenu());
  ASSERT_EQ(items.size(), expected.size());
  items.back().id = -1;  // a sub-menu's id is the toolkit's own
  EXPECT_EQ(items, expected);
  wxMenu* web = TemplatesMenu()->FindItemByPosition(6)->GetSubMenu();
  ASSERT_NE(web, nullptr);
  const std::vector<Item> web_items{{ids::kFirstTemplate + 3, "page", false}};
  EXPECT_EQ(ItemsOf(web), web_items);
  EXPECT_EQ(CurrentMex(), nullptr) << "the loading notice is closed";
}

// The program's own start shows the window first: the menu bar and the counter as they will
// be, the templates filled in once it has been drawn.
TEST_F(TemplatesTest, AtTheProgramsStartTheTemplatesFollowTheFirstPaint) {
  WriteTemplates();
  StartAsTheProgram();
  EXPECT_FALSE(dlg()->setup_finished());
  wxMenuBar* bar = frame()->GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 4u);
  EXPECT_EQ(bar->GetMenuLabelText(1), "Templates");
  const std::vector<Item> own{{ids::kSaveTemplate, "Save Template", false},
                              {ids::kOpenTemplate, "Open Template", false},
                              {wxID_SEPARATOR, "", false}};
  EXPECT_EQ(ItemsOf(TemplatesMenu()), own);
  EXPECT_EQ(CurrentMex(), nullptr) << "no notice before the window shows";
  const std::string counter = Counter();
  EXPECT_FALSE(counter.empty());

  bool finished_at_first_paint = true;
  bool painted = false;
  dlg()->Bind(wxEVT_PAINT, [&](wxPaintEvent& e) {
    e.Skip();
    if (!painted) finished_at_first_paint = dlg()->setup_finished();
    painted = true;
  });
  ASSERT_TRUE(PumpFor([&] { return dlg()->setup_finished(); }, 3000));
  EXPECT_TRUE(painted);
  EXPECT_FALSE(finished_at_first_paint);
  EXPECT_EQ(ItemsOf(TemplatesMenu()).size(), 7u);
  EXPECT_EQ(dlg()->templates().FullNameFor(ids::kFirstTemplate + 1), (program_ / "a.hqd").string());
  EXPECT_EQ(Counter(), counter);
  EXPECT_EQ(CurrentMex(), nullptr) << "the loading notice is closed";
}

TEST_F(TemplatesTest, AWindowNeverDrawnStillGetsItsTemplates) {
  WriteTemplates();
  StartAsTheProgram(false);
  EXPECT_FALSE(dlg()->setup_finished());
  ASSERT_TRUE(PumpFor([&] { return dlg()->setup_finished(); }, 3000));
  EXPECT_EQ(ItemsOf(TemplatesMenu()).size(), 7u);
}

// A file handed over in the moment after the start is taken as ever: after the templates.
TEST_F(TemplatesTest, AFileReceivedBeforeTheTemplatesWaitsForThem) {
  WriteTemplates();
  StartAsTheProgram();
  ASSERT_FALSE(dlg()->setup_finished());
  dlg()->ReceiveFiles({Src("a.txt")});
  EXPECT_TRUE(dlg()->setup_finished());
  EXPECT_EQ(ItemsOf(TemplatesMenu()).size(), 7u);
  EXPECT_EQ(clipboard_.set_count, 1);
  EXPECT_EQ(clipboard_.text, Src("a.txt"));
}

TEST_F(TemplatesTest, WithoutTemplatesOnlyTheCommandsRemain) {
  Start();
  const std::vector<Item> expected{{ids::kSaveTemplate, "Save Template", false},
                                   {ids::kOpenTemplate, "Open Template", false},
                                   {wxID_SEPARATOR, "", false}};
  EXPECT_EQ(ItemsOf(TemplatesMenu()), expected);
}

TEST_F(TemplatesTest, ChoosingATemplateLoadsItAndNamesIt) {
  WriteTemplates();
  WriteSettings("FileOutput=" + (work_ / "out" / "links.html").string() + "\n");
  Start();
  Type(ids::kHeader, "old header");
  ChooseRadio(ids::kModeNone);
  Command(ids::kFirstTemplate + 1);
  EXPECT_EQ(frame()->GetTitle(), "Halvorn Loomquill - a");
  EXPECT_EQ(Field(ids::kHeader), "<a href=\"");
  EXPECT_EQ(Field(ids::kQueue), "\">link</a>\n");
  EXPECT_EQ(Field(ids::kMainHeadField), "<html> /n <body> /n ");
  EXPECT_EQ(Field(ids::kMainQueueField), "</body>");
  EXPECT_TRUE(IsChecked(ids::kModeRelative));
  EXPECT_TRUE(IsChecked(ids::kInvertSlash));
  EXPECT_FALSE(IsChecked(ids::kSaveLocal));
  EXPECT_EQ(Field(ids::kOutFileField), (work_ / "out" / "links.html").string())
      << "SaveLocal 0 keeps it";
  EXPECT_TRUE(prompts_.messages.empty());

  // And the output it makes.
  OpenListOf({Src("x.txt")});
  Command(ids::kCreate);
  EXPECT_EQ(ReadAll(work_ / "out" / "links.html"),
            "<html>\n<body>\n<a href=\"../src/x.txt\">link</a>\n</body>");
}

TEST_F(TemplatesTest, TemplateInASubMenuCarriesItsOutputFile) {
  WriteTemplates();
  Start();
  Command(ids::kFirstTemplate + 3);
  EXPECT_EQ(frame()->GetTitle(), "Halvorn Loomquill - page");
  EXPECT_EQ(Field(ids::kHeader), "page");
  EXPECT_EQ(Field(ids::kOutFileField), "/srv/www/index.html");
  EXPECT_EQ(Field(ids::kRelPathField), "/srv/www/");
  EXPECT_EQ(status()->ShownText(), "/srv/www/index.html");
  EXPECT_EQ(Field(ids::kMainHeadField), "") << "a template without MainHead empties it";
}

TEST_F(TemplatesTest, ATemplateItemLoadsOnce) {
  // A template that went away after the scan: each load reports it once.
  WriteTemplates();
  Start();
  fs::remove(program_ / "B.hqd");
  Command(ids::kFirstTemplate);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text.substr(0, prompts_.messages[0].text.find('\n')),
            (program_ / "B.hqd").string());
  EXPECT_EQ(frame()->GetTitle(), "Halvorn Loomquill");
}

TEST_F(TemplatesTest, OpenTemplateStartsInTheProgramFolder) {
  Start();
  const fs::path file = work_ / "mine.hqd";
  WriteAll(file, kWebTemplate);
  prompts_.file_answers.push_back(file.string());
  Command(ids::kOpenTemplate);
  ASSERT_EQ(prompts_.file_dialogs.size(), 1u);
  const FakePrompts::FileCall& call = prompts_.file_dialogs[0];
  EXPECT_STREQ(call.kind.title, "Save Head & Queue");
  EXPECT_STREQ(call.kind.filter_description, "Head&Queue");
  EXPECT_STREQ(call.kind.filter_pattern, "*.hqd");
  EXPECT_STREQ(call.kind.default_extension, "hqd");
  EXPECT_TRUE(call.kind.open);
  EXPECT_EQ(call.initial_name, "");
  EXPECT_EQ(call.folder, program_.string() + "/");
  EXPECT_EQ(frame()->GetTitle(), "Halvorn Loomquill - mine");
  EXPECT_EQ(Field(ids::kHeader), "<a href=\"");

  // Cancelled: nothing changes.
  Type(ids::kHeader, "typed");
  prompts_.file_answers.push_back(std::nullopt);
  Command(ids::kOpenTemplate);
  EXPECT_EQ(Field(ids::kHeader), "typed");
  EXPECT_EQ(frame()->GetTitle(), "Halvorn Loomquill - mine");
}

TEST_F(TemplatesTest, SaveTemplateProposesTheCurrentOneAndWritesIt) {
  WriteTemplates();
  Start();
  const fs::path file = work_ / "saved.hqd";
  prompts_.file_answers.push_back(std::nullopt);
  Command(ids::kSaveTemplate);
  ASSERT_EQ(prompts_.file_dialogs.size(), 1u);
  EXPECT_EQ(prompts_.file_dialogs[0].initial_name, "") << "no template yet";

  Command(ids::kFirstTemplate + 1);
  Type(ids::kHeader, "first\nsecond");
  ChooseRadio(ids::kModeName);
  SetCheck(ids::kSaveLocal, true);
  SetOutput((work_ / "out" / "o.txt").string());
  prompts_.file_answers.push_back(file.string());
  Command(ids::kSaveTemplate);
  ASSERT_EQ(prompts_.file_dialogs.size(), 3u);
  const FakePrompts::FileCall& call = prompts_.file_dialogs[2];
  EXPECT_STREQ(call.kind.title, "Save Head & Queue");
  EXPECT_STREQ(call.kind.filter_description, "Head&Queue");
  EXPECT_STREQ(call.kind.default_extension, "hqd");
  EXPECT_FALSE(call.kind.open);
  EXPECT_EQ(call.initial_name, (program_ / "a.hqd").string());
  EXPECT_EQ(call.folder, UserTemplates().string()) << "a shipped template is saved as the user's";
  EXPECT_TRUE(fs::is_directory(UserTemplates())) << "made for the file dialog to start in";
  EXPECT_EQ(frame()->GetTitle(), "Halvorn Loomquill - saved");

  const std::string text = ReadAll(file);
  for (const char* line :
       {"h_menutitle=saved", "h_menuhelp=saved", "Header=<first#ZQ_BR#second>",
        "Queue=<\">link</a>#ZQ_BR#>", "MainHead=<<html>#ZQ_BR#<body>#ZQ_BR#>",
        "MainQueue=<</body>>", "InvertSlash=1", "CheckIndex=2", "Escape=none", "SaveLocal=1"}) {
    EXPECT_NE(text.find(std::string(line) + "\n"), std::string::npos) << line << " in\n" << text;
  }
  EXPECT_NE(text.find("FileOutput=" + (work_ / "out" / "o.txt").string()), std::string::npos);

  // The next save proposes the saved one, in its own folder.
  prompts_.file_answers.push_back(std::nullopt);
  Command(ids::kSaveTemplate);
  EXPECT_EQ(prompts_.file_dialogs.back().initial_name, file.string());
  EXPECT_EQ(prompts_.file_dialogs.back().folder, "");
}

TEST_F(TemplatesTest, TheUsersOwnTemplatesFollowTheShippedOnes) {
  WriteTemplates();
  fs::create_directories(UserTemplates() / "Work");
  WriteAll(UserTemplates() / "mine.hqd", "[Loomquill]\nHeader=<mine>\n");
  WriteAll(UserTemplates() / "a.hqd", "[Loomquill]\nHeader=<my a>\n");
  WriteAll(UserTemplates() / "Work" / "w.hqd", "[Loomquill]\nHeader=<w>\n");
  Start();
  std::vector<Item> items = ItemsOf(TemplatesMenu());
  const std::vector<Item> expected{{ids::kSaveTemplate, "Save Template", false},
                                   {ids::kOpenTemplate, "Open Template", false},
                                   {wxID_SEPARATOR, "", false},
                                   {ids::kFirstTemplate, "B", false},
                                   {ids::kFirstTemplate + 1, "a", false},
                                   {ids::kFirstTemplate + 2, "c", false},
                                   {-1, "Web", true},
                                   {wxID_SEPARATOR, "", false},
                                   {ids::kFirstTemplate + 4, "a", false},
                                   {ids::kFirstTemplate + 5, "mine", false},
                                   {-1, "Work", true}};
  ASSERT_EQ(items.size(), expected.size());
  items[6].id = items[10].id = -1;  // a sub-menu's id is the toolkit's own
  EXPECT_EQ(items, expected);

  Command(ids::kFirstTemplate + 4);
  EXPECT_EQ(Field(ids::kHeader), "my a");
  EXPECT_EQ(frame()->GetTitle(), "Halvorn Loomquill - a");
  Command(ids::kFirstTemplate + 6);
  EXPECT_EQ(Field(ids::kHeader), "w");

  // Open Template starts where the user's templates are.
  prompts_.file_answers.push_back(std::nullopt);
  Command(ids::kOpenTemplate);
  EXPECT_EQ(prompts_.file_dialogs.back().folder, UserTemplates().string());
}

TEST_F(TemplatesTest, OnlyTheUsersTemplatesNeedNoSecondSeparator) {
  fs::create_directories(UserTemplates());
  WriteAll(UserTemplates() / "mine.hqd", "[Loomquill]\nHeader=<mine>\n");
  Start();
  const std::vector<Item> expected{{ids::kSaveTemplate, "Save Template", false},
                                   {ids::kOpenTemplate, "Open Template", false},
                                   {wxID_SEPARATOR, "", false},
                                   {ids::kFirstTemplate, "mine", false}};
  EXPECT_EQ(ItemsOf(TemplatesMenu()), expected);
}

}  // namespace
}  // namespace lq::test

namespace lq::test {
namespace {

// A template whose file name is no UTF-8 loads by its real name and shows a readable one.
TEST_F(TemplatesTest, ANameThatIsNoUtf8IsShownReadableInTheTitle) {
  WriteProgramFile("Caf\xE9 list.hqd", "[Loomquill]\nHeader=<caf\xC3\xA9>\n");
  Start();
  Command(ids::kFirstTemplate);
  EXPECT_EQ(frame()->GetTitle().utf8_string(), "Halvorn Loomquill - Caf\\xE9 list");
  EXPECT_EQ(Field(ids::kHeader), "caf\xC3\xA9");
  EXPECT_TRUE(prompts_.messages.empty());
}

}  // namespace
}  // namespace lq::test
