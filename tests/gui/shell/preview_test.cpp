// The preview window, driven through the real main window: how it opens, what it shows,
// that it follows every change of the output, and that it comes back where it was.
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/toplevel.h>

#include <functional>
#include <sstream>

#include "resources/ids.h"
#include "shell/preview_frame.h"
#include "tests/gui/shell/shell_fixture.h"
#include "tests/gui/uikit/kit_fakes.h"
#include "uikit/grafext/controls.h"

namespace lq::test {
namespace {

constexpr const char* kEmptyNotice =
    "Please drag some files from File Manager before using this command\n";
constexpr const char* kEllipsis = "\xE2\x80\xA6";

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Every preview window that exists now, wherever it came from.
int PreviewWindows() {
  int n = 0;
  for (wxWindow* window : wxTopLevelWindows) {
    if (dynamic_cast<PreviewFrame*>(window) != nullptr && !window->IsBeingDeleted()) ++n;
  }
  return n;
}

class PreviewTest : public ShellTest {
 protected:
  void SetUp() override {
    kit_.UseFakeTime();
    ShellTest::SetUp();
  }
  void TearDown() override {
    ShellTest::TearDown();
    EXPECT_EQ(PreviewWindows(), 0) << "the preview outlived the main window";
  }

 public:  // table-driven steps call the helpers from lambdas
  PreviewFrame* Window() const { return dlg()->preview().window(); }
  // The bytes the preview holds, and the text its view shows.
  std::string Shown() const { return Window() != nullptr ? Window()->text() : "<closed>"; }
  std::string Viewed() const { return Window()->view()->GetValue().utf8_string(); }
  long long Refreshes() const { return dlg()->preview().refreshes(); }

  void StartWithPreview() {
    Start();
    Command(ids::kPreview);
    ASSERT_NE(Window(), nullptr);
  }
  std::string Out() const { return (work_ / "out" / "script.txt").string(); }
  // What Create writes now to the output file; fails the test when it writes nothing.
  std::string Created() {
    const fs::path out = dlg()->settings().FileOutput;
    fs::remove(out);
    Command(ids::kCreate);
    EXPECT_TRUE(fs::exists(out)) << "Create wrote nothing";
    return ReadAll(out);
  }
  // The colour the view shows the text at position at in.
  wxColour ColourAt(long at) const {
    wxTextAttr style;
    EXPECT_TRUE(Window()->view()->GetStyle(at, style));
    return style.GetTextColour();
  }
};

TEST_F(PreviewTest, OpensFromTheFileMenuTheCreateMenuAndTheToolBarAsOneWindow) {
  Start();
  EXPECT_FALSE(dlg()->preview().IsOpen()) << "nothing stored: closed";
  EXPECT_EQ(PreviewWindows(), 0);

  wxMenuItem* item = frame()->GetMenuBar()->FindItem(ids::kPreview);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetItemLabelText(), "Preview output");
  EXPECT_EQ(item->GetMenu(), frame()->GetMenuBar()->GetMenu(0));
  Command(ids::kPreview);
  PreviewFrame* first = Window();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->IsShown());
  EXPECT_EQ(first->GetTitle(), "Preview output");

  // From the Create button's menu, and from the tool bar: the same window again.
  presenter_.choose = ids::kPreview;
  wxMouseEvent press(wxEVT_LEFT_DOWN);
  dlg()->FindWindow(ids::kCreate)->ProcessWindowEvent(press);
  presenter_.choose = 0;
  ASSERT_EQ(presenter_.shown.size(), 1u);
  EXPECT_EQ(presenter_.shown[0].name, "CREATE_MNU");
  ToolCommand(ids::kPreview);
  EXPECT_EQ(Window(), first);
  EXPECT_EQ(PreviewWindows(), 1);

  // Closed by its close box, it opens anew from the tool bar.
  first->Close();
  Yield();
  EXPECT_FALSE(dlg()->preview().IsOpen());
  EXPECT_EQ(PreviewWindows(), 0);
  ToolCommand(ids::kPreview);
  EXPECT_NE(Window(), nullptr);
  EXPECT_EQ(PreviewWindows(), 1);
}

