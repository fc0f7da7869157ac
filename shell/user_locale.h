#pragma once

namespace lq {

// Takes the locale from the environment (LANG, LC_*) and loads the catalogs of its language,
// Loomquill's "loomquill" and wxWidgets' own, so menus, hints and messages speak the user's
// language as the toolkit's dialogs do. Numbers keep the C form, since settings and
// templates store them that way.
void UseUserLocale();

}  // namespace lq
