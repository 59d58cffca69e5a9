#pragma once

#include <memory>
#include <string>

#include "data/connection.h"

namespace velmora {

// How long a statement waits for another program's write lock on the same file.
constexpr int kSqliteBusyTimeoutMs = 15000;

std::unique_ptr<Connection> OpenSqlite(const std::string& path, bool create, DbError& error);

}  // namespace velmora
