#pragma once

#include <string>

namespace velmora {

// The names the suite writes into its usage, log and linking rows: the
// effective user's login name and the host name, each cut at 255 characters.
std::string ReadComputerName();
std::string ReadUserName();
// The user's home folder ($HOME, else the password entry's).
std::string HomeFolder();

// The folder holding the running program, from /proc/self/exe, without a
// trailing slash.
std::string ExecutableFolder();

// The process arguments joined by single blanks (the suite's command line).
std::string JoinArguments(int argc, char** argv);

}  // namespace velmora
