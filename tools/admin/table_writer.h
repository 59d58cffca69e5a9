#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "admin/schema_catalog.h"
#include "data/connection.h"

namespace velmora {

// Inserts many rows into one table with one prepared statement inside one
// transaction. Columns a row does not set are written as the suite writes an
// absent value: the empty text, or 0 for a number.
class TableWriter {
public:
    class Row {
    public:
        Row& operator()(std::string_view column, std::string value);
        Row& operator()(std::string_view column, const char* value) { return (*this)(column, std::string(value)); }
        Row& operator()(std::string_view column, long long value) { return (*this)(column, std::to_string(value)); }
        Row& operator()(std::string_view column, int value) { return (*this)(column, std::to_string(value)); }

    private:
        friend class TableWriter;
        explicit Row(const CatalogTable& table);
        const CatalogTable* m_table;
        std::vector<std::optional<std::string>> m_values;
        std::string m_unknown;  // first column name the table does not have
    };

    TableWriter(Connection& db, const CatalogTable& table);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    Row row() const { return Row(*m_table); }
    bool insert(const Row& row);
    // Commits; false (and everything rolled back) when any step failed.
    bool finish();

    size_t count() const { return m_count; }
    const std::string& error() const { return m_error; }

private:
    Connection& m_db;
    const CatalogTable* m_table;
    std::unique_ptr<PreparedStatement> m_statement;
    bool m_open = false;
    size_t m_count = 0;
    std::string m_error;
};

}  // namespace velmora
