#include "admin/bulk_insert.h"

namespace velmora {

BulkInsert::BulkInsert(Connection& db, std::string table, const std::vector<std::string_view>& columns,
                       size_t rowsPerStatement)
    : m_db(db), m_columns(columns.size()), m_rowsPerStatement(rowsPerStatement == 0 ? 1 : rowsPerStatement) {
    m_head = "INSERT INTO " + table + " (";
    m_marks = "(";
    for (size_t i = 0; i < columns.size(); ++i) {
        m_head += (i ? "," : "") + std::string(columns[i]);
        m_marks += i ? ",?" : "?";
    }
    m_head += ") VALUES ";
    m_marks += ")";
    m_pending.reserve(m_columns * m_rowsPerStatement);
}

PreparedStatement* BulkInsert::statementFor(size_t rows) {
    std::unique_ptr<PreparedStatement>& statement = m_statements[rows];
    if (!statement) {
        std::string sql = m_head;
        sql.reserve(m_head.size() + rows * (m_marks.size() + 1));
        for (size_t i = 0; i < rows; ++i) sql += (i ? "," : "") + m_marks;
        DbError error;
        statement = m_db.prepare(sql, error);
        if (!statement) m_error = error.description;
    }
    return statement.get();
}

bool BulkInsert::add(std::vector<std::optional<std::string>> row) {
    if (!m_error.empty()) return false;
    if (row.size() != m_columns) {
        m_error = m_head + ": a row of " + std::to_string(row.size()) + " values";
        return false;
    }
    for (std::optional<std::string>& value : row) m_pending.push_back(std::move(value));
    return m_pending.size() < m_columns * m_rowsPerStatement || flush();
}

bool BulkInsert::flush() {
    if (!m_error.empty()) return false;
    const size_t rows = m_pending.size() / m_columns;
    if (rows == 0) return true;
    PreparedStatement* statement = statementFor(rows);
    DbError error;
    if (!statement || !statement->execute(m_pending, error)) {
        if (m_error.empty()) m_error = error.description;
        return false;
    }
    m_written += rows;
    m_pending.clear();
    return true;
}

}  // namespace velmora
