#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/escape.h"
#include "engine/path_style.h"

namespace lq {

// The section of the settings file and of every template file.
inline constexpr std::string_view kProfileSection = "Loomquill";
// The settings file's name, which the program has always used.
inline constexpr std::string_view kSettingsFileName = "ZQIni.ini";

// How each file's name is written. ScriptSettings::CheckIndex holds these numbers, as the
// settings and template files store them.
enum class PathMode : std::int32_t { kFull = 0, kRelative = 1, kName = 2, kNone = 3 };

constexpr std::int32_t CheckIndexOf(PathMode mode) { return static_cast<std::int32_t>(mode); }

// What a Send To hand-over copies, as SendToIndex stores it: any value but 1 copies the name.
enum class SendToChoice : std::int32_t { kName = 0, kLine = 1 };
constexpr std::int32_t SendToIndexOf(SendToChoice choice) {
  return static_cast<std::int32_t>(choice);
}
constexpr bool SendsLines(std::int32_t send_to_index) {
  return send_to_index == SendToIndexOf(SendToChoice::kLine);
}

// The one record of the current script, beside the file list and the two per-file texts.
// Multi-line texts hold CR LF line breaks.
struct ScriptSettings {
  std::string Section{kProfileSection};
  std::string IniFile{kSettingsFileName};
  std::string FileOutput;
  std::string TemplateFile;
  std::string RelPath;
  std::string MainHead;
  std::string MainQueue;
  std::int32_t CheckIndex = CheckIndexOf(PathMode::kFull);
  // How values taken from a file's name are escaped; None writes them as they are.
  EscapeKind Escape = EscapeKind::kNone;
  std::int32_t SendToIndex = 0;
  bool InvertSlash = false;
  bool SaveLocal = false;
  bool UseTip = true;

  // RelPath := FileOutput cut just after its last separator (whole when it has none).
  void SetRelPathFromOutput(PathStyle style);
};

// The mode a CheckIndex value acts as: anything but 1..3 is full path.
constexpr PathMode EffectiveMode(std::int32_t check_index) {
  return (check_index >= CheckIndexOf(PathMode::kRelative) &&
          check_index <= CheckIndexOf(PathMode::kNone))
             ? static_cast<PathMode>(check_index)
             : PathMode::kFull;
}

// One-line display of a multi-line text: spaces trimmed, CRs dropped, each LF shown as " /n ".
std::string OneLineForm(std::string_view text);

}  // namespace lq
