#include "data/postgres/postgres_connection.h"

#include <algorithm>

#include "data/dialect.h"
#include "data/postgres/libpq.h"

namespace velmora {

namespace {

// The number ADO reports for a provider's failure; PostgreSQL's own code is
// in the description.
constexpr long kProviderFailure = -2147467259L;

// The client library's calls; loaded by the first connect(), before any
// other call can be made.
const pq::Calls& Pq() {
    static const pq::Calls* const calls = [] {
        std::string unused;
        return pq::Load(unused);
    }();
    return *calls;
}

std::string trimNewline(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    return s;
}

// The server's error classes that the program tells the user about.
DbFault faultOf(PGconn* conn, const char* state) {
    if (Pq().PQstatus(conn) == CONNECTION_BAD) return DbFault::ConnectionLost;
    std::string code = state ? state : "";
    // 08: connection exceptions; 57P01-57P03: the server shutting down or starting.
    if (code.rfind("08", 0) == 0 || code == "57P01" || code == "57P02" || code == "57P03")
        return DbFault::ConnectionLost;
    if (code == "53100") return DbFault::Full;
    if (code == "25006") return DbFault::ReadOnly;
    if (code == "55P03" || code == "40P01" || code == "57014") return DbFault::Busy;
    if (code.rfind("58", 0) == 0) return DbFault::DiskError;
    return DbFault::Other;
}

void setResultError(PGconn* conn, PGresult* res, DbError& error) {
    error.number = kProviderFailure;
    const char* state = res ? Pq().PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
    std::string message = res ? Pq().PQresultErrorMessage(res) : "";
    if (message.empty()) message = Pq().PQerrorMessage(conn);
    error.description = trimNewline(message);
    if (state) error.description = std::string("[") + state + "] " + error.description;
    error.fault = faultOf(conn, state);
}

bool isNumericType(Oid type) {
    switch (type) {
        case 20: case 21: case 23: case 700: case 701: case 1700: return true;
        default: return false;
    }
}

struct ResultGuard {
    PGresult* res;
    ~ResultGuard() { Pq().PQclear(res); }
};

class PostgresStatement final : public PreparedStatement {
public:
    PostgresStatement(PGconn* conn, std::string name, int params)
        : m_conn(conn), m_name(std::move(name)), m_params(params) {}
    // A server-side statement lives as long as the session: each document
    // save prepares its own, so each gives its own back.
    ~PostgresStatement() override { Pq().PQclear(Pq().PQexec(m_conn, ("DEALLOCATE " + m_name).c_str())); }

    bool execute(const std::vector<std::optional<std::string>>& values, DbError& error) override {
        std::vector<const char*> raw(static_cast<size_t>(m_params), nullptr);
        for (size_t i = 0; i < values.size() && i < raw.size(); ++i)
            raw[i] = values[i] ? values[i]->c_str() : nullptr;
        ResultGuard r{Pq().PQexecPrepared(m_conn, m_name.c_str(), m_params, raw.data(), nullptr, nullptr, 0)};
        ExecStatusType st = Pq().PQresultStatus(r.res);
        if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) {
            setResultError(m_conn, r.res, error);
            return false;
        }
        return true;
    }

    const std::string& name() const { return m_name; }
    int params() const { return m_params; }

private:
    PGconn* m_conn;
    std::string m_name;
    int m_params;
};

// Prepared statements sent in pipeline mode. The answers are read after
// every few hundred statements: a server whose answers nobody reads stops
// reading statements, and both sides would wait for ever.
class PostgresPipeline final : public StatementPipeline {
public:
    explicit PostgresPipeline(PGconn* conn) : m_conn(conn) {}
    ~PostgresPipeline() override {
        size_t failed = 0;
        DbError ignored;
        finish(failed, ignored);
    }

