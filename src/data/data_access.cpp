#include "data/data_access.h"

#include <exception>

#include "data/sql_text.h"

namespace velmora {

namespace {

const char kLogTable[] = "プログラム稼動履歴";

std::string counterText(std::int64_t value) {
    std::string digits = std::to_string(value);
    return digits.size() >= 12 ? digits : std::string(12 - digits.size(), '0') + digits;
}

}  // namespace

DataAccess::DataAccess(ClockSource clock) : m_clock(std::move(clock)) {}

DataAccess::~DataAccess() { CloseConnections(); }

bool DataAccess::OpenConfigConnection(const std::string& connectionString, DbError* error,
                                      const std::vector<std::string>& requiredTables) {
    m_config.reset();
    m_configConnectionString = connectionString;
    m_configTables = requiredTables;
    DbError local;
    m_config = OpenConnection(connectionString, local, requiredTables);
    m_lastOpenError = m_config ? DbError{0, {}, DbFault::None, {}} : local;
    if (!m_config && error) *error = local;
    relaxConfigDurability();
    return ConfigOpen();
}

// The business database syncs every commit; the configuration database holds
// the log and linking rows, written one by one all day, where losing the last
// rows to a power cut costs nothing that matters.
void DataAccess::relaxConfigDurability() {
    if (m_config && m_config->kind() == EngineKind::SQLite) {
        DbError ignored;
        m_config->execute("PRAGMA synchronous=NORMAL", ignored);
    }
}

bool DataAccess::OpenDataConnection(const std::string& connectionString, DbError* error,
                                    const std::vector<std::string>& requiredTables) {
    m_data.reset();
    DbError local;
    m_data = OpenConnection(connectionString, local, requiredTables);
    m_lastOpenError = m_data ? DbError{0, {}, DbFault::None, {}} : local;
    if (!m_data) {
        WriteErrorLog("DB_OPEN ERROR" + std::to_string(local.number) + " " + local.description);
        if (error) *error = local;
    }
    return DataOpen();
}

EngineKind DataAccess::dataEngine() const { return m_data ? m_data->kind() : EngineKind::SQLite; }

void DataAccess::failWithError(const DbError& error, const std::string& sql, bool skip) {
    if (!skip) WriteErrorLog(error.description + sql);
}

void DataAccess::noteFault(Connection* connection, const DbError& error) {
    if (connection == m_data.get() && error.fault != DbFault::None && error.fault != DbFault::Other)
        m_dataFault = error.fault;
}

void DataAccess::ReportDataError(const DbError& error, const std::string& sql) {
    noteFault(m_data.get(), error);
    WriteErrorLog(error.description + sql);
}

// A server session lost between transactions (the server restarted, the
// network dropped) is opened again before the next statement. Inside a
// transaction it is not: the transaction's work went with the session, and
// the caller has to fail and roll back first.
bool DataAccess::revive(Connection* connection, DbError& error) {
    if (!connection->broken() || connection->inTransaction()) return true;
    return connection->reconnect(error);
}

bool DataAccess::lostBetweenTransactions(Connection* connection, const DbError& error) const {
    return error.fault == DbFault::ConnectionLost && connection->broken() && !connection->inTransaction();
}

bool DataAccess::openRecordset(Connection* connection, std::unique_ptr<Recordset>& rs, const std::string& sql,
                               bool skipErrorLog, bool* succeeded) {
    rs = std::make_unique<Recordset>();
    DbError error;
    try {
        if (connection == nullptr) {
            error.number = -2147467259L;
            error.description = "the connection is not open";
            error.fault = DbFault::ConnectionLost;
            noteFault(connection, error);
            failWithError(error, sql, skipErrorLog);
            return false;
        }
        std::unique_ptr<Recordset> result;
        if (revive(connection, error)) result = connection->query(sql, error);
        if (!result && lostBetweenTransactions(connection, error)) {
            // The session was found gone by this very read: a read changes
            // nothing, so it runs once more on a new session.
            failWithError(error, sql, skipErrorLog);
            error = {};
            if (connection->reconnect(error)) result = connection->query(sql, error);
        }
        if (!result) {
            noteFault(connection, error);
            failWithError(error, sql, skipErrorLog);
            return false;
        }
        rs = std::move(result);
        if (succeeded) *succeeded = true;
        return !(rs->bof() || rs->eof());
    } catch (const std::exception& e) {
        error.description = e.what();
    } catch (...) {
        error.description = "unexpected failure";
    }
    failWithError(error, sql, skipErrorLog);
    return false;
}

bool DataAccess::execute(Connection* connection, const std::string& sql, bool skipErrorLog) {
    DbError error;
    try {
        if (connection == nullptr) {
            error.number = -2147467259L;
            error.description = "the connection is not open";
            error.fault = DbFault::ConnectionLost;
        } else if (revive(connection, error) && connection->execute(sql, error)) {
            return true;
        }
        // A write that found the session gone is not run again: whether it
        // reached the server is not known. The next operation reconnects.
    } catch (const std::exception& e) {
        error.description = e.what();
    } catch (...) {
        error.description = "unexpected failure";
    }
    noteFault(connection, error);
    failWithError(error, sql, skipErrorLog);
    return false;
}

bool DataAccess::OpenDataRecordset(std::unique_ptr<Recordset>& rs, const std::string& sql, bool log) {
    bool succeeded = false;
    bool found = openRecordset(m_data.get(), rs, sql, false, &succeeded);
    if (log && succeeded) WriteOperationLog(sql);
    return found;
}

bool DataAccess::ExecuteData(const std::string& sql, bool log) {
    if (!execute(m_data.get(), sql, false)) return false;
    if (log) WriteOperationLog(sql);
    return true;
}

bool DataAccess::OpenConfigRecordset(std::unique_ptr<Recordset>& rs, const std::string& sql) {
    return openRecordset(m_config.get(), rs, sql, sql.find(kLogTable) != std::string::npos, nullptr);
}

bool DataAccess::ExecuteConfig(const std::string& sql) {
    return execute(m_config.get(), sql, sql.find(kLogTable) != std::string::npos);
}

bool DataAccess::ExecuteConfigLogged(const std::string& sql) {
    if (!execute(m_config.get(), sql, sql.find(kLogTable) != std::string::npos)) return false;
    WriteOperationLog(sql);
    return true;
}

bool DataAccess::ReopenConfigConnection() {
    m_config.reset();
    if (m_configConnectionString.empty()) return false;
    DbError error;
    m_config = OpenConnection(m_configConnectionString, error, m_configTables);
    relaxConfigDurability();
    return ConfigOpen();
}

void DataAccess::writeLogRow(const std::string& text) {
    std::string time = "'" + NowText() + "'";
    ++m_operationCounter;
    std::string sql = std::string("INSERT INTO プログラム稼動履歴 (") + "実行日付," + "プログラムID," + "proccounter," +
                      "摘要," + "運用事業所コード," + "起動担当者コード," + "ユーザID)" + "VALUES (" + time + ", '" +
                      QuoteSql(m_identity.programId) + "', '" + counterText(m_operationCounter) + "', '" + text +
                      "', '" + QuoteSql(m_identity.officeCode) + "', '" + QuoteSql(m_identity.staffCode) + "', '" +
                      QuoteSql(m_identity.userId) + "')";
    // A failing log write is ignored and never logs itself.
    if (m_config) {
        DbError ignored;
        try {
            m_config->execute(sql, ignored);
        } catch (...) {
        }
    }
}

void DataAccess::WriteOperationLog(const std::string& sql) { writeLogRow("出力終了 " + QuoteSql(QuoteSql(sql))); }

void DataAccess::WriteErrorLog(const std::string& message) { writeLogRow("エラー " + QuoteSql(QuoteSql(message))); }

void DataAccess::WriteStartLog(const std::string& commandLine) {
    writeLogRow("開始 " + QuoteSql(TrimBlanks(commandLine)));
}

void DataAccess::WriteEndLog() { writeLogRow("終了"); }

void DataAccess::CloseConnections() {
    try {
        if (m_data && m_data->inTransaction()) m_data->rollback();
    } catch (...) {
    }
    m_config.reset();
    m_data.reset();
}

bool DataAccess::BeginDataTransaction() {
    if (!m_data) {
        m_dataFault = DbFault::ConnectionLost;
        return false;
    }
    DbError error;
    if (revive(m_data.get(), error) && m_data->begin(error)) return true;
    if (lostBetweenTransactions(m_data.get(), error)) {
        // Nothing has been written yet: the transaction starts on a new session.
        WriteErrorLog(error.description + "BEGIN");
        error = {};
        if (m_data->reconnect(error) && m_data->begin(error)) return true;
    }
    noteFault(m_data.get(), error);
    WriteErrorLog(error.description + "BEGIN");
    return false;
}

bool DataAccess::CommitDataTransaction() {
    if (!m_data) return false;
    DbError error;
    if (m_data->commit(error)) return true;
    noteFault(m_data.get(), error);
    WriteErrorLog(error.description + "COMMIT");
    return false;
}

void DataAccess::RollbackDataTransaction() {
    if (m_data) m_data->rollback();
}

bool DataAccess::InDataTransaction() const { return m_data && m_data->inTransaction(); }

}  // namespace velmora
