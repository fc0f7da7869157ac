#include "engine/newline_finder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/list_reader.h"

namespace lq {
namespace {

std::vector<std::size_t> Found(std::string_view text) {
  std::vector<std::size_t> at;
  NewlineFinder finder(text);
  for (std::size_t p = finder.Next(); p != std::string_view::npos; p = finder.Next()) {
    at.push_back(p);
  }
  return at;
}

TEST(NewlineFinder, FindsEveryLineFeedInOrder) {
  // Lengths on both sides of the 64-byte blocks, line feeds anywhere, bytes of every value.
  std::mt19937 rng(3);
  for (std::size_t len = 0; len < 200; ++len) {
    for (int n = 0; n < 10; ++n) {
      std::string s(len, '\0');
      std::vector<std::size_t> want;
      for (std::size_t i = 0; i < len; ++i) {
        s[i] = rng() % 5 == 0 ? '\n' : static_cast<char>(rng() % 256);
        if (s[i] == '\n') want.push_back(i);
      }
      EXPECT_EQ(Found(s), want) << len;
    }
  }
}

// For splitters without a bound, which leave nothing out.
void NothingLeftOut(std::size_t line, LineProblem) {
  ADD_FAILURE() << "line " << line << " left out";
}

TEST(LineSplitter, SameLinesHoweverTheTextIsCut) {
  std::mt19937 rng(9);
  std::string text;
  for (int i = 0; i < 400; ++i) {
    text += std::string(rng() % 150, 'a' + static_cast<char>(i % 26));
    text += rng() % 3 == 0 ? "\r\n" : "\n";
  }
  text += "last";
  std::vector<std::string> whole;
  LineSplitter one;
  auto add_whole = [&whole](std::string_view line) { whole.emplace_back(line); };
  one.Feed(text, add_whole, NothingLeftOut);
  one.Finish(add_whole, NothingLeftOut);
  ASSERT_EQ(whole.size(), 401u);
  for (const std::size_t step : {1u, 7u, 63u, 64u, 65u, 1000u}) {
    std::vector<std::string> cut;
    auto add = [&cut](std::string_view line) { cut.emplace_back(line); };
    LineSplitter pieces;
    for (std::size_t at = 0; at < text.size(); at += step) {
      pieces.Feed(std::string_view(text).substr(at, step), add, NothingLeftOut);
    }
    pieces.Finish(add, NothingLeftOut);
    EXPECT_EQ(cut, whole) << step;
  }
}

TEST(LineSplitter, ANulLineIsFoundHoweverTheTextIsCut) {
  const std::string text = std::string("one\r\ntwo\nthr") + '\0' + "ee\nfour\n";
  for (const std::size_t step : {1u, 2u, 5u, 8u, 100u}) {
    std::vector<std::string> lines;
    auto add = [&lines](std::string_view line) { lines.emplace_back(line); };
    LineSplitter pieces(NulInLine::kRefuse);
    for (std::size_t at = 0; at < text.size(); at += step) {
      pieces.Feed(std::string_view(text).substr(at, step), add, NothingLeftOut);
    }
    pieces.Finish(add, NothingLeftOut);
    EXPECT_EQ(pieces.problem(), LineProblem::kNul);
    EXPECT_EQ(pieces.problem_line(), 3u) << step;
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two"})) << step;
  }
}

TEST(NulSplitter, NamesEndAtNulAndKeepEveryOtherByte) {
  const std::string text = std::string("a\nb") + '\0' + "c\r" + '\0' + '\0' + "last";
  for (const std::size_t step : {1u, 3u, 100u}) {
    std::vector<std::string> names;
    auto add = [&names](std::string_view name) { names.emplace_back(name); };
    NulSplitter pieces;
    for (std::size_t at = 0; at < text.size(); at += step) {
      pieces.Feed(std::string_view(text).substr(at, step), add, NothingLeftOut);
    }
    pieces.Finish(add, NothingLeftOut);
    // The empty name between two NULs is no name: skipped and counted.
    EXPECT_EQ(names, (std::vector<std::string>{"a\nb", "c\r", "last"})) << step;
    EXPECT_EQ(pieces.empty_names(), 1u) << step;
  }
}

// However long a line is, it is left out whole once it passes the limit, without being held;
// the lines after it are read on.
TEST(LineSplitter, ALineTooLongIsLeftOutAtItsNumber) {
  const std::string text =
      "ok\r\n" + std::string(10, 'x') + "\r\n" + std::string(1000, 'y') + "\nnext\n";
  for (const std::size_t step : {1u, 3u, 64u, 5000u}) {
    std::vector<std::string> lines;
    std::vector<std::size_t> left_out;
    auto add = [&lines](std::string_view line) { lines.emplace_back(line); };
    auto refuse = [&left_out](std::size_t line, LineProblem why) {
      EXPECT_EQ(why, LineProblem::kTooLong);
      left_out.push_back(line);
    };
    LineSplitter pieces(NulInLine::kRefuse, 10);
    for (std::size_t at = 0; at < text.size(); at += step) {
      pieces.Feed(std::string_view(text).substr(at, step), add, refuse);
    }
    pieces.Finish(add, refuse);
    EXPECT_EQ(pieces.problem(), LineProblem::kNone) << step;
    EXPECT_EQ(left_out, std::vector<std::size_t>{3}) << step;
    EXPECT_EQ(lines, (std::vector<std::string>{"ok", std::string(10, 'x'), "next"})) << step;
  }
  LineSplitter last(NulInLine::kCut, 3);
  std::vector<std::string> lines;
  std::vector<std::size_t> left_out;
  auto refuse = [&left_out](std::size_t line, LineProblem) { left_out.push_back(line); };
  last.Feed(
      "abc\nabcd", [&lines](std::string_view l) { lines.emplace_back(l); }, refuse);
  last.Finish([&lines](std::string_view l) { lines.emplace_back(l); }, refuse);
  EXPECT_EQ(last.problem(), LineProblem::kNone);
  EXPECT_EQ(left_out, std::vector<std::size_t>{2});
  EXPECT_EQ(lines, std::vector<std::string>{"abc"});
}

}  // namespace
}  // namespace lq
