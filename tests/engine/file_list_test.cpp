#include "engine/file_list.h"

#include <gtest/gtest.h>

#include <vector>

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
      {"up from the middle", 1, Direction::Up, {"b", "a", "c"}, 0},
      {"down from the middle", 1, Direction::Down, {"a", "c", "b"}, 2},
      {"up on the first", 0, Direction::Up, {"a", "b", "c"}, 0},
      {"down on the last", 2, Direction::Down, {"a", "b", "c"}, 2},
      {"no selection", -1, Direction::Down, {"a", "b", "c"}, 0},
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
  MoveItem(list, Direction::Up);
  EXPECT_EQ(list.Data(0), 42);
  EXPECT_EQ(list.Data(1), 0);
}

TEST(MoveItem, EmptyListChangesNothing) {
  FileList list;
  MoveItem(list, Direction::Up);
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
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->text, "Please drag some files from File Manager before using this command");
  EXPECT_EQ(failure->caption, "Info");
  list.Append("a");
  EXPECT_FALSE(RequireFiles(list));
}

}  // namespace
}  // namespace lq
