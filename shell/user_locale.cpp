#include "shell/user_locale.h"

#include <wx/uilocale.h>

#include <clocale>

namespace lq {

void UseUserLocale() {
  wxUILocale::UseDefault();
  std::setlocale(LC_NUMERIC, "C");
}

}  // namespace lq
