#include "platform/wx_font.h"

#include <cstdlib>

namespace lq {

int PointSizeFromHeight(int height) {
  // 72 points to the inch at 96 pixels to the inch, rounded to the nearest point.
  const int pixels = std::abs(height);
  const int points = (pixels * 72 + 48) / 96;
  return points < 1 ? 1 : points;
}

int HeightFromPointSize(int point_size) { return -((point_size * 96 + 36) / 72); }

wxFont FontFromSettings(const FontSettings& settings) {
  wxFontInfo info(PointSizeFromHeight(settings.Height));
  info.FaceName(wxString::FromUTF8(settings.FaceName))
      .Italic(settings.Italic != 0)
      .Underlined(settings.Underline != 0)
      .Strikethrough(settings.StrikeOut != 0);
  // Numeric weights share the 100..900 scale the settings file uses; 0 means normal.
  const int weight = settings.Weight <= 0 ? wxFONTWEIGHT_NORMAL : settings.Weight;
  info.Weight(weight > 1000 ? 1000 : weight);
  return wxFont(info);
}

FontSettings SettingsFromFont(const wxFont& font) {
  FontSettings settings;
  settings.Height = HeightFromPointSize(font.GetPointSize());
  settings.Weight = font.GetNumericWeight();
  settings.Italic = font.GetStyle() != wxFONTSTYLE_NORMAL ? 1 : 0;
  settings.Underline = font.GetUnderlined() ? 1 : 0;
  settings.StrikeOut = font.GetStrikethrough() ? 1 : 0;
  settings.FaceName = font.GetFaceName().utf8_string();
  if (settings.FaceName.size() > kFaceNameMax) settings.FaceName.resize(kFaceNameMax);
  return settings;
}

}  // namespace lq
