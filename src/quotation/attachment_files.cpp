#include "quotation/attachment_files.h"

#include <chrono>
#include <filesystem>
#include <vector>

#include "data/clock.h"

namespace velmora {

namespace fs = std::filesystem;

std::string LastPathPart(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && (trimmed.back() == '/' || trimmed.back() == '\\')) trimmed.pop_back();
    const size_t slash = trimmed.find_last_of("/\\");
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

std::string AttachmentTitle(const std::string& path, bool folder) {
    const std::string name = LastPathPart(path);
    if (folder) return name;
    // A leading dot starts a name, not an extension.
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

StoredEntry InspectStored(const std::string& path) {
    StoredEntry entry;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) return entry;
    entry.exists = true;
    entry.folder = fs::is_directory(status);
    if (!entry.folder) {
        const std::uintmax_t bytes = fs::file_size(path, error);
        if (!error) entry.bytes = bytes;
    }
    const fs::file_time_type written = fs::last_write_time(path, error);
    if (!error) {
        const auto system =
            std::chrono::time_point_cast<TimePoint::duration>(std::chrono::file_clock::to_sys(written));
        const std::string day = FormatDate(system);
        entry.modified = day.substr(0, 4) + "/" + day.substr(4, 2) + "/" + day.substr(6, 2);
    }
    return entry;
}

std::string KilobyteText(std::uintmax_t bytes) {
    // Rounded as a formatted division would round, so 1,023 bytes show as 1KB.
    std::string digits = std::to_string((bytes + 512) / 1024);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits + "KB";
}

bool CopyIntoDocuments(const std::string& source, const std::string& target, std::string& problem) {
    std::error_code error;
    const fs::path to(target);
    fs::create_directories(to.parent_path(), error);
    if (error || !fs::is_directory(to.parent_path())) {
        problem = error ? error.message() : "not a folder";
        return false;
    }
    const bool existed = fs::exists(fs::symlink_status(to, error));
    error.clear();
    if (fs::is_directory(source, error))
        fs::copy(source, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    else if (!error)
        fs::copy_file(source, to, fs::copy_options::overwrite_existing, error);
    if (!error) return true;
    problem = error.message();
    // Half a copy would pass for the whole attachment.
    if (!existed) {
        std::error_code ignored;
        fs::remove_all(to, ignored);
    }
    return false;
}

bool AnyStoredWithPrefix(const std::string& folder, const std::string& prefix) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().filename().string().rfind(prefix, 0) == 0) return true;
    return false;
}

bool RemoveStoredWithPrefix(const std::string& folder, const std::string& prefix, std::string& failed) {
    std::error_code error;
    std::vector<fs::path> matching;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().filename().string().rfind(prefix, 0) == 0) matching.push_back(it->path());
    // A missing folder holds no copies; one that is there but cannot be read
    // may still hold them.
    std::error_code probing;
    if (error && fs::exists(folder, probing)) {
        failed = folder;
        return false;
    }
    bool removed = true;
    for (const fs::path& path : matching) {
        std::error_code removing;
        fs::remove_all(path, removing);
        if (removing || fs::exists(fs::symlink_status(path, removing))) {
            if (removed) failed = path.string();
            removed = false;
        }
    }
    return removed;
}

}  // namespace velmora
