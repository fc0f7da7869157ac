#pragma once

namespace lq {

// A window that shows hints: the status text (and later the tooltip) for a command or
// control id. Controls find it as their parent.
class HintSink {
 public:
  virtual ~HintSink() = default;
  // id 0 or less clears the hint; from_menu is false when a control under the pointer asks.
  virtual void MenuItemHint(int id, bool from_menu) = 0;
};

}  // namespace lq
