#include "data/dialect.h"

#include <cctype>
#include <vector>

namespace velmora {

namespace {

bool isWordByte(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

bool keywordAt(const std::string& s, size_t pos, const char* word) {
    size_t n = std::char_traits<char>::length(word);
    if (pos + n > s.size()) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(s[pos + i])) != word[i]) return false;
    if (pos > 0 && isWordByte(static_cast<unsigned char>(s[pos - 1]))) return false;
    if (pos + n < s.size() && isWordByte(static_cast<unsigned char>(s[pos + n]))) return false;
    return true;
}

size_t skipSpace(const std::string& s, size_t pos) {
    while (pos < s.size() && std::isspace(static_cast<unsigned char>(s[pos]))) ++pos;
    return pos;
}

// One past the closing quote of the literal or quoted name opening at pos; a
// doubled quote stays inside.
size_t quotedEnd(const std::string& s, size_t pos) {
    char quote = s[pos];
    size_t j = pos + 1;
    while (j < s.size()) {
        if (s[j] == quote) {
            if (j + 1 < s.size() && s[j + 1] == quote) {
                j += 2;
                continue;
            }
            break;
        }
        ++j;
    }
    return j < s.size() ? j + 1 : s.size();
}

struct PendingLimit {
    int depth;
    std::string count;
};

}  // namespace

std::string TranslateSql(const std::string& sql, EngineKind engine) {
    std::string out;
    out.reserve(sql.size() + 16);
    std::vector<PendingLimit> pending;
    int depth = 0;

    auto flushLimit = [&](int atDepth) {
        if (!pending.empty() && pending.back().depth == atDepth) {
            while (!out.empty() && std::isspace(static_cast<unsigned char>(out.back()))) out.pop_back();
            out += " LIMIT " + pending.back().count;
            pending.pop_back();
        }
    };

    size_t i = 0;
    while (i < sql.size()) {
        char c = sql[i];
        if (c == '\'' || c == '"') {
            // Copy a literal or quoted name whole.
            size_t end = quotedEnd(sql, i);
            out.append(sql, i, end - i);
            i = end;
            continue;
        }
        if (engine == EngineKind::PostgreSQL && keywordAt(sql, i, "LIKE")) {
            // The callers' patterns are written for the suite's LIKE, which
            // SQLite matches: ASCII letters in either case, no escape
            // character. PostgreSQL's LIKE is case-sensitive and takes "\" as
            // its escape, so the same search would find other rows. ILIKE folds
            // ASCII letters only in the byte-order (C) databases we create.
            out += "ILIKE";
            i += 4;
            size_t p = skipSpace(sql, i);
            if (p < sql.size() && sql[p] == '\'') {
                size_t end = quotedEnd(sql, p);
                out.append(sql, i, end - i);
                i = end;
                if (!keywordAt(sql, skipSpace(sql, i), "ESCAPE")) out += " ESCAPE ''";
            }
            continue;
        }
        if (c == '[' || c == ']') {
            if (engine != EngineKind::PostgreSQL) out.push_back(c);
            ++i;
            continue;
        }
        if (c == '(') {
            ++depth;
            out.push_back(c);
            ++i;
            continue;
        }
        if (c == ')') {
            flushLimit(depth);
            if (depth > 0) --depth;
            out.push_back(c);
            ++i;
            continue;
        }
        if (c == ';' && depth == 0) {
            flushLimit(0);
            out.push_back(c);
            ++i;
            continue;
        }
        if (keywordAt(sql, i, "SELECT")) {
            size_t p = skipSpace(sql, i + 6);
            size_t afterQualifier = p;
            if (keywordAt(sql, p, "DISTINCT")) afterQualifier = skipSpace(sql, p + 8);
            else if (keywordAt(sql, p, "ALL")) afterQualifier = skipSpace(sql, p + 3);
            if (keywordAt(sql, afterQualifier, "TOP")) {
                size_t q = skipSpace(sql, afterQualifier + 3);
                size_t digitsEnd = q;
                while (digitsEnd < sql.size() && std::isdigit(static_cast<unsigned char>(sql[digitsEnd])))
                    ++digitsEnd;
                if (digitsEnd > q) {
                    out.append(sql, i, afterQualifier - i);  // SELECT [DISTINCT ]
                    pending.push_back({depth, sql.substr(q, digitsEnd - q)});
                    i = skipSpace(sql, digitsEnd);
                    continue;
                }
            }
        }
        out.push_back(c);
        ++i;
    }
    while (!pending.empty()) {
        int d = pending.back().depth;
        flushLimit(d);
    }
    return out;
}

}  // namespace velmora
