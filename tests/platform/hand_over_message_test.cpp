#include "platform/hand_over_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lq {
namespace {

using namespace std::string_literals;

std::optional<std::vector<std::string>> NamesOf(const std::string& message) {
  std::optional<HandOver> read = ReadHandOverMessage(message);
  if (!read) return std::nullopt;
  return read->names;
}

TEST(HandOverMessage, NamesAreTheirBytesInOrder) {
  EXPECT_EQ(NamesOf("\0/home/u/a b.txt\0"s), std::vector<std::string>{"/home/u/a b.txt"});
  EXPECT_EQ(NamesOf("\0/bytes/\xFF\xFE.txt\0"s), std::vector<std::string>{"/bytes/\xFF\xFE.txt"});
  EXPECT_EQ(NamesOf("\0"s + std::string(999, 'n') + '\0'),
            std::vector<std::string>{std::string(999, 'n')});
  const std::vector<std::string> three = {"/z/c", "/a/b", "/z/a"};
  EXPECT_EQ(NamesOf("\0/z/c\0/a/b\0/z/a\0"s), three);
  EXPECT_EQ(NamesOf(HandOverMessage(three, "")), three);
}

TEST(HandOverMessage, WhatNoMessageCanBeIsNothing) {
  const std::vector<std::string> none = {
      "",
      "/a.txt",           // a message of an older build: no fields at all
      "/a.txt\0kwin-1"s,  // nor the token after the name
      "\0"s,              // a token field and no name
      "\0/a"s,            // the last name not ended
      "\0/a\0\0"s,        // an empty name
      "\0"s + std::string(1000, 'n') + '\0',
      "to ken\0/a\0"s,  // no token holds a space
      std::string(256, 't') + '\0' + "/a\0"s,
      "caf\xC3\xA9\0/a\0"s,
  };
  for (const std::string& message : none) {
    EXPECT_EQ(ReadHandOverMessage(message), std::nullopt) << testing::PrintToString(message);
  }
}

TEST(HandOverMessage, AnActivationTokenComesFirst) {
  const std::string token = "gnome-shell/Files/2263-1-host_TIME8711";
  const std::string message = HandOverMessage({"/home/u/a b.txt", "/b"}, token);
  EXPECT_EQ(message, token + '\0' + "/home/u/a b.txt\0/b\0"s);
  HandOverMessageReader reader;
  reader.Feed(message);
  const HandOver expected{{"/home/u/a b.txt", "/b"}, token};
  EXPECT_EQ(reader.Finish(), expected);
  // The longest token, split anywhere.
  const std::string longest(255, 'k');
  HandOverMessageReader pieces;
  for (char c : HandOverMessage({"/n"}, longest)) pieces.Feed(std::string_view(&c, 1));
  const HandOver with_longest{{"/n"}, longest};
  EXPECT_EQ(pieces.Finish(), with_longest);
}

TEST(HandOverMessage, WhatIsNoTokenIsNotSent) {
  EXPECT_TRUE(IsActivationToken("a"));
  EXPECT_TRUE(IsActivationToken("5f1c0e6a-3c2b-4d52-9c11-0c2c3d2b8f00"));
  EXPECT_FALSE(IsActivationToken(""));
  EXPECT_FALSE(IsActivationToken("with space"));
  EXPECT_FALSE(IsActivationToken("line\nbreak"));
  EXPECT_FALSE(IsActivationToken("caf\xC3\xA9"));
  EXPECT_FALSE(IsActivationToken(std::string(256, 't')));
  EXPECT_EQ(HandOverMessage({"/a.txt"}, ""), "\0/a.txt\0"s);
  EXPECT_EQ(HandOverMessage({"/a.txt"}, "bad token"), "\0/a.txt\0"s);
  EXPECT_EQ(ReadHandOverMessage("\0/a.txt\0"s)->activation_token, "");
}

TEST(HandOverMessage, PiecesGiveWhatTheWholeGives) {
  std::vector<std::string> names;
  for (int i = 0; i < 500; ++i) names.push_back("/some/where/" + std::to_string(i) + ".txt");
  names.push_back("/some/where/" + std::string(900, 'x'));
  const std::string message = HandOverMessage(names, "tok");
  for (std::size_t step : {1u, 7u, 4096u}) {
    HandOverMessageReader reader;
    for (std::size_t at = 0; at < message.size(); at += step)
      reader.Feed(std::string_view(message).substr(at, step));
    const HandOver expected{names, "tok"};
    EXPECT_EQ(reader.Finish(), expected) << "pieces of " << step;
  }
}

TEST(HandOverMessage, AsManyNamesAsAMessageHoldsAndNotOneMore) {
  std::vector<std::string> names(kHandOverNamesMax, "/f");
  EXPECT_EQ(NamesOf(HandOverMessage(names, "")), names);
  names.push_back("/one/more");
  EXPECT_EQ(NamesOf(HandOverMessage(names, "")), std::nullopt);
}

TEST(HandOverMessage, AFloodKeepsNoMoreThanAMessageHolds) {
  HandOverMessageReader reader;
  reader.Feed("\0"s);
  const std::string chunk(4096, 'y');
  for (int i = 0; i < 1000; ++i) {
    reader.Feed(chunk);
    ASSERT_LE(reader.kept(), 999u);
  }
  EXPECT_EQ(reader.Finish(), std::nullopt);
  HandOverMessageReader token_flood;
  for (int i = 0; i < 1000; ++i) {
    token_flood.Feed("tttt");
    ASSERT_LE(token_flood.kept(), 255u);
  }
  EXPECT_EQ(token_flood.Finish(), std::nullopt);
  // Names beyond the last a message holds: what was kept goes.
  HandOverMessageReader names_flood;
  names_flood.Feed("\0"s);
  for (std::size_t i = 0; i <= kHandOverNamesMax; ++i) names_flood.Feed("/n\0"s);
  EXPECT_EQ(names_flood.kept(), 0u);
  EXPECT_EQ(names_flood.Finish(), std::nullopt);
  // A byte late in the stream that no field holds spoils what came before it.
  HandOverMessageReader late;
  late.Feed("token\0/fine/so/far\0"s);
  late.Feed(std::string(1000, 'x'));
  late.Feed("\0"s);
  EXPECT_EQ(late.Finish(), std::nullopt);
  EXPECT_EQ(late.kept(), 0u);
}

}  // namespace
}  // namespace lq
