#include "engine/list_file.h"

#include "engine/capacities.h"
#include "engine/text_file.h"
#include "engine/text_helpers.h"

namespace lq {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find('\n', from);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(from));
      break;
    }
    const std::size_t next = end + 1;
    if (end > from && text[end - 1] == '\r') --end;
    lines.push_back(text.substr(from, end - from));
    from = next;
  }
  return lines;
}

std::vector<std::string> SplitListText(std::string_view text) {
  std::vector<std::string> names;
  for (std::string_view line : SplitLines(text)) {
    // Names are C strings everywhere else; anything after a NUL cannot be a name.
    line = line.substr(0, line.find('\0'));
    if (line.empty()) names.emplace_back();
    while (!line.empty()) {
      std::string_view piece = CutUtf8View(line, kNameMax);
      if (piece.empty()) piece = line.substr(0, kNameMax);  // not UTF-8: cut at bytes
      names.emplace_back(piece);
      line.remove_prefix(piece.size());
    }
  }
  return names;
}

std::optional<Failure> OpenList(FileList& list, const std::string& path) {
  auto content = ReadWholeFile(path, kInvalidFileCaption);
  if (auto* failure = std::get_if<Failure>(&content)) return *failure;
  const std::vector<std::string> names = SplitListText(std::get<std::string>(content));
  list.Reserve(static_cast<std::size_t>(list.Count()) + names.size());
  for (const std::string& name : names) list.Append(name);
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