TEST_F(PreviewTest, TheToolButtonHasItsBitmapAndHints) {
  Start();
  wxToolBarToolBase* tool = frame()->GetToolBar()->FindById(ids::kPreview);
  ASSERT_NE(tool, nullptr);
  EXPECT_EQ(tool->GetShortHelp(), "Preview output");
  EXPECT_EQ(tool->GetLongHelp(),
            "Show what Create would write, kept up to date while you type; writes nothing");
  EXPECT_EQ(tool->GetNormalBitmap().GetSize(), wxSize(32, 32));
  // Beside View, before the gap and Clear.
  wxToolBar* bar = frame()->GetToolBar();
  EXPECT_EQ(bar->GetToolPos(ids::kPreview), bar->GetToolPos(ids::kView) + 1);
  EXPECT_LT(bar->GetToolPos(ids::kPreview), bar->GetToolPos(ids::kClearList));
}

TEST_F(PreviewTest, ItStandsBesideTheMainWindowInItsFontWithAMonospacedView) {
  StartWithPreview();
  const wxRect main = frame()->GetRect();
  const wxRect preview = Window()->GetRect();
  const wxRect area = wxDisplay(0u).GetClientArea();
  if (main.GetRight() + preview.width < area.GetRight()) {
    EXPECT_GT(preview.x, main.GetRight());
  }
  EXPECT_EQ(preview.y, main.y);
  EXPECT_FALSE(preview.Intersects(main));
  EXPECT_EQ(Window()->GetFont(), dlg()->initial_font());
  EXPECT_EQ(Window()->info()->GetFont(), dlg()->initial_font());
  const wxFont mono = Window()->view()->GetFont();
  EXPECT_TRUE(mono.IsFixedWidth()) << mono.GetNativeFontInfoUserDesc();
  EXPECT_EQ(mono.GetPointSize(), dlg()->initial_font().GetPointSize());
  EXPECT_FALSE(Window()->view()->IsEditable());
}

TEST_F(PreviewTest, AnEmptyListShowsCreatesNoticeInGreyAndNoMessageBox) {
  StartWithPreview();
  EXPECT_EQ(Shown(), kEmptyNotice);
  EXPECT_EQ(Viewed(), kEmptyNotice);
  EXPECT_EQ(ColourAt(3), wxColour(128, 128, 128));
  Type(ids::kHeader, "x");
  kit_.timers.Advance(150);
  EXPECT_EQ(Shown(), kEmptyNotice);
  EXPECT_TRUE(prompts_.messages.empty());
}

// Throttled, not delayed: the first key shows at once, later ones within one interval, and
// a second of steady typing refreshes about ten times, not a hundred.
TEST_F(PreviewTest, TypingACharacterChangesThePreviewWithin150Milliseconds) {
  StartWithPreview();
  OpenListOf({Src("a.txt")});
  kit_.timers.Advance(1000);
  Type(ids::kHeader, "1");
  kit_.timers.Advance(150);
  EXPECT_EQ(Shown(), "1" + Src("a.txt"));

  Type(ids::kHeader, "12");
  kit_.timers.Advance(150);
  EXPECT_EQ(Shown(), "12" + Src("a.txt"));
  Type(ids::kQueue, ";");
  kit_.timers.Advance(150);
  EXPECT_EQ(Shown(), "12" + Src("a.txt") + ";");
  EXPECT_EQ(Viewed(), Shown());

  const long long before = Refreshes();
  std::string typed = "12";
  for (int i = 0; i < 100; ++i) {
    typed += static_cast<char>('a' + i % 26);
    Type(ids::kHeader, typed);
    kit_.timers.Advance(10);
  }
  const long long during = Refreshes() - before;
  EXPECT_LE(during, 11) << "more than one refresh per 100 ms of typing";
  EXPECT_GE(during, 9) << "typing went unseen for more than 100 ms at a time";
  kit_.timers.Advance(150);
  EXPECT_EQ(Shown(), typed + Src("a.txt") + ";");
  EXPECT_LE(Refreshes() - before, during + 1);
}

TEST_F(PreviewTest, EscInTheHeaderUndoesAndThePreviewFollows) {
  StartWithPreview();
  OpenListOf({Src("a.txt")});
  auto* header = dynamic_cast<TZQEditCursor*>(dlg()->FindWindow(ids::kHeader));
  ASSERT_NE(header, nullptr);
  header->SetFocus();
  Type(ids::kHeader, "typed ");
  kit_.timers.Advance(150);
  ASSERT_EQ(Shown(), "typed " + Src("a.txt"));
  header->UndoEdit();  // what Esc does, without a change event
  wxKeyEvent up(wxEVT_KEY_UP);
  up.m_keyCode = WXK_ESCAPE;
  up.SetEventObject(header);
  header->ProcessWindowEvent(up);
  kit_.timers.Advance(150);
  EXPECT_EQ(Shown(), Src("a.txt"));
}

