#pragma once

#include <cstdint>
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

// Copies a file, or a folder with everything in it, to `target`, making the
// document folder when it is missing. A copy that fails part way is removed
// again, so the target either holds the whole source or nothing; `problem`
// then says why.
bool CopyIntoDocuments(const std::string& source, const std::string& target, std::string& problem);

// Whether anything in the folder has a name starting with prefix.
bool AnyStoredWithPrefix(const std::string& folder, const std::string& prefix);
// Removes every file and folder in the folder whose name starts with
// prefix; false when one of them could not be removed (`failed` names it).
bool RemoveStoredWithPrefix(const std::string& folder, const std::string& prefix, std::string& failed);

}  // namespace velmora
