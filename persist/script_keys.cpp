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
    case ScriptKey::kHeader:
      return keys::kHeader;
    case ScriptKey::kQueue:
      return keys::kQueue;
    case ScriptKey::kFileOutput:
      return keys::kFileOutput;
    case ScriptKey::kInvertSlash:
      return keys::kInvertSlash;
    case ScriptKey::kCheckIndex:
      return keys::kCheckIndex;
    case ScriptKey::kEscape:
      return keys::kEscape;
    case ScriptKey::kSendToIndex:
      return keys::kSendToIndex;
    case ScriptKey::kMainHead:
      return keys::kMainHead;
    case ScriptKey::kMainQueue:
      return keys::kMainQueue;
    case ScriptKey::kSaveLocal:
      return keys::kSaveLocal;
    case ScriptKey::kUseTip:
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
      case ScriptKey::kHeader:
        header = encoded();
        break;
      case ScriptKey::kQueue:
        queue = encoded();
        break;
      case ScriptKey::kFileOutput:
        settings.FileOutput = ProfileDocument::TextOf(value, "", kNameMax);
        break;
      case ScriptKey::kInvertSlash:
        settings.InvertSlash = flag(false);
        break;
      case ScriptKey::kCheckIndex:
        settings.CheckIndex = ProfileDocument::IntOf(value, 0);
        break;
      case ScriptKey::kEscape:
        settings.Escape = EscapeKindOfKey(value);
        break;
      case ScriptKey::kSendToIndex:
        settings.SendToIndex = ProfileDocument::IntOf(value, 0);
        break;
      case ScriptKey::kMainHead:
        settings.MainHead = encoded();
        break;
      case ScriptKey::kMainQueue:
        settings.MainQueue = encoded();
        break;
      case ScriptKey::kSaveLocal:
        settings.SaveLocal = flag(false);
        break;
      case ScriptKey::kUseTip:
        settings.UseTip = flag(true);
        break;
    }
  }
}

void WriteScriptKeys(KeyWriter& w, std::span<const ScriptKey> order, const ScriptSettings& settings,
                     std::string_view header, std::string_view queue) {
  for (const ScriptKey key : order) {
    switch (key) {
      case ScriptKey::kHeader:
        w.Text(keys::kHeader, EncodedValue(CutHeldText(header, kEditReadMax)));
        break;
      case ScriptKey::kQueue:
        w.Text(keys::kQueue, EncodedValue(CutHeldText(queue, kEditReadMax)));
        break;
      case ScriptKey::kFileOutput:
        w.Text(keys::kFileOutput, settings.FileOutput);
        break;
      case ScriptKey::kInvertSlash:
        w.Int(keys::kInvertSlash, settings.InvertSlash ? 1 : 0);
        break;
      case ScriptKey::kCheckIndex:
        w.Int(keys::kCheckIndex, settings.CheckIndex);
        break;
      case ScriptKey::kEscape:
        w.Text(keys::kEscape, EscapeWord(settings.Escape));
        break;
      case ScriptKey::kSendToIndex:
        w.Int(keys::kSendToIndex, settings.SendToIndex);
        break;
      case ScriptKey::kMainHead:
        w.Text(keys::kMainHead, EncodedValue(settings.MainHead));
        break;
      case ScriptKey::kMainQueue:
        w.Text(keys::kMainQueue, EncodedValue(settings.MainQueue));
        break;
      case ScriptKey::kSaveLocal:
        w.Int(keys::kSaveLocal, settings.SaveLocal ? 1 : 0);
        break;
      case ScriptKey::kUseTip:
        w.Int(keys::kUseTip, settings.UseTip ? 1 : 0);
        break;
    }
  }
}

}  // namespace lq
