#pragma once

#include <span>
#include <string>
#include <string_view>

#include "engine/script_settings.h"
#include "persist/key_writer.h"
#include "persist/profile_document.h"

namespace lq {

// The keys the settings file and template files store the script record and the per-file
// header and queue under.
enum class ScriptKey {
  kHeader,
  kQueue,
  kFileOutput,
  kInvertSlash,
  kCheckIndex,
  kEscape,
  kSendToIndex,
  kMainHead,
  kMainQueue,
  kSaveLocal,
  kUseTip
};

// Reads the given keys from the record's section; a missing key or unusable value gives
// the default (FileOutput: empty).
void ReadScriptKeys(const ProfileDocument& doc, std::span<const ScriptKey> which,
                    ScriptSettings& settings, std::string& header, std::string& queue);

// Writes the given keys in that order, which is the order a new file shows them in.
// Header and queue are taken as the edits give them for saving (at most 998 bytes).
void WriteScriptKeys(KeyWriter& w, std::span<const ScriptKey> order, const ScriptSettings& settings,
                     std::string_view header, std::string_view queue);

}  // namespace lq
