#pragma once

#include <memory>
#include <string>

#include "data/connection.h"

namespace velmora {

// Data Source is "host", "host:port", a socket folder, or "folder:port".
std::unique_ptr<Connection> OpenPostgres(const std::string& dataSource, const std::string& database,
                                         const std::string& user, const std::string& password,
                                         DbError& error);

// Creates a database with byte-order text collation, the order SQLite and the
// zero-padded codes expect. Connects to the "postgres" database to do it.
bool CreatePostgresDatabase(const std::string& dataSource, const std::string& database,
                            const std::string& user, const std::string& password, DbError& error);
bool DropPostgresDatabase(const std::string& dataSource, const std::string& database,
                          const std::string& user, const std::string& password, DbError& error);

}  // namespace velmora
