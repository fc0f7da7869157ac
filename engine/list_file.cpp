#include "engine/list_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "engine/capacities.h"
#include "engine/list_reader.h"
#include "engine/path_text.h"
#include "engine/text_file.h"
#include "engine/text_helpers.h"

namespace lq {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  auto add = [&lines](std::string_view line) { lines.emplace_back(line); };
  LineSplitter splitter;
  splitter.Feed(text, add);
  splitter.Finish(add);
  return lines;
}

std::vector<std::string> SplitListText(std::string_view text) {
  std::vector<std::string> names;
  auto add = [&names](std::string_view line) {
    ListLineNames(line, [&names](std::string_view name) { names.emplace_back(name); });
  };
  LineSplitter splitter;
  splitter.Feed(text, add);
  splitter.Finish(add);
  return names;
}

ChunkReader::ChunkReader(const std::string& path, const std::string& failure_caption,
                         bool regular_only)
    : from_stdin_(path == "-"),
      regular_only_(regular_only),
      shown_(from_stdin_ ? "standard input" : path),
      path_(path),
      caption_(failure_caption) {}

ChunkReader::~ChunkReader() {
  if (file_ != nullptr && !from_stdin_) std::fclose(file_);
}

std::optional<Failure> ChunkReader::Open() {
  if (regular_only_) {
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(ToPath(path_), ec);
    if (!ec && std::filesystem::exists(st) && !std::filesystem::is_regular_file(st)) {
      return Failure{
          shown_, caption_,
          std::filesystem::is_directory(st) ? std::strerror(EISDIR) : "not a regular file"};
    }
  }
  errno = 0;
  file_ = from_stdin_ ? stdin : OpenStdioFile(ToPath(path_), "rb");
  if (file_ == nullptr) return Failure{shown_, caption_, std::strerror(errno)};
  buffer_ = std::make_unique_for_overwrite<char[]>(kChunk);
  return std::nullopt;
}

std::string_view ChunkReader::Next() {
  if (file_ == nullptr) return {};
  const std::size_t n = std::fread(buffer_.get(), 1, kChunk, file_);
  if (n == 0 && std::ferror(file_)) error_ = errno != 0 ? errno : EIO;
  return std::string_view(buffer_.get(), n);
}

std::optional<Failure> ChunkReader::Error() const {
  if (error_ == 0) return std::nullopt;
  return Failure{shown_, caption_, std::strerror(error_)};
}

std::optional<Failure> OpenList(FileList& list, const std::string& path,
                                const ListProgress& progress, bool* stopped,
                                std::size_t max_items) {
  if (stopped != nullptr) *stopped = false;
  ChunkReader reader(path, kInvalidFileCaption, /*regular_only=*/true);
  if (auto failure = reader.Open()) return failure;
  std::error_code ec;
  const std::uint64_t size = std::filesystem::file_size(ToPath(path), ec);
  const std::size_t room = max_items - std::min(max_items, static_cast<std::size_t>(list.Count()));
  // Names wait until the whole file was read, so a failed read leaves the list as it was.
  std::vector<std::string> names;
  bool too_many = false;
  auto add = [&](std::string_view line) {
    ListLineNames(line, [&](std::string_view name) {
      if (names.size() < room) {
        names.emplace_back(name);
      } else {
        too_many = true;
      }
    });
  };
  LineSplitter splitter(NulInLine::Cut, kListLineMax);
  std::uint64_t done = 0;
  bool go_on = true;
  for (std::string_view chunk = reader.Next(); !chunk.empty() && !too_many; chunk = reader.Next()) {
    splitter.Feed(chunk, add);
    done += chunk.size();
    if (splitter.problem() != LineProblem::kNone) break;
    if (progress && !progress(done, size)) {
      go_on = false;
      break;
    }
  }
  if (auto failure = reader.Error()) return failure;
  if (go_on) splitter.Finish(add);
  if (auto failure = LineFailure(path, splitter, kListLineMax, "line")) return failure;
  if (too_many) {
    return Failure{path, kInvalidFileCaption,
                   "the list would hold more than " + std::to_string(max_items) + " names"};
  }
  if (!go_on && stopped != nullptr) *stopped = true;
  list.Reserve(static_cast<std::size_t>(list.Count()) + names.size());
  for (std::string& name : names) list.Append(std::move(name));
  return std::nullopt;
}

namespace {

// The name with its line breaks drawn as visible marks, so the message does not split it.
std::string ShownWithBreaks(std::string_view name) {
  std::string shown;
  for (const char c : name) {
    if (c == '\n') {
      shown += "\u240A";
    } else if (c == '\r') {
      shown += "\u240D";
    } else {
      shown.push_back(c);
    }
  }
  return shown;
}

// One name per line: a name holding a line break would come back as two names.
std::optional<Failure> RefuseLineBreaks(const FileList& list) {
  for (int i = 0; i < list.Count(); ++i) {
    const std::string& name = *list.Item(i);
    if (name.find_first_of("\r\n") != std::string::npos) {
      return Failure{ShownWithBreaks(name), kCannotSaveListCaption, kLineBreakInNameReason};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<Failure> SaveList(const FileList& list, const std::string& path, Eol eol) {
  if (auto failure = RequireFiles(list)) return failure;
  if (auto failure = RefuseLineBreaks(list)) return failure;
  TextFileWriter out(path, eol, kInvalidOutputCaption, SpecialFiles::kRefuse);
  if (auto failure = out.Open()) return failure;
  for (int i = 0; i < list.Count(); ++i) {
    if (i > 0) out.Write("\n");
    out.Write(*list.Item(i));
  }
  return out.Commit();
}

}  // namespace lq
