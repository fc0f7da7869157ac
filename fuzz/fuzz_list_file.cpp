// Feeds arbitrary bytes to the list-file readers and checks that the lines they yield rebuild
// the text, and that a name is either whole or left out, never cut.
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

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_list_file: invariant broken: %s\n", what);
    std::abort();
  }
}

// What a splitter hands on and leaves out.
struct Seen {
  std::vector<std::string> names;
  std::vector<std::size_t> left_out;
};

// Feeds text to splitter in chunks of step bytes.
template <typename Splitter>
Seen Chunked(Splitter& splitter, std::string_view text, std::size_t step) {
  Seen seen;
  auto add = [&seen](std::string_view name) { seen.names.emplace_back(name); };
  auto refuse = [&seen](std::size_t number, lq::LineProblem why) {
    Check(why == lq::LineProblem::kTooLong, "only a name too long is left out");
    seen.left_out.push_back(number);
  };
  for (std::size_t at = 0; at < text.size(); at += step) {
    splitter.Feed(text.substr(at, step), add, refuse);
  }
  splitter.Finish(add, refuse);
  return seen;
}

// The lines of text as a list file holds them (LF or CR LF; the last line keeps a CR at its
// end), each whole when it fits in an item, else its number among the left out.
Seen ListNames(std::string_view text) {
  Seen want;
  std::size_t number = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t lf = text.find('\n', at);
    std::string_view raw = text.substr(at, lf == std::string_view::npos ? lf : lf - at);
    if (lf != std::string_view::npos && raw.ends_with('\r')) raw.remove_suffix(1);
    ++number;
    if (raw.size() > lq::kNameMax) {
      want.left_out.push_back(number);
    } else {
      want.names.emplace_back(raw.substr(0, raw.find('\0')));
    }
    at = lf == std::string_view::npos ? text.size() : lf + 1;
  }
  return want;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Lines: each is followed by LF, CR LF or the end of the text, in order, with no line
  // break inside; a CR right before an LF always goes with the line break.
  const std::vector<std::string> lines = lq::SplitLines(text);

  // Fed in small chunks, as files are read, the text gives the same lines.
  lq::LineSplitter splitter;
  const std::size_t step = size == 0 ? 1 : data[0] % 7 + 1;
  const Seen chunked = Chunked(splitter, text, step);
  Check(chunked.names == lines, "chunked reading gives the same lines");
  Check(chunked.left_out.empty(), "an unbounded splitter leaves nothing out");

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

  // Names: a line that fits in an item is one name, up to its first NUL; a longer line is
  // left out whole, never cut, and its number told; an empty line is an empty name.
  const lq::ListText list_text = lq::SplitListText(text);
  const Seen want = ListNames(text);
  Check(list_text.names == want.names, "every line that fits is a name, whole");
  Check(list_text.left_out == want.left_out, "every line too long is left out, by number");

  // Chunks ending anywhere, even inside a long line or between CR and LF, change nothing.
  lq::LineSplitter bounded(lq::NulInLine::kCut, lq::kNameMax, lq::kListLineMax);
  const std::size_t long_step = size == 0 ? 1 : data[size - 1] % 1500 + 1;
  const Seen bounded_seen = Chunked(bounded, text, long_step);
  if (size <= lq::kListLineMax) {
    Check(bounded.problem() == lq::LineProblem::kNone, "no stop below the bound of a line");
    Check(bounded_seen.names == want.names && bounded_seen.left_out == want.left_out,
          "chunked reading leaves out the same lines");
  }

  // Asked to skip empty names, lines give the same names but the empty ones, counted.
  lq::LineSplitter skipping(lq::NulInLine::kCut, lq::kNameMax, lq::kListLineMax,
                            lq::EmptyNames::kSkip);
  const Seen skipped = Chunked(skipping, text, step);
  if (skipping.problem() == lq::LineProblem::kNone) {
    std::vector<std::string> non_empty;
    for (const std::string& name : want.names) {
      if (!name.empty()) non_empty.push_back(name);
    }
    Check(skipped.names == non_empty && skipped.left_out == want.left_out &&
              skipping.empty_names() == want.names.size() - non_empty.size(),
          "skipping empty lines drops only them");
  }

  // NUL-separated: every non-empty piece that fits is a name, a longer one is left out by
  // number, empty ones are counted; chunks change nothing.
  lq::NulSplitter nul(lq::kNameMax, lq::kListLineMax);
  const Seen nul_seen = Chunked(nul, text, long_step);
  Seen nul_want;
  std::size_t empty = 0;
  std::size_t number = 0;
  for (std::size_t at = 0; at < size;) {
    const std::size_t end = text.find('\0', at);
    const std::string_view piece = text.substr(at, end == std::string_view::npos ? end : end - at);
    ++number;
    if (piece.empty()) {
      ++empty;
    } else if (piece.size() > lq::kNameMax) {
      nul_want.left_out.push_back(number);
    } else {
      nul_want.names.emplace_back(piece);
    }
    at = end == std::string_view::npos ? size : end + 1;
  }
  if (nul.problem() == lq::LineProblem::kNone) {
    Check(nul_seen.names == nul_want.names && nul_seen.left_out == nul_want.left_out &&
              nul.empty_names() == empty,
          "NUL-separated names are the non-empty pieces that fit");
  } else {
    Check(nul.problem() == lq::LineProblem::kEmptyRun && empty >= lq::kEmptyRunMax,
          "only a long run of empty names stops the reading");
  }

  // The list keeps every name as read.
  lq::FileList list;
  for (const std::string& name : list_text.names) list.Append(name);
  Check(static_cast<std::size_t>(list.Count()) == list_text.names.size(),
        "the list holds every name");
  for (int i = 0; i < list.Count(); ++i) {
    Check(*list.Item(i) == list_text.names[static_cast<std::size_t>(i)], "names kept whole");
  }
  return 0;
}
