#include "data/recordset.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "data/sql_text.h"

namespace velmora {

namespace {

bool asciiEqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Doubles up to this magnitude hold every value of at most 11 integer digits
// and 4 decimals closely enough that rounding to 4 decimals restores it.
constexpr double kExactRealLimit = 1e12;

}  // namespace

Recordset::Recordset(std::vector<std::string> columnNames)
    : m_names(std::move(columnNames)), m_numeric(m_names.size(), false) {}

void Recordset::addRow(std::vector<Cell> row) {
    row.resize(m_names.size());
    m_rows.push_back(std::move(row));
}

void Recordset::setColumnNumeric(size_t column, bool numeric) {
    if (column < m_numeric.size()) m_numeric[column] = numeric;
}

void Recordset::close() {
    m_closed = true;
    m_rows.clear();
    m_position = 0;
}

int Recordset::columnIndex(std::string_view name) const {
    for (size_t i = 0; i < m_names.size(); ++i)
        if (asciiEqualNoCase(m_names[i], name)) return static_cast<int>(i);
    return -1;
}

const Cell* Recordset::cell(size_t column) const {
    if (eof() || column >= m_names.size()) return nullptr;
    return &m_rows[m_position][column];
}

const Cell* Recordset::find(std::string_view name) const {
    int index = columnIndex(name);
    return index < 0 ? nullptr : cell(static_cast<size_t>(index));
}

bool Recordset::isNull(std::string_view name) const {
    const Cell* c = find(name);
    return c == nullptr || c->kind == Cell::Kind::Null;
}

static std::string cellText(const Cell* c) {
    if (c == nullptr) return {};
    switch (c->kind) {
        case Cell::Kind::Null: return {};
        case Cell::Kind::Integer: return std::to_string(c->integer);
        case Cell::Kind::Real: return RealToText(c->real);
        case Cell::Kind::Text: return c->text;
    }
    return {};
}

std::string Recordset::text(std::string_view name) const { return cellText(find(name)); }
std::string Recordset::text(size_t column) const { return cellText(cell(column)); }

std::optional<std::string> Recordset::value(std::string_view name) const {
    const Cell* c = find(name);
    if (c == nullptr || c->kind == Cell::Kind::Null) return std::nullopt;
    return cellText(c);
}

std::optional<std::int64_t> Recordset::scaled4(std::string_view name) const {
    const Cell* c = find(name);
    if (c == nullptr) return std::nullopt;
    switch (c->kind) {
        case Cell::Kind::Null: return std::nullopt;
        case Cell::Kind::Integer:
            if (c->integer > std::numeric_limits<std::int64_t>::max() / 10000 ||
                c->integer < std::numeric_limits<std::int64_t>::min() / 10000)
                return std::nullopt;
            return c->integer * 10000;
        case Cell::Kind::Real: {
            if (!std::isfinite(c->real) || std::fabs(c->real) >= kExactRealLimit) return std::nullopt;
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.4f", c->real);
            return ParseScaled4(buffer);
        }
        case Cell::Kind::Text: return ParseScaled4(TrimBlanks(c->text));
    }
    return std::nullopt;
}

std::int16_t Recordset::code(std::string_view name) const { return ValCode(text(name)); }
std::int64_t Recordset::integer(std::string_view name) const {
    const Cell* c = find(name);
    if (c != nullptr && c->kind == Cell::Kind::Integer) return c->integer;
    return ValInteger(cellText(c));
}

std::optional<std::int64_t> ParseScaled4(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
    std::int64_t whole = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        digits = true;
        int d = text[i] - '0';
        if (whole > (max / 10000 - d) / 10) return std::nullopt;
        whole = whole * 10 + d;
    }
    std::int64_t fraction = 0;
    int places = 0;
    bool roundUp = false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            digits = true;
            if (places < 4) {
                fraction = fraction * 10 + (text[i] - '0');
                ++places;
            } else if (places == 4) {
                roundUp = text[i] >= '5';
                ++places;
            }
        }
    }
    // PostgreSQL writes large or tiny floating values with an exponent.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) return std::nullopt;
    if (!digits || i != text.size()) return std::nullopt;
    for (int p = std::min(places, 4); p < 4; ++p) fraction *= 10;
    std::int64_t value = whole * 10000 + fraction + (roundUp ? 1 : 0);
    return negative ? -value : value;
}

std::string RealToText(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace velmora