struct Step {
  const char* what;
  std::function<void(PreviewTest&)> act;
};

// Names the step in test listings instead of dumping its bytes.
[[maybe_unused]] void PrintTo(const Step& s, std::ostream* os) { *os << s.what; }

// Every change that changes the output shows at once (typing within the throttle), the text
// is what Create then writes, and the preview itself writes and copies nothing.
TEST_F(PreviewTest, EachSettingListChangeAndTemplateChangesIt) {
  fs::create_directories(work_ / "src" / "Sub");
  fs::create_directories(work_ / "rel" / "deeper");
  WriteProgramFile("Playlist.hqd",
                   "[Loomquill]\nHeader=<#ZQ_BR#>\nQueue=<>\nMainHead=<#EXTM3U#ZQ_BR#>\n"
                   "MainQueue=<>\nCheckIndex=2\nEscape=shell\n");
  StartWithPreview();
  SetOutput(Out());
  const std::vector<Step> steps = {
      {"open list",
       [](PreviewTest& t) {
         t.OpenListOf({t.Src("a.txt"), t.Src("b\\c.txt"), t.Src("Sub/d's.txt"), t.Src("e.txt")});
       }},
      {"header", [](PreviewTest& t) { t.Type(ids::kHeader, "cp '"); }},
      {"queue", [](PreviewTest& t) { t.Type(ids::kQueue, "' /b ZQ_GETSELINDEX\n"); }},
      {"mode relative", [](PreviewTest& t) { t.ChooseRadio(ids::kModeRelative); }},
      {"relative folder",
       [](PreviewTest& t) {
         t.prompts_.answers.push_back(Answer::kYes);
         const wxRect r = t.dlg()->FindWindow(ids::kModeRelative)->GetRect();
         t.dlg()->HandleDrop({(t.work_ / "src").string()}, r.GetPosition() + wxSize(4, 4));
       }},
      {"output file",
       [](PreviewTest& t) {
         // In relative mode names follow the output file's folder.
         t.SetOutput((t.work_ / "rel" / "deeper" / "other.txt").string());
       }},
      {"back to the first output", [](PreviewTest& t) { t.SetOutput(t.Out()); }},
      {"mode name", [](PreviewTest& t) { t.ChooseRadio(ids::kModeName); }},
      {"mode full", [](PreviewTest& t) { t.ChooseRadio(ids::kModeFull); }},
      {"invert slash", [](PreviewTest& t) { t.SetCheck(ids::kInvertSlash, true); }},
      {"escape for shell", [](PreviewTest& t) { t.Command(ids::kEscapeShell); }},
      {"main head", [](PreviewTest& t) { t.MainText(ids::kSetMainHead, "#!/bin/sh\n", true); }},
      {"main queue",
       [](PreviewTest& t) { t.MainText(ids::kSetMainQueue, "echo ZQ_GETCOUNT\n", true); }},
      {"drop",
       [](PreviewTest& t) {
         t.SelectItem(0);
         const wxRect r = t.dlg()->FindWindow(ids::kFileList)->GetRect();
         t.dlg()->HandleDrop({t.Src("x.txt"), t.Src("y.txt")}, r.GetPosition() + wxSize(5, 5));
       }},
      {"move up", [](PreviewTest& t) { t.Click(ids::kMoveUp); }},
      {"move down", [](PreviewTest& t) { t.Click(ids::kMoveDown); }},
      {"delete", [](PreviewTest& t) { t.Click(ids::kDeleteItem); }},
      {"template",
       [](PreviewTest& t) {
         t.Command(ids::kFirstTemplate);
         ASSERT_EQ(t.Field(ids::kHeader), "\n");
       }},
      {"escape none", [](PreviewTest& t) { t.Command(ids::kEscapeNone); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    const std::string before = Shown();
    step.act(*this);
    kit_.timers.Advance(150);  // a refresh waiting for typing is due by now
    const std::string after = Shown();
    EXPECT_NE(after, before) << "the preview did not follow";
    EXPECT_EQ(after, Created());
    EXPECT_EQ(Viewed(), after);
  }
  {
    SCOPED_TRACE("clear");
    Command(ids::kClearList);
    EXPECT_EQ(Shown(), kEmptyNotice);
  }
  EXPECT_EQ(clipboard_.set_count, 0);
  // Only the relative folder's question was asked.
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text.rfind("Do you want set Relative path to:", 0), 0u);
  prompts_.messages.clear();
  fs::remove(Out());
  OpenListOf({Src("again.txt")});
  Type(ids::kHeader, "again ");
  kit_.timers.Advance(150);
  EXPECT_FALSE(fs::exists(Out())) << "the preview wrote the output file";
  EXPECT_EQ(clipboard_.set_count, 0);
  EXPECT_TRUE(prompts_.messages.empty());
}

// Long lists: the first 200 lines' worth of what Create writes, a note of the rest, and the
// main queue as Create writes it.
TEST_F(PreviewTest, ThePreviewIsTheFirst200LinesOfWhatCreateWrites) {
  StartWithPreview();
  SetOutput(Out());
  std::vector<std::string> names;
  for (int i = 0; i < 250; ++i) {
    names.push_back(Src("Dir " + std::to_string(i % 7) + "/f\xC3\xBC" + std::to_string(i) +
                        (i % 9 == 0 ? "Z" : "") + ".txt"));
  }
  OpenListOf(names);
  Type(ids::kHeader, "ZQ_GETSELINDEX <ZQ_NAMEZQ_EXT> \"");
  Type(ids::kQueue, "\"\n");
  MainText(ids::kSetMainHead, "head ZQ_NAME\n", true);
  MainText(ids::kSetMainQueue, "end ZQ_NAME ZQ_GETSELINDEX\n", true);
  kit_.timers.Advance(150);
  const std::string file = Created();
  const std::vector<std::string> lines = LinesOf(file);
  ASSERT_EQ(lines.size(), 252u);
  const std::string shown = Shown();
  std::string want;
  for (std::size_t i = 0; i < 201; ++i) want += lines[i] + "\n";
  EXPECT_EQ(shown.substr(0, want.size()), want) << "the head and the first 200 lines";
  const std::string note = std::string(kEllipsis) + " and 50 more items\n";
  EXPECT_EQ(shown, want + note + lines.back() + "\n");
  EXPECT_EQ(file.substr(0, want.size()), want);
  EXPECT_TRUE(file.ends_with(lines.back() + "\n"));
  EXPECT_EQ(Viewed(), shown);
  const long note_at = static_cast<long>(wxString::FromUTF8(want).length());
  EXPECT_EQ(ColourAt(note_at + 3), wxColour(128, 128, 128));
  EXPECT_EQ(ColourAt(2), *wxBLACK);

  // Trimmed to 200, the list is the file exactly.
  for (int i = 0; i < 50; ++i) Click(ids::kDeleteItem);
  EXPECT_EQ(Shown(), Created());
}

// Long lines: the lines in view go in at once, the rest of a large text at idle time, in
// the same colours, so that a refresh does not hold the window.
TEST_F(PreviewTest, ALargeTextReachesTheViewInPartsAndWhole) {
  StartWithPreview();
  std::vector<std::string> names;
  for (int i = 0; i < 250; ++i) names.push_back(Src("f" + std::to_string(i) + ".txt"));
  OpenListOf(names);
  Type(ids::kQueue, " # " + std::string(600, 'q') + "\n");
  kit_.timers.Advance(150);
  const std::string shown = Shown();
  ASSERT_GT(shown.size(), PreviewFrame::kFillAtOnceBytes);
  ASSERT_TRUE(Window()->filling());
  const std::string first = Viewed();
  EXPECT_LT(first.size(), shown.size());
  EXPECT_EQ(shown.substr(0, first.size()), first);
  EXPECT_TRUE(first.ends_with("\n")) << "whole lines";
  const int rows = Window()->view()->GetClientSize().GetHeight() /
                   std::max(1, Window()->view()->GetCharHeight());
  EXPECT_GE(static_cast<int>(LinesOf(first).size()), rows) << "the lines in view";

  ASSERT_TRUE(PumpFor([this] { return !Window()->filling(); }, 3000));
  EXPECT_EQ(Viewed(), shown);
  const long note_at =
      static_cast<long>(wxString::FromUTF8(shown.substr(0, shown.find(kEllipsis))).length());
  EXPECT_EQ(ColourAt(note_at + 3), wxColour(128, 128, 128));
  EXPECT_EQ(ColourAt(note_at - 3), *wxBLACK);

  // A refresh while parts are still to come starts over: no part of the old text follows.
  Type(ids::kHeader, "x");
  kit_.timers.Advance(150);
  Type(ids::kHeader, "y");
  kit_.timers.Advance(150);
  ASSERT_TRUE(PumpFor([this] { return !Window()->filling(); }, 3000));
  EXPECT_EQ(Viewed(), Shown());
  EXPECT_NE(Shown(), shown);
}

TEST_F(PreviewTest, ARefusedNameShowsItsMessageInPlaceOfItsLineAndNoMessageBox) {
  StartWithPreview();
  SetOutput(Out());
  OpenListOf({Src("fine.txt"), Src("say \"hi\".txt"), Src("last.txt")});
  Type(ids::kHeader, "copy \"");
  Type(ids::kQueue, "\" x\n");
  Command(ids::kEscapeBatch);
  const std::vector<std::string> lines = LinesOf(Shown());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "copy \"" + Src("fine.txt") + "\" x");
  EXPECT_EQ(lines[1].rfind("Name cannot be written safely: " + Src("say \"hi\".txt"), 0), 0u)
      << lines[1];
  EXPECT_NE(lines[1].find("double quote"), std::string::npos) << lines[1];
  EXPECT_EQ(lines[2], "copy \"" + Src("last.txt") + "\" x");
  const long refused_at = static_cast<long>(wxString::FromUTF8(lines[0]).length()) + 1;
  EXPECT_EQ(ColourAt(refused_at + 2), wxColour(176, 0, 0));
  EXPECT_EQ(ColourAt(2), *wxBLACK);
  EXPECT_TRUE(prompts_.messages.empty()) << "no message box while the preview shows it";

  // Create still stops at the name, with the same message in its box.
  Command(ids::kCreate);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].caption + ": " +
                prompts_.messages[0].text.substr(0, prompts_.messages[0].text.find('\n')),
            lines[1].substr(0, lines[1].find(" (")));
}

