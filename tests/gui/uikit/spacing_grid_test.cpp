#include "uikit/grafext/spacing_grid.h"

#include <gtest/gtest.h>

#include <vector>

namespace lq {
namespace {

bool OnStep(int v) { return v % 6 == 0; }

// Two columns whose rows interleave, as the main dialog's group boxes do: a group holding
// four radio buttons 2 pixels apart, beside a group of a button and a field per row.
const std::vector<wxRect> kDialog = {
    {11, 0, 552, 145},     // 0: list
    {14, 155, 604, 68},    // 1: header, aligned with the list's left within 3 pixels
    {14, 302, 136, 125},   // 2: group "Path"
    {26, 323, 117, 21},    // 3: radio
    {26, 346, 117, 21},    // 4: radio, 2 pixels below
    {26, 370, 117, 21},    // 5: radio
    {162, 302, 456, 128},  // 6: group "Settings"
    {172, 323, 83, 21},    // 7: button
    {262, 321, 337, 26},   // 8: field beside it
    {172, 349, 86, 21},    // 9: button, 3 pixels wider
    {262, 349, 337, 21},   // 10: field
};

TEST(SpacingGrid, EveryEdgeOnTheGridWithTheMarginOutside) {
  const std::vector<wxRect> placed = OnSpacingGrid(kDialog);
  ASSERT_EQ(placed.size(), kDialog.size());
  int left = 1000;
  int top = 1000;
  for (const wxRect& r : placed) {
    EXPECT_TRUE(OnStep(r.GetLeft()) && OnStep(r.GetTop())) << r.x << ',' << r.y;
    EXPECT_TRUE(OnStep(r.GetWidth()) && OnStep(r.GetHeight())) << r.width << 'x' << r.height;
    left = std::min(left, r.GetLeft());
    top = std::min(top, r.GetTop());
  }
  EXPECT_EQ(left, 12);
  EXPECT_EQ(top, 12);
  const wxSize client = GridClient(placed);
  for (const wxRect& r : placed) {
    EXPECT_LE(r.GetRight() + 1 + 12, client.GetWidth());
    EXPECT_LE(r.GetBottom() + 1 + 12, client.GetHeight());
  }
}

TEST(SpacingGrid, KeepsTheArrangementAndTheSizes) {
  const std::vector<wxRect> placed = OnSpacingGrid(kDialog);
  for (std::size_t i = 0; i < kDialog.size(); ++i) {
    SCOPED_TRACE(i);
    // Never smaller, and not much larger; a group grows with the gaps between what it holds.
    bool holds = false;
    for (const wxRect& r : kDialog) holds = holds || (r != kDialog[i] && kDialog[i].Contains(r));
    EXPECT_GE(placed[i].GetWidth(), kDialog[i].GetWidth());
    EXPECT_GE(placed[i].GetHeight(), kDialog[i].GetHeight());
    EXPECT_LE(placed[i].GetWidth(),
              holds ? kDialog[i].GetWidth() * 5 / 4 : kDialog[i].GetWidth() + 18);
    EXPECT_LE(placed[i].GetHeight(),
              holds ? kDialog[i].GetHeight() * 5 / 4 : kDialog[i].GetHeight() + 12);
    for (std::size_t j = 0; j < kDialog.size(); ++j) {
      if (i == j) continue;
      // What held what still does; what lay apart still does, with a step or more between.
      if (kDialog[i].Contains(kDialog[j])) {
        EXPECT_TRUE(placed[i].Contains(placed[j])) << j;
        EXPECT_GE(placed[j].GetLeft() - placed[i].GetLeft(), 6) << j;
      } else if (!kDialog[j].Contains(kDialog[i]) && !kDialog[i].Intersects(kDialog[j])) {
        EXPECT_FALSE(placed[i].Intersects(placed[j])) << j;
      }
      if (kDialog[i].GetRight() < kDialog[j].GetLeft() && !placed[i].Intersects(placed[j]) &&
          kDialog[i].GetTop() < kDialog[j].GetBottom() &&
          kDialog[j].GetTop() < kDialog[i].GetBottom()) {
        const int gap = placed[j].GetLeft() - placed[i].GetRight() - 1;
        EXPECT_GE(gap, 6) << i << " before " << j;
        EXPECT_TRUE(OnStep(gap)) << gap;
      }
      if (kDialog[i].GetBottom() < kDialog[j].GetTop() &&
          kDialog[i].GetLeft() < kDialog[j].GetRight() &&
          kDialog[j].GetLeft() < kDialog[i].GetRight() && !kDialog[i].Contains(kDialog[j])) {
        const int gap = placed[j].GetTop() - placed[i].GetBottom() - 1;
        EXPECT_GE(gap, 6) << i << " above " << j;
        EXPECT_TRUE(OnStep(gap)) << gap;
      }
    }
  }
}

TEST(SpacingGrid, WhatLinedUpStillDoes) {
  const std::vector<wxRect> placed = OnSpacingGrid(kDialog);
  // Lefts 11 and 14, the fields' lefts, the two buttons' rights 255 and 258, the radios.
  EXPECT_EQ(placed[0].GetLeft(), placed[1].GetLeft());
  EXPECT_EQ(placed[1].GetLeft(), placed[2].GetLeft());
  EXPECT_EQ(placed[8].GetLeft(), placed[10].GetLeft());
  EXPECT_EQ(placed[7].GetRight(), placed[9].GetRight());
  EXPECT_EQ(placed[3].GetLeft(), placed[5].GetLeft());
  // Rows that began together still do.
  EXPECT_EQ(placed[9].GetTop(), placed[10].GetTop());
}

TEST(SpacingGrid, RowsOfTwoGroupsSideBySideKeepTheirOwnSpacing) {
  const std::vector<wxRect> placed = OnSpacingGrid(kDialog);
  // The first radio button's bottom lay 3 pixels above the first field's, in another group:
  // the radio buttons stay one size, one gap apart.
  EXPECT_EQ(placed[3].GetHeight(), placed[4].GetHeight());
  EXPECT_EQ(placed[4].GetTop() - placed[3].GetBottom(), placed[5].GetTop() - placed[4].GetBottom());
}

TEST(SpacingGrid, OnTheGridAlreadyStaysAsItIs) {
  const std::vector<wxRect> once = OnSpacingGrid(kDialog);
  EXPECT_EQ(OnSpacingGrid(once), once);
}

TEST(SpacingGrid, AFieldMayGiveUpAFewPixelsAcrossALabelledControlNever) {
  const std::vector<wxRect> rects = {{0, 0, 69, 21}, {100, 40, 69, 21}};
  const std::vector<wxRect> placed = OnSpacingGrid(rects, {}, {true, false});
  EXPECT_EQ(placed[0].GetWidth(), 66);
  EXPECT_EQ(placed[1].GetWidth(), 72);
  // Down, a field keeps its whole height.
  EXPECT_EQ(placed[0].GetHeight(), 24);
}

TEST(SpacingGrid, TheMarginIsTheGrids) {
  const std::vector<wxRect> placed = OnSpacingGrid({{3, 1, 30, 30}}, {.margin = 6});
  EXPECT_EQ(placed[0].GetPosition(), wxPoint(6, 6));
  EXPECT_EQ(GridClient(placed, {.margin = 6}), wxSize(6 + 30 + 6, 6 + 30 + 6));
}

TEST(SpacingGrid, NothingToPlace) {
  EXPECT_TRUE(OnSpacingGrid({}).empty());
  EXPECT_EQ(GridClient({}), wxSize(12, 12));
  // A control of no width keeps none.
  const std::vector<wxRect> placed = OnSpacingGrid({{5, 5, 0, 10}});
  EXPECT_EQ(placed[0].GetWidth(), 0);
}

}  // namespace
}  // namespace lq
