#include "data/dialect.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "data/join_order.h"
#include "data/sql_scan.h"

namespace velmora {

namespace {

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
            size_t end = QuotedEnd(sql, i);
            out.append(sql, i, end - i);
            i = end;
            continue;
        }
        if (engine == EngineKind::PostgreSQL && KeywordAt(sql, i, "LIKE")) {
            // The callers' patterns are written for the suite's LIKE, which
            // SQLite matches: ASCII letters in either case, no escape
            // character. PostgreSQL's LIKE is case-sensitive and takes "\" as
            // its escape, so the same search would find other rows. ILIKE folds
            // ASCII letters only in the byte-order (C) databases we create,
            // so a pattern without ASCII letters (a Japanese word) finds the
            // same rows with LIKE, which does not fold every row's text first.
            i += 4;
            size_t p = SkipSpace(sql, i);
            if (p < sql.size() && sql[p] == '\'') {
                size_t end = QuotedEnd(sql, p);
                const bool letters = std::any_of(sql.begin() + static_cast<long>(p), sql.begin() + static_cast<long>(end),
                                                 [](char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); });
                out += letters ? "ILIKE" : "LIKE";
                out.append(sql, i, end - i);
                i = end;
                if (!KeywordAt(sql, SkipSpace(sql, i), "ESCAPE")) out += " ESCAPE ''";
            } else {
                out += "ILIKE";
            }
            continue;
        }
        if (c == '[' || c == ']') {
            if (engine != EngineKind::PostgreSQL) {
                out.push_back(c);
            } else if (!out.empty() && (out.back() == '\'' || out.back() == '"') && i + 1 < sql.size() &&
                       sql[i + 1] == out.back()) {
                // Dropped outright, the bracket would join the quoted runs on
                // either side ('a'['b' becoming one literal 'a''b').
                out.push_back(' ');
            }
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
        if (KeywordAt(sql, i, "SELECT")) {
            size_t p = SkipSpace(sql, i + 6);
            size_t afterQualifier = p;
            if (KeywordAt(sql, p, "DISTINCT")) afterQualifier = SkipSpace(sql, p + 8);
            else if (KeywordAt(sql, p, "ALL")) afterQualifier = SkipSpace(sql, p + 3);
            if (KeywordAt(sql, afterQualifier, "TOP")) {
                size_t q = SkipSpace(sql, afterQualifier + 3);
                size_t digitsEnd = q;
                while (digitsEnd < sql.size() && std::isdigit(static_cast<unsigned char>(sql[digitsEnd])))
                    ++digitsEnd;
                if (digitsEnd > q) {
                    out.append(sql, i, afterQualifier - i);  // SELECT [DISTINCT ]
                    pending.push_back({depth, sql.substr(q, digitsEnd - q)});
                    i = SkipSpace(sql, digitsEnd);
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
    if (engine == EngineKind::SQLite) return LeadWithRightJoinedTables(out);
    return out;
}

}  // namespace velmora
