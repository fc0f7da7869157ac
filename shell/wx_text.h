#pragma once

#include <wx/string.h>

#include <string>

namespace lq {

// Loomquill keeps UTF-8 in std::string; wxWidgets takes wxString.
inline wxString FromUtf8(const std::string& text) { return wxString::FromUTF8(text); }
inline std::string ToUtf8(const wxString& text) { return std::string(text.utf8_str()); }

}  // namespace lq
