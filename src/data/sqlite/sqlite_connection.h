#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/connection.h"

namespace velmora {

// Opens an existing file (create false) or makes a new one. An existing file
// must be an SQLite database and hold the required tables: an empty file,
// any other file and another program's database are refused before anything
// is written to them (SQLite would make an empty file a database on the
// first write, and switching the journal mode writes to the file).
std::unique_ptr<Connection> OpenSqlite(const std::string& path, bool create, DbError& error,
                                       const std::vector<std::string>& requiredTables = {});

}  // namespace velmora
