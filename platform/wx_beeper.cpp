#include "platform/wx_beeper.h"

#include <wx/utils.h>

namespace lq {

void WxBeeper::Beep() { wxBell(); }

}  // namespace lq
