#pragma once

namespace lq {

// Takes the locale from the environment (LANG, LC_*), so the toolkit's own dialogs and
// labels speak the user's language. Loomquill's texts are its own and stay as written;
// numbers keep the C form, since settings and templates store them that way.
void UseUserLocale();

}  // namespace lq
