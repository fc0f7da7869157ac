#include "shell/user_locale.h"

#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/translation.h>
#include <wx/uilocale.h>

#include <clocale>

namespace lq {

void UseUserLocale() {
  wxUILocale::UseDefault();
  std::setlocale(LC_NUMERIC, "C");

  // A build keeps the catalogs beside its programs; an install in PREFIX/share/locale, the
  // programs being in PREFIX/lib/loomquill/.
  const wxFileName program(wxStandardPaths::Get().GetExecutablePath());
  wxFileName beside = wxFileName::DirName(program.GetPath());
  beside.AppendDir("locale");
  wxFileName installed = wxFileName::DirName(program.GetPath() + "/../../share/locale");
  installed.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
  wxFileTranslationsLoader::AddCatalogLookupPathPrefix(installed.GetPath());
  wxFileTranslationsLoader::AddCatalogLookupPathPrefix(beside.GetPath());

  auto* translations = new wxTranslations();  // wxTranslations::Set takes it over
  wxTranslations::Set(translations);
  translations->AddStdCatalog();  // wxWidgets' own: stock labels such as OK and Cancel
  translations->AddCatalog("loomquill");
}

}  // namespace lq
