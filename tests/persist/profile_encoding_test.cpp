// Profile files in UTF-16 and with a UTF-8 mark, on real files.
#include "persist/profile_encoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "persist/profile.h"
#include "tests/support/result_testing.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// UTF-16 as a Windows editor saves it: the mark, then two bytes a unit.
std::string Utf16(std::u16string_view text, bool big_endian = false) {
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t u : text) {
    const char hi = static_cast<char>(u >> 8);
    const char lo = static_cast<char>(u & 0xFF);
    out.push_back(big_endian ? hi : lo);
    out.push_back(big_endian ? lo : hi);
  }
  return out;
}

TEST(ProfileEncoding, TextComesBackThroughEitherUtf16) {
  const std::string text = "[Loomquill]\r\nHeader=<caf\xC3\xA9 \xF0\x9F\x8E\xB5>\r\n";
  for (const TextEncoding e : {TextEncoding::kUtf16Le, TextEncoding::kUtf16Be}) {
    const auto bytes = EncodeProfileText(text, e);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(DetectEncoding(*bytes), e);
    EXPECT_EQ(DecodeProfileBytes(*bytes, e), text);
  }
  EXPECT_EQ(EncodeProfileText("bad \xFF", TextEncoding::kUtf16Le), std::nullopt);
  EXPECT_EQ(DecodeProfileBytes("\xFF\xFE\x00\xD8"s, TextEncoding::kUtf16Le), std::nullopt);
  EXPECT_EQ(DecodeProfileBytes("\xFF\xFE\x41", TextEncoding::kUtf16Le), std::nullopt);
}

TEST(ProfileEncoding, AUtf16SettingsFileIsReadAndStaysUtf16) {
  TempDir dir;
  const fs::path file = dir.path() / "ZQIni.ini";
  WriteFile(file.string(), Utf16(u"[Loomquill]\r\nHeader=<caf\u00e9>\r\nCheckIndex=2\r\n"));
  EXPECT_EQ(ReadProfileText(file, "Loomquill", "Header", "", 99), "<caf\xC3\xA9>");
  EXPECT_EQ(ReadProfileInt(file, "Loomquill", "CheckIndex", 0), 2);
  ASSERT_OK(WriteProfileText(file, "Loomquill", "Queue", "<\xE2\x98\x83>"));
  EXPECT_EQ(ReadFile(file.string()),
            Utf16(u"[Loomquill]\r\nHeader=<caf\u00e9>\r\nCheckIndex=2\r\nQueue=<\u2603>\r\n"));
  // A big-endian one stays big-endian.
  WriteFile(file.string(), Utf16(u"[Loomquill]\nA=1\n", true));
  ASSERT_OK(WriteProfileText(file, "Loomquill", "A", "2"));
  EXPECT_EQ(ReadFile(file.string()), Utf16(u"[Loomquill]\nA=2\n", true));
}

TEST(ProfileEncoding, WhatUtf16CannotHoldIsRefusedAndTheFileKept) {
  TempDir dir;
  const fs::path file = dir.path() / "ZQIni.ini";
  const std::string before = Utf16(u"[Loomquill]\r\nA=1\r\n");
  WriteFile(file.string(), before);
  const auto failure = WriteProfileText(file, "Loomquill", "FileOutput", "/m/bad \xFF.txt");
  ASSERT_FALSE(failure.ok());
  EXPECT_EQ(failure.failure().text, file.string());
  EXPECT_NE(failure.failure().reason.find("UTF-16"), std::string::npos);
  EXPECT_EQ(ReadFile(file.string()), before);
  // Damaged UTF-16 is not read, so it is never written over either.
  const std::string damaged = before + "\x00\xDC"s;
  WriteFile(file.string(), damaged);
  EXPECT_FALSE(WriteProfileText(file, "Loomquill", "A", "2").ok());
  EXPECT_EQ(ReadFile(file.string()), damaged);
}

TEST(ProfileEncoding, AUtf8MarkIsReadPastAndKept) {
  TempDir dir;
  const fs::path file = dir.path() / "ZQIni.ini";
  WriteFile(file.string(), "\xEF\xBB\xBF[Loomquill]\nA=1\n");
  EXPECT_EQ(ReadProfileInt(file, "Loomquill", "A", 0), 1);
  ASSERT_OK(WriteProfileText(file, "Loomquill", "A", "2"));
  EXPECT_EQ(ReadFile(file.string()), "\xEF\xBB\xBF[Loomquill]\nA=2\n");
}

}  // namespace
}  // namespace lq
