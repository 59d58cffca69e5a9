#pragma once

#include <string>
#include <string_view>

namespace velmora {

// "Velmora 0.1.0": the suite's release, the same for every program it ships.
std::string VersionText();

// Answers "--version" or "--help" (also "-h") given as the first argument:
// prints the version or the usage on standard output and returns true; the
// program then ends with status 0 without opening any installation or
// display. Any other command line returns false untouched.
bool AnswerVersionOrHelp(int argc, char** argv, std::string_view usage);

}  // namespace velmora
