#include "persist/script_keys.h"

#include <optional>
#include <vector>

#include "engine/capacities.h"
#include "persist/encoded_text.h"
#include "persist/escape_key.h"
#include "persist/profile_keys.h"

namespace lq {

namespace {

std::string_view NameOf(ScriptKey key) {
  switch (key) {
    case ScriptKey::Header:
      return keys::kHeader;
    case ScriptKey::Queue:
      return keys::kQueue;
    case ScriptKey::FileOutput:
      return keys::kFileOutput;
    case ScriptKey::InvertSlash:
      return keys::kInvertSlash;
    case ScriptKey::CheckIndex:
      return keys::kCheckIndex;
    case ScriptKey::Escape:
      return keys::kEscape;
    case ScriptKey::SendToIndex:
      return keys::kSendToIndex;
    case ScriptKey::MainHead:
      return keys::kMainHead;
    case ScriptKey::MainQueue:
      return keys::kMainQueue;
    case ScriptKey::SaveLocal:
      return keys::kSaveLocal;
    case ScriptKey::UseTip:
      return keys::kUseTip;
  }
  return {};
}

}  // namespace

void ReadScriptKeys(const ProfileDocument& doc, std::span<const ScriptKey> which,
                    ScriptSettings& settings, std::string& header, std::string& queue) {
  // All keys in one pass over the file, so reading stays linear in its size.
  std::vector<std::string_view> names;
  names.reserve(which.size());
  for (const ScriptKey key : which) names.push_back(NameOf(key));
  const std::vector<std::optional<std::string_view>> values = doc.FindAll(settings.Section, names);

  for (std::size_t i = 0; i < which.size(); ++i) {
    const std::optional<std::string_view> value = values[i];
    const auto encoded = [&] {
      return DecodedValue(ProfileDocument::TextOf(value, "", EncodedCapacity(kTextMax)), kTextMax);
    };
    const auto flag = [&](bool fallback) {
      return ProfileDocument::IntOf(value, fallback ? 1 : 0) != 0;
    };
    switch (which[i]) {
      case ScriptKey::Header:
        header = encoded();
        break;
      case ScriptKey::Queue:
        queue = encoded();
        break;
      case ScriptKey::FileOutput:
        settings.FileOutput = ProfileDocument::TextOf(value, "", kNameMax);
        break;
      case ScriptKey::InvertSlash:
        settings.InvertSlash = flag(false);
        break;
      case ScriptKey::CheckIndex:
        settings.CheckIndex = ProfileDocument::IntOf(value, 0);
        break;
      case ScriptKey::Escape:
        settings.Escape = EscapeKindOfKey(value);
        break;
      case ScriptKey::SendToIndex:
        settings.SendToIndex = ProfileDocument::IntOf(value, 0);
        break;
      case ScriptKey::MainHead:
        settings.MainHead = encoded();
        break;
      case ScriptKey::MainQueue:
        settings.MainQueue = encoded();
        break;
      case ScriptKey::SaveLocal:
        settings.SaveLocal = flag(false);
        break;
      case ScriptKey::UseTip:
        settings.UseTip = flag(true);
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
