#pragma once

#include "platform/services.h"

namespace lq {

// The desktop's standard beep.
class WxBeeper : public Beeper {
 public:
  void Beep() override;
};

}  // namespace lq
