#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/services.h"

namespace lq {

// Which stage of LaunchCommand started the text.
enum class LaunchStage { kNone, kAssociation, kSplitRetry, kProgramStart };

// Starts a command text (a document, a program with an argument, a web address), trying in
// order and stopping at the first that succeeds:
//  1. the text trimmed of spaces (tabs stay); an empty text starts nothing;
//  2. association start of the whole text;
//  3. split retry, when the text holds a '/' with something before it: the part before the
//     first '/' (trailing spaces trimmed) started as a program with the rest, from the '/' on,
//     as its one argument. A desktop opener takes no parameters, so a document with
//     parameters cannot be expressed; a program with a "/switch" can;
//  4. program start, no shell: see ProgramStartCandidates.
// Callers ignore the outcome; tests read it.
LaunchStage LaunchCommand(Launcher& launcher, const std::string& command);

// Trims leading and trailing spaces only.
std::string TrimSpaces(std::string_view text);

// The argument vectors program start tries, in order. A text starting with '"' and closed by
// another '"' names the quoted program, the rest (leading spaces skipped) being its one
// argument. Otherwise each run of spaces in turn, left to right, ends a candidate program
// name and the rest is its one argument, kept whole; last comes the whole text alone. So
// "Notepad my file.txt" tries {"Notepad", "my file.txt"}, then {"Notepad my", "file.txt"},
// then {"Notepad my file.txt"}: a program name with spaces still starts, and a file name with
// spaces reaches the program as one argument.
std::vector<std::vector<std::string>> ProgramStartCandidates(std::string_view text);

}  // namespace lq
