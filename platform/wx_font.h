#pragma once

#include <wx/font.h>

#include "persist/settings_file.h"

namespace lq {

// The settings file keeps a font as its character height in pixels (negative) at 96 dpi.
int PointSizeFromHeight(int height);
int HeightFromPointSize(int point_size);

// The settings file's font as a wxFont, and back.
wxFont FontFromSettings(const FontSettings& settings);
FontSettings SettingsFromFont(const wxFont& font);

}  // namespace lq
