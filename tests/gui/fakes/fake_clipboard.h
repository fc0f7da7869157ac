#pragma once

#include <optional>
#include <string>

#include "platform/services.h"

namespace lq {

class FakeClipboard : public Clipboard {
 public:
  bool SetText(const std::string& value) override;

  std::optional<std::string> text;  // nothing until the first successful SetText
  int set_count = 0;
  bool fail = false;  // refuse the next sets, as a clipboard that cannot be opened
};

}  // namespace lq
