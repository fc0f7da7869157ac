// The tooltip's rules without a window: hint splitting, line counting, size, delays,
// placement and the timer-driven states.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "uikit/tooltip/tip_engine.h"
#include "uikit/tooltip/tip_logic.h"

namespace lq {
namespace {

TEST(SplitHintTest, WithoutLineFeedTheWholeTextIsStatusAndNoTip) {
  const HintParts parts = SplitHint("Clear file list");
  EXPECT_EQ(parts.status, "Clear file list");
  EXPECT_EQ(parts.tip, "");
}

TEST(SplitHintTest, LeadingLineFeedGivesEmptyStatus) {
  const HintParts parts = SplitHint("\nOnly a tip");
  EXPECT_EQ(parts.status, "");
  EXPECT_EQ(parts.tip, "Only a tip");
}

TEST(SplitHintTest, RelativePathHint) {
  const HintParts parts = SplitHint("Relative path, drag a folder here to change\nRel Path");
  EXPECT_EQ(parts.status, "Relative path, drag a folder here to change");
  EXPECT_EQ(parts.tip, "Rel Path");
}

TEST(SplitHintTest, OnlyTheFirstLineFeedSplits) {
  const HintParts parts =
      SplitHint("Create output file containing header, files, queue\nClick here\nto create output");
  EXPECT_EQ(parts.status, "Create output file containing header, files, queue");
  EXPECT_EQ(parts.tip, "Click here\nto create output");
}

TEST(TipLinesTest, CountsBreaks) {
  EXPECT_EQ(CountTipLines("").count, 1);
  EXPECT_EQ(CountTipLines("abc").count, 1);
  EXPECT_EQ(CountTipLines("a\nb").count, 2);
  EXPECT_EQ(CountTipLines("a\r\nb").count, 2);  // CR LF counts once
  EXPECT_EQ(CountTipLines("a\n\rb").count, 3);  // LF CR twice
  EXPECT_EQ(CountTipLines("a\rb").count, 2);    // a lone CR once
  EXPECT_EQ(CountTipLines("a\r\n\r\nb").count, 3);
}

TEST(TipLinesTest, LongestLineInCharactersAndTheLines) {
  const TipLines lines = CountTipLines("Click here\r\nto create output");
  EXPECT_EQ(lines.longest, 16u);
  EXPECT_EQ(lines.lines, (std::vector<std::string>{"Click here", "to create output"}));
  // Multi-byte characters count once each.
  EXPECT_EQ(CountTipLines("\xC3\xA9\xC3\xA9\nab").longest, 2u);
  EXPECT_EQ(CountTipLines("\xE2\x82\xAC").lines[0], "\xE2\x82\xAC");
}

TEST(TipSizeTest, WidthPlusEightHeightLinesTimesLineHeightPlusFour) {
  EXPECT_EQ(TipSizeFor({50, 13}, 1, 1000, 1000), wxSize(58, 17));
  EXPECT_EQ(TipSizeFor({50, 13}, 2, 1000, 1000), wxSize(58, 2 * 13 + 4));
  EXPECT_EQ(TipSizeFor({5000, 13}, 40, 853, 341), wxSize(853, 341));
}

TEST(TipSizeTest, DefaultMaximumDropsTheThirdsRemainder) {
  EXPECT_EQ(DefaultTipMaxSize({1280, 1024}), wxSize(852, 341));  // 1280 / 3 = 426
  EXPECT_EQ(DefaultTipMaxSize({1024, 768}), wxSize(682, 256));
  EXPECT_EQ(DefaultTipMaxSize({800, 600}), wxSize(532, 200));
}

TEST(TipDelayTest, CoincidenceWaitsLonger) {
  EXPECT_EQ(TipShowDelayMs(5000, 5000), 1500);
  EXPECT_EQ(TipShowDelayMs(5001, 5000), 150);
  EXPECT_EQ(TipShowDelayMs(5000, 0), 150);
}

TEST(TipPlaceTest, BelowTheAnchorCentredFivePixelsRight) {
  const wxRect r = PlaceTipRect({400, 300}, {60, 17}, {1280, 1024});
  EXPECT_EQ(r, wxRect(400 - 25, 332, 60, 17));
  // An odd width: half is rounded toward zero.
  EXPECT_EQ(PlaceTipRect({400, 300}, {61, 17}, {1280, 1024}).GetX(), 400 - 25);
}

TEST(TipPlaceTest, LeftEdge) {
  const wxRect r = PlaceTipRect({10, 300}, {100, 17}, {1280, 1024});
  EXPECT_EQ(r.GetX(), 2);
  EXPECT_EQ(r.GetWidth(), 100);
}

TEST(TipPlaceTest, RightEdge) {
  const wxRect r = PlaceTipRect({1275, 300}, {100, 17}, {1280, 1024});
  EXPECT_EQ(r.GetX() + r.GetWidth(), 1280 - 2);
}

TEST(TipPlaceTest, BottomEdgePutsItAboveTheAnchor) {
  const wxRect r = PlaceTipRect({400, 1000}, {60, 17}, {1280, 1024});
  EXPECT_EQ(r.GetY() + r.GetHeight(), 1000 - 10);
  EXPECT_EQ(r.GetHeight(), 17);
  // Just fitting stays below.
  EXPECT_EQ(PlaceTipRect({400, 1024 - 49}, {60, 17}, {1280, 1024}).GetY(), 1024 - 17);
}

// A window-less host: every measured character is 7 x 13 pixels, timers are recorded.
class FakeHost : public TipHost {
 public:
  long long NowMs() override { return now; }
  wxSize MeasureLine(const std::string& line) override {
    ++measures;
    return {static_cast<int>(line.size()) * 7, 13};
  }
  void StartTimer(int id, int ms) override { timers[id] = ms; }
  void StopTimer(int id) override { timers.erase(id); }
  void HideWindow() override { shown = false; }
  void MoveWindow(const wxRect& r) override {
    rect = r;
    ++moves;
  }
  void ShowWindow() override { shown = true; }
  bool WindowShown() const override { return shown; }
  wxSize ScreenSize() override { return screen; }
  wxPoint PointerPosition() override { return pointer; }
  wxWindow* WindowAt(const wxPoint&) override { return under; }