    bool queue(PreparedStatement& statement, const std::vector<std::optional<std::string>>& values) override {
        if (m_failed) return false;
        auto* prepared = dynamic_cast<PostgresStatement*>(&statement);
        const bool piped = prepared != nullptr && (Pq().PQpipelineStatus(m_conn) != PQ_PIPELINE_OFF ||
                                                   Pq().PQenterPipelineMode(m_conn) == 1);
        if (!piped) {
            // Not ours, or the connection is busy: run it the ordinary way.
            DbError error;
            if (m_pending > 0) readAnswers();
            if (!m_failed && !statement.execute(values, error)) {
                m_failed = true;
                m_failedAt = m_answered;
                m_error = error;
            }
            ++m_answered;
            return !m_failed;
        }
        std::vector<const char*> raw(static_cast<size_t>(prepared->params()), nullptr);
        for (size_t i = 0; i < values.size() && i < raw.size(); ++i) raw[i] = values[i] ? values[i]->c_str() : nullptr;
        if (Pq().PQsendQueryPrepared(m_conn, prepared->name().c_str(), prepared->params(), raw.data(), nullptr, nullptr,
                                0) != 1) {
            fail(m_answered + m_pending, nullptr);
            readAnswers();
            return false;
        }
        ++m_pending;
        if (m_pending >= kChunk) readAnswers();
        return !m_failed;
    }

    bool finish(size_t& failed, DbError& error) override {
        if (Pq().PQpipelineStatus(m_conn) != PQ_PIPELINE_OFF) {
            if (m_pending > 0) readAnswers();
            Pq().PQexitPipelineMode(m_conn);
        }
        return report(failed, error);
    }

private:
    static constexpr size_t kChunk = 200;

    bool report(size_t& failed, DbError& error) const {
        if (!m_failed) return true;
        failed = m_failedAt;
        error = m_error;
        return false;
    }

    // Sends the sync and reads the answers of the statements sent since the
    // last one: each ends with a null result; the sync's own comes last.
    void readAnswers() {
        if (Pq().PQpipelineSync(m_conn) != 1) {
            fail(m_answered, nullptr);
            m_pending = 0;
            return;
        }
        size_t ended = 0;
        for (;;) {
            PGresult* res = Pq().PQgetResult(m_conn);
            if (res == nullptr) {
                // Past every statement and no sync: the session is gone.
                if (++ended > m_pending + 1 || Pq().PQstatus(m_conn) == CONNECTION_BAD) {
                    fail(m_answered + std::min(ended, m_pending), nullptr);
                    break;
                }
                continue;
            }
            const ExecStatusType status = Pq().PQresultStatus(res);
            if (status == PGRES_PIPELINE_SYNC) {
                Pq().PQclear(res);
                break;
            }
            if (status == PGRES_FATAL_ERROR) fail(m_answered + ended, res);
            Pq().PQclear(res);
        }
        m_answered += m_pending;
        m_pending = 0;
    }

    void fail(size_t at, PGresult* res) {
        if (m_failed) return;
        m_failed = true;
        m_failedAt = at;
        setResultError(m_conn, res, m_error);
    }

    PGconn* m_conn;
    size_t m_pending = 0;   // sent since the last sync
    size_t m_answered = 0;  // statements before those
    bool m_failed = false;
    size_t m_failedAt = 0;
    DbError m_error;
};

class PostgresConnection final : public Connection {
public:
    explicit PostgresConnection(PGconn* conn) : m_conn(conn) {}
    ~PostgresConnection() override { Pq().PQfinish(m_conn); }

    EngineKind kind() const override { return EngineKind::PostgreSQL; }

    bool execute(const std::string& sql, DbError& error) override {
        std::string text = TranslateSql(sql, EngineKind::PostgreSQL);
        ResultGuard r{Pq().PQexec(m_conn, text.c_str())};
        ExecStatusType st = Pq().PQresultStatus(r.res);
        if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK && st != PGRES_EMPTY_QUERY) {
            setResultError(m_conn, r.res, error);
            return false;
        }
        return true;
    }

