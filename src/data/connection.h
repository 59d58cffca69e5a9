#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/recordset.h"

namespace velmora {

enum class EngineKind { SQLite, PostgreSQL };

// How long a statement waits for a lock another connection holds (a write
// lock on the SQLite file, a row or table lock on the server) before it
// fails as Busy, so that a colleague's hung transaction never freezes the
// window. For connections opened from now on; tests shorten it so that a
// lock fails within a second instead of fifteen.
constexpr int kLockWaitLimitMs = 15000;
void SetLockWaitLimit(int milliseconds);
int LockWaitLimit();

// The failures the program tells the user about in their own words; every
// other failure is Other and reported as the statement's own outcome.
enum class DbFault {
    None,
    Other,
    Busy,            // another program holds the write lock beyond the wait
    Full,            // no room left on the disk (or the file's size limit)
    ReadOnly,        // the file or the server refuses writes
    DiskError,       // the disk failed while reading or writing
    ConnectionLost,  // the server went away; the session is gone with it
    EmptyFile,       // a database file of 0 bytes
    NotADatabase,    // a file that is not a database, or a damaged one
    ForeignDatabase  // a database without the tables this program needs
};

// What an engine reports when something fails: a number and a description,
// as the suite's error rows and open messages show them; the kind of fault,
// and for a refused database file its path.
struct DbError {
    long number = 0;
    std::string description;
    DbFault fault = DbFault::Other;
    std::string file;
};

// A prepared statement with positional text parameters (NULL for nullopt).
// The system's own statements are plain texts; this exists for bulk work
// (demo data, benchmarks) where the same insert runs thousands of times.
class PreparedStatement {
public:
    virtual ~PreparedStatement() = default;
    virtual bool execute(const std::vector<std::optional<std::string>>& values, DbError& error) = 0;
};

// Prepared statements sent one after another without waiting for each
// answer, the answers read in order at the end: over a network this saves
// a round trip per statement (PostgreSQL's pipeline mode). Inside a
// transaction a failed statement leaves the rest undone and the transaction
// to be rolled back, as a failure does anyway. Engines that answer at once
// run each statement as it is queued.
class StatementPipeline {
public:
    virtual ~StatementPipeline() = default;
    // False once a statement is known to have failed: queue no more.
    virtual bool queue(PreparedStatement& statement, const std::vector<std::optional<std::string>>& values) = 0;
    // Reads every answer still due. False with the position (0-based, in
    // queue order) of the first statement that failed, and its error.
    virtual bool finish(size_t& failed, DbError& error) = 0;
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
    // For statements prepared on this connection; nothing else may run on
    // the connection until the pipeline is finished or destroyed.
    virtual std::unique_ptr<StatementPipeline> pipeline();

    // Explicit transactions. begin takes the write lock at once on SQLite so
    // that two writers wait for each other instead of failing half way.
    virtual bool begin(DbError& error) = 0;
    virtual bool commit(DbError& error) = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;

    // A server connection whose session has gone (server restarted, network
    // lost). Reconnecting opens a new session with the same settings; work
    // of the lost session is gone, so callers do it only between transactions.
    virtual bool broken() const { return false; }
    virtual bool reconnect(DbError& error) {
        error.description = "this connection cannot be opened again";
        return false;
    }
};

// Opens the engine that a connection string of the suite names: an
// "Initial Catalog" part means a PostgreSQL server, otherwise the Data Source
// is an SQLite file, which must already exist and be a database. The Oracle
// providers have no client on this platform and fail like any failed open.
// A database without one of the required tables is refused (ForeignDatabase)
// before anything is written to it.
std::unique_ptr<Connection> OpenConnection(const std::string& connectionString, DbError& error,
                                           const std::vector<std::string>& requiredTables = {});

// Whether every table can be read; the first missing one fails with
// ForeignDatabase. Reads only.
bool HasTables(Connection& connection, const std::vector<std::string>& tables, DbError& error);

// A new, empty SQLite database file (for installations and tests).
std::unique_ptr<Connection> CreateSqliteDatabase(const std::string& path, DbError& error);

}  // namespace velmora
