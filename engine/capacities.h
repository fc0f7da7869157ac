#pragma once

#include <cstddef>

namespace lq {

// Byte capacities of the texts Loomquill keeps, terminator excluded.
inline constexpr std::size_t kNameMax = 999;        // a list item, PendingFile, FileOutput
inline constexpr std::size_t kTextMax = 999;        // MainHead, MainQueue
inline constexpr std::size_t kEditReadMax = 998;    // header and queue as read for composing
inline constexpr std::size_t kLineMax = 2999;       // one composed line
inline constexpr std::size_t kComposeWork = 65536;  // bound on a text while variables expand

// Capacities of the window's texts.
inline constexpr std::size_t kEditMax = 1000;         // an edit field's text limit
inline constexpr std::size_t kHintMax = 499;          // a control's or menu item's hint
inline constexpr std::size_t kTemplateHintMax = 990;  // a template item's hint: its full name
inline constexpr std::size_t kMenuBarHintMax = 127;   // a menu-bar item's status text
inline constexpr std::size_t kMenuTitleMax = 30;      // the Templates menu's title, in characters

}  // namespace lq
