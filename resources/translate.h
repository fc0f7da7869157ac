#pragma once

#include <wx/translation.h>

#include <string>
#include <string_view>

namespace lq {

// Loomquill's texts are written in English in the sources; Tr finds the user's language for
// one (xgettext takes Tr as a keyword). Empty text stays empty: gettext would answer it with
// the catalog's header.
inline std::string Tr(std::string_view english) {
  if (english.empty()) return {};
  const wxString source = wxString::FromUTF8(english.data(), english.size());
  return std::string(wxGetTranslation(source).utf8_str());
}

}  // namespace lq
