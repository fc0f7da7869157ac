// Feeds arbitrary bytes to the list-file reader and checks that the names it yields rebuild
// the text line by line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/capacities.h"
#include "engine/file_list.h"
#include "engine/list_file.h"
#include "engine/list_reader.h"

namespace {

// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that starts none.
std::size_t SequenceLength(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_list_file: invariant broken: %s\n", what);
    std::abort();
  }
}

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Lines: each is followed by LF, CR LF or the end of the text, in order, with no line
  // break inside; a CR right before an LF always goes with the line break.
  const std::vector<std::string> lines = lq::SplitLines(text);

  // Fed in small chunks, as files are read, the text gives the same lines.
  std::vector<std::string> chunked;
  lq::LineSplitter splitter;
  auto keep = [&chunked](std::string_view line) { chunked.emplace_back(line); };
  const std::size_t step = size == 0 ? 1 : data[0] % 7 + 1;
  for (std::size_t at = 0; at < size; at += step) splitter.Feed(text.substr(at, step), keep);
  splitter.Finish(keep);
  Check(chunked == lines, "chunked reading gives the same lines");

  std::size_t pos = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    // A line ends at its first NUL; the rest of it up to the line break is dropped.
    const std::size_t end = text.find('\n', pos);
    const std::string_view whole =
        text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    Check(whole.starts_with(line), "a line is the start of its text");
    if (line.size() < whole.size() && !(whole.size() == line.size() + 1 && whole.back() == '\r' &&
                                        end != std::string_view::npos)) {
      Check(whole[line.size()] == '\0', "a line is cut only at a NUL");
    }
    line = whole.substr(0, end == std::string_view::npos || whole.empty() || whole.back() != '\r'
                               ? whole.size()
                               : whole.size() - 1);
    Check(line.find('\n') == std::string_view::npos, "a line holds no LF");
    Check(text.substr(pos, line.size()) == line, "the lines rebuild the text");
    pos += line.size();
    if (pos == size) {
      Check(i + 1 == lines.size(), "nothing after the end of the text");
      break;
    }
    if (text[pos] == '\n') {
      Check(!line.ends_with('\r'), "a CR before LF is part of the line break");
      pos += 1;
    } else {
      Check(text.substr(pos, 2) == "\r\n", "a line ends at a line break");
      pos += 2;
    }
  }
  Check(pos == size, "the lines cover the whole text");

  // Names: each line up to its first NUL, in pieces of at most an item's capacity; an empty
  // line is one empty name; a piece never splits a UTF-8 sequence unless it has to.
  const std::vector<std::string> names = lq::SplitListText(text);
  Check(names.size() >= lines.size(), "at least one name a line");
  Check(names.size() <= lines.size() + 2 * (size / lq::kNameMax + 1), "a sane number of names");
  std::size_t k = 0;
  for (std::string_view line : lines) {
    Check(k < names.size(), "names for every line");
    if (line.empty()) {
      Check(names[k++].empty(), "an empty line gives an empty name");
      continue;
    }
    std::size_t at = 0;
    while (at < line.size()) {
      Check(k < names.size(), "names for the whole line");
      const std::string& name = names[k++];
      Check(!name.empty(), "a piece of a line is never empty");
      Check(name.size() <= lq::kNameMax, "a name within its capacity");
      Check(line.substr(at, name.size()) == name, "the pieces rebuild the line");
      at += name.size();
      // A cut lands inside a UTF-8 sequence only when no whole sequence across it starts in
      // the three bytes before it: bytes that are no UTF-8 are cut where they fall.
      if (at < line.size() && IsContinuation(line[at])) {
        for (std::size_t back = 1; back <= 3 && back < name.size(); ++back) {
          const std::size_t lead = at - back;
          const std::size_t length = SequenceLength(line[lead]);
          if (IsContinuation(line[lead])) continue;
          bool whole = length > back && lead + length <= line.size();
          for (std::size_t i = lead + 1; whole && i < lead + length; ++i) {
            whole = IsContinuation(line[i]);
          }
          Check(!whole, "a cut backs off over a whole sequence in reach");
          break;
        }
      }
    }
    Check(at == line.size(), "the pieces end where the line ends");
  }
  Check(k == names.size(), "no name beyond the lines");

  // The list keeps every name as read.
  lq::FileList list;
  for (const std::string& name : names) list.Append(name);
  Check(static_cast<std::size_t>(list.Count()) == names.size(), "the list holds every name");
  for (int i = 0; i < list.Count(); ++i) Check(*list.Item(i) == names[i], "names kept whole");
  return 0;
}
