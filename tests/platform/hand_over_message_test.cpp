#include "platform/hand_over_message.h"

#include <gtest/gtest.h>

#include <string>

namespace lq {
namespace {

TEST(HandOverMessage, ANameIsItsBytes) {
  EXPECT_EQ(ReadHandOverMessage("/home/u/a b.txt"), "/home/u/a b.txt");
  EXPECT_EQ(ReadHandOverMessage("/bytes/\xFF\xFE.txt"), "/bytes/\xFF\xFE.txt");
  EXPECT_EQ(ReadHandOverMessage(std::string(999, 'n')), std::string(999, 'n'));
}

TEST(HandOverMessage, WhatNoNameCanBeIsNothing) {
  EXPECT_EQ(ReadHandOverMessage(""), std::nullopt);
  EXPECT_EQ(ReadHandOverMessage(std::string(1000, 'n')), std::nullopt);
  EXPECT_EQ(ReadHandOverMessage(std::string("/a\0b", 4)), std::nullopt);
  EXPECT_EQ(ReadHandOverMessage(std::string(1, '\0')), std::nullopt);
}

TEST(HandOverMessage, PiecesGiveWhatTheWholeGives) {
  const std::string name = "/some/where/" + std::string(900, 'x');
  HandOverMessageReader reader;
  for (std::size_t at = 0; at < name.size(); at += 7)
    reader.Feed(std::string_view(name).substr(at, 7));
  EXPECT_EQ(reader.Finish(), name);
}

TEST(HandOverMessage, AFloodKeepsNoMoreThanANameHolds) {
  HandOverMessageReader reader;
  const std::string chunk(4096, 'y');
  for (int i = 0; i < 1000; ++i) {
    reader.Feed(chunk);
    ASSERT_LE(reader.kept(), 999u);
  }
  EXPECT_EQ(reader.Finish(), std::nullopt);
  // A NUL late in the stream spoils what came before it.
  HandOverMessageReader late;
  late.Feed("/fine/so/far");
  late.Feed(std::string_view("\0", 1));
  late.Feed("/and/more");
  EXPECT_EQ(late.Finish(), std::nullopt);
}

}  // namespace
}  // namespace lq
