#include "data/sql_text.h"

#include <limits>

namespace velmora {

std::string QuoteSql(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        out.push_back(c);
        if (c == '\'') out.push_back('\'');
    }
    return TrimRight(out);
}

std::string ZeroCode(int count) { return count <= 0 ? std::string() : std::string(static_cast<size_t>(count), '0'); }

std::string PlainNumberFormat(int decimals) {
    switch (decimals) {
        case 0: return "###########0";
        case 1: return "###########0.0";
        case 2: return "##########0.00";
        case 3: return "##########0.000";
        case 4: return "##########0.0000";
        default: return "###########0";
    }
}

std::int64_t ValInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max() / 10 - 10;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == ' ') continue;  // Val skips blanks inside the digits too
        if (c < '0' || c > '9') break;
        if (value < limit) value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::int16_t ValCode(std::string_view text) {
    std::int64_t v = ValInteger(text);
    if (v > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    if (v < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(v);
}

std::string TrimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ') --end;
    return std::string(text.substr(0, end));
}

std::string TrimBlanks(std::string_view text) {
    size_t begin = 0;
    while (begin < text.size() && text[begin] == ' ') ++begin;
    return TrimRight(text.substr(begin));
}

}  // namespace velmora
