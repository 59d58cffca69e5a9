#pragma once

// What the fuzz targets share: failing with a message, and small independent
// readers of UTF-8 and of statement text to state the invariants with.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::fuzz {

// A broken invariant is a crash for libFuzzer, which then keeps the input.
[[noreturn]] inline void Fail(const char* what, std::string_view detail = {}) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    if (!detail.empty()) std::fprintf(stderr, "  %.*s\n", static_cast<int>(detail.size()), detail.data());
    std::abort();
}

inline void Check(bool holds, const char* what, std::string_view detail = {}) {
    if (!holds) Fail(what, detail);
}

// Well-formed UTF-8 by RFC 3629: no overlong forms, no surrogates, nothing
// above U+10FFFF.
inline bool IsWellFormedUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            n = 1;
        } else if (b == 0xE0) {
            n = 2, lo = 0xA0;
        } else if (b == 0xED) {
            n = 2, hi = 0x9F;
        } else if (b >= 0xE1 && b <= 0xEF) {
            n = 2;
        } else if (b == 0xF0) {
            n = 3, lo = 0x90;
        } else if (b >= 0xF1 && b <= 0xF3) {
            n = 3;
        } else if (b == 0xF4) {
            n = 3, hi = 0x8F;
        } else {
            return false;
        }
        if (i + n >= s.size()) return false;  // cut short
        for (std::size_t k = 1; k <= n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if (c < (k == 1 ? lo : 0x80) || c > (k == 1 ? hi : 0xBF)) return false;
        }
        i += n + 1;
    }
    return true;
}

// Statement text as a lexer sees it: quoted runs (literals, and with
// quoteNames also "names") with a doubled quote staying inside, and the rest.
struct SqlPieces {
    std::vector<std::string> quoted;  // each run with its quotes
    std::string outside;              // the text outside them, each run as "?"
    bool closed = true;               // the last run has its closing quote
    bool balanced = true;             // parentheses outside the runs pair up
};

inline SqlPieces SplitSql(std::string_view sql, bool quoteNames) {
    SqlPieces pieces;
    long depth = 0;
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || (quoteNames && c == '"')) {
            std::size_t j = i + 1;
            bool closed = false;
            while (j < sql.size()) {
                if (sql[j] == c) {
                    if (j + 1 < sql.size() && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                ++j;
            }
            pieces.quoted.emplace_back(sql.substr(i, j - i));
            pieces.outside += '?';
            if (!closed) pieces.closed = false;
            i = j;
            continue;
        }
        if (c == '(') ++depth;
        if (c == ')' && --depth < 0) pieces.balanced = false;
        pieces.outside += c;
        ++i;
    }
    if (depth != 0) pieces.balanced = false;
    return pieces;
}

}  // namespace velmora::fuzz
