#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/clock.h"
#include "data/connection.h"
#include "data/recordset.h"

namespace velmora {

// The values every operation-log row carries besides its text.
struct LogIdentity {
    std::string programId = "Velmora";
    std::string officeCode;  // 運用事業所コード
    std::string staffCode;   // 起動担当者コード
    std::string userId;      // the login name
    std::string computerId;  // the host name, for rows that carry it
};

// The one way in which the program reads and writes its two databases.
// Every operation returns true or false and never throws; a failing statement
// leaves an error row in the operation log.
class DataAccess {
public:
    explicit DataAccess(ClockSource clock = SystemNow);
    ~DataAccess();
    DataAccess(const DataAccess&) = delete;
    DataAccess& operator=(const DataAccess&) = delete;

    // Opens the configuration database; the string and the tables it must
    // hold are kept for reopening.
    bool OpenConfigConnection(const std::string& connectionString, DbError* error = nullptr,
                              const std::vector<std::string>& requiredTables = {});
    // Opens the business database. A failure leaves the "DB_OPEN ERROR" row.
    bool OpenDataConnection(const std::string& connectionString, DbError* error = nullptr,
                            const std::vector<std::string>& requiredTables = {});
    // Why the last open of either connection failed (fault None after a success).
    const DbError& LastOpenError() const { return m_lastOpenError; }
    bool ConfigOpen() const { return m_config != nullptr; }
    bool DataOpen() const { return m_data != nullptr; }

    // True when the recordset has a current row. The recordset is always set,
    // empty when the query failed, and belongs to the caller.
    bool OpenDataRecordset(std::unique_ptr<Recordset>& rs, const std::string& sql, bool log = false);
    bool ExecuteData(const std::string& sql, bool log = false);
    bool OpenConfigRecordset(std::unique_ptr<Recordset>& rs, const std::string& sql);
    bool ExecuteConfig(const std::string& sql);
    bool ExecuteConfigLogged(const std::string& sql);
    bool ReopenConfigConnection();
    void WriteOperationLog(const std::string& sql);
    void WriteErrorLog(const std::string& message);
    void CloseConnections();

    // A statement the caller ran on the business engine itself failed: its
    // error row, and its fault remembered as the operations' own are.
    void ReportDataError(const DbError& error, const std::string& sql);
    // The latest fault worth telling the user (busy, full, read-only, disk,
    // lost connection) of a failed operation on the business database since
    // the last clear; None when there was none. A document save clears it
    // before it starts and reads it when it fails.
    DbFault DataFault() const { return m_dataFault; }
    void ClearDataFault() { m_dataFault = DbFault::None; }

    // Start and end rows of a run.
    void WriteStartLog(const std::string& commandLine);
    void WriteEndLog();

    // All-or-nothing work on the business database: document saves and deletes.
    bool BeginDataTransaction();
    bool CommitDataTransaction();
    void RollbackDataTransaction();
    bool InDataTransaction() const;

    // The clock every row of the run is stamped with.
    TimePoint Now() const { return m_clock(); }
    std::string NowText() const { return FormatTimestamp(m_clock()); }
    const ClockSource& clock() const { return m_clock; }

    LogIdentity& identity() { return m_identity; }
    const LogIdentity& identity() const { return m_identity; }
    std::int64_t OperationCounter() const { return m_operationCounter; }
    void ResetOperationCounter() { m_operationCounter = 0; }

    // The engines, for what the operations above cannot say (bulk loading).
    Connection* dataConnection() { return m_data.get(); }
    Connection* configConnection() { return m_config.get(); }
    EngineKind dataEngine() const;

private:
    bool openRecordset(Connection* connection, std::unique_ptr<Recordset>& rs, const std::string& sql,
                       bool skipErrorLog, bool* succeeded);
    bool execute(Connection* connection, const std::string& sql, bool skipErrorLog);
    void writeLogRow(const std::string& text);
    void relaxConfigDurability();
    void failWithError(const DbError& error, const std::string& sql, bool skip);
    void noteFault(Connection* connection, const DbError& error);
    bool revive(Connection* connection, DbError& error);
    bool lostBetweenTransactions(Connection* connection, const DbError& error) const;

    ClockSource m_clock;
    std::unique_ptr<Connection> m_config;
    std::unique_ptr<Connection> m_data;
    std::string m_configConnectionString;
    std::vector<std::string> m_configTables;
    DbError m_lastOpenError;
    DbFault m_dataFault = DbFault::None;
    LogIdentity m_identity;
    std::int64_t m_operationCounter = 0;
};

// Rolls back unless committed; for the save and delete paths.
class DataTransaction {
public:
    explicit DataTransaction(DataAccess& access) : m_access(access), m_active(access.BeginDataTransaction()) {}
    ~DataTransaction() {
        if (m_active) m_access.RollbackDataTransaction();
    }
    DataTransaction(const DataTransaction&) = delete;
    DataTransaction& operator=(const DataTransaction&) = delete;
    bool active() const { return m_active; }
    bool commit() {
        if (!m_active) return false;
        m_active = false;
        return m_access.CommitDataTransaction();
    }

private:
    DataAccess& m_access;
    bool m_active;
};

}  // namespace velmora
