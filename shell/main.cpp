#include <wx/app.h>

#include "shell/my_app.h"

wxIMPLEMENT_APP(lq::TMyApp);
