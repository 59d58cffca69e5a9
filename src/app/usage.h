#pragma once

#include <string>

#include "data/data_access.h"

namespace velmora {

// Usage rows per computer and user: which program ran last and when.
// Rows whose use ended more than a month ago are removed at start-up; rows
// that never ended stay.
void PurgeUsage(DataAccess& access);
void RecordUsageStart(DataAccess& access, const std::string& computerId, const std::string& userId);
void RecordUsageEnd(DataAccess& access, const std::string& computerId, const std::string& userId);

}  // namespace velmora