    std::unique_ptr<Recordset> query(const std::string& sql, DbError& error) override {
        std::string text = TranslateSql(sql, EngineKind::PostgreSQL);
        // One statement only: a query never carries a second, stacked one.
        ResultGuard r{Pq().PQexecParams(m_conn, text.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0)};
        if (Pq().PQresultStatus(r.res) != PGRES_TUPLES_OK) {
            if (Pq().PQresultStatus(r.res) == PGRES_COMMAND_OK) {
                error.number = kProviderFailure;
                error.description = "statement returned no result set";
            } else {
                setResultError(m_conn, r.res, error);
            }
            return nullptr;
        }
        int columns = Pq().PQnfields(r.res);
        std::vector<std::string> names;
        names.reserve(static_cast<size_t>(columns));
        for (int i = 0; i < columns; ++i) names.emplace_back(Pq().PQfname(r.res, i));
        auto result = std::make_unique<Recordset>(std::move(names));
        for (int i = 0; i < columns; ++i)
            result->setColumnNumeric(static_cast<size_t>(i), isNumericType(Pq().PQftype(r.res, i)));
        int rows = Pq().PQntuples(r.res);
        for (int row = 0; row < rows; ++row) {
            std::vector<Cell> cells(static_cast<size_t>(columns));
            for (int i = 0; i < columns; ++i) {
                if (Pq().PQgetisnull(r.res, row, i)) continue;
                Cell& cell = cells[static_cast<size_t>(i)];
                cell.kind = Cell::Kind::Text;
                cell.text.assign(Pq().PQgetvalue(r.res, row, i), static_cast<size_t>(Pq().PQgetlength(r.res, row, i)));
            }
            result->addRow(std::move(cells));
        }
        return result;
    }

    std::unique_ptr<PreparedStatement> prepare(const std::string& sql, DbError& error) override {
        // "?" placeholders become $1, $2 … outside literals.
        std::string text;
        int count = 0;
        bool inLiteral = false;
        for (char c : sql) {
            if (c == '\'') inLiteral = !inLiteral;
            if (c == '?' && !inLiteral) text += "$" + std::to_string(++count);
            else text.push_back(c);
        }
        std::string name = "velmora_stmt_" + std::to_string(++m_statementCounter);
        ResultGuard r{Pq().PQprepare(m_conn, name.c_str(), text.c_str(), count, nullptr)};
        if (Pq().PQresultStatus(r.res) != PGRES_COMMAND_OK) {
            setResultError(m_conn, r.res, error);
            return nullptr;
        }
        return std::make_unique<PostgresStatement>(m_conn, name, count);
    }
    std::unique_ptr<StatementPipeline> pipeline() override { return std::make_unique<PostgresPipeline>(m_conn); }

    bool begin(DbError& error) override {
        if (!execute("BEGIN", error)) return false;
        m_inTransaction = true;
        return true;
    }
    bool commit(DbError& error) override {
        // A COMMIT that gets no answer leaves the outcome unknown to this
        // side; it is reported as failed, never as stored.
        if (!execute("COMMIT", error)) {
            rollback();
            return false;
        }
        m_inTransaction = false;
        return true;
    }
    void rollback() override {
        PGTransactionStatusType st = Pq().PQtransactionStatus(m_conn);
        if (st != PQTRANS_IDLE && st != PQTRANS_UNKNOWN) Pq().PQclear(Pq().PQexec(m_conn, "ROLLBACK"));
        m_inTransaction = false;
    }
    // Also true when the session broke inside the transaction: the caller
    // must roll back (and so learn of the loss) before anything reconnects.
    bool inTransaction() const override {
        PGTransactionStatusType st = Pq().PQtransactionStatus(m_conn);
        return m_inTransaction || st == PQTRANS_INTRANS || st == PQTRANS_INERROR || st == PQTRANS_ACTIVE;
    }

    bool broken() const override { return Pq().PQstatus(m_conn) == CONNECTION_BAD; }
    bool reconnect(DbError& error) override;

private:
    PGconn* m_conn;
    int m_statementCounter = 0;
    bool m_inTransaction = false;
};

std::string showSetting(PGconn* conn, const char* name) {
    ResultGuard r{Pq().PQexec(conn, (std::string("SHOW ") + name).c_str())};
    if (Pq().PQresultStatus(r.res) != PGRES_TUPLES_OK || Pq().PQntuples(r.res) != 1 || Pq().PQnfields(r.res) != 1) return "";
    return Pq().PQgetvalue(r.res, 0, 0);
}

// Every statement quotes free text by doubling apostrophes only. With
// standard_conforming_strings off the server reads a backslash inside a
// literal as an escape, so a typed "\'" would end the literal early and the
// rest of the input would run as SQL. A server default (postgresql.conf,
// ALTER DATABASE, ALTER ROLE) may have it off, so every session sets it and
// a session where it does not hold is refused.
bool forceStandardStrings(PGconn* conn, DbError& error) {
    Pq().PQclear(Pq().PQexec(conn, "SET standard_conforming_strings = on"));
    std::string value = showSetting(conn, "standard_conforming_strings");
    if (value == "on") return true;
    error.number = kProviderFailure;
    error.description = "standard_conforming_strings cannot be set on (server reports \"" + value +
                        "\"); text literals would not be safe on this connection";
    return false;
}

