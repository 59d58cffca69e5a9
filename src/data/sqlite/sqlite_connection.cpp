#include "data/sqlite/sqlite_connection.h"

#include <sqlite3.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <system_error>
#include <filesystem>

#include "data/dialect.h"

namespace velmora {

namespace {

DbFault faultOf(int code) {
    switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED: return DbFault::Busy;
        case SQLITE_FULL: return DbFault::Full;
        case SQLITE_READONLY:
        case SQLITE_PERM: return DbFault::ReadOnly;
        case SQLITE_IOERR: return DbFault::DiskError;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB: return DbFault::NotADatabase;
        default: return DbFault::Other;
    }
}

void setError(sqlite3* db, int rc, DbError& error) {
    error.number = db ? sqlite3_extended_errcode(db) : rc;
    error.description = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    error.fault = faultOf(static_cast<int>(error.number));
}

void refuse(DbError& error, DbFault fault, const std::string& what, const std::string& path) {
    error.number = SQLITE_NOTADB;
    error.description = what + ": " + path;
    error.fault = fault;
    error.file = path;
}

// The first bytes of every SQLite 3 database. A file without them is refused
// before SQLite sees it: it would turn an empty file into a database.
bool looksLikeDatabase(const std::string& path, DbError& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return true;  // the open reports it
    if (std::filesystem::file_size(path, ec) == 0 && !ec) {
        refuse(error, DbFault::EmptyFile, "the database file is empty", path);
        return false;
    }
    static const char kHeader[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
    char head[16] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return true;  // unreadable: the open reports it
    in.read(head, sizeof head);
    if (in.gcount() == sizeof head && std::memcmp(head, kHeader, sizeof head) == 0) return true;
    refuse(error, DbFault::NotADatabase, "the file is not a database", path);
    return false;
}

// SQLite names the columns of a parenthesised join "name:1" when two tables
// share a name; callers read them by the plain name.
std::string plainColumnName(sqlite3_stmt* stmt, int i) {
    const char* raw = sqlite3_column_name(stmt, i);
    std::string name = raw ? raw : "";
    size_t colon = name.rfind(':');
    if (colon != std::string::npos && colon + 1 < name.size() &&
        name.find_first_not_of("0123456789", colon + 1) == std::string::npos) {
        name.erase(colon);
    }
    return name;
}

class SqliteStatement final : public PreparedStatement {
public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* stmt) : m_db(db), m_stmt(stmt) {}
    ~SqliteStatement() override { sqlite3_finalize(m_stmt); }

    bool execute(const std::vector<std::optional<std::string>>& values, DbError& error) override {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        for (size_t i = 0; i < values.size(); ++i) {
            int rc = values[i] ? sqlite3_bind_text(m_stmt, static_cast<int>(i + 1), values[i]->data(),
                                                   static_cast<int>(values[i]->size()), SQLITE_TRANSIENT)
                               : sqlite3_bind_null(m_stmt, static_cast<int>(i + 1));
            if (rc != SQLITE_OK) {
                setError(m_db, rc, error);
                return false;
            }
        }
        int rc;
        while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            setError(m_db, rc, error);
            sqlite3_reset(m_stmt);
            return false;
        }
        return true;
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt;
};

class SqliteConnection final : public Connection {
public:
    explicit SqliteConnection(sqlite3* db) : m_db(db) {}
    ~SqliteConnection() override {
        if (m_inTransaction) rollback();
        sqlite3_close_v2(m_db);
    }

    EngineKind kind() const override { return EngineKind::SQLite; }

    bool execute(const std::string& sql, DbError& error) override {
        std::string text = TranslateSql(sql, EngineKind::SQLite);
        const char* tail = text.c_str();
        const char* end = text.c_str() + text.size();
        while (tail < end) {
            sqlite3_stmt* stmt = nullptr;
            int rc = sqlite3_prepare_v2(m_db, tail, static_cast<int>(end - tail), &stmt, &tail);
            if (rc != SQLITE_OK) {
                setError(m_db, rc, error);
                return false;
            }
            if (stmt == nullptr) continue;  // blank or comment
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            }
            if (rc != SQLITE_DONE) {
                setError(m_db, rc, error);
                sqlite3_finalize(stmt);
                return false;
            }
            sqlite3_finalize(stmt);
        }
        return true;
    }