TEST_F(PreviewTest, NamesThatAreNotUtf8StillShowTheRest) {
  StartWithPreview();
  OpenListOf({Src("ok.txt"), Src("bad\xFF.txt")});
  Type(ids::kQueue, "\n");
  kit_.timers.Advance(150);
  EXPECT_EQ(Shown(), Src("ok.txt") + "\n" + Src("bad\xFF.txt") + "\n");
  EXPECT_EQ(Viewed(), Src("ok.txt") + "\n" + Src("bad\xEF\xBF\xBD.txt") + "\n");
}

TEST_F(PreviewTest, ItClosesWithTheMainWindowAndComesBackOpenWhereItWas) {
  StartWithPreview();
  const wxRect place(60, 70, 430, 310);
  Window()->SetSize(place);
  Yield();
  const wxRect placed = Window()->GetRect();
  Command(ids::kExit);
  ASSERT_TRUE(FrameGone());
  EXPECT_EQ(PreviewWindows(), 0) << "closes with the main window";
  EXPECT_EQ(SettingsValue("PreviewOpen"), "1");
  EXPECT_EQ(SettingsValue("PreviewLeft"), std::to_string(placed.x));
  EXPECT_EQ(SettingsValue("PreviewWidth"), std::to_string(placed.width));

  Start();
  ASSERT_TRUE(dlg()->preview().IsOpen()) << "open again after the restart";
  EXPECT_TRUE(Window()->IsShown());
  EXPECT_EQ(Window()->GetRect(), placed);
  EXPECT_EQ(Shown(), kEmptyNotice);

  // Closed before the main window: closed at the next start, in the same place when opened.
  Window()->Close();
  Yield();
  Command(ids::kExit);
  ASSERT_TRUE(FrameGone());
  EXPECT_EQ(SettingsValue("PreviewOpen"), "0");
  Start();
  EXPECT_FALSE(dlg()->preview().IsOpen());
  EXPECT_EQ(PreviewWindows(), 0);
  Command(ids::kPreview);
  ASSERT_NE(Window(), nullptr);
  EXPECT_EQ(Window()->GetRect(), placed);
}

TEST_F(PreviewTest, APlaceOffEveryDisplayGoesBesideTheMainWindow) {
  WriteSettings(
      "PreviewOpen=1\nPreviewLeft=-30000\nPreviewTop=-30000\nPreviewWidth=400\n"
      "PreviewHeight=300\n");
  Start();
  ASSERT_TRUE(dlg()->preview().IsOpen());
  EXPECT_TRUE(wxDisplay(0u).GetGeometry().Intersects(Window()->GetRect()));
  EXPECT_EQ(Window()->GetRect().y, frame()->GetRect().y);
}

}  // namespace
}  // namespace lq::test
