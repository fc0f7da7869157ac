// The output-file dialog, the multi-line input, Send To options, Use Tooltip and the font.
#include <wx/menu.h>
#include <wx/radiobut.h>

#include <ostream>

#include "tests/gui/shell/shell_fixture.h"
#include "uikit/grafext/controls.h"

namespace lq::test {
namespace {

using DialogsTest = ShellTest;

TEST_F(DialogsTest, SetOutputFileConfirmedMovesRelPathAlong) {
  Start();
  const std::string chosen = (work_ / "out" / "list.m3u").string();
  prompts_.file_answers.push_back(chosen);
  Click(ids::kSetOutputFile);
  ASSERT_EQ(prompts_.file_dialogs.size(), 1u);
  const FakePrompts::FileCall& call = prompts_.file_dialogs[0];
  EXPECT_STREQ(call.kind.title, "File");
  EXPECT_STREQ(call.kind.filter_description, "All files");
  EXPECT_STREQ(call.kind.filter_pattern, "*.*");
  EXPECT_STREQ(call.kind.default_extension, "*");
  EXPECT_TRUE(call.kind.open);
  EXPECT_EQ(call.initial_name, DefaultOutput());
  EXPECT_EQ(call.folder, "");
  EXPECT_EQ(Field(ids::kOutFileField), chosen);
  EXPECT_EQ(Field(ids::kRelPathField), (work_ / "out").string() + "/");
  EXPECT_EQ(status()->ShownText(), chosen);
  EXPECT_EQ(status()->GetStatusText(0).utf8_string(), chosen);
  EXPECT_EQ(status()->GetStatusText(1).utf8_string(), "Ready");

  // From the menu, the dialog starts on the current output file.
  prompts_.file_answers.push_back(std::nullopt);
  Command(ids::kSetOutputFile);
  ASSERT_EQ(prompts_.file_dialogs.size(), 2u);
  EXPECT_EQ(prompts_.file_dialogs[1].initial_name, chosen);
}

TEST_F(DialogsTest, SetOutputFileCancelledChangesNothingButKeepsTheOptions) {
  Start();
  ChooseRadio(ids::kModeName);
  prompts_.file_answers.push_back(std::nullopt);
  Click(ids::kSetOutputFile);
  EXPECT_EQ(Field(ids::kOutFileField), DefaultOutput());
  EXPECT_EQ(Field(ids::kRelPathField), (home_ / "Schreibtisch").string() + "/");
  EXPECT_EQ(status()->ShownText(), DefaultOutput());
  EXPECT_TRUE(IsChecked(ids::kModeName)) << "the refresh after the dialog shows the synced mode";
}

TEST_F(DialogsTest, MainHeadOkJoinsTheLinesAndHoldsCrLf) {
  Start();
  std::string initial = "unset";
  auto seen = WhenModal([&initial](wxDialog& dialog) {
    auto* edit = dynamic_cast<TZQEditCursor*>(dialog.FindWindow(ids::kInputEdit));
    ASSERT_NE(edit, nullptr);
    initial = edit->GetValue().utf8_string();
    edit->SetValue("first\nsecond\nthird");
    PressButton(&dialog, wxID_OK);
  });
  Click(ids::kSetMainHead);
  EXPECT_TRUE(seen->seen);
  EXPECT_EQ(seen->title, "Input");
  EXPECT_EQ(initial, "");
  EXPECT_EQ(Field(ids::kMainHeadField), "first /n second /n third");
  EXPECT_EQ(dlg()->settings().MainHead, "first\r\nsecond\r\nthird");
  EXPECT_EQ(Field(ids::kMainQueueField), "");

  // The next run starts from the stored text, shown with the edit's own line breaks.
  auto again = WhenModal([&initial](wxDialog& dialog) {
    initial =
        dynamic_cast<TZQEditCursor*>(dialog.FindWindow(ids::kInputEdit))->GetValue().utf8_string();
    PressButton(&dialog, wxID_CANCEL);
  });
  Command(ids::kSetMainHead);
  EXPECT_TRUE(again->seen);
  EXPECT_EQ(initial, "first\nsecond\nthird");
}

TEST_F(DialogsTest, MainHeadCancelKeepsTheOldText) {
  Start();
  MainText(ids::kSetMainHead, "  kept\nhead  ", true);
  EXPECT_EQ(Field(ids::kMainHeadField), "kept /n head");
  MainText(ids::kSetMainHead, "changed", false);
  EXPECT_EQ(Field(ids::kMainHeadField), "kept /n head");
  EXPECT_EQ(dlg()->settings().MainHead, "  kept\r\nhead  ");
}

TEST_F(DialogsTest, MainQueueEditsTheQueueOnly) {
  Start();
  MainText(ids::kSetMainQueue, "end\nof file", true);
  EXPECT_EQ(Field(ids::kMainQueueField), "end /n of file");
  EXPECT_EQ(dlg()->settings().MainQueue, "end\r\nof file");
  EXPECT_EQ(dlg()->settings().MainHead, "");
  Command(ids::kExit);
  ASSERT_TRUE(FrameGone());
  EXPECT_EQ(SettingsValue("MainQueue"), "<end#ZQ_BR#of file>");
  EXPECT_EQ(SettingsValue("MainHead"), "<>");
}

struct SendToCase {
  const char* what;
  int stored;
  int press_radio;  // 0: leave the radios as they open
  int button;
  bool opens_on_second;
  int expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SendToCase& c, std::ostream* os) { *os << c.what; }

class SendToTest : public ShellTest, public testing::WithParamInterface<SendToCase> {};

TEST_P(SendToTest, StoresTheChoice) {
  const SendToCase& c = GetParam();
  WriteSettings("SendToIndex=" + std::to_string(c.stored) + "\n");
  Start();
  bool first = false;
  bool second = false;
  auto seen = WhenModal([&](wxDialog& dialog) {
    auto* name = dynamic_cast<wxRadioButton*>(dialog.FindWindow(ids::kSendToName));
    auto* line = dynamic_cast<wxRadioButton*>(dialog.FindWindow(ids::kSendToLine));
    ASSERT_TRUE(name && line);
    first = name->GetValue();
    second = line->GetValue();
    if (c.press_radio != 0) {
      auto* radio = c.press_radio == ids::kSendToName ? name : line;
      radio->SetValue(true);
      wxCommandEvent event(wxEVT_RADIOBUTTON, c.press_radio);
      event.SetEventObject(radio);
      radio->ProcessWindowEvent(event);
    }
    PressButton(&dialog, c.button);
  });
  Command(ids::kSendToOptions);
  EXPECT_TRUE(seen->seen);
  EXPECT_EQ(seen->title, "Send To");
  EXPECT_EQ(first, !c.opens_on_second);
  EXPECT_EQ(second, c.opens_on_second);
  EXPECT_EQ(dlg()->settings().SendToIndex, c.expected);
  Command(ids::kExit);
  ASSERT_TRUE(FrameGone());
  EXPECT_EQ(SettingsValue("SendToIndex"), std::to_string(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, SendToTest,
    testing::Values(SendToCase{"seven_opens_on_first_ok_stores_0", 7, 0, wxID_OK, false, 0},
                    SendToCase{"second_choice_stores_1", 0, ids::kSendToLine, wxID_OK, false, 1},
                    SendToCase{"one_opens_on_second", 1, 0, wxID_OK, true, 1},
                    SendToCase{"first_choice_stores_0", 1, ids::kSendToName, wxID_OK, true, 0},
                    SendToCase{"cancel_keeps_7", 7, ids::kSendToLine, wxID_CANCEL, false, 7}),
    [](const testing::TestParamInfo<SendToCase>& info) { return info.param.what; });

TEST_F(DialogsTest, UseTooltipTogglesAndTheMenuCheckFollowsOnOpening) {
  Start();
  wxMenuBar* bar = frame()->GetMenuBar();
  ASSERT_NE(bar, nullptr);
  wxMenuItem* item = bar->FindItem(ids::kUseTooltip);
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(item->IsCheckable());
  EXPECT_TRUE(status()->AreTipsEnabled());

  const auto open_file_menu = [&] {
    wxMenuEvent event(wxEVT_MENU_OPEN, 0, bar->GetMenu(0));
    event.SetEventObject(bar->GetMenu(0));
    frame()->HandleWindowEvent(event);
  };
  for (bool expected : {false, true, false}) {
    Command(ids::kUseTooltip);
    EXPECT_EQ(status()->AreTipsEnabled(), expected);
    EXPECT_EQ(dlg()->settings().UseTip, expected);
    open_file_menu();
    EXPECT_EQ(item->IsChecked(), expected);
  }
  Command(ids::kExit);
  ASSERT_TRUE(FrameGone());
  EXPECT_EQ(SettingsValue("UseTip"), "0");
}

TEST_F(DialogsTest, UseTipOffInTheSettingsStartsWithTipsOff) {
  WriteSettings("UseTip=0\n");
  Start();
  EXPECT_FALSE(status()->AreTipsEnabled());
}

TEST_F(DialogsTest, ChangeFontConfirmedWritesTheFontKeys) {
  WriteSettings("Header=<keep>\n");
  Start();
  const wxFont before = dlg()->GetFont();
  FontSettings chosen;
  chosen.Height = -16;
  chosen.Weight = 700;
  chosen.Italic = 1;
  chosen.Underline = 0;
  chosen.StrikeOut = 1;
  chosen.FaceName = "DejaVu Serif";
  prompts_.font_answers.push_back(FakePrompts::FontAnswer{chosen, 12});
  Command(ids::kChangeFont);

  ASSERT_EQ(prompts_.font_dialogs.size(), 1u);
  EXPECT_EQ(prompts_.font_dialogs[0].Height, -11);
  EXPECT_EQ(prompts_.font_dialogs[0].Weight, 400);
  EXPECT_EQ(prompts_.font_dialogs[0].FaceName, "Arial");
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text, "Please restart the program to changes take effect");
  EXPECT_EQ(prompts_.messages[0].caption, "Halvorn Loomquill");
  EXPECT_EQ(prompts_.messages[0].style, kPromptOk);
  EXPECT_EQ(dlg()->GetFont(), before) << "the new font waits for the next start";

  const std::vector<std::pair<std::string, std::string>> expected{
      {"Header", "<keep>"},  {"lfHeight", "-16"},
      {"lfPointSize", "12"}, {"lfWeight", "700"},
      {"lfItalic", "1"},     {"lfUnderline", "0"},
      {"lfStrikeOut", "1"},  {"lfFaceName", "DejaVu Serif"}};
  EXPECT_EQ(SettingsKeys(), expected);

  // The next start reads it.
  frame()->Destroy();
  ASSERT_TRUE(FrameGone());
  Start();
  EXPECT_EQ(dlg()->GetFont().GetFaceName(), "DejaVu Serif");
  EXPECT_EQ(dlg()->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
  EXPECT_EQ(dlg()->GetFont().GetStyle(), wxFONTSTYLE_ITALIC);
  prompts_.font_answers.push_back(std::nullopt);
  Command(ids::kChangeFont);
  ASSERT_EQ(prompts_.font_dialogs.size(), 2u);
  EXPECT_EQ(prompts_.font_dialogs[1].Height, -16);
  EXPECT_EQ(prompts_.font_dialogs[1].FaceName, "DejaVu Serif");
}

TEST_F(DialogsTest, ChangeFontCancelledWritesNothing) {
  Start();
  prompts_.font_answers.push_back(std::nullopt);
  Command(ids::kChangeFont);
  EXPECT_EQ(prompts_.font_dialogs.size(), 1u);
  EXPECT_TRUE(prompts_.messages.empty());
  EXPECT_FALSE(fs::exists(SettingsFile()));
}

}  // namespace
}  // namespace lq::test
