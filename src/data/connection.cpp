#include "data/connection.h"

#include <algorithm>
#include <atomic>

#include "data/connection_string.h"
#include "data/postgres/postgres_connection.h"
#include "data/sqlite/sqlite_connection.h"

namespace velmora {

namespace {

std::atomic<int> g_lockWaitLimitMs{kLockWaitLimitMs};

bool containsNoCase(std::string text, std::string word) {
    auto lower = [](std::string& s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    };
    lower(text);
    lower(word);
    return text.find(word) != std::string::npos;
}

// Each statement runs as it is queued; a failure is told at once.
class ImmediatePipeline final : public StatementPipeline {
public:
    bool queue(PreparedStatement& statement, const std::vector<std::optional<std::string>>& values) override {
        if (m_failed) return false;
        if (statement.execute(values, m_error)) {
            ++m_queued;
            return true;
        }
        m_failed = true;
        return false;
    }
    bool finish(size_t& failed, DbError& error) override {
        if (!m_failed) return true;
        failed = m_queued;
        error = m_error;
        return false;
    }

private:
    size_t m_queued = 0;
    bool m_failed = false;
    DbError m_error;
};

}  // namespace

void SetLockWaitLimit(int milliseconds) { g_lockWaitLimitMs = milliseconds; }
int LockWaitLimit() { return g_lockWaitLimitMs; }

std::unique_ptr<StatementPipeline> Connection::pipeline() { return std::make_unique<ImmediatePipeline>(); }

std::unique_ptr<Connection> OpenConnection(const std::string& connectionString, DbError& error,
                                           const std::vector<std::string>& requiredTables) {
    ConnectionParts parts = ParseConnectionString(connectionString);
    if (containsNoCase(parts.provider, "oracle") || containsNoCase(parts.provider, "msdaora")) {
        error.number = -2147467259L;
        error.description = "no database client for provider " + parts.provider + " on this platform";
        return nullptr;
    }
    if (parts.hasInitialCatalog) {
        auto connection = OpenPostgres(parts.dataSource, parts.initialCatalog, parts.userId, parts.password, error);
        if (connection && !HasTables(*connection, requiredTables, error)) {
            error.file = parts.initialCatalog;
            return nullptr;
        }
        return connection;
    }
    if (parts.dataSource.empty()) {
        error.number = -2147467259L;
        error.description = "no data source in the connection string";
        return nullptr;
    }
    return OpenSqlite(parts.dataSource, false, error, requiredTables);
}

bool HasTables(Connection& connection, const std::vector<std::string>& tables, DbError& error) {
    for (const std::string& table : tables) {
        DbError missing;
        if (connection.query("SELECT * FROM " + table + " WHERE 1 = 0", missing)) continue;
        error.number = missing.number;
        // A table another connection holds locked, or a server that went away, is there all the same.
        error.description = (missing.fault == DbFault::Other ? "the database has no table " : "the table cannot be read: ") +
                            table + " (" + missing.description + ")";
        error.fault = missing.fault == DbFault::Other ? DbFault::ForeignDatabase : missing.fault;
        return false;
    }
    return true;
}

std::unique_ptr<Connection> CreateSqliteDatabase(const std::string& path, DbError& error) {
    return OpenSqlite(path, true, error);
}

}  // namespace velmora
