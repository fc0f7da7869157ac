#include "engine/list_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "engine/capacities.h"
#include "engine/list_reader.h"
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

std::optional<Failure> ReadLines(const std::string& path, const std::string& failure_caption,
                                 void (*each)(std::string_view, void*), void* context) {
  const bool from_stdin = path == "-";
  errno = 0;
  std::FILE* f = from_stdin ? stdin : std::fopen(path.c_str(), "rb");
  const std::string shown = from_stdin ? "standard input" : path;
  if (f == nullptr) return Failure{shown, failure_caption, std::strerror(errno)};
  // each may throw; the file is closed all the same.
  auto close = [from_stdin](std::FILE* file) {
    if (!from_stdin) std::fclose(file);
  };
  std::unique_ptr<std::FILE, decltype(close)> owner(f, close);
  LineSplitter splitter;
  auto line = [each, context](std::string_view l) { each(l, context); };
  std::string chunk(1 << 20, '\0');
  std::size_t n;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), f)) > 0) {
    splitter.Feed(std::string_view(chunk.data(), n), line);
  }
  const int err = std::ferror(f) ? (errno != 0 ? errno : EIO) : 0;
  if (err != 0) return Failure{shown, failure_caption, std::strerror(err)};
  splitter.Finish(line);
  return std::nullopt;
}

std::optional<Failure> OpenList(FileList& list, const std::string& path) {
  // Names wait until the whole file was read, so a failed read leaves the list as it was.
  std::vector<std::string> names;
  auto failure = ForEachLine(path, kInvalidFileCaption, [&names](std::string_view line) {
    ListLineNames(line, [&names](std::string_view name) { names.emplace_back(name); });
  });
  if (failure) return failure;
  list.Reserve(static_cast<std::size_t>(list.Count()) + names.size());
  for (std::string& name : names) list.Append(std::move(name));
  return std::nullopt;
}

std::optional<Failure> SaveList(const FileList& list, const std::string& path, Eol eol) {
  if (auto failure = RequireFiles(list)) return failure;
  TextFileWriter out(path, eol, kInvalidOutputCaption);
  if (auto failure = out.Open()) return failure;
  for (int i = 0; i < list.Count(); ++i) {
    if (i > 0) out.Write("\n");
    out.Write(*list.Item(i));
  }
  return out.Commit();
}

}  // namespace lq
