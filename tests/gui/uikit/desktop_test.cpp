#include "uikit/grafext/desktop.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
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
