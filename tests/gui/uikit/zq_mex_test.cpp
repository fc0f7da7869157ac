#include "uikit/exten/zq_mex.h"

#include <gtest/gtest.h>
#include <wx/app.h>

#include "tests/gui/fakes/fake_beeper.h"
#include "tests/gui/fakes/fake_clock.h"

namespace lq {
namespace {

struct LayoutCase {
  const char* name;
  std::vector<int> widths;
  int line_height;
  int caption_width;
  int flags;
  int icon_space_before;
  MexLayout expected;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class MexLayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(MexLayoutTest, Arithmetic) {
  const LayoutCase& c = GetParam();
  const MexLayout got =
      LayOutMex(c.widths, c.line_height, c.caption_width, c.flags, c.icon_space_before);
  EXPECT_EQ(got.line_count, c.expected.line_count);
  EXPECT_EQ(got.icon_space, c.expected.icon_space);
  EXPECT_EQ(got.width, c.expected.width);
  EXPECT_EQ(got.height, c.expected.height);
}

INSTANTIATE_TEST_SUITE_P(
    Notices, MexLayoutTest,
    testing::Values(
        // One line with the information icon: three line heights (45) + 20.
        LayoutCase{"OneLineInfo", {100}, 15, 80, 0x40, 0, {2, 42, 100 + 42 + 30, 45 + 20}},
        // Three line heights below the icon space: raised to 42, + 20.
        LayoutCase{"OneLineRaisedToIcon", {100}, 12, 0, 0x40, 0, {2, 42, 172, 42 + 20}},
        // The caption is wider than the text.
        LayoutCase{"CaptionWider", {50}, 15, 120, 0x40, 0, {2, 42, 120 + 72, 65}},
        // An empty text is one empty line, sized by its caption.
        LayoutCase{"EmptyText", {0}, 15, 90, 0x40, 0, {2, 42, 162, 65}},
        // No icon: no icon space.
        LayoutCase{"NoIcon", {100, 40}, 15, 0, 0, 0, {3, 0, 130, 60 + 20}},
        // The icon space stays once given, even without an icon now.
        LayoutCase{"IconSpaceKept", {100}, 15, 0, 0, 42, {2, 42, 172, 65}},
        // The Cancel box adds a line height + 5.
        LayoutCase{"CancelBox", {100}, 15, 0, 0x41, 0, {2, 42, 172, 45 + 20 + 20}},
        LayoutCase{"CancelBoxOverIcon", {100}, 12, 0, 0x41, 0, {2, 42, 172, 42 + 17 + 20}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(SplitMexLinesTest, Lines) {
  EXPECT_EQ(SplitMexLines(""), std::vector<std::string>{""});
  EXPECT_EQ(SplitMexLines("a\nb"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitMexLines("a\n"), (std::vector<std::string>{"a", ""}));
}

class ShowMexTest : public testing::Test {
 protected:
  void TearDown() override {
    // Close whatever a failed test left, and let deferred deletions run.
    if (CurrentMex() != nullptr) ShowMex(nullptr, nullptr, nullptr, 0, 0, clock, &beeper);
    wxTheApp->ProcessIdle();
  }

  FakeClock clock;
  FakeBeeper beeper;
  const std::string caption = "Halvorn Loomquill";
};

TEST_F(ShowMexTest, TimedNoticeWaitsOnTheClockAndEmptiesTheSlot) {
  const std::string text = "Click view to see created file";
  ShowMex(nullptr, &text, &caption, 64, 1000, clock, &beeper);
  EXPECT_EQ(clock.waits, std::vector<long long>{1000});
  EXPECT_EQ(CurrentMex(), nullptr);
  EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(ShowMexTest, PersistentThenTimedOnlyUpdates) {
  const std::string loading = "Loading Templates, wait...";
  ShowMex(nullptr, &loading, &caption, 64, 0, clock, &beeper);
  TZQMex* mex = CurrentMex();
  ASSERT_NE(mex, nullptr);
  EXPECT_FALSE(mex->may_close());
  EXPECT_TRUE(mex->IsShown());
  // Painted before ShowMex returned, so it shows while the caller is busy.
  EXPECT_TRUE(mex->painted());
  EXPECT_EQ(mex->text(), loading);
  EXPECT_EQ(mex->GetTitle(), caption);

  const std::string copying = "/tmp/some file.txt";
  const std::string copy_caption = "Copying...";
  ShowMex(nullptr, &copying, &copy_caption, 64, 600, clock, &beeper);
  EXPECT_TRUE(clock.waits.empty());
  EXPECT_EQ(CurrentMex(), mex);
  EXPECT_EQ(mex->text(), copying);
  EXPECT_EQ(mex->GetTitle(), copy_caption);
  EXPECT_TRUE(mex->IsShown());

  // An absent text keeps the text; an absent caption empties the title.
  ShowMex(nullptr, nullptr, &caption, 64, 0, clock, &beeper);
  EXPECT_EQ(mex->text(), copying);
  ShowMex(nullptr, &loading, nullptr, 64, 0, clock, &beeper);
  EXPECT_EQ(mex->GetTitle(), "");

  ShowMex(nullptr, nullptr, nullptr, 0, 0, clock, &beeper);
  EXPECT_EQ(CurrentMex(), nullptr);
  EXPECT_TRUE(clock.waits.empty());
  EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(ShowMexTest, NothingWithoutAWindowDoesNothing) {
  ShowMex(nullptr, nullptr, nullptr, 64, 1000, clock, &beeper);
  EXPECT_EQ(CurrentMex(), nullptr);
  EXPECT_TRUE(clock.waits.empty());
  EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(ShowMexTest, CloseIsRefusedWhileMayCloseIsOff) {
  const std::string text = "Loading Templates, wait...";
  ShowMex(nullptr, &text, &caption, 64, 0, clock, &beeper);
  TZQMex* mex = CurrentMex();
  ASSERT_NE(mex, nullptr);
  EXPECT_FALSE(mex->Close());
  EXPECT_EQ(CurrentMex(), mex);
  EXPECT_TRUE(mex->IsShown());
  ShowMex(nullptr, nullptr, nullptr, 0, 0, clock, &beeper);
  EXPECT_EQ(CurrentMex(), nullptr);
}

TEST_F(ShowMexTest, ActivationByTheUserBeeps) {
  const std::string text = "Loading Templates, wait...";
  ShowMex(nullptr, &text, &caption, 64, 0, clock, &beeper);
  TZQMex* mex = CurrentMex();
  ASSERT_NE(mex, nullptr);
  EXPECT_EQ(beeper.beeps, 0);
  wxActivateEvent activate(wxEVT_ACTIVATE, true, mex->GetId());
  activate.SetEventObject(mex);
  mex->ProcessWindowEvent(activate);
  EXPECT_EQ(beeper.beeps, 1);
}

TEST_F(ShowMexTest, WindowSizeFollowsTheLayout) {
  const std::string text = "First line\nA second, longer line of text";
  ShowMex(nullptr, &text, &caption, 0x41, 0, clock, &beeper);
  TZQMex* mex = CurrentMex();
  ASSERT_NE(mex, nullptr);
  const int lh = mex->GetCharHeight();
  EXPECT_EQ(mex->line_height(), lh);
  EXPECT_EQ(mex->line_count(), 3);
  EXPECT_EQ(mex->icon_space(), 42);
  EXPECT_EQ(mex->cancel_width(), mex->GetTextExtent("Cancel").GetWidth());
  const int widest = std::max(mex->GetTextExtent("A second, longer line of text").GetWidth(),
                              mex->GetTextExtent(caption).GetWidth());
  EXPECT_EQ(mex->GetSize(), wxSize(widest + 42 + 30, std::max(lh * 4, 42) + lh + 5 + 20));
  EXPECT_FALSE(mex->HasFlag(wxRESIZE_BORDER));
  EXPECT_FALSE(mex->HasFlag(wxMAXIMIZE_BOX));
  EXPECT_FALSE(mex->HasFlag(wxMINIMIZE_BOX));
  EXPECT_TRUE(mex->HasFlag(wxCAPTION));
}

TEST_F(ShowMexTest, LongTextIsCutToItsField) {
  const std::string text(1500, 'x');
  ShowMex(nullptr, &text, &caption, 64, 0, clock, &beeper);
  ASSERT_NE(CurrentMex(), nullptr);
  EXPECT_EQ(CurrentMex()->text().size(), kMexTextMax);
}

}  // namespace
}  // namespace lq
