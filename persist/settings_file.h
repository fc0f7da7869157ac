#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/failure.h"
#include "engine/path_style.h"
#include "engine/result.h"
#include "engine/script_settings.h"

namespace lq {

inline constexpr std::size_t kFaceNameMax = 30;

// The main dialog's font as the settings file keeps it.
struct FontSettings {
  std::int32_t Height = -11;
  std::int32_t Weight = 400;
  std::int32_t Italic = 0;
  std::int32_t Underline = 0;
  std::int32_t StrikeOut = 0;
  std::string FaceName = "Arial";
};

// Whether the preview window was open, and where, as the settings file keeps it.
struct PreviewSettings {
  bool Open = false;
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;  // 0 (with Height): never placed, so it goes beside the main window
  std::int32_t Height = 0;
  bool Placed() const { return Width > 0 && Height > 0; }
};

// Fills the record and the per-file header and queue from the settings file; a missing
// file, key or unusable value gives the default (the output file: DefaultOutputFile()).
// RelPath follows the output file.
void LoadSettings(const std::filesystem::path& file, ScriptSettings& settings, std::string& header,
                  std::string& queue, PathStyle style = HostPathStyle());

// Writes the record and the per-file texts, creating the file and its folder as needed;
// a value that cannot be stored is reported after the others are written.
// Header and queue are taken as the edits give them for saving (at most 998 bytes).
// RelPath and TemplateFile are never stored.
Status SaveSettings(const std::filesystem::path& file, const ScriptSettings& settings,
                    const std::string& header, const std::string& queue);

PreviewSettings LoadPreviewSettings(const std::filesystem::path& file);
// The place keys are written only for a placed window; an earlier place then stays.
Status SavePreviewSettings(const std::filesystem::path& file, const PreviewSettings& preview);

FontSettings LoadFontSettings(const std::filesystem::path& file);
// point_size is the size chosen in whole points, stored beside the font for reference.
Status SaveFontSettings(const std::filesystem::path& file, const FontSettings& font,
                        std::int32_t point_size);

}  // namespace lq
