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

namespace {

// For splitters that leave nothing out.
constexpr auto kNothingLeftOut = [](std::size_t, LineProblem) {};

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  auto add = [&lines](std::string_view line) { lines.emplace_back(line); };
  LineSplitter splitter;
  splitter.Feed(text, add, kNothingLeftOut);
  splitter.Finish(add, kNothingLeftOut);
  return lines;
}

ListText SplitListText(std::string_view text) {
  ListText list;
  auto add = [&list](std::string_view name) { list.names.emplace_back(name); };
  auto left_out = [&list](std::size_t line, LineProblem) { list.left_out.push_back(line); };
  LineSplitter splitter(NulInLine::kCut, kNameMax);
  splitter.Feed(text, add, left_out);
  splitter.Finish(add, left_out);
  return list;
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

Status ChunkReader::Open() {
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
  return {};
}

std::string_view ChunkReader::Next() {
  if (file_ == nullptr) return {};
  const std::size_t n = std::fread(buffer_.get(), 1, kChunk, file_);
  if (n == 0 && std::ferror(file_)) error_ = errno != 0 ? errno : EIO;
  return std::string_view(buffer_.get(), n);
}

Status ChunkReader::Error() const {
  if (error_ == 0) return {};
  return Failure{shown_, caption_, std::strerror(error_)};
}

std::string SourceName(const std::string& path) {
  return path == "-" ? std::string("standard input") : path;
}

std::string PlaceOf(const std::string& path, std::size_t number) {
  return SourceName(path) + ":" + std::to_string(number);
}

std::string LeftOutReason(LineProblem problem, std::size_t max_name) {
  if (problem == LineProblem::kTooLong) {
    return "name longer than " + std::to_string(max_name) + " bytes";
  }
  return "not a name";
}

Status StopFailure(const std::string& path, LineProblem problem, std::size_t number,
                   std::string_view piece) {
  switch (problem) {
    case LineProblem::kNone:
    case LineProblem::kTooLong:
    case LineProblem::kEnough:
      return {};
    case LineProblem::kNul:
      return Failure{PlaceOf(path, number), "", "the line holds a NUL byte"};
    case LineProblem::kEndless:
      return Failure{
          PlaceOf(path, number), "",
          std::string(piece) + " longer than " + std::to_string(kListLineMax) + " bytes"};
    case LineProblem::kEmptyRun:
      return Failure{
          SourceName(path), "",
          std::to_string(kEmptyRunMax) + " empty names in a row: this is not a list of names"};
  }
  return {};
}

Status OpenList(FileList& list, const std::string& path, const ListProgress& progress,
                OpenListReport* report, std::size_t max_items) {
  OpenListReport unused;
  OpenListReport& told = report != nullptr ? *report : unused;
  told = OpenListReport{};
  ChunkReader reader(path, kInvalidFileCaption, /*regular_only=*/true);
  if (Status opened = reader.Open(); !opened.ok()) return opened;
  std::error_code ec;
  const std::uint64_t size = std::filesystem::file_size(ToPath(path), ec);
  const std::size_t room = max_items - std::min(max_items, static_cast<std::size_t>(list.Count()));
  // Names wait until the whole file was read, so a failed read leaves the list as it was.
  std::vector<std::string> names;
  OpenListReport found;
  bool too_many = false;
  auto add = [&](std::string_view name) {
    if (names.size() < room) {
      names.emplace_back(name);
    } else {
      too_many = true;
    }
  };
  auto left_out = [&](std::size_t line, LineProblem why) {
    if (found.first_left_out.size() < kLeftOutShown) {
      found.first_left_out.push_back(std::to_string(line) + ": " + LeftOutReason(why, kNameMax));
    }
    ++found.left_out;
  };
  LineSplitter splitter(NulInLine::kCut, kNameMax, kListLineMax);
  std::uint64_t done = 0;
  for (std::string_view chunk = reader.Next(); !chunk.empty() && !too_many; chunk = reader.Next()) {
    splitter.Feed(chunk, add, left_out);
    done += chunk.size();
    if (splitter.problem() != LineProblem::kNone) break;
    if (progress && !progress(done, size)) {
      found.stopped = true;
      break;
    }
  }
  if (Status read = reader.Error(); !read.ok()) return read;
  if (!found.stopped) splitter.Finish(add, left_out);
  if (Status stop = StopFailure(path, splitter.problem(), splitter.problem_line(), "line");
      !stop.ok()) {
    return stop;
  }
  if (too_many) {
    return Failure{path, kInvalidFileCaption,
                   "the list would hold more than " + std::to_string(max_items) + " names"};
  }
  told = std::move(found);
  list.Reserve(static_cast<std::size_t>(list.Count()) + names.size());
  for (std::string& name : names) list.Append(std::move(name));
  return {};
}

Status LeftOutNotice(const std::string& path, const OpenListReport& report) {
  if (report.left_out == 0) return {};
  std::string reason = std::to_string(report.left_out) +
                       (report.left_out == 1 ? " line was" : " lines were") + " left out:";
  for (const std::string& line : report.first_left_out) reason += "\n" + line;
  if (report.left_out > report.first_left_out.size()) {
    reason += "\nand " + std::to_string(report.left_out - report.first_left_out.size()) + " more";
  }
  return Failure{path, kLeftOutCaption, reason};
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
Status RefuseLineBreaks(const FileList& list) {
  for (int i = 0; i < list.Count(); ++i) {
    const std::string& name = *list.Item(i);
    if (name.find_first_of("\r\n") != std::string::npos) {
      return Failure{ShownWithBreaks(name), kCannotSaveListCaption, kLineBreakInNameReason};
    }
  }
  return {};
}

}  // namespace

Status SaveList(const FileList& list, const std::string& path, Eol eol) {
  if (Status some = RequireFiles(list); !some.ok()) return some;
  if (Status one_per_line = RefuseLineBreaks(list); !one_per_line.ok()) return one_per_line;
  TextFileWriter out(path, eol, kInvalidOutputCaption, SpecialFiles::kRefuse);
  if (Status opened = out.Open(); !opened.ok()) return opened;
  for (int i = 0; i < list.Count(); ++i) {
    if (i > 0) out.Write("\n");
    out.Write(*list.Item(i));
  }
  return out.Commit();
}

}  // namespace lq
