#include "uikit/grafext/desktop.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/frame.h>

#include <cstring>

#include "platform/desktop_launcher.h"
#include "platform/wx_clipboard.h"
#include "platform/wx_font.h"
#include "tests/gui/fakes/fake_clipboard.h"
#include "tests/gui/fakes/fake_clock.h"
#include "tests/gui/uikit/kit_fakes.h"

namespace lq {
namespace {

TEST(CenteredOnDesktopTest, IntegerHalvesTowardsZero) {
  const wxRect desktop(0, 0, 1024, 768);
  EXPECT_EQ(CenteredOnDesktop(desktop, wxSize(200, 100)), wxPoint(412, 334));
  EXPECT_EQ(CenteredOnDesktop(desktop, wxSize(201, 101)), wxPoint(411, 333));
  // Larger than the desktop: a negative position, halves dropped towards zero.
  EXPECT_EQ(CenteredOnDesktop(desktop, wxSize(1200, 900)), wxPoint(-88, -66));
  EXPECT_EQ(CenteredOnDesktop(desktop, wxSize(1025, 771)), wxPoint(0, -1));
  EXPECT_EQ(CenteredOnDesktop(wxRect(100, 50, 800, 600), wxSize(200, 100)), wxPoint(400, 300));
}

struct WithinCase {
  const char* what;
  wxRect owner;
  wxSize window;
  wxRect area;
  wxSize least;
  wxRect placed;
};

TEST(CenteredWithinTest, CentredOnTheOwnerAndWholeInTheArea) {
  const wxRect area(0, 30, 1280, 994);  // a panel of 30 pixels at the top
  const WithinCase cases[] = {
      {"centred", {400, 300, 600, 500}, {200, 100}, area, {0, 0}, {600, 500, 200, 100}},
      {"halves dropped", {400, 300, 601, 501}, {200, 100}, area, {0, 0}, {600, 500, 200, 100}},
      {"owner by the right edge",
       {1100, 300, 400, 300},
       {300, 200},
       area,
       {0, 0},
       {980, 350, 300, 200}},
      {"owner by the bottom edge",
       {400, 900, 400, 300},
       {300, 200},
       area,
       {0, 0},
       {450, 824, 300, 200}},
      {"owner above the area",
       {400, -200, 400, 300},
       {300, 250},
       area,
       {0, 0},
       {450, 30, 300, 250}},
      {"owner left of the screen",
       {-300, 300, 400, 300},
       {300, 200},
       area,
       {0, 0},
       {0, 350, 300, 200}},
      {"larger than the area: cut to it",
       {0, 0, 1280, 1024},
       {1500, 1100},
       area,
       {0, 0},
       {0, 30, 1280, 994}},
      {"but not below its least",
       {0, 0, 1280, 1024},
       {1500, 1100},
       area,
       {1400, 1000},
       {0, 30, 1400, 1000}},
      {"an area of its own",
       {2000, 100, 400, 300},
       {300, 200},
       {1280, 0, 1920, 1080},
       {0, 0},
       {2050, 150, 300, 200}},
  };
  for (const WithinCase& c : cases) {
    EXPECT_EQ(CenteredWithin(c.owner, c.window, c.area, c.least), c.placed) << c.what;
  }
}

class DesktopWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "test", wxPoint(100, 100), wxSize(200, 150));
    frame_->Show();
    wxTheApp->Yield();
  }
  void TearDown() override {
    frame_->Destroy();
    wxTheApp->ProcessIdle();
  }
  wxFrame* frame_ = nullptr;
};

TEST_F(DesktopWindowTest, CenterOnDesktopKeepsTheSize) {
  const wxRect desktop = wxDisplay(0u).GetGeometry();
  frame_->SetSize(desktop.GetWidth() + 101, desktop.GetHeight() + 51);
  const wxSize size = frame_->GetSize();
  CenterOnDesktop(frame_);
  EXPECT_EQ(frame_->GetSize(), size);
  EXPECT_EQ(frame_->GetPosition(), CenteredOnDesktop(desktop, size));
  EXPECT_LT(frame_->GetPosition().x, 0);
  EXPECT_LT(frame_->GetPosition().y, 0);
  CenterOnDesktop(nullptr);  // nothing happens
}

TEST_F(DesktopWindowTest, CenterOnOwnerCentresOnTheOwnersWindow) {
  auto* dialog = new wxDialog(frame_, wxID_ANY, "owned", wxDefaultPosition, wxSize(120, 60));
  const wxRect owner = frame_->GetRect();
  EXPECT_FALSE(CenterOnOwner(dialog));
  const wxRect placed = dialog->GetRect();
  EXPECT_EQ(placed.GetSize(), wxSize(120, 60));
  EXPECT_EQ(placed.GetPosition(), CenteredOnDesktop(owner, placed.GetSize()));
  dialog->Destroy();
  EXPECT_FALSE(CenterOnOwner(nullptr));
}

TEST_F(DesktopWindowTest, CenterOnOwnerKeepsTheWindowOnItsDisplay) {
  const wxRect area = wxDisplay(0u).GetClientArea();
  // The owner half off the bottom-right corner: the dialog goes into the corner, whole.
  frame_->Move(area.GetRight() - 100, area.GetBottom() - 60);
  wxTheApp->Yield();
  auto* dialog = new wxDialog(frame_, wxID_ANY, "owned", wxDefaultPosition, wxSize(300, 200));
  CenterOnOwner(dialog);
  EXPECT_TRUE(area.Contains(dialog->GetRect()))
      << dialog->GetRect().x << "," << dialog->GetRect().y;
  // Larger than the display: cut to it, from its top-left.
  const wxSize larger(area.GetWidth() + 200, area.GetHeight() + 100);
  dialog->SetSize(larger);
  EXPECT_TRUE(CenterOnOwner(dialog));
  EXPECT_EQ(dialog->GetRect(), area);
  dialog->Destroy();
}

