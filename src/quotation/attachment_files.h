#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace velmora {

// The copies of attached files and folders in the suite's shared document
// folder. Each attachment's copy is named after its key: "Velmora_" +
// 情報識別ID + "_" + SEQNo + "_" + the source's own name.

// The last part of a chosen path (extension included); rows written by the
// suite's Windows programs separate with "\".
std::string LastPathPart(const std::string& path);
// The list text of an attachment: a file's name without its extension, a
// folder's whole name.
std::string AttachmentTitle(const std::string& path, bool folder);

// What the document folder holds under one stored name.
struct StoredEntry {
    bool exists = false;
    bool folder = false;
    std::uintmax_t bytes = 0;
    std::string modified;  // "yyyy/mm/dd", local time
};
StoredEntry InspectStored(const std::string& path);

// "1,500KB": whole kilobytes, thousands separated.
std::string KilobyteText(std::uintmax_t bytes);

// A folder that holds the document folder, or that lies inside the copy it
// would be copied to, would be copied into itself until the paths grow too
// long. True for such a folder: the source is the document folder, one of its
// parents, or inside the target. Compared as canonical paths, so a symbolic
// link to any of these counts as what it points to.
bool CopiesIntoItself(const std::string& source, const std::string& documentFolder, const std::string& target);

// A copy into the document folder that may run on another thread while the
// window watches its progress and may cancel it. Run does the work; the
// counters and Cancel may be used from any thread meanwhile. A copy that fails
// or is cancelled removes everything it made, so the target either holds the
// whole source or nothing.
//
// Regular files are copied with their contents, also through a symbolic link;
// a link to a folder (or to nothing) is copied as the link itself, so a link
// back to a parent cannot make the copy endless.
class CopyJob {
public:
    CopyJob(std::string source, std::string target);
    CopyJob(const CopyJob&) = delete;
    CopyJob& operator=(const CopyJob&) = delete;

    void Run();
    void Cancel() { m_cancel = true; }
    // Called on the copying thread after each file copied.
    void OnFileCopied(std::function<void()> observer) { m_observer = std::move(observer); }

    const std::string& source() const { return m_source; }
    const std::string& target() const { return m_target; }
    bool folder() const { return m_folder; }

    // Known once the source has been counted (filesTotal is 0 until then).
    std::uintmax_t filesTotal() const { return m_filesTotal; }
    std::uintmax_t bytesTotal() const { return m_bytesTotal; }
    std::uintmax_t filesDone() const { return m_filesDone; }
    std::uintmax_t bytesDone() const { return m_bytesDone; }
    bool finished() const { return m_finished; }

    // After Run: the whole source is at the target.
    bool succeeded() const { return m_finished && m_succeeded; }
    bool cancelled() const { return m_cancel; }
    // Why a copy failed.
    std::string problem() const;

private:
    bool copyFile(const std::string& from, const std::string& to);
    bool fail(const std::string& why);

    std::string m_source, m_target;
    std::function<void()> m_observer;
    bool m_folder = false;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_finished{false};
    bool m_succeeded = false;
    std::atomic<std::uintmax_t> m_filesTotal{0}, m_bytesTotal{0}, m_filesDone{0}, m_bytesDone{0};
    mutable std::mutex m_mutex;
    std::string m_problem;
};

// Whether anything in the folder has a name starting with prefix.
bool AnyStoredWithPrefix(const std::string& folder, const std::string& prefix);
// Removes every file and folder in the folder whose name starts with
// prefix; false when one of them could not be removed (`failed` names it).
bool RemoveStoredWithPrefix(const std::string& folder, const std::string& prefix, std::string& failed);

}  // namespace velmora