  // Fires a running timer, as its interval passed.
  void Fire(TipEngine& engine, int id) {
    ASSERT_TRUE(timers.count(id)) << "timer " << id << " is not running";
    now += timers[id];
    engine.OnTimer(id);
  }

  long long now = 10000;
  std::map<int, int> timers;
  bool shown = false;
  wxRect rect;
  int moves = 0;
  int measures = 0;
  wxSize screen{1280, 1024};
  wxPoint pointer{400, 300};
  wxWindow* under = nullptr;
};

int a_control = 0;
int another_control = 0;
wxWindow* const kControl = reinterpret_cast<wxWindow*>(&a_control);
wxWindow* const kOther = reinterpret_cast<wxWindow*>(&another_control);

class TipEngineTest : public testing::Test {
 protected:
  void SetUp() override {
    TheHintAnchor() = {};
    host.under = kControl;
    SetHintAnchor({400, 300}, kControl);
  }
  void Set(const std::string& text) { engine.SetTipText(&text); }

  FakeHost host;
  TipEngine engine{host};
};

TEST_F(TipEngineTest, NewTextWaitsThenShowsAfter150ms) {
  Set("Drag & Drop files");
  EXPECT_EQ(engine.state(), TipState::kWaiting);
  EXPECT_EQ(host.timers[kTipShowTimer], 150);
  EXPECT_EQ(host.timers[kTipPollTimer], 100);
  EXPECT_FALSE(host.shown);
  host.Fire(engine, kTipPollTimer);  // the watch alone shows nothing
  EXPECT_FALSE(host.shown);
  host.Fire(engine, kTipShowTimer);
  EXPECT_TRUE(host.shown);
  EXPECT_EQ(engine.state(), TipState::kShown);
  EXPECT_EQ(host.timers[kTipShowTimer], 60000);
  EXPECT_EQ(host.timers[kTipPollTimer], 100);
  EXPECT_EQ(host.rect.GetTopLeft(), wxPoint(400 - (engine.size().GetWidth() / 2 - 5), 332));
  EXPECT_EQ(engine.tracked(), kControl);
}

TEST_F(TipEngineTest, SizeFromTheWidestLine) {
  Set("Click here\nto create output");
  EXPECT_EQ(engine.size(), wxSize(16 * 7 + 8, 2 * 13 + 4));
  Set("a\r\nb");
  EXPECT_EQ(engine.size().GetHeight(), 2 * 13 + 4);
  Set("a\n\rb");
  EXPECT_EQ(engine.size().GetHeight(), 3 * 13 + 4);
}

TEST_F(TipEngineTest, VeryLongTextIsTwoThirdsOfTheScreenWide) {
  Set(std::string(1000, 'x'));
  EXPECT_EQ(engine.size().GetWidth(), 1280 / 3 * 2);
  host.screen = {1000, 700};
  engine.SetTipMaxSize(0, 0);
  Set(std::string(999, 'y'));
  EXPECT_EQ(engine.size().GetWidth(), 666);
  engine.SetTipMaxSize(100, 0);
  EXPECT_EQ(engine.max_width(), 100u);
  EXPECT_EQ(engine.max_height(), 700u / 3);
}

TEST_F(TipEngineTest, SameTextTwiceKeepsItsDelayAndMeasure) {
  Set("Header");
  const int measures = host.measures;
  host.now += 100;
  Set("Header");
  EXPECT_EQ(host.measures, measures);
  EXPECT_EQ(host.timers[kTipShowTimer], 150);
  // The delay runs on from the first setting: fired once, it shows.
  engine.OnTimer(kTipShowTimer);
  EXPECT_TRUE(host.shown);
  // Shown, the same text only re-places it.
  const int moves = host.moves;
  SetHintAnchor({420, 310}, kControl);
  Set("Header");
  EXPECT_TRUE(host.shown);
  EXPECT_EQ(host.moves, moves + 1);
  EXPECT_EQ(host.rect.GetY(), 342);
  EXPECT_EQ(host.timers[kTipShowTimer], 60000);
}

TEST_F(TipEngineTest, ClearAndSetWithinOneTickWaits1500ms) {
  Set("Header");
  engine.OnTimer(kTipShowTimer);
  engine.HideTip();
  EXPECT_EQ(engine.state(), TipState::kIdle);
  EXPECT_TRUE(host.timers.empty());
  EXPECT_EQ(engine.last_clear_tick(), host.now);
  Set("Queue");  // same reading of the tick count
  EXPECT_EQ(host.timers[kTipShowTimer], 1500);
  EXPECT_EQ(engine.last_clear_tick(), 0);
  engine.HideTip();
  host.now += 1;
  Set("Header");
  EXPECT_EQ(host.timers[kTipShowTimer], 150);
}

TEST_F(TipEngineTest, EmptyTextHides) {
  Set("Header");
  engine.OnTimer(kTipShowTimer);
  ASSERT_TRUE(host.shown);
  Set("");
  EXPECT_FALSE(host.shown);
  EXPECT_TRUE(host.timers.empty());
  EXPECT_EQ(engine.state(), TipState::kIdle);
}

TEST_F(TipEngineTest, HidesWhenThePointerLeavesTheTrackedWindow) {
  Set("Header");
  engine.OnTimer(kTipShowTimer);
  ASSERT_TRUE(host.shown);
  host.Fire(engine, kTipPollTimer);
  EXPECT_TRUE(host.shown);
  host.under = kOther;
  host.Fire(engine, kTipPollTimer);
  EXPECT_FALSE(host.shown);
  EXPECT_TRUE(host.timers.empty());
  EXPECT_EQ(engine.tracked(), nullptr);
}

TEST_F(TipEngineTest, HidesWhenThePointerTouchesTheTip) {
  Set("Header");
  engine.OnTimer(kTipShowTimer);
  int tip_window = 0;
  host.under = reinterpret_cast<wxWindow*>(&tip_window);
  host.Fire(engine, kTipPollTimer);
  EXPECT_FALSE(host.shown);
}

TEST_F(TipEngineTest, ShownTipVanishesAfterAMinute) {
  Set("Header");
  engine.OnTimer(kTipShowTimer);
  for (int i = 0; i < 599; ++i) host.Fire(engine, kTipPollTimer);
  EXPECT_TRUE(host.shown);
  host.Fire(engine, kTipShowTimer);
  EXPECT_FALSE(host.shown);
  EXPECT_EQ(engine.state(), TipState::kIdle);
  EXPECT_TRUE(host.timers.empty());
}

TEST_F(TipEngineTest, WithoutAnAnchorThePointerIsTheAnchor) {
  TheHintAnchor() = {};
  host.pointer = {100, 200};
  host.under = kOther;
  Set("Header");
  engine.OnTimer(kTipShowTimer);
  EXPECT_EQ(engine.tracked(), kOther);
  EXPECT_EQ(TheHintAnchor().point, wxPoint(100, 200));
  EXPECT_EQ(host.rect.GetY(), 232);
}

TEST_F(TipEngineTest, TheAnchorWindowIsTrackedNotThePointers) {
  host.under = kOther;  // the pointer has moved on since the hint
  Set("Header");
  engine.OnTimer(kTipShowTimer);
  EXPECT_EQ(engine.tracked(), kControl);
  // The first watch sees the pointer elsewhere and hides it.
  host.Fire(engine, kTipPollTimer);
  EXPECT_FALSE(host.shown);
}

}  // namespace
}  // namespace lq
