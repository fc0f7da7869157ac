#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/failure.h"

namespace lq {

// The ordered, unsorted list of file names the output is made of, with at most one
// selected item. Duplicates are allowed; every item can carry one integer.
class FileList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  // Copies item i into out; leaves out as it was when there is no item i.
  bool GetItem(int i, std::string& out) const;
  const std::string* Item(int i) const;

  int Selected() const { return selected_; }
  // Selects item i. -1 clears the selection and, like any index without an item, fails.
  bool Select(int i);

  void Append(std::string name);
  // Inserts so that the name gets index i (past the end: appended); later items move down.
  void Insert(std::string name, int i);
  bool Remove(int i);
  void Clear();
  void Reserve(std::size_t n) { items_.reserve(n); }

  int Data(int i) const;
  bool SetData(int i, int value);

 private:
  struct Entry {
    std::string name;
    int data = 0;
  };
  bool Valid(int i) const { return i >= 0 && i < Count(); }

  std::vector<Entry> items_;
  int selected_ = -1;
};

enum class Direction { Up, Down };

// Nothing to report when the list has items; the "Info" notice otherwise.
std::optional<Failure> RequireFiles(const FileList& list);

// Moves the selected item one place; selects the first item when none is selected.
void MoveItem(FileList& list, Direction direction);

// Removes the selected item and selects its neighbour.
void DeleteSelected(FileList& list);

// Selects the first item when none is, then gives "selected/count" ("0/0" when empty).
std::string UpdateCounter(FileList& list);

}  // namespace lq
