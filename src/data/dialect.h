#pragma once

#include <string>

#include "data/connection.h"

namespace velmora {

// Turns a statement in the callers' dialect into the engine's: "TOP n" after
// SELECT becomes "LIMIT n" at the end of the same query level, and on
// PostgreSQL bracketed names lose their brackets and LIKE becomes
// "ILIKE pattern ESCAPE ''", which matches as SQLite's LIKE does (ASCII
// letters in either case, no escape character). Text inside literals is
// never touched. On SQLite a RIGHT JOIN is written as the LEFT JOIN with
// its operands swapped, which SQLite plans by the key; nothing else is
// rewritten.
std::string TranslateSql(const std::string& sql, EngineKind engine);

}  // namespace velmora
