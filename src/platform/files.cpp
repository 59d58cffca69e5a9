#include "platform/files.h"

#include <filesystem>

namespace velmora {

namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool FolderExists(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool CreateFolders(const std::string& path) {
    std::error_code error;
    fs::create_directories(path, error);
    return FolderExists(path);
}

bool CopyFileOver(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

}  // namespace velmora
