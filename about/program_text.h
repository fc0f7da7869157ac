#pragma once

namespace lq {

// Marks a text for the catalog where it is defined; ProgramText translates it where it is shown.
constexpr const char* ProgramMark(const char* english) { return english; }

// english in the user's language, from the "loomquill" catalog; unchanged where the system has
// no gettext (the Windows build) or the catalog lacks it.
const char* ProgramText(const char* english);

// Takes the locale from the environment for messages and text (numbers keep the C form) and
// finds the catalog: beside the program in a build, in PREFIX/share/locale installed.
void UseProgramLocale();

}  // namespace lq
