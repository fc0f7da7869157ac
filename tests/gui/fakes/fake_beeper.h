#pragma once

#include "platform/services.h"

namespace lq {

class FakeBeeper : public Beeper {
 public:
  void Beep() override { ++beeps; }
  int beeps = 0;
};

}  // namespace lq
