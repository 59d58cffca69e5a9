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
            // Copy a literal or quoted name whole; a doubled quote stays inside.
            size_t j = i + 1;
            while (j < sql.size()) {
                if (sql[j] == c) {
                    if (j + 1 < sql.size() && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            size_t end = j < sql.size() ? j + 1 : sql.size();
            out.append(sql, i, end - i);
            i = end;
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
