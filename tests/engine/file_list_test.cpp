#include "engine/file_list.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "tests/support/result_testing.h"

namespace lq {
namespace {

FileList Make(std::vector<std::string> names, int selected) {
  FileList list;
  for (auto& n : names) list.Append(n);
  list.Select(selected);
  return list;
}

std::vector<std::string> Names(const FileList& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(*list.Item(i));
  return out;
}

TEST(FileList, InsertAndRemoveKeepTheSelectionOnItsItem) {
  FileList list = Make({"a", "b", "c"}, 1);
  list.Insert("x", 0);
  EXPECT_EQ(list.Selected(), 2);
  list.Remove(0);
  EXPECT_EQ(list.Selected(), 1);
  list.Remove(1);
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_FALSE(list.Remove(5));
  list.Insert("end", 99);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "c", "end"}));
}

TEST(FileList, SelectRules) {
  FileList list = Make({"a", "b"}, 1);
  EXPECT_FALSE(list.Select(2));
  EXPECT_EQ(list.Selected(), 1);
  EXPECT_FALSE(list.Select(-1));
  EXPECT_EQ(list.Selected(), -1);
  std::string buf = "kept";
  EXPECT_FALSE(list.GetItem(7, buf));
  EXPECT_EQ(buf, "kept");
}

TEST(FileList, ItemsAreCutToTheirCapacity) {
  FileList list;
  list.Append(std::string(1200, 'x'));
  EXPECT_EQ(list.Item(0)->size(), 999u);
}

struct MoveCase {
  const char* what;
  int selected;
  Direction dir;
  std::vector<std::string> names;
  int selected_after;
};

