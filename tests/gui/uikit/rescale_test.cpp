// The dialog base's rescale arithmetic and its widening, without a window.
#include "uikit/grafext/rescale.h"

#include <gtest/gtest.h>
#include <wx/defs.h>

#include "resources/ids.h"

namespace lq {
namespace {

TEST(WideningTest, FactorFromTheDialogUnits) {
  // 6 x 13 base units: 1000 units are 1500 x 1625 pixels.
  EXPECT_DOUBLE_EQ(WideningFactor({1500, 1625}), 1.21875);
  EXPECT_DOUBLE_EQ(WideningFactor({0, 1625}), 1.0);
  EXPECT_EQ(Widen({10, 20, 100, 30}, 1.21875), wxRect(12, 20, 121, 30));
}

TEST(FontFollowingTest, ScalesByTheLettersOfTheNewFontAgainstTheLaidOutOne) {
  const auto larger = FontFollowing({7000, 15000}, {8750, 18750});
  ASSERT_TRUE(larger);
  EXPECT_FLOAT_EQ(larger->x, 1.25f);
  EXPECT_FLOAT_EQ(larger->y, 1.25f);
  // The same font, or one within a percent, moves nothing; nor does an empty measure.
  EXPECT_FALSE(FontFollowing({7000, 15000}, {7000, 15000}));
  EXPECT_FALSE(FontFollowing({7000, 15000}, {7050, 15100}));
  // A smaller font keeps the layout; one wider but no taller grows only across.
  EXPECT_FALSE(FontFollowing({7000, 15000}, {6000, 13000}));
  const auto wider = FontFollowing({7000, 15000}, {8400, 14000});
  ASSERT_TRUE(wider);
  EXPECT_FLOAT_EQ(wider->x, 1.2f);
  EXPECT_FLOAT_EQ(wider->y, 1.0f);
  EXPECT_FALSE(FontFollowing({0, 15000}, {8750, 18750}));
  EXPECT_FALSE(FontFollowing({7000, 15000}, {8750, 0}));
}

TEST(FontFollowingTest, ScaledEdgesKeepNeighboursTouching) {
  const ScaleFactors s{1.3f, 1.25f};
  const wxRect left = ScaleRect({3, 5, 7, 9}, s);
  const wxRect right = ScaleRect({10, 5, 7, 9}, s);
  EXPECT_EQ(left.GetLeft() + left.GetWidth(), right.GetLeft());
  EXPECT_EQ(ScaleRect({0, 0, 100, 40}, s), wxRect(0, 0, 130, 50));
}

TEST(FontFollowingTest, TheDialogHoldsItsOutermostControlsWithAMargin) {
  // A control flush with the right edge gets the margin; one inside changes nothing.
  EXPECT_EQ(SizeHoldingAll({{237, 0, 29, 10}, {6, 5, 20, 20}}, {266, 226}, 3), wxSize(269, 226));
  EXPECT_EQ(SizeHoldingAll({{6, 5, 20, 20}}, {266, 226}, 3), wxSize(266, 226));
  EXPECT_EQ(SizeHoldingAll({{0, 220, 10, 10}}, {266, 226}, 3), wxSize(266, 233));
  EXPECT_EQ(SizeHoldingAll({}, {266, 226}, 3), wxSize(266, 226));
}

TEST(WideningTest, HighIdsAndTheStoreKeepTheirPlace) {
  EXPECT_TRUE(RescalesWithDialog(ids::kFileList));
  EXPECT_TRUE(RescalesWithDialog(999));
  EXPECT_FALSE(RescalesWithDialog(1000));
  EXPECT_FALSE(RescalesWithDialog(2001));
  EXPECT_TRUE(RescalesWithDialog(-1));  // static texts
  EXPECT_TRUE(RescalesWithDialog(wxID_OK));
  EXPECT_TRUE(RescalesWithDialog(wxID_CANCEL));
}

TEST(RescaleTest, ScaleFactors) {
  const ScaleFactors s = ScaleFor({800, 300}, {400, 200});
  EXPECT_FLOAT_EQ(s.x, 2.0f);
  EXPECT_FLOAT_EQ(s.y, 1.5f);
  const ScaleFactors zero_w = ScaleFor({800, 300}, {0, 200});
  EXPECT_FLOAT_EQ(zero_w.x, 1.0f);
  EXPECT_FLOAT_EQ(zero_w.y, 1.0f);
  const ScaleFactors zero_h = ScaleFor({800, 300}, {400, 0});
  EXPECT_FLOAT_EQ(zero_h.x, 1.0f);
  EXPECT_FLOAT_EQ(zero_h.y, 1.0f);
}

TEST(RescaleTest, FontHeightIsTruncated) {
  EXPECT_EQ(ScaledFontHeight(13, 1.5f), 19);
  EXPECT_EQ(ScaledFontHeight(-13, 1.5f), -19);
  EXPECT_EQ(ScaledFontHeight(13, 0.5f), 6);
  EXPECT_EQ(ScaledFontHeight(13, 1.0f), 13);
}

TEST(RescaleTest, PlainControlScalesAndTruncates) {
  StoredControl button;
  button.rect = {10, 20, 33, 15};
  const RescaledControl r = RescaleStored(button, {1.5f, 2.0f}, 19, false);
  EXPECT_EQ(r.rect, wxRect(15, 40, 49, 30));
  EXPECT_FALSE(r.item_height);
  EXPECT_FALSE(r.field_height);
}

TEST(RescaleTest, ListBoxItemHeightScaledAndRaisedToTheMinimum) {
  StoredControl list;
  list.kind = StoredKind::kListBox;
  list.rect = {0, 0, 100, 100};
  list.item_height = 16;
  EXPECT_EQ(RescaleStored(list, {2, 2}, 10, false).item_height, 32);
  EXPECT_EQ(RescaleStored(list, {2, 2}, 40, false).item_height, 40);
  EXPECT_EQ(RescaleStored(list, {1, 0.5f}, 6, false).item_height, 8);
}

TEST(RescaleTest, ComboBoxDroppedOrNot) {
  StoredControl combo;
  combo.kind = StoredKind::kComboBox;
  combo.rect = {10, 10, 100, 120};  // with its dropped-down list
  combo.field_height = 14;
  combo.item_height = 13;
  // Not dropped, growing: the stored height stays; the list items scale.
  RescaledControl up = RescaleStored(combo, {2, 2}, 20, false);
  EXPECT_EQ(up.rect, wxRect(20, 20, 200, 120));
  EXPECT_FALSE(up.field_height);
  EXPECT_EQ(up.item_height, 26);
  // Not dropped, shrinking: the height scales.
  RescaledControl down = RescaleStored(combo, {0.5f, 0.5f}, 5, false);
  EXPECT_EQ(down.rect, wxRect(5, 5, 50, 60));
  EXPECT_EQ(down.item_height, 6);
  // Dropped: the height and the selection field scale.
  RescaledControl dropped = RescaleStored(combo, {2, 2}, 20, true);
  EXPECT_EQ(dropped.rect.GetHeight(), 240);
  EXPECT_EQ(dropped.field_height, 28);
  EXPECT_EQ(dropped.item_height, 26);
  // The minimum applies to both.
  RescaledControl small = RescaleStored(combo, {1, 1}, 30, true);
  EXPECT_EQ(small.field_height, 30);
  EXPECT_EQ(small.item_height, 30);
}

TEST(RescaleTest, StoreLineOrder) {
  StoredControl c;
  c.handle = reinterpret_cast<const void*>(0x1234);
  c.rect = {1, 2, 3, 4};
  c.field_height = 5;
  c.item_height = 6;
  EXPECT_EQ(StoreLine(c), "4660,1,2,3,4,5,6");
}

// Two arrangements of two controls: the resource's, 400 wide, and a narrow one, 200 wide.
Arrangement Wide() { return {{400, 300}, {{0, 0, 200, 20}, {200, 0, 200, 20}}, {0.5f, 0.8f}}; }
Arrangement Narrow() { return {{200, 400}, {{0, 0, 200, 20}, {0, 40, 200, 20}}, {0.5f, 0.8f}}; }

TEST(ArrangementTest, TheFloorIsTheLargestNeedOverRoomWithAPixelToSpare) {
  // Widths: 99 + 1 over 200, and 149 + 1 over 200; a need of 0 counts for nothing.
  const ScaleFactors floor =
      FloorOf({{0, 0, 200, 20}, {0, 0, 200, 20}, {0, 0, 50, 10}}, {{99, 15}, {149, 0}, {0, 0}});
  EXPECT_FLOAT_EQ(floor.x, 0.75f);
  EXPECT_FLOAT_EQ(floor.y, 0.8f);
  // A height the arrangement already lacks holds it at its own size, never above.
  EXPECT_FLOAT_EQ(FloorOf({{0, 0, 10, 10}}, {{0, 30}}).y, 1.0f);
  EXPECT_FLOAT_EQ(FloorOf({}, {}).x, 0.0f);
}

TEST(ArrangementTest, EachWidthGetsTheFirstArrangementItHolds) {
  const std::vector<Arrangement> both = {Wide(), Narrow()};
  EXPECT_EQ(SmallestClient(Wide()), wxSize(200, 240));
  const struct {
    int width;
    std::size_t expected;
  } cases[] = {{800, 0}, {400, 0}, {200, 0}, {199, 1}, {100, 1}, {20, 1}};
  for (const auto& c : cases) EXPECT_EQ(ArrangementFor(both, c.width), c.expected) << c.width;
  // The narrowest one when none holds.
  Arrangement narrower = Narrow();
  narrower.floor.x = 0.25f;
  EXPECT_EQ(ArrangementFor({Wide(), narrower}, 10), 1u);
  EXPECT_EQ(ArrangementFor({Wide()}, 10), 0u);
}

TEST(ArrangementTest, TheScaleNeverGoesBelowTheFloorAndTheFontFollowsTheRoomAcross) {
  const ScaleFactors big = FittedScale(Wide(), {800, 600});
  EXPECT_FLOAT_EQ(big.x, 2.0f);
  EXPECT_FLOAT_EQ(big.y, 2.0f);
  EXPECT_FLOAT_EQ(FontFactor(Wide(), big), 2.0f);
  const ScaleFactors small = FittedScale(Wide(), {100, 60});
  EXPECT_FLOAT_EQ(small.x, 0.5f);
  EXPECT_FLOAT_EQ(small.y, 0.8f);
  EXPECT_FLOAT_EQ(FontFactor(Wide(), small), 0.8f);
  // Tall and narrow: the font grows only as far as the labels still fit across.
  const ScaleFactors tall = FittedScale(Wide(), {400, 900});
  EXPECT_FLOAT_EQ(tall.y, 3.0f);
  EXPECT_FLOAT_EQ(FontFactor(Wide(), tall), 2.0f);
  // Labels the arrangement cuts already: the font grows with the width, as the dialog does.
  Arrangement tight = Wide();
  tight.floor.x = 1.2f;
  EXPECT_FLOAT_EQ(FontFactor(tight, FittedScale(tight, {800, 600})), 2.0f);
  EXPECT_FLOAT_EQ(FontFactor(tight, FittedScale(tight, {800, 1200})), 2.0f);
}

class TrackerTest : public testing::Test {
 protected:
  void SetUp() override { RescaleTracker::ForgetLastSize(); }
};

TEST_F(TrackerTest, FirstSizeMeasuresTheFrame) {
  RescaleTracker t({400, 300});
  // Outer 410 x 330: a frame of 10 x 30; the client is the initial one.
  EXPECT_EQ(t.OnSizeChanged({410, 330}, true, false), wxSize(400, 300));
  EXPECT_EQ(t.frame(), wxSize(10, 30));
  EXPECT_FALSE(t.first_size());
  EXPECT_EQ(t.OnSizeChanged({810, 630}, true, false), wxSize(800, 600));
}

TEST_F(TrackerTest, AFrameLearnedLaterCountsFromThen) {
  RescaleTracker t({400, 300});
  t.FrameIs({2, 25});  // before the first size: the first size measures it
  EXPECT_EQ(t.frame(), wxSize(0, 0));
  // Measured on a guess of no frame; the window manager's frame of 2 x 25 comes as it maps,
  // the outer size kept: the client is what is left inside, not the first one again.
  EXPECT_EQ(t.OnSizeChanged({400, 300}, true, false), wxSize(400, 300));
  t.FrameIs({2, 25});
  EXPECT_EQ(t.frame(), wxSize(2, 25));
  EXPECT_EQ(t.OnSizeChanged({400, 300}, true, false), wxSize(398, 275));
  EXPECT_EQ(t.OnSizeChanged({502, 325}, true, false), wxSize(500, 300));
}

TEST_F(TrackerTest, SameSizeTwiceRescalesOnce) {
  RescaleTracker t({400, 300});
  t.OnSizeChanged({400, 300}, true, false);
  EXPECT_TRUE(t.OnSizeChanged({500, 300}, true, false));
  EXPECT_FALSE(t.OnSizeChanged({500, 300}, true, false));
  EXPECT_TRUE(t.OnSizeChanged({400, 300}, true, false));
}

TEST_F(TrackerTest, TheLastSizeIsSharedByEveryDialog) {
  RescaleTracker a({400, 300});
  RescaleTracker b({200, 100});
  a.OnSizeChanged({400, 300}, true, false);
  b.OnSizeChanged({200, 100}, true, false);
  EXPECT_TRUE(a.OnSizeChanged({500, 300}, true, false));
  EXPECT_FALSE(b.OnSizeChanged({500, 300}, true, false));
}

TEST_F(TrackerTest, CtrlHeldOrHiddenMovesNothing) {
  RescaleTracker t({400, 300});
  EXPECT_FALSE(t.OnSizeChanged({410, 330}, false, false));
  EXPECT_TRUE(t.first_size());  // not measured while hidden
  EXPECT_FALSE(t.OnSizeChanged({410, 330}, true, true));
  EXPECT_TRUE(t.first_size());
  t.OnSizeChanged({410, 330}, true, false);
  EXPECT_FALSE(t.OnSizeChanged({820, 660}, true, true));
  EXPECT_EQ(t.OnSizeChanged({820, 660}, true, false), wxSize(810, 630));
}

TEST_F(TrackerTest, ZeroInitialSizeKeepsScaleOne) {
  RescaleTracker t({0, 0});
  t.OnSizeChanged({0, 0}, true, false);
  const auto client = t.OnSizeChanged({300, 200}, true, false);
  ASSERT_TRUE(client);
  const ScaleFactors s = ScaleFor(*client, t.initial_client());
  EXPECT_FLOAT_EQ(s.x, 1.0f);
  EXPECT_FLOAT_EQ(s.y, 1.0f);
}

}  // namespace
}  // namespace lq
