#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/failure.h"
#include "engine/file_list.h"
#include "engine/path_style.h"
#include "engine/result.h"

namespace lq {

// The lines of a text, LF or CR LF, each cut at a NUL; a final line break adds nothing.
std::vector<std::string> SplitLines(std::string_view text);

// The names a list file's text holds, as Open list reads them.
struct ListText {
  std::vector<std::string> names;
  std::vector<std::size_t> left_out;  // the numbers of the lines left out, counted from 1
};

// One name per line, LF or CR LF, each cut at a NUL; a final line break adds nothing; an
// empty line is an empty name; a line longer than an item is left out whole, never cut.
ListText SplitListText(std::string_view text);

// The most names the window's list takes from list files.
inline constexpr std::size_t kListItemsMax = 10'000'000;

// Told how far reading has come, in bytes of size; returns false to stop, keeping the names
// read so far.
using ListProgress = std::function<bool(std::uint64_t done, std::uint64_t size)>;

// What Open list did beside adding names.
struct OpenListReport {
  bool stopped = false;                     // progress stopped the reading early
  std::size_t left_out = 0;                 // lines left out, too long to be a name
  std::vector<std::string> first_left_out;  // the first kLeftOutShown, as "LINE: reason"
};
inline constexpr std::size_t kLeftOutShown = 5;

// Appends the names of a list file, a regular file only; a line longer than an item is left
// out and noted in *report, the others are added. The list is unchanged when the file
// cannot be read, has a line longer than kListLineMax or would pass kListItemsMax names
// (max_items).
Status OpenList(FileList& list, const std::string& path, const ListProgress& progress = {},
                OpenListReport* report = nullptr, std::size_t max_items = kListItemsMax);

inline constexpr const char* kLeftOutCaption = "Lines left out";

// The notice naming the list file, how many lines Open list left out and the first of them;
// success (nothing to tell) when it left none out.
Status LeftOutNotice(const std::string& path, const OpenListReport& report);

inline constexpr const char* kCannotSaveListCaption = "Cannot save list";
inline constexpr const char* kLineBreakInNameReason =
    "the name holds a line break, which a list file cannot hold";

// Writes the names in list order separated by line breaks, none after the last. A list
// with a name holding a line break (LF or CR) is refused, naming it, and nothing is written.
Status SaveList(const FileList& list, const std::string& path, Eol eol);

}  // namespace lq
