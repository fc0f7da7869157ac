#pragma once

namespace lq {

// Loomquill's application id, io.github.loomquill.Loomquill: its desktop entry is
// AppId() + ".desktop", and its windows carry it as their class (X11) and app_id (Wayland).
const char* AppId();

}  // namespace lq
