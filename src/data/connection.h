#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/recordset.h"

namespace velmora {

enum class EngineKind { SQLite, PostgreSQL };

// What an engine reports when something fails: a number and a description,
// as the suite's error rows and open messages show them.
struct DbError {
    long number = 0;
    std::string description;
};

// A prepared statement with positional text parameters (NULL for nullopt).
// The system's own statements are plain texts; this exists for bulk work
// (demo data, benchmarks) where the same insert runs thousands of times.
class PreparedStatement {
public:
    virtual ~PreparedStatement() = default;
    virtual bool execute(const std::vector<std::optional<std::string>>& values, DbError& error) = 0;
};

// One open database. Statements arrive in the callers' dialect and are
// translated for the engine before they run. Never throws.
class Connection {
public:
    virtual ~Connection() = default;
    virtual EngineKind kind() const = 0;

    // Runs one statement or several separated by semicolons.
    virtual bool execute(const std::string& sql, DbError& error) = 0;
    // Runs a query and fetches every row. Null on failure.
    virtual std::unique_ptr<Recordset> query(const std::string& sql, DbError& error) = 0;
    // Statement with "?" placeholders, in the engine's own dialect.
    virtual std::unique_ptr<PreparedStatement> prepare(const std::string& sql, DbError& error) = 0;

    // Explicit transactions. begin takes the write lock at once on SQLite so
    // that two writers wait for each other instead of failing half way.
    virtual bool begin(DbError& error) = 0;
    virtual bool commit(DbError& error) = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;
};

// Opens the engine that a connection string of the suite names: an
// "Initial Catalog" part means a PostgreSQL server, otherwise the Data Source
// is an SQLite file, which must already exist. The Oracle providers have no
// client on this platform and fail like any failed open.
std::unique_ptr<Connection> OpenConnection(const std::string& connectionString, DbError& error);

// A new, empty SQLite database file (for installations and tests).
std::unique_ptr<Connection> CreateSqliteDatabase(const std::string& path, DbError& error);

}  // namespace velmora
