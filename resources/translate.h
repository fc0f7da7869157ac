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

// The form for count in the user's language, as the catalog's plural rule picks it; in
// English singular for 1 and plural otherwise. xgettext takes TrPlural:1,2.
inline std::string TrPlural(const char* singular, const char* plural, unsigned long count) {
  return std::string(
      wxGetTranslation(wxString::FromUTF8(singular), wxString::FromUTF8(plural), count).utf8_str());
}

}  // namespace lq
