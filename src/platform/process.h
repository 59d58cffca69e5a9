#pragma once

#include <functional>
#include <string>

namespace velmora {

// Starts a program detached (its own session, never waited for) with one
// argument, or none when the argument is empty. False when the file is
// missing or cannot be executed.
bool StartDetached(const std::string& program, const std::string& argument);

// Opens a document or folder with the desktop's associated application.
// Tests put their own opener in place.
using ShellOpener = std::function<bool(const std::string& path)>;
bool ShellOpen(const std::string& path);
void SetShellOpener(ShellOpener opener);

}  // namespace velmora
