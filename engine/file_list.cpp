#include "engine/file_list.h"

#include "engine/capacities.h"
#include "engine/text_helpers.h"

namespace lq {

bool FileList::GetItem(int i, std::string& out) const {
  if (!Valid(i)) return false;
  out = items_[static_cast<std::size_t>(i)].name;
  return true;
}

const std::string* FileList::Item(int i) const {
  return Valid(i) ? &items_[static_cast<std::size_t>(i)].name : nullptr;
}

bool FileList::Select(int i) {
  if (i == -1) selected_ = -1;
  if (!Valid(i)) return false;
  selected_ = i;
  return true;
}

void FileList::Append(std::string name) { Insert(std::move(name), Count()); }

void FileList::Insert(std::string name, int i) {
  CutUtf8(name, kNameMax);
  if (i < 0 || i > Count()) i = Count();
  items_.insert(items_.begin() + i, Entry{std::move(name), 0});
  if (selected_ >= i) ++selected_;
}

bool FileList::Remove(int i) {
  if (!Valid(i)) return false;
  items_.erase(items_.begin() + i);
  if (selected_ == i) {
    selected_ = -1;
  } else if (selected_ > i) {
    --selected_;
  }
  return true;
}

void FileList::Clear() {
  items_.clear();
  selected_ = -1;
}

int FileList::Data(int i) const { return Valid(i) ? items_[static_cast<std::size_t>(i)].data : 0; }

bool FileList::SetData(int i, int value) {
  if (!Valid(i)) return false;
  items_[static_cast<std::size_t>(i)].data = value;
  return true;
}

std::optional<Failure> RequireFiles(const FileList& list) {
  if (!list.Empty()) return std::nullopt;
  return Failure{kRequireFilesText, kRequireFilesCaption, {}};
}

void MoveItem(FileList& list, Direction direction) {
  const int s = list.Selected();
  if (s < 0) {
    list.Select(0);
    return;
  }
  if ((direction == Direction::Up && s == 0) ||
      (direction == Direction::Down && s == list.Count() - 1)) {
    return;
  }
  std::string name = *list.Item(s);
  const int data = list.Data(s);
  list.Remove(s);
  const int d = direction == Direction::Up ? s - 1 : s + 1;
  list.Insert(std::move(name), d);
  if (data != 0) list.SetData(d, data);
  list.Select(d);
}

void DeleteSelected(FileList& list) {
  const int s = list.Selected();
  list.Remove(s);
  if (!list.Select(s) && !list.Select(s - 1)) list.Select(0);
}

std::string UpdateCounter(FileList& list) {
  if (list.Selected() < 0) list.Select(0);
  return IntToText(list.Selected() + 1) + "/" + IntToText(list.Count());
}

}  // namespace lq
