#include "engine/file_list.h"

#include <algorithm>
#include <iterator>

#include "engine/capacities.h"
#include "engine/text_helpers.h"

namespace lq {
namespace {

// The first range that ends after i (so holds i or comes after it).
std::vector<IndexRange>::iterator FirstEndingAfter(std::vector<IndexRange>& ranges, int i) {
  return std::upper_bound(ranges.begin(), ranges.end(), i,
                          [](int index, const IndexRange& r) { return index < r.end; });
}

// Clipped to [0, count), empty ones dropped, overlapping or touching ones merged.
std::vector<IndexRange> Tidy(const std::vector<IndexRange>& ranges, int count) {
  std::vector<IndexRange> out;
  for (IndexRange r : ranges) {
    r.begin = std::max(r.begin, 0);
    r.end = std::min(r.end, count);
    if (r.begin >= r.end) continue;
    if (!out.empty() && r.begin <= out.back().end) {
      out.back().end = std::max(out.back().end, r.end);
    } else {
      out.push_back(r);
    }
  }
  return out;
}

}  // namespace

bool FileList::GetItem(int i, std::string& out) const {
  if (!Valid(i)) return false;
  out = items_[static_cast<std::size_t>(i)].name;
  return true;
}

const std::string* FileList::Item(int i) const {
  return Valid(i) ? &items_[static_cast<std::size_t>(i)].name : nullptr;
}

bool FileList::Select(int i) {
  if (i == -1) {
    selected_ = -1;
    marks_.clear();
  }
  if (!Valid(i)) return false;
  selected_ = i;
  marks_.assign(1, IndexRange{i, i + 1});
  return true;
}

bool FileList::Focus(int i) {
  if (!Valid(i)) return false;
  selected_ = i;
  return true;
}

void FileList::SetSelected(IndexRange range, bool on) {
  range.begin = std::max(range.begin, 0);
  range.end = std::min(range.end, Count());
  if (range.begin >= range.end) return;
  std::vector<IndexRange> out;
  out.reserve(marks_.size() + 1);
  if (on) {
    bool placed = false;
    for (const IndexRange& r : marks_) {
      if (r.end < range.begin) {
        out.push_back(r);
      } else if (r.begin > range.end) {
        if (!placed) out.push_back(range);
        placed = true;
        out.push_back(r);
      } else {  // overlapping or touching: one range
        range.begin = std::min(range.begin, r.begin);
        range.end = std::max(range.end, r.end);
      }
    }
    if (!placed) out.push_back(range);
  } else {
    for (const IndexRange& r : marks_) {
      if (r.end <= range.begin || r.begin >= range.end) {
        out.push_back(r);
        continue;
      }
      if (r.begin < range.begin) out.push_back({r.begin, range.begin});
      if (r.end > range.end) out.push_back({range.end, r.end});
    }
  }
  marks_ = std::move(out);
}

void FileList::SelectAll() {
  marks_.clear();
  if (!Empty()) marks_.push_back({0, Count()});
}

bool FileList::IsSelected(int i) const {
  auto it = std::upper_bound(marks_.begin(), marks_.end(), i,
                             [](int index, const IndexRange& r) { return index < r.end; });
  return it != marks_.end() && it->begin <= i;
}

int FileList::SelectedCount() const {
  int n = 0;
  for (const IndexRange& r : marks_) n += r.end - r.begin;
  return n;
}

std::vector<IndexRange> FileList::ActedOn() const {
  if (!marks_.empty()) return marks_;
  if (Valid(selected_)) return {{selected_, selected_ + 1}};
  return {};
}

void FileList::ShiftMarks(int i, int n) {
  auto it = FirstEndingAfter(marks_, i);
  if (it == marks_.end()) return;
  if (it->begin < i) {  // the new items split this range: they come in unselected
    const IndexRange tail{i, it->end};
    it->end = i;
    it = marks_.insert(it + 1, tail);
  }
  for (; it != marks_.end(); ++it) {
    it->begin += n;
    it->end += n;
  }
}

void FileList::DropMarks(int i, int n) {
  SetSelected({i, i + n}, false);
  auto it = FirstEndingAfter(marks_, i);
  for (auto r = it; r != marks_.end(); ++r) {
    r->begin -= n;
    r->end -= n;
  }
  // A range that ended at i now touches the one that began at i + n.
  if (it != marks_.begin() && it != marks_.end() && (it - 1)->end == it->begin) {
    (it - 1)->end = it->end;
    marks_.erase(it);
  }
}

void FileList::Append(std::string name) { Insert(std::move(name), Count()); }

void FileList::Insert(std::string name, int i) {
  CutUtf8(name, kNameMax);
  if (i < 0 || i > Count()) i = Count();
  items_.insert(items_.begin() + i, Entry{std::move(name), 0});
  if (selected_ >= i) ++selected_;
  ShiftMarks(i, 1);
}

void FileList::InsertRange(std::vector<std::string> names, int i) {
  if (names.empty()) return;
  if (i < 0 || i > Count()) i = Count();
  std::vector<Entry> entries;
  entries.reserve(names.size());
  for (std::string& name : names) {
    CutUtf8(name, kNameMax);
    entries.push_back(Entry{std::move(name), 0});
  }
  const int n = static_cast<int>(entries.size());
  items_.insert(items_.begin() + i, std::make_move_iterator(entries.begin()),
                std::make_move_iterator(entries.end()));
  if (selected_ >= i) selected_ += n;
  ShiftMarks(i, n);
}

bool FileList::Remove(int i) {
  if (!Valid(i)) return false;
  items_.erase(items_.begin() + i);
  if (selected_ == i) {
    selected_ = -1;
  } else if (selected_ > i) {
    --selected_;
  }
  DropMarks(i, 1);
  return true;
}

void FileList::RemoveRanges(const std::vector<IndexRange>& ranges) {
  const std::vector<IndexRange> gone = Tidy(ranges, Count());
  if (gone.empty()) return;
  // One pass: each stretch kept between two ranges moves up once.
  auto write = items_.begin() + gone.front().begin;
  int removed_before_focus = 0;
  bool focus_gone = false;
  for (std::size_t k = 0; k < gone.size(); ++k) {
    const int keep_end = k + 1 < gone.size() ? gone[k + 1].begin : Count();
    write = std::move(items_.begin() + gone[k].end, items_.begin() + keep_end, write);
    if (selected_ >= gone[k].end) {
      removed_before_focus += gone[k].end - gone[k].begin;
    } else if (selected_ >= gone[k].begin) {
      focus_gone = true;
    }
  }
  items_.erase(write, items_.end());
  selected_ = focus_gone ? -1 : selected_ - removed_before_focus;
  marks_.clear();
}

void FileList::Clear() {
  items_.clear();
  selected_ = -1;
  marks_.clear();
}

int FileList::Data(int i) const { return Valid(i) ? items_[static_cast<std::size_t>(i)].data : 0; }

bool FileList::SetData(int i, int value) {
  if (!Valid(i)) return false;
  items_[static_cast<std::size_t>(i)].data = value;
  return true;
}

bool FileList::MoveActedOn(bool up) {
  const std::vector<IndexRange> moved = ActedOn();
  if (moved.empty()) return false;
  if (up ? moved.front().begin == 0 : moved.back().end == Count()) return false;
  const bool marks_move = !marks_.empty();
  auto at = [this](int i) { return items_.begin() + i; };
  int focus = selected_;
  bool focus_placed = false;
  auto follow = [&](int from, int to) {
    if (!focus_placed && focus == from) {
      focus = to;
      focus_placed = true;
    }
  };
  // Each range changes places with the item before (up) or after (down) it.
  for (const IndexRange& r : moved) {
    if (up) {
      std::rotate(at(r.begin - 1), at(r.begin), at(r.end));
      if (focus >= r.begin && focus < r.end) follow(focus, focus - 1);
      follow(r.begin - 1, r.end - 1);
    } else {
      std::rotate(at(r.begin), at(r.end), at(r.end + 1));
      if (focus >= r.begin && focus < r.end) follow(focus, focus + 1);
      follow(r.end, r.begin);
    }
  }
  selected_ = focus;
  if (marks_move) {
    for (IndexRange& r : marks_) {
      r.begin += up ? -1 : 1;
      r.end += up ? -1 : 1;
    }
  } else {
    Select(focus);
  }
  return true;
}

Status RequireFiles(const FileList& list) {
  if (!list.Empty()) return {};
  return Failure{kRequireFilesText, kRequireFilesCaption, {}};
}

void MoveItem(FileList& list, Direction direction) {
  if (list.Selected() < 0) {
    list.Select(0);
    return;
  }
  list.MoveActedOn(direction == Direction::kUp);
}

void DeleteSelected(FileList& list) {
  const std::vector<IndexRange> gone = list.ActedOn();
  const int s = gone.empty() ? -1 : gone.front().begin;
  list.RemoveRanges(gone);
  if (!list.Select(s) && !list.Select(s - 1)) list.Select(0);
}

void InsertAfterFocus(FileList& list, std::vector<std::string> names) {
  if (names.empty()) return;
  const int at = list.Selected() + 1;
  const int n = static_cast<int>(names.size());
  list.InsertRange(std::move(names), at);
  list.Select(std::min(at, list.Count()) + n - 1);
}

std::string UpdateCounter(FileList& list) {
  if (list.Selected() < 0) list.Select(0);
  return IntToText(list.Selected() + 1) + "/" + IntToText(list.Count());
}

}  // namespace lq
