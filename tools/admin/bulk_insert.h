#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/connection.h"

namespace velmora {

// Inserts rows into one table many at a time: one prepared statement with a
// VALUES list of up to `rowsPerStatement` rows, so that a server is asked once
// per batch instead of once per row. The caller owns the transaction; rows
// still held are written by flush (call it before every commit).
class BulkInsert {
public:
    BulkInsert(Connection& db, std::string table, const std::vector<std::string_view>& columns,
               size_t rowsPerStatement);
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;

    // One row's values in column order (null for NULL).
    bool add(std::vector<std::optional<std::string>> row);
    bool flush();

    size_t written() const { return m_written; }
    const std::string& error() const { return m_error; }

private:
    PreparedStatement* statementFor(size_t rows);

    Connection& m_db;
    std::string m_head;   // "INSERT INTO table (a,b,...) VALUES "
    std::string m_marks;  // "(?,?,...)"
    size_t m_columns;
    size_t m_rowsPerStatement;
    std::vector<std::optional<std::string>> m_pending;
    std::map<size_t, std::unique_ptr<PreparedStatement>> m_statements;  // by row count
    size_t m_written = 0;
    std::string m_error;
};

}  // namespace velmora
