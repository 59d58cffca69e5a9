#include "data/join_order.h"

#include <optional>

#include "data/sql_scan.h"

namespace velmora {

namespace {

bool ReservedWord(const std::string& s, size_t pos) {
    for (const char* word : {"ON", "JOIN", "LEFT", "RIGHT", "INNER", "OUTER", "FULL", "CROSS", "WHERE", "ORDER",
                             "GROUP", "HAVING", "LIMIT", "UNION", "EXCEPT", "INTERSECT", "SELECT", "FROM", "AS"})
        if (KeywordAt(s, pos, word)) return true;
    return false;
}

// Reads the join expression of a FROM clause: operands (names, or joins in
// parentheses) joined by "[kind] JOIN operand ON condition", and writes it
// again with every RIGHT JOIN turned round.
class JoinReader {
public:
    explicit JoinReader(const std::string& sql) : m_sql(sql) {}

    // The expression starting at pos (blanks first allowed), rewritten; pos
    // ends right after it. Nothing when the text is not such an expression.
    std::optional<std::string> expression(size_t& pos) {
        std::optional<std::string> text = operand(pos);
        if (!text) return std::nullopt;
        bool chain = false;
        for (;;) {
            size_t p = SkipSpace(m_sql, pos);
            const size_t kindBegin = p;
            bool right = false;
            if (KeywordAt(m_sql, p, "RIGHT")) {
                right = true;
                p = SkipSpace(m_sql, p + 5);
                if (KeywordAt(m_sql, p, "OUTER")) p = SkipSpace(m_sql, p + 5);
            } else if (KeywordAt(m_sql, p, "LEFT")) {
                p = SkipSpace(m_sql, p + 4);
                if (KeywordAt(m_sql, p, "OUTER")) p = SkipSpace(m_sql, p + 5);
            } else if (KeywordAt(m_sql, p, "INNER")) {
                p = SkipSpace(m_sql, p + 5);
            }
            if (!KeywordAt(m_sql, p, "JOIN")) {
                if (p != kindBegin) return std::nullopt;  // a kind without JOIN
                return text;
            }
            const std::string kind = m_sql.substr(kindBegin, p + 4 - kindBegin);
            p += 4;
            std::optional<std::string> other = operand(p);
            if (!other) return std::nullopt;
            p = SkipSpace(m_sql, p);
            if (!KeywordAt(m_sql, p, "ON")) return std::nullopt;
            p += 2;
            const std::string on = condition(p);
            if (on.empty()) return std::nullopt;
            if (right) {
                *text = *other + " LEFT JOIN " + (chain ? "(" + *text + ")" : *text) + " ON " + on;
                m_changed = true;
            } else {
                *text += " " + kind + " " + *other + " ON " + on;
            }
            chain = true;
            pos = p;
        }
    }

    bool changed() const { return m_changed; }

private:
    std::optional<std::string> operand(size_t& pos) {
        size_t p = SkipSpace(m_sql, pos);
        if (p >= m_sql.size()) return std::nullopt;
        if (m_sql[p] == '(') {
            ++p;
            std::optional<std::string> inner = expression(p);
            if (!inner) return std::nullopt;
            p = SkipSpace(m_sql, p);
            if (p >= m_sql.size() || m_sql[p] != ')') return std::nullopt;
            pos = p + 1;
            return "(" + *inner + ")";
        }
        const size_t nameEnd = name(p);
        if (nameEnd == p) return std::nullopt;
        std::string text = m_sql.substr(p, nameEnd - p);
        // An alias, with or without AS.
        size_t q = SkipSpace(m_sql, nameEnd);
        const bool as = KeywordAt(m_sql, q, "AS");
        if (as) q = SkipSpace(m_sql, q + 2);
        const size_t aliasEnd = name(q);
        if (aliasEnd != q) {
            text += (as ? " AS " : " ") + m_sql.substr(q, aliasEnd - q);
            pos = aliasEnd;
        } else if (as) {
            return std::nullopt;
        } else {
            pos = nameEnd;
        }
        return text;
    }

    // The end of a table name or alias at p (p itself when there is none).
    size_t name(size_t p) const {
        if (p >= m_sql.size() || ReservedWord(m_sql, p)) return p;
        if (m_sql[p] == '"' || m_sql[p] == '[') {
            const size_t close = m_sql.find(m_sql[p] == '"' ? '"' : ']', p + 1);
            return close == std::string::npos ? p : close + 1;
        }
        size_t e = p;
        while (e < m_sql.size() && IsWordByte(static_cast<unsigned char>(m_sql[e]))) ++e;
        // A qualified name (schema.table).
        while (e + 1 < m_sql.size() && m_sql[e] == '.' && IsWordByte(static_cast<unsigned char>(m_sql[e + 1]))) {
            ++e;
            while (e < m_sql.size() && IsWordByte(static_cast<unsigned char>(m_sql[e]))) ++e;
        }
        return e;
    }

    // The condition after ON, as written, up to what ends it at its own
    // level: a closing parenthesis, the next join, or the next clause.
    std::string condition(size_t& pos) const {
        const size_t begin = SkipSpace(m_sql, pos);
        size_t p = begin;
        int depth = 0;
        while (p < m_sql.size()) {
            const char c = m_sql[p];
            if (c == '\'' || c == '"') {
                p = QuotedEnd(m_sql, p);
                continue;
            }
            if (c == '(') ++depth;
            if (c == ')') {
                if (depth == 0) break;
                --depth;
            }
            if (depth == 0 && (c == ';' || (p > begin && StopsCondition(p)))) break;
            ++p;
        }
        size_t end = p;
        while (end > begin && IsSpace(m_sql[end - 1])) --end;
        pos = end;
        return m_sql.substr(begin, end - begin);
    }

    bool StopsCondition(size_t p) const {
        for (const char* word : {"LEFT", "RIGHT", "INNER", "JOIN", "CROSS", "FULL", "WHERE", "ORDER", "GROUP",
                                 "HAVING", "LIMIT", "UNION", "EXCEPT", "INTERSECT"})
            if (KeywordAt(m_sql, p, word)) return true;
        return false;
    }

    const std::string& m_sql;
    bool m_changed = false;
};

}  // namespace

std::string LeadWithRightJoinedTables(const std::string& sql) {
    std::string out;
    size_t copied = 0;
    size_t i = 0;
    bool anyRight = false;
    for (size_t p = 0; p < sql.size() && !anyRight; ++p) anyRight = KeywordAt(sql, p, "RIGHT");
    if (!anyRight) return sql;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            i = QuotedEnd(sql, i);
            continue;
        }
        if (KeywordAt(sql, i, "FROM")) {
            size_t pos = i + 4;
            JoinReader reader(sql);
            std::optional<std::string> joins = reader.expression(pos);
            if (joins && reader.changed()) {
                const size_t start = SkipSpace(sql, i + 4);
                out.append(sql, copied, start - copied);
                out += *joins;
                copied = i = pos;
                continue;
            }
            i += 4;
            continue;
        }
        ++i;
    }
    out.append(sql, copied, std::string::npos);
    return out;
}

}  // namespace velmora