PGconn* connect(const std::string& dataSource, const std::string& database, const std::string& user,
                const std::string& password, DbError& error) {
    std::string host = dataSource;
    std::string port;
    size_t colon = dataSource.rfind(':');
    if (colon != std::string::npos && colon + 1 < dataSource.size() &&
        dataSource.find_first_not_of("0123456789", colon + 1) == std::string::npos) {
        host = dataSource.substr(0, colon);
        port = dataSource.substr(colon + 1);
    }
    std::vector<const char*> keys;
    std::vector<const char*> values;
    auto add = [&](const char* key, const std::string& value) {
        if (value.empty()) return;
        keys.push_back(key);
        values.push_back(value.c_str());
    };
    add("host", host);
    add("port", port);
    add("dbname", database);
    add("user", user);
    add("password", password);
    keys.push_back("connect_timeout");
    values.push_back("60");
    keys.push_back("client_encoding");
    values.push_back("UTF8");
    keys.push_back("application_name");
    values.push_back("Velmora");
    // Every lock wait ends, as SQLite's busy timeout ends it; the session
    // option outlives a reset of the connection.
    const std::string options = "-c lock_timeout=" + std::to_string(LockWaitLimit());
    keys.push_back("options");
    values.push_back(options.c_str());
    keys.push_back(nullptr);
    values.push_back(nullptr);
    std::string problem;
    if (pq::Load(problem) == nullptr) {
        error.number = kProviderFailure;
        error.description = problem;
        return nullptr;
    }
    PGconn* conn = Pq().PQconnectdbParams(keys.data(), values.data(), 0);
    if (conn == nullptr || Pq().PQstatus(conn) != CONNECTION_OK) {
        error.number = kProviderFailure;
        error.description = trimNewline(conn ? Pq().PQerrorMessage(conn) : "out of memory");
        Pq().PQfinish(conn);
        return nullptr;
    }
    // Notices (for example of IF NOT EXISTS) are not errors; keep them off stderr.
    Pq().PQsetNoticeProcessor(conn, [](void*, const char*) {}, nullptr);
    if (!forceStandardStrings(conn, error)) {
        Pq().PQfinish(conn);
        return nullptr;
    }
    return conn;
}

// A new session on the same PGconn, so statements prepared on the old one
// fail by name instead of pointing at a freed connection.
bool PostgresConnection::reconnect(DbError& error) {
    m_inTransaction = false;
    Pq().PQreset(m_conn);
    if (Pq().PQstatus(m_conn) != CONNECTION_OK) {
        error.number = kProviderFailure;
        error.description = trimNewline(Pq().PQerrorMessage(m_conn));
        error.fault = DbFault::ConnectionLost;
        return false;
    }
    return forceStandardStrings(m_conn, error);
}

std::string quoteIdentifier(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    return out + "\"";
}

}  // namespace

std::unique_ptr<Connection> OpenPostgres(const std::string& dataSource, const std::string& database,
                                         const std::string& user, const std::string& password,
                                         DbError& error) {
    PGconn* conn = connect(dataSource, database, user, password, error);
    if (conn == nullptr) return nullptr;
    return std::make_unique<PostgresConnection>(conn);
}

bool CreatePostgresDatabase(const std::string& dataSource, const std::string& database,
                            const std::string& user, const std::string& password, DbError& error) {
    auto admin = OpenPostgres(dataSource, "postgres", user, password, error);
    if (!admin) return false;
    return admin->execute("CREATE DATABASE " + quoteIdentifier(database) +
                              " TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'",
                          error);
}

bool DropPostgresDatabase(const std::string& dataSource, const std::string& database,
                          const std::string& user, const std::string& password, DbError& error) {
    auto admin = OpenPostgres(dataSource, "postgres", user, password, error);
    if (!admin) return false;
    return admin->execute("DROP DATABASE IF EXISTS " + quoteIdentifier(database) + " WITH (FORCE)", error);
}

}  // namespace velmora