    std::unique_ptr<Recordset> query(const std::string& sql, DbError& error) override {
        std::string text = TranslateSql(sql, EngineKind::SQLite);
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(m_db, text.c_str(), static_cast<int>(text.size()), &stmt, nullptr);
        if (rc != SQLITE_OK || stmt == nullptr) {
            if (rc == SQLITE_OK) {
                error.number = SQLITE_MISUSE;
                error.description = "empty statement";
            } else {
                setError(m_db, rc, error);
            }
            return nullptr;
        }
        int columns = sqlite3_column_count(stmt);
        std::vector<std::string> names;
        names.reserve(static_cast<size_t>(columns));
        for (int i = 0; i < columns; ++i) names.push_back(plainColumnName(stmt, i));
        auto result = std::make_unique<Recordset>(std::move(names));
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            std::vector<Cell> row(static_cast<size_t>(columns));
            for (int i = 0; i < columns; ++i) {
                Cell& cell = row[static_cast<size_t>(i)];
                switch (sqlite3_column_type(stmt, i)) {
                    case SQLITE_INTEGER:
                        cell.kind = Cell::Kind::Integer;
                        cell.integer = sqlite3_column_int64(stmt, i);
                        break;
                    case SQLITE_FLOAT:
                        cell.kind = Cell::Kind::Real;
                        cell.real = sqlite3_column_double(stmt, i);
                        break;
                    case SQLITE_NULL: cell.kind = Cell::Kind::Null; break;
                    default: {
                        cell.kind = Cell::Kind::Text;
                        const unsigned char* t = sqlite3_column_text(stmt, i);
                        cell.text.assign(reinterpret_cast<const char*>(t),
                                         static_cast<size_t>(sqlite3_column_bytes(stmt, i)));
                    }
                }
            }
            result->addRow(std::move(row));
        }
        if (rc != SQLITE_DONE) {
            setError(m_db, rc, error);
            sqlite3_finalize(stmt);
            return nullptr;
        }
        sqlite3_finalize(stmt);
        return result;
    }

    std::unique_ptr<PreparedStatement> prepare(const std::string& sql, DbError& error) override {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
        if (rc != SQLITE_OK || stmt == nullptr) {
            setError(m_db, rc, error);
            return nullptr;
        }
        return std::make_unique<SqliteStatement>(m_db, stmt);
    }

    bool begin(DbError& error) override {
        if (!execute("BEGIN IMMEDIATE", error)) return false;
        m_inTransaction = true;
        return true;
    }
    bool commit(DbError& error) override {
        if (!execute("COMMIT", error)) {
            rollback();
            return false;
        }
        m_inTransaction = false;
        return true;
    }
    void rollback() override {
        if (sqlite3_get_autocommit(m_db) == 0) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_inTransaction = false;
    }
    bool inTransaction() const override { return m_inTransaction; }

private:
    sqlite3* m_db;
    bool m_inTransaction = false;
};

}  // namespace


std::unique_ptr<Connection> OpenSqlite(const std::string& path, bool create, DbError& error,
                                       const std::vector<std::string>& requiredTables) {
    if (!create && !looksLikeDatabase(path, error)) return nullptr;
    sqlite3* db = nullptr;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        error.number = rc;
        error.description = std::string(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) + ": " + path;
        error.fault = faultOf(rc);
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, LockWaitLimit());
    sqlite3_extended_result_codes(db, 1);
    auto connection = std::make_unique<SqliteConnection>(db);
    // A damaged file shows itself on the first read; another program's
    // database lacks our tables. Both are found by reading, before the
    // journal mode below writes to the file.
    bool readable = create || connection->query("SELECT COUNT(*) FROM sqlite_master", error) != nullptr;
    if (!readable || !HasTables(*connection, requiredTables, error)) {
        error.file = path;
        error.description += ": " + path;
        return nullptr;
    }
    // Every commit reaches the disk: a quotation once saved survives a power cut.
    if (!connection->execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=OFF",
                             error)) {
        error.file = path;
        return nullptr;
    }
    return connection;
}

}  // namespace velmora
