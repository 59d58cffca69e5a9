#pragma once

#include <string>

#include "data/clock.h"

namespace velmora {

// Stores demo quotations through the program's own pricing and save, dated
// over the months before `today`, a few of them changed once so that they
// carry history. The business database must hold the demo company already.
bool SeedDemoQuotations(const std::string& businessConnectionString, const CalendarDate& today, int count,
                        std::string& error);

}  // namespace velmora
