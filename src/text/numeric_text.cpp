#include "text/numeric_text.h"

#include <utility>

#include "text/utf8.h"

namespace velmora {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

int DigitValue(char32_t code) {
    if (code >= U'0' && code <= U'9') {
        return static_cast<int>(code - U'0');
    }
    if (code >= U'０' && code <= U'９') {
        return static_cast<int>(code - U'０');
    }
    return -1;
}

bool IsDigitChar(char32_t code) {
    return DigitValue(code) >= 0;
}

bool ParseNumericText(std::string_view text, NumericText& result) {
    text = TrimBlanks(text);
    NumericText parsed;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        parsed.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    for (const Utf8Char& c : CodePoints(text)) {
        const int digit = DigitValue(c.code);
        if (digit < 0) {
            return false;
        }
        if (digit != 0 || !parsed.digits.empty()) {
            parsed.digits += static_cast<char>('0' + digit);
        }
    }
    if (parsed.digits.empty()) {
        parsed.digits = "0";
        parsed.negative = false;
    }
    result = std::move(parsed);
    return true;
}

bool IsNumericText(std::string_view text) {
    NumericText ignored;
    return ParseNumericText(text, ignored);
}

}  // namespace velmora
