#pragma once

#include <string>
#include <vector>

namespace lq {

// The arguments after the program's name, as UTF-8, whatever the system's code page.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard input and output carry bytes as they are: no line-break translation.
void UseBinaryStandardStreams();

}  // namespace lq
