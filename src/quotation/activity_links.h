#pragma once

#include <string>

namespace velmora {

struct DocumentScope;
struct LoadedKey;

// Points every sales activity (T営業活動明細) that names the stored quotation
// `from` at the key (office, baseDate, number); empty texts unlink them. The
// activity rows themselves stay. Each update leaves SaveStatus 5, or 4 and
// false at the first that fails.
bool MoveActivityLinks(DocumentScope& scope, const LoadedKey& from, const std::string& office,
                       const std::string& baseDate, const std::string& number);

}  // namespace velmora
