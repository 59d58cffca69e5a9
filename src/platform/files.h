#pragma once

#include <string>

namespace velmora {

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Creates every missing folder along the path; true when it exists afterwards.
bool CreateFolders(const std::string& path);
// Copies a file, replacing the target.
bool CopyFileOver(const std::string& from, const std::string& to);

}  // namespace velmora
