#pragma once

#include "platform/services.h"

namespace lq {

// One beep per dropped file, but never two within 50 ms: a drop of thousands would ring for
// as long as it takes to list them. The first few of a drop wait their turn; later ones that
// come too soon stay silent.
class DropBeeps {
 public:
  static constexpr long long kSpacingMs = 50;
  static constexpr int kWaitedBeeps = 8;

  // The index-th name (from 0) of the current drop has gone in.
  void Beep(int index, Clock& clock, Beeper& beeper);

 private:
  long long last_ms_ = 0;
  bool rang_ = false;
};

}  // namespace lq
