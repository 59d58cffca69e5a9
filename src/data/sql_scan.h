#pragma once

#include <cctype>
#include <string>

// Reading SQL texts byte by byte: the pieces the statement rewrites share.
namespace velmora {

inline bool IsWordByte(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }
inline bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Whether the keyword (upper case) stands at pos as a word of its own, in
// any case.
inline bool KeywordAt(const std::string& s, size_t pos, const char* word) {
    const size_t n = std::char_traits<char>::length(word);
    if (pos + n > s.size()) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(s[pos + i])) != word[i]) return false;
    if (pos > 0 && IsWordByte(static_cast<unsigned char>(s[pos - 1]))) return false;
    if (pos + n < s.size() && IsWordByte(static_cast<unsigned char>(s[pos + n]))) return false;
    return true;
}

inline size_t SkipSpace(const std::string& s, size_t pos) {
    while (pos < s.size() && IsSpace(s[pos])) ++pos;
    return pos;
}

// One past the closing quote of the literal or quoted name opening at pos; a
// doubled quote stays inside.
inline size_t QuotedEnd(const std::string& s, size_t pos) {
    const char quote = s[pos];
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

}  // namespace velmora
