#include "persist/script_keys.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "engine/escape.h"
#include "engine/script_settings.h"
#include "persist/key_writer.h"
#include "persist/profile_document.h"

namespace lq {
namespace {

constexpr ScriptKey kEveryKey[] = {
    ScriptKey::kHeader,     ScriptKey::kQueue,     ScriptKey::kFileOutput,  ScriptKey::kInvertSlash,
    ScriptKey::kCheckIndex, ScriptKey::kEscape,    ScriptKey::kSendToIndex, ScriptKey::kMainHead,
    ScriptKey::kMainQueue,  ScriptKey::kSaveLocal, ScriptKey::kUseTip};

ScriptSettings Changed() {
  ScriptSettings s;
  s.FileOutput = "/out/x.txt";
  s.InvertSlash = true;
  s.CheckIndex = 2;
  s.Escape = EscapeKind::kJson;
  s.SendToIndex = 1;
  s.MainHead = "head\r\n";
  s.MainQueue = "end";
  s.SaveLocal = true;
  s.UseTip = false;
  return s;
}

std::string Written(std::span<const ScriptKey> order, const ScriptSettings& s) {
  ProfileDocument doc("", Eol::kLf);
  KeyWriter w(doc, s.Section);
  WriteScriptKeys(w, order, s, "h", "q\r\n");
  EXPECT_EQ(w.Refused(), "");
  return doc.Text();
}

TEST(ScriptKeys, WritesTheKeysInTheOrderGiven) {
  const ScriptKey order[] = {ScriptKey::kSaveLocal, ScriptKey::kQueue, ScriptKey::kEscape,
                             ScriptKey::kHeader};
  EXPECT_EQ(Written(order, Changed()),
            "[Loomquill]\n"
            "SaveLocal=1\n"
            "Queue=<q#ZQ_BR#>\n"
            "Escape=json\n"
            "Header=<h>\n");
}

TEST(ScriptKeys, WritesEveryKeyInItsStoredForm) {
  EXPECT_EQ(Written(kEveryKey, Changed()),
            "[Loomquill]\n"
            "Header=<h>\n"
            "Queue=<q#ZQ_BR#>\n"
            "FileOutput=/out/x.txt\n"
            "InvertSlash=1\n"
            "CheckIndex=2\n"
            "Escape=json\n"
            "SendToIndex=1\n"
            "MainHead=<head#ZQ_BR#>\n"
            "MainQueue=<end>\n"
            "SaveLocal=1\n"
            "UseTip=0\n");
}

TEST(ScriptKeys, ReadsBackWhatItWrote) {
  const ScriptSettings saved = Changed();
  const ProfileDocument doc(Written(kEveryKey, saved));
  ScriptSettings read;
  std::string header, queue;
  ReadScriptKeys(doc, kEveryKey, read, header, queue);
  EXPECT_EQ(header, "h");
  EXPECT_EQ(queue, "q\r\n");
  EXPECT_EQ(read.FileOutput, saved.FileOutput);
  EXPECT_EQ(read.InvertSlash, saved.InvertSlash);
  EXPECT_EQ(read.CheckIndex, saved.CheckIndex);
  EXPECT_EQ(read.Escape, saved.Escape);
  EXPECT_EQ(read.SendToIndex, saved.SendToIndex);
  EXPECT_EQ(read.MainHead, saved.MainHead);
  EXPECT_EQ(read.MainQueue, saved.MainQueue);
  EXPECT_EQ(read.SaveLocal, saved.SaveLocal);
  EXPECT_EQ(read.UseTip, saved.UseTip);
}

TEST(ScriptKeys, AMissingKeyGivesTheDefault) {
  const ProfileDocument doc("[Loomquill]\nOther=1\n");
  ScriptSettings read = Changed();
  std::string header = "old", queue = "old";
  ReadScriptKeys(doc, kEveryKey, read, header, queue);
  const ScriptSettings fresh;
  EXPECT_EQ(header, "");
  EXPECT_EQ(queue, "");
  EXPECT_EQ(read.FileOutput, "");
  EXPECT_EQ(read.InvertSlash, fresh.InvertSlash);
  EXPECT_EQ(read.CheckIndex, fresh.CheckIndex);
  EXPECT_EQ(read.Escape, fresh.Escape);
  EXPECT_EQ(read.SendToIndex, fresh.SendToIndex);
  EXPECT_EQ(read.MainHead, fresh.MainHead);
  EXPECT_EQ(read.MainQueue, fresh.MainQueue);
  EXPECT_EQ(read.SaveLocal, fresh.SaveLocal);
  EXPECT_TRUE(read.UseTip);
}

TEST(ScriptKeys, ReadsOnlyTheKeysGiven) {
  const ProfileDocument doc(Written(kEveryKey, Changed()));
  const ScriptKey which[] = {ScriptKey::kCheckIndex, ScriptKey::kHeader};
  ScriptSettings read;
  std::string header, queue = "kept";
  ReadScriptKeys(doc, which, read, header, queue);
  EXPECT_EQ(read.CheckIndex, 2);
  EXPECT_EQ(header, "h");
  EXPECT_EQ(queue, "kept");
  EXPECT_EQ(read.FileOutput, "");
  EXPECT_EQ(read.Escape, EscapeKind::kNone);
  EXPECT_TRUE(read.UseTip);
}

}  // namespace
}  // namespace lq
