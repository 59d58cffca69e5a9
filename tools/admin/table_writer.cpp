#include "admin/table_writer.h"

namespace velmora {

TableWriter::Row::Row(const CatalogTable& table) : m_table(&table), m_values(table.columns.size()) {}

TableWriter::Row& TableWriter::Row::operator()(std::string_view column, std::string value) {
    for (size_t i = 0; i < m_table->columns.size(); ++i) {
        if (m_table->columns[i].name == column) {
            m_values[i] = std::move(value);
            return *this;
        }
    }
    if (m_unknown.empty()) m_unknown = std::string(column);
    return *this;
}

TableWriter::TableWriter(Connection& db, const CatalogTable& table) : m_db(db), m_table(&table) {
    std::string columns;
    std::string marks;
    for (const CatalogColumn& column : table.columns) {
        if (!columns.empty()) {
            columns += ",";
            marks += ",";
        }
        columns += column.name;
        marks += "?";
    }
    DbError error;
    if (!m_db.begin(error)) {
        m_error = table.name + ": " + error.description;
        return;
    }
    m_open = true;
    m_statement = m_db.prepare("INSERT INTO " + table.name + " (" + columns + ") VALUES (" + marks + ")", error);
    if (!m_statement) m_error = table.name + ": " + error.description;
}

TableWriter::~TableWriter() {
    if (m_open) m_db.rollback();
}

bool TableWriter::insert(const Row& row) {
    if (!m_error.empty()) return false;
    if (row.m_table != m_table) {
        m_error = m_table->name + ": a row of another table";
        return false;
    }
    if (!row.m_unknown.empty()) {
        m_error = m_table->name + " has no column " + row.m_unknown;
        return false;
    }
    std::vector<std::optional<std::string>> values = row.m_values;
    for (size_t i = 0; i < values.size(); ++i)
        if (!values[i]) values[i] = m_table->columns[i].numeric ? "0" : "";
    DbError error;
    if (!m_statement->execute(values, error)) {
        m_error = m_table->name + ": " + error.description;
        return false;
    }
    ++m_count;
    return true;
}

bool TableWriter::finish() {
    if (!m_open) return false;
    m_statement.reset();
    if (!m_error.empty()) {
        m_db.rollback();
        m_open = false;
        return false;
    }
    DbError error;
    m_open = false;
    if (!m_db.commit(error)) {
        m_error = m_table->name + ": " + error.description;
        return false;
    }
    return true;
}

}  // namespace velmora
