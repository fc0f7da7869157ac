#include "platform/app_id.h"

namespace lq {

// The build names it once (CMake's LQ_APP_ID) for the package and the program alike.
const char* AppId() { return LQ_APP_ID; }

}  // namespace lq
