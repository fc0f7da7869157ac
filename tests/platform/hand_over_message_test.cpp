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
  EXPECT_EQ(ReadHandOverMessage(std::string(1, '\0')), std::nullopt);
  EXPECT_EQ(ReadHandOverMessage(std::string("\0token", 6)), std::nullopt);
  // After the NUL comes a token, or the message is none.
  EXPECT_EQ(ReadHandOverMessage(std::string("/a\0", 3)), std::nullopt);
  EXPECT_EQ(ReadHandOverMessage(std::string("/a\0b\0c", 6)), std::nullopt);
  EXPECT_EQ(ReadHandOverMessage(std::string("/a\0to ken", 9)), std::nullopt);
  EXPECT_EQ(ReadHandOverMessage("/a" + std::string(1, '\0') + std::string(256, 't')), std::nullopt);
}

TEST(HandOverMessage, AnActivationTokenFollowsTheName) {
  const std::string token = "gnome-shell/Files/2263-1-host_TIME8711";
  const std::string message = HandOverMessage("/home/u/a b.txt", token);
  EXPECT_EQ(message, std::string("/home/u/a b.txt") + '\0' + token);
  HandOverMessageReader reader;
  reader.Feed(message);
  EXPECT_EQ(reader.Finish(), "/home/u/a b.txt");
  EXPECT_EQ(reader.ActivationToken(), token);
  // The longest token, split anywhere.
  const std::string longest(255, 'k');
  HandOverMessageReader pieces;
  for (char c : HandOverMessage("/n", longest)) pieces.Feed(std::string_view(&c, 1));
  EXPECT_EQ(pieces.Finish(), "/n");
  EXPECT_EQ(pieces.ActivationToken(), longest);
}

TEST(HandOverMessage, WhatIsNoTokenIsNotSent) {
  EXPECT_TRUE(IsActivationToken("a"));
  EXPECT_TRUE(IsActivationToken("5f1c0e6a-3c2b-4d52-9c11-0c2c3d2b8f00"));
  EXPECT_FALSE(IsActivationToken(""));
  EXPECT_FALSE(IsActivationToken("with space"));
  EXPECT_FALSE(IsActivationToken("line\nbreak"));
  EXPECT_FALSE(IsActivationToken("caf\xC3\xA9"));
  EXPECT_FALSE(IsActivationToken(std::string(256, 't')));
  EXPECT_EQ(HandOverMessage("/a.txt", ""), "/a.txt");
  EXPECT_EQ(HandOverMessage("/a.txt", "bad token"), "/a.txt");
  HandOverMessageReader reader;
  reader.Feed("/a.txt");
  EXPECT_EQ(reader.ActivationToken(), "");
}

TEST(HandOverMessage, PiecesGiveWhatTheWholeGives) {
  const std::string name = "/some/where/" + std::string(900, 'x');
  HandOverMessageReader reader;
  for (std::size_t at = 0; at < name.size(); at += 7)
    reader.Feed(std::string_view(name).substr(at, 7));
  EXPECT_EQ(reader.Finish(), name);
}

TEST(HandOverMessage, AFloodKeepsNoMoreThanANameAndATokenHold) {
  HandOverMessageReader reader;
  const std::string chunk(4096, 'y');
  for (int i = 0; i < 1000; ++i) {
    reader.Feed(chunk);
    ASSERT_LE(reader.kept(), 999u);
  }
  EXPECT_EQ(reader.Finish(), std::nullopt);
  HandOverMessageReader token_flood;
  token_flood.Feed(std::string("/n\0", 3));
  for (int i = 0; i < 1000; ++i) {
    token_flood.Feed("tttt");
    ASSERT_LE(token_flood.kept(), 999u + 255u);
  }
  EXPECT_EQ(token_flood.Finish(), std::nullopt);
  // A byte late in the stream that no token holds spoils what came before it.
  HandOverMessageReader late;
  late.Feed("/fine/so/far");
  late.Feed(std::string_view("\0", 1));
  late.Feed("token");
  late.Feed(" and more");
  EXPECT_EQ(late.Finish(), std::nullopt);
  EXPECT_EQ(late.ActivationToken(), "");
}

}  // namespace
}  // namespace lq
