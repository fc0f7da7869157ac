#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/failure.h"
#include "engine/result.h"

namespace lq {

// Items begin to end - 1.
struct IndexRange {
  int begin = 0;
  int end = 0;
  bool operator==(const IndexRange&) const = default;
};

// The ordered, unsorted list of file names the output is made of. Duplicates are allowed;
// every item can carry one integer. One item has the focus: it is "the selected item" of the
// commands and variables that speak of one. Besides, any items may be selected, kept as
// sorted ranges, so that a selection of thousands among a million costs a few ranges.
class FileList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  // Copies item i into out; leaves out as it was when there is no item i.
  bool GetItem(int i, std::string& out) const;
  const std::string* Item(int i) const;

  // The focused item, or -1.
  int Selected() const { return selected_; }
  // Focuses item i and makes it the one selected item. -1 clears focus and selection and,
  // like any index without an item, fails.
  bool Select(int i);
  // Moves the focus to item i and leaves the selection as it is.
  bool Focus(int i);
  // Selects (on) or deselects the items of a range, clipped to the list.
  void SetSelected(IndexRange range, bool on);
  void SelectAll();
  void ClearSelection() { marks_.clear(); }
  bool IsSelected(int i) const;
  int SelectedCount() const;
  const std::vector<IndexRange>& SelectedRanges() const { return marks_; }
  // What Del and the moves act on: the selected items, or the focused one when none is.
  std::vector<IndexRange> ActedOn() const;

  void Append(std::string name);
  // Inserts so that the name gets index i (past the end: appended); later items move down.
  void Insert(std::string name, int i);
  // Inserts the names in order from index i (past the end: appended), in one move of the
  // items after them; focus and selection stay on their items.
  void InsertRange(std::vector<std::string> names, int i);
  bool Remove(int i);
  // Removes the items of the sorted, disjoint ranges in one pass; the focus follows its item
  // and is cleared when that goes; the selection is cleared.
  void RemoveRanges(const std::vector<IndexRange>& ranges);
  void Clear();
  void Reserve(std::size_t n) { items_.reserve(n); }

  int Data(int i) const;
  bool SetData(int i, int value);

  // Moves what ActedOn gives one place up or down, each range past the item beside it;
  // nothing moves when the first range starts at the top (up) or the last ends at the
  // bottom (down). Focus and selection travel with their items; false when nothing moved.
  bool MoveActedOn(bool up);

 private:
  struct Entry {
    std::string name;
    int data = 0;
  };
  bool Valid(int i) const { return i >= 0 && i < Count(); }
  // Room for n items from index i in the selection: ranges at or after i move down.
  void ShiftMarks(int i, int n);
  // Items i to i + n - 1 are gone: the selection loses them and the ranges after close up.
  void DropMarks(int i, int n);

  std::vector<Entry> items_;
  int selected_ = -1;
  std::vector<IndexRange> marks_;  // sorted, disjoint, never touching, never empty
};

enum class Direction { kUp, kDown };

// Success when the list has items; the "Info" notice otherwise.
Status RequireFiles(const FileList& list);

// Moves the selected items (or the focused one) one place; selects the first item when none
// is focused.
void MoveItem(FileList& list, Direction direction);

// Removes the selected items (or the focused one) and selects the item that took the place
// of the first of them, else the new last.
void DeleteSelected(FileList& list);

// Inserts names after the focused item (at the top when none is) and selects the last of
// them, as dropping them one after the other would.
void InsertAfterFocus(FileList& list, std::vector<std::string> names);

// Selects the first item when none is, then gives "selected/count" ("0/0" when empty).
std::string UpdateCounter(FileList& list);

}  // namespace lq