TEST_F(DesktopWindowTest, CenterOnOwnerWithoutAShownOwnerCentresOnTheDesktop) {
  const wxRect desktop = wxDisplay(0u).GetGeometry();
  for (wxWindow* parent : {static_cast<wxWindow*>(nullptr), static_cast<wxWindow*>(frame_)}) {
    frame_->Hide();
    auto* dialog = new wxDialog(parent, wxID_ANY, "alone", wxDefaultPosition, wxSize(120, 60));
    CenterOnOwner(dialog);
    EXPECT_EQ(dialog->GetPosition(), CenteredOnDesktop(desktop, dialog->GetSize()));
    dialog->Destroy();
  }
}

TEST_F(DesktopWindowTest, IsCursorOverEdges) {
  const wxRect r = frame_->GetScreenRect();
  EXPECT_TRUE(IsCursorOver(frame_, r.GetTopLeft()));
  EXPECT_TRUE(IsCursorOver(frame_, wxPoint(r.GetRight(), r.GetBottom())));
  EXPECT_FALSE(IsCursorOver(frame_, wxPoint(r.GetX() + r.GetWidth(), r.GetY())));
  EXPECT_FALSE(IsCursorOver(frame_, wxPoint(r.GetX(), r.GetY() + r.GetHeight())));
  EXPECT_FALSE(IsCursorOver(frame_, wxPoint(r.GetX() - 1, r.GetY())));
  EXPECT_FALSE(IsCursorOver(nullptr, r.GetTopLeft()));
  EXPECT_FALSE(IsCursorOver(nullptr));
}

std::string_view TestStrings(int id) {
  static const std::string long_text = std::string(497, 'a') + "\xC3\xA9" + "tail";
  switch (id) {
    case 1:
      return "one";
    case 2:
      return "two";
    case 3:
      return "three";
    case 4:
      return long_text;
    default:
      return {};
  }
}

TEST(LoadResStringTest, TwoBuffersInTurn) {
  const char* first = LoadResString(1, &TestStrings);
  const char* second = LoadResString(2, &TestStrings);
  EXPECT_STREQ(first, "one");
  EXPECT_STREQ(second, "two");
  EXPECT_NE(first, second);
  const char* third = LoadResString(3, &TestStrings);
  EXPECT_EQ(third, first);
  EXPECT_STREQ(first, "three");
  EXPECT_STREQ(second, "two");
  EXPECT_STREQ(LoadResString(99, &TestStrings), "");
}

TEST(LoadResStringTest, CutsWithoutSplittingACharacter) {
  // 497 + a two-byte character would end at 499: past the 498 kept, so it goes whole.
  EXPECT_EQ(std::strlen(LoadResString(4, &TestStrings)), 497u);
}

TEST(LoadResStringTest, InstalledTable) {
  test::KitFakes kit;
  kit.UseStrings(&TestStrings);
  EXPECT_STREQ(LoadResString(2), "two");
}

TEST(CopyTextToClipboardTest, EmptyTextReplacesWhatWasThere) {
  FakeClipboard clipboard;
  EXPECT_TRUE(CopyTextToClipboard(clipboard, "old"));
  EXPECT_TRUE(CopyTextToClipboard(clipboard, ""));
  EXPECT_EQ(clipboard.text, std::optional<std::string>(""));
  EXPECT_EQ(clipboard.set_count, 2);
  clipboard.fail = true;
  EXPECT_FALSE(CopyTextToClipboard(clipboard, "x"));
  EXPECT_EQ(clipboard.text, std::optional<std::string>(""));
}

TEST(WxClipboardTest, PlainUtf8Text) {
  FakeClock clock;
  WxClipboard clipboard(clock);
  const std::string text = "C:\\out\xC3\xA9.txt";
  ASSERT_TRUE(clipboard.SetText(text));
  wxClipboardLocker lock;
  ASSERT_TRUE(!!lock);
  wxTextDataObject data;
  ASSERT_TRUE(wxTheClipboard->GetData(data));
  EXPECT_EQ(data.GetText().utf8_string(), text);
  // Not UTF-8: refused, the clipboard keeps its text.
  EXPECT_FALSE(WxClipboard(clock).SetText("\xFF\xFE"));
}

TEST(WindowsVersionNumberTest, ToolkitVersionOnce) {
  const double version = WindowsVersionNumber();
  EXPECT_GE(version, 3.0);
  EXPECT_EQ(WindowsVersionNumber(), version);
}

TEST(DesktopLauncherGuiTest, StartsAProgramWithOneWholeArgument) {
  DesktopLauncher launcher;
  EXPECT_TRUE(launcher.StartProgram({"true", "one argument with spaces"}));
}

TEST(FontSettingsTest, RoundTrip) {
  FontSettings settings;
  settings.Height = -16;
  settings.Weight = 700;
  settings.Italic = 1;
  settings.Underline = 1;
  settings.FaceName = "DejaVu Sans";
  const wxFont font = FontFromSettings(settings);
  ASSERT_TRUE(font.IsOk());
  EXPECT_EQ(font.GetPointSize(), 12);
  const FontSettings back = SettingsFromFont(font);
  EXPECT_EQ(back.Height, -16);
  EXPECT_EQ(back.Weight, 700);
  EXPECT_EQ(back.Italic, 1);
  EXPECT_EQ(back.Underline, 1);
  EXPECT_EQ(back.StrikeOut, 0);
}

}  // namespace
}  // namespace lq
