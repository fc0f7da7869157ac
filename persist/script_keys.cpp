#include "persist/script_keys.h"

#include "engine/capacities.h"
#include "persist/encoded_text.h"
#include "persist/escape_key.h"
#include "persist/profile_keys.h"

namespace lq {

void ReadScriptKeys(const ProfileDocument& doc, std::span<const ScriptKey> which,
                    ScriptSettings& settings, std::string& header, std::string& queue) {
  const std::string& section = settings.Section;
  const auto encoded = [&](std::string_view key) {
    return DecodedValue(doc.ReadText(section, key, "", EncodedCapacity(kTextMax)), kTextMax);
  };
  const auto flag = [&](std::string_view key, bool fallback) {
    return doc.ReadInt(section, key, fallback ? 1 : 0) != 0;
  };
  for (const ScriptKey key : which) {
    switch (key) {
      case ScriptKey::Header:
        header = encoded(keys::kHeader);
        break;
      case ScriptKey::Queue:
        queue = encoded(keys::kQueue);
        break;
      case ScriptKey::FileOutput:
        settings.FileOutput = doc.ReadText(section, keys::kFileOutput, "", kNameMax);
        break;
      case ScriptKey::InvertSlash:
        settings.InvertSlash = flag(keys::kInvertSlash, false);
        break;
      case ScriptKey::CheckIndex:
        settings.CheckIndex = doc.ReadInt(section, keys::kCheckIndex, 0);
        break;
      case ScriptKey::Escape:
        settings.Escape = ReadEscapeKey(doc, section);
        break;
      case ScriptKey::SendToIndex:
        settings.SendToIndex = doc.ReadInt(section, keys::kSendToIndex, 0);
        break;
      case ScriptKey::MainHead:
        settings.MainHead = encoded(keys::kMainHead);
        break;
      case ScriptKey::MainQueue:
        settings.MainQueue = encoded(keys::kMainQueue);
        break;
      case ScriptKey::SaveLocal:
        settings.SaveLocal = flag(keys::kSaveLocal, false);
        break;
      case ScriptKey::UseTip:
        settings.UseTip = flag(keys::kUseTip, true);
        break;
    }
  }
}

void WriteScriptKeys(KeyWriter& w, std::span<const ScriptKey> order, const ScriptSettings& settings,
                     std::string_view header, std::string_view queue) {
  for (const ScriptKey key : order) {
    switch (key) {
      case ScriptKey::Header:
        w.Text(keys::kHeader, EncodedValue(CutHeldText(header, kEditReadMax)));
        break;
      case ScriptKey::Queue:
        w.Text(keys::kQueue, EncodedValue(CutHeldText(queue, kEditReadMax)));
        break;
      case ScriptKey::FileOutput:
        w.Text(keys::kFileOutput, settings.FileOutput);
        break;
      case ScriptKey::InvertSlash:
        w.Int(keys::kInvertSlash, settings.InvertSlash ? 1 : 0);
        break;
      case ScriptKey::CheckIndex:
        w.Int(keys::kCheckIndex, settings.CheckIndex);
        break;
      case ScriptKey::Escape:
        w.Text(keys::kEscape, EscapeWord(settings.Escape));
        break;
      case ScriptKey::SendToIndex:
        w.Int(keys::kSendToIndex, settings.SendToIndex);
        break;
      case ScriptKey::MainHead:
        w.Text(keys::kMainHead, EncodedValue(settings.MainHead));
        break;
      case ScriptKey::MainQueue:
        w.Text(keys::kMainQueue, EncodedValue(settings.MainQueue));
        break;
      case ScriptKey::SaveLocal:
        w.Int(keys::kSaveLocal, settings.SaveLocal ? 1 : 0);
        break;
      case ScriptKey::UseTip:
        w.Int(keys::kUseTip, settings.UseTip ? 1 : 0);
        break;
    }
  }
}

}  // namespace lq
