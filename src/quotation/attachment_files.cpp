#include "quotation/attachment_files.h"

#include <chrono>
#include <filesystem>
#include <fstream>
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

namespace {

// The path with every symbolic link resolved, also where its end does not
// exist yet.
fs::path canonicalPath(const std::string& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? fs::absolute(path, error).lexically_normal() : resolved;
}

// Whether inner is outer or lies somewhere below it.
bool within(const fs::path& inner, const fs::path& outer) {
    auto in = inner.begin();
    for (auto out = outer.begin(); out != outer.end(); ++out, ++in) {
        // A trailing separator leaves an empty last part.
        if (out->empty() && std::next(out) == outer.end()) break;
        if (in == inner.end() || *in != *out) return false;
    }
    return true;
}

constexpr std::size_t kChunk = 1 << 20;

}  // namespace

bool CopiesIntoItself(const std::string& source, const std::string& documentFolder, const std::string& target) {
    const fs::path from = canonicalPath(source);
    std::error_code error;
    if (!fs::is_directory(from, error)) return false;
    return within(canonicalPath(documentFolder), from) || within(from, canonicalPath(target));
}

CopyJob::CopyJob(std::string source, std::string target) : m_source(std::move(source)), m_target(std::move(target)) {
    std::error_code error;
    m_folder = fs::is_directory(m_source, error);
}

std::string CopyJob::problem() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_problem;
}

bool CopyJob::fail(const std::string& why) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_problem.empty()) m_problem = why;
    return false;
}

bool CopyJob::copyFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) return fail(from);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!out) return fail(to);
    std::vector<char> buffer(kChunk);
    while (in) {
        if (m_cancel) return false;
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const std::streamsize got = in.gcount();
        if (got <= 0) break;
        if (!out.write(buffer.data(), got)) return fail(to);
        m_bytesDone += static_cast<std::uintmax_t>(got);
    }
    if (in.bad()) return fail(from);
    out.close();
    if (!out) return fail(to);
    std::error_code error;
    fs::permissions(to, fs::status(from, error).permissions(), error);
    ++m_filesDone;
    if (m_observer) m_observer();
    return true;
}

void CopyJob::Run() {
    const fs::path from(m_source), to(m_target);
    std::error_code error;
    fs::create_directories(to.parent_path(), error);
    if (error || !fs::is_directory(to.parent_path())) {
        fail(error ? error.message() : "not a folder");
        m_finished = true;
        return;
    }
    const bool existed = fs::exists(fs::symlink_status(to, error));
    bool whole = true;
    using Iterator = fs::recursive_directory_iterator;
    if (m_folder) {
        // Counted first, so the progress has its whole.
        std::uintmax_t files = 0, bytes = 0;
        for (Iterator it(from, error), end; !error && it != end && !m_cancel; it.increment(error)) {
            std::error_code probe;
            const fs::file_status target = it->status(probe);
            if (fs::is_regular_file(target)) {
                ++files;
                bytes += it->file_size(probe);
            } else if (it->is_symlink(probe)) {
                ++files;
            }
        }
        if (error) whole = fail(m_source + " (" + error.message() + ")");
        m_filesTotal = files;
        m_bytesTotal = bytes;
        if (whole && !m_cancel) {
            fs::create_directory(to, error);
            if (error) whole = fail(error.message());
        }
        for (Iterator it(from, error), end; whole && !error && it != end && !m_cancel; it.increment(error)) {
            const fs::path dest = to / it->path().lexically_relative(from);
            std::error_code step;
            const bool link = it->is_symlink(step);
            const fs::file_status target = it->status(step);
            if (fs::is_regular_file(target)) {
                whole = copyFile(it->path().string(), dest.string());
            } else if (link) {
                fs::copy_symlink(it->path(), dest, step);
                if (step) {
                    whole = fail(dest.string() + " (" + step.message() + ")");
                } else {
                    ++m_filesDone;
                    if (m_observer) m_observer();
                }
            } else if (fs::is_directory(target)) {
                fs::create_directories(dest, step);
                if (step) whole = fail(dest.string() + " (" + step.message() + ")");
            } else {
                // A pipe, socket or device has no contents to keep: the
                // folder cannot be attached whole.
                whole = fail(it->path().string() + " (not a regular file)");
            }
        }
        if (error) whole = fail(m_source + " (" + error.message() + ")");
    } else {
        m_bytesTotal = fs::file_size(from, error);
        m_filesTotal = 1;
        whole = !error ? copyFile(m_source, m_target) : fail(error.message());
    }
    m_succeeded = whole && !m_cancel;
    // Half a copy would pass for the whole attachment.
    if (!m_succeeded && !existed) {
        std::error_code ignored;
        fs::remove_all(to, ignored);
    }
    m_finished = true;
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
