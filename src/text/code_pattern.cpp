#include "text/code_pattern.h"

#include "text/numeric_text.h"
#include "text/utf8.h"

namespace velmora {

std::string FormatCode(std::string_view value, std::string_view pattern) {
    if (pattern.empty()) {
        return std::string(value);
    }
    const std::size_t width = CharCount(pattern);
    NumericText number;
    if (!ParseNumericText(value, number)) {
        return std::string(LeftChars(value, width));
    }
    std::string formatted = number.negative ? "-" : "";
    if (number.digits.size() < width) {
        formatted.append(width - number.digits.size(), '0');
    }
    formatted += number.digits;
    return formatted.substr(0, width);
}

std::string ZeroString(std::string_view pattern) {
    return std::string(CharCount(pattern), '0');
}

std::string NineString(std::string_view pattern, int length) {
    if (pattern.empty()) {
        return std::string(length > 0 ? static_cast<std::size_t>(length) : 0, 'Z');
    }
    return std::string(CharCount(pattern), '9');
}

}  // namespace velmora
