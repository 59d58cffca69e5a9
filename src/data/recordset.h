#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One value as the engine gave it. PostgreSQL gives text for everything (with
// the column's numeric flag); SQLite gives its storage class.
struct Cell {
    enum class Kind : std::uint8_t { Null, Integer, Real, Text };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0.0;
    std::string text;
};

// A read-only, fully fetched result (the suite uses client-side cursors).
// Owned by the caller that opened it. Columns are found by name, ignoring the
// case of ASCII letters (PostgreSQL folds unquoted names to lower case).
class Recordset {
public:
    Recordset() = default;
    explicit Recordset(std::vector<std::string> columnNames);

    // Filling, for the engines.
    void addRow(std::vector<Cell> row);
    void setColumnNumeric(size_t column, bool numeric);

    bool eof() const { return m_closed || m_position >= m_rows.size(); }
    bool bof() const { return m_closed || m_rows.empty(); }
    void moveNext() {
        if (!eof()) ++m_position;
    }
    void moveFirst() { m_position = 0; }
    size_t rowCount() const { return m_rows.size(); }
    size_t position() const { return m_position; }
    void close();
    bool isOpen() const { return !m_closed; }

    size_t columnCount() const { return m_names.size(); }
    const std::string& columnName(size_t i) const { return m_names[i]; }
    // -1 when the recordset has no such column.
    int columnIndex(std::string_view name) const;
    bool hasColumn(std::string_view name) const { return columnIndex(name) >= 0; }

    // Null for a missing column or no current row as well.
    bool isNull(std::string_view name) const;
    // The value as text; Null gives the empty text.
    std::string text(std::string_view name) const;
    std::optional<std::string> value(std::string_view name) const;
    // Exact fixed-point value scaled by 10^4 (what Currency holds). Nothing for
    // Null, for a text that is not a number, and for a floating value outside
    // the range in which it converts back exactly.
    std::optional<std::int64_t> scaled4(std::string_view name) const;
    // Small code value by the Val rule (Null gives 0).
    std::int16_t code(std::string_view name) const;
    // Whole number by the Val rule (Null gives 0).
    std::int64_t integer(std::string_view name) const;

    // Access by column position, for generic code.
    const Cell* cell(size_t column) const;
    std::string text(size_t column) const;

private:
    const Cell* find(std::string_view name) const;

    std::vector<std::string> m_names;
    std::vector<bool> m_numeric;
    std::vector<std::vector<Cell>> m_rows;
    size_t m_position = 0;
    bool m_closed = false;
};

// Exact decimal text to a value scaled by 10^4; more decimals round half away
// from zero. Nothing for a text that is not a plain decimal number or overflows.
std::optional<std::int64_t> ParseScaled4(std::string_view text);

// Text of a floating value read from SQLite, shortest form that reads back.
std::string RealToText(double value);

}  // namespace velmora