TEST(MoveItem, Table) {
  const MoveCase cases[] = {
      {"up from the middle", 1, Direction::kUp, {"b", "a", "c"}, 0},
      {"down from the middle", 1, Direction::kDown, {"a", "c", "b"}, 2},
      {"up on the first", 0, Direction::kUp, {"a", "b", "c"}, 0},
      {"down on the last", 2, Direction::kDown, {"a", "b", "c"}, 2},
      {"no selection", -1, Direction::kDown, {"a", "b", "c"}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FileList list = Make({"a", "b", "c"}, c.selected);
    MoveItem(list, c.dir);
    EXPECT_EQ(Names(list), c.names);
    EXPECT_EQ(list.Selected(), c.selected_after);
  }
}

TEST(MoveItem, DataTravelsWithItsItem) {
  FileList list = Make({"a", "b", "c"}, 1);
  list.SetData(1, 42);
  MoveItem(list, Direction::kUp);
  EXPECT_EQ(list.Data(0), 42);
  EXPECT_EQ(list.Data(1), 0);
}

TEST(MoveItem, EmptyListChangesNothing) {
  FileList list;
  MoveItem(list, Direction::kUp);
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_EQ(UpdateCounter(list), "0/0");
}

struct DeleteCase {
  const char* what;
  std::vector<std::string> names;
  int selected;
  std::vector<std::string> after;
  const char* counter;
};

TEST(DeleteSelected, Table) {
  const DeleteCase cases[] = {
      {"middle", {"a", "b", "c"}, 1, {"a", "c"}, "2/2"},
      {"last selects the new last", {"a", "b", "c"}, 2, {"a", "b"}, "2/2"},
      {"only item", {"a"}, 0, {}, "0/0"},
      {"no selection removes nothing", {"a", "b"}, -1, {"a", "b"}, "1/2"},
      {"empty list", {}, -1, {}, "0/0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FileList list = Make(c.names, c.selected);
    DeleteSelected(list);
    EXPECT_EQ(Names(list), c.after);
    EXPECT_EQ(UpdateCounter(list), c.counter);
  }
}

TEST(UpdateCounter, SelectsTheFirstWhenNoneIs) {
  FileList list = Make({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"}, 2);
  EXPECT_EQ(UpdateCounter(list), "3/12");
  list.Select(-1);
  EXPECT_EQ(UpdateCounter(list), "1/12");
  EXPECT_EQ(list.Selected(), 0);
}

TEST(RequireFiles, NamesTheNoticeForAnEmptyList) {
  FileList list;
  auto failure = RequireFiles(list);
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().text,
            "Please drag some files from File Manager before using this command");
  EXPECT_EQ(failure.failure().caption, "Info");
  list.Append("a");
  EXPECT_OK(RequireFiles(list));
}

// A list written as letters, one item each: capitals are selected; focus is an index.
FileList Marked(const std::string& letters, int focus) {
  FileList list;
  for (char c : letters) list.Append(std::string(1, static_cast<char>(std::tolower(c))));
  list.Focus(focus);
  for (int i = 0; i < list.Count(); ++i) {
    if (std::isupper(static_cast<unsigned char>(letters[static_cast<std::size_t>(i)]))) {
      list.SetSelected({i, i + 1}, true);
    }
  }
  return list;
}

std::string Shown(const FileList& list) {
  std::string out;
  for (int i = 0; i < list.Count(); ++i) {
    const char c = (*list.Item(i))[0];
    out.push_back(list.IsSelected(i) ? static_cast<char>(std::toupper(c)) : c);
  }
  return out;
}

TEST(Selection, RangesMergeSplitAndStaySorted) {
  struct Case {
    const char* what;
    const char* before;
    IndexRange range;
    bool on;
    const char* after;
    std::vector<IndexRange> ranges;
  };
  const Case cases[] = {
      {"into nothing", "abcdef", {1, 3}, true, "aBCdef", {{1, 3}}},
      {"touching merges", "aBCdef", {3, 5}, true, "aBCDEf", {{1, 5}}},
      {"bridging two", "ABcdEF", {2, 4}, true, "ABCDEF", {{0, 6}}},
      {"apart stays apart", "Abcdef", {3, 4}, true, "AbcDef", {{0, 1}, {3, 4}}},
      {"before the first", "abcDEf", {0, 1}, true, "AbcDEf", {{0, 1}, {3, 5}}},
      {"off splits", "ABCDEF", {2, 4}, false, "ABcdEF", {{0, 2}, {4, 6}}},
      {"off at an end", "aBCDef", {3, 9}, false, "aBCdef", {{1, 3}}},
      {"clipped to the list", "abc", {-5, 99}, true, "ABC", {{0, 3}}},
      {"empty range", "aBc", {2, 2}, true, "aBc", {{1, 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FileList list = Marked(c.before, 0);
    list.SetSelected(c.range, c.on);
    EXPECT_EQ(Shown(list), c.after);
    EXPECT_EQ(list.SelectedRanges(), c.ranges);
  }
}

TEST(Selection, SelectKeepsOneItemFocusKeepsTheRest) {
  FileList list = Marked("aBCdE", 1);
  EXPECT_EQ(list.SelectedCount(), 3);
  EXPECT_TRUE(list.Focus(4));
  EXPECT_EQ(Shown(list), "aBCdE");
  EXPECT_EQ(list.Selected(), 4);
  EXPECT_FALSE(list.Focus(5));
  EXPECT_EQ(list.Selected(), 4);
  EXPECT_TRUE(list.Select(3));
  EXPECT_EQ(Shown(list), "abcDe");
  list.SelectAll();
  EXPECT_EQ(Shown(list), "ABCDE");
  EXPECT_FALSE(list.Select(-1));
  EXPECT_EQ(Shown(list), "abcde");
  EXPECT_EQ(list.Selected(), -1);
}

TEST(Selection, ActedOnIsTheSelectionElseTheFocus) {
  EXPECT_EQ(Marked("aBcD", 0).ActedOn(), (std::vector<IndexRange>{{1, 2}, {3, 4}}));
  EXPECT_EQ(Marked("abcd", 2).ActedOn(), (std::vector<IndexRange>{{2, 3}}));
  EXPECT_TRUE(Marked("abcd", -1).ActedOn().empty());
}

TEST(InsertRange, ItemsAfterMoveOnceAndTheSelectionStaysOnItsItems) {
  struct Case {
    const char* what;
    const char* before;
    int focus;
    int at;
    const char* after;  // inserted items are x, y
    int focus_after;
  };
  const Case cases[] = {
      {"at the top", "aBc", 2, 0, "xyaBc", 4},
      {"inside a selected stretch", "ABCd", 1, 1, "AxyBCd", 3},
      {"after everything", "Abc", 0, 3, "Abcxy", 0},
      {"past the end appends", "aB", 1, 99, "aBxy", 1},
      {"before the focus only", "abc", 0, 1, "axybc", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FileList list = Marked(c.before, c.focus);
    list.InsertRange({"x", "y"}, c.at);
    EXPECT_EQ(Shown(list), c.after);
    EXPECT_EQ(list.Selected(), c.focus_after);
  }
  FileList list;
  list.InsertRange({std::string(1200, 'x')}, 0);
  EXPECT_EQ(list.Item(0)->size(), 999u) << "cut to the capacity like Insert";
}

TEST(InsertAfterFocus, GoesAfterTheFocusAndSelectsTheLast) {
  FileList list = Marked("aBCd", 1);
  InsertAfterFocus(list, {"x", "y", "z"});
  EXPECT_EQ(Shown(list), "abxyZcd");
  EXPECT_EQ(list.Selected(), 4);
  FileList none = Marked("ab", -1);
  InsertAfterFocus(none, {"x", "y"});
  EXPECT_EQ(Shown(none), "xYab");
  EXPECT_EQ(none.Selected(), 1);
}

TEST(RemoveRanges, OnePassFocusFollowsItsItem) {
  struct Case {
    const char* what;
    const char* before;
    int focus;
    std::vector<IndexRange> gone;
    const char* after;
    int focus_after;
  };
  const Case cases[] = {
      {"two stretches", "abcdefgh", 7, {{1, 3}, {5, 6}}, "adegh", 4},
      {"the focus goes", "abcd", 1, {{1, 2}}, "acd", -1},
      {"the focus before", "abcd", 0, {{2, 4}}, "ab", 0},
      {"all of it", "abc", 2, {{0, 3}}, "", -1},
      {"clipped and merged", "abcdef", 5, {{-2, 1}, {1, 2}, {4, 40}}, "cd", -1},
      {"nothing", "abc", 1, {}, "abc", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FileList list = Marked(c.before, c.focus);
    list.RemoveRanges(c.gone);
    EXPECT_EQ(Shown(list), c.after);
    EXPECT_EQ(list.Selected(), c.focus_after);
  }
}

TEST(RemoveRanges, RemoveOfOneItemClosesTheSelectionUp) {
  FileList list = Marked("ABcDE", 0);
  list.Remove(2);
  EXPECT_EQ(Shown(list), "ABDE");
  EXPECT_EQ(list.SelectedRanges(), (std::vector<IndexRange>{{0, 4}}));
}

TEST(DeleteSelected, EverySelectedItemGoesAndTheNextTakesTheSelection) {
  struct Case {
    const char* what;
    const char* before;
    int focus;
    const char* after;
    const char* counter;
  };
  const Case cases[] = {
      {"scattered", "aBcDEf", 4, "aCf", "2/3"},
      {"to the end selects the new last", "abCD", 2, "aB", "2/2"},
      {"all", "ABC", 0, "", "0/0"},
      {"none selected: the focused one", "abc", 1, "aC", "2/2"},
      {"focus outside the selection", "aBcd", 3, "aCd", "2/3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FileList list = Marked(c.before, c.focus);
    DeleteSelected(list);
    EXPECT_EQ(Shown(list), c.after);
    EXPECT_EQ(UpdateCounter(list), c.counter);
  }
}

TEST(MoveItem, SelectionMovesAsOneEachStretchPastItsNeighbour) {
  struct Case {
    const char* what;
    const char* before;
    int focus;
    Direction dir;
    const char* after;
    int focus_after;
  };
  const Case cases[] = {
      {"two stretches up", "abCDeFg", 2, Direction::kUp, "aCDbFeg", 1},
      {"two stretches down", "abCDeFg", 5, Direction::kDown, "abeCDgF", 6},
      {"blocked at the top", "ABcD", 3, Direction::kUp, "ABcD", 3},
      {"blocked at the bottom", "aBcD", 1, Direction::kDown, "aBcD", 1},
      {"the focus beside is passed", "abCd", 1, Direction::kUp, "aCbd", 2},
      {"the focus below is passed", "aBcd", 2, Direction::kDown, "acBd", 1},
      {"none selected: the focused one", "abcd", 2, Direction::kUp, "aCbd", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FileList list = Marked(c.before, c.focus);
    MoveItem(list, c.dir);
    EXPECT_EQ(Shown(list), c.after);
    EXPECT_EQ(list.Selected(), c.focus_after);
  }
}

TEST(MoveItem, DataTravelsWithASelection) {
  FileList list = Marked("aBCd", 1);
  list.SetData(2, 7);
  list.SetData(3, 9);
  MoveItem(list, Direction::kDown);
  EXPECT_EQ(Shown(list), "adBC");
  EXPECT_EQ(list.Data(3), 7);
  EXPECT_EQ(list.Data(1), 9);
}

}  // namespace
}  // namespace lq
