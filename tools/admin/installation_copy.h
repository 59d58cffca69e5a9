#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velmora {

// An installation's configuration database names its business database and
// the company's folders by absolute path, so a plain copy of the tree would
// go on reading and writing the original's files. Copying or moving through
// here points the new tree at its own files: every path in the configuration
// databases (shared and per-user) and, when the business data is an SQLite
// file inside the tree, in the company's folder settings, that lies inside
// the source is rewritten to the same place inside the target. A business
// database outside the tree (a PostgreSQL server, a shared file) stays
// shared.
struct CopyOutcome {
    bool ok = false;
    std::string message;                // what went wrong, or a summary
    std::vector<std::string> rewritten;  // "file: table.column" of each rewritten setting
    bool sharedBusinessData = false;     // the business database stayed where it was
};

CopyOutcome CopyInstallation(const std::filesystem::path& source, const std::filesystem::path& target);

// The same, leaving nothing at the source. The user's chosen installation
// (the menu entry's) follows the move when it named the source.
CopyOutcome MoveInstallation(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace velmora
