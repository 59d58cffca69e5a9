#include "text/serial_numbering.h"

#include <array>

#include "text/utf8.h"

namespace velmora {

namespace {

constexpr std::array<std::string_view, kNumberingStyleCount> kCaptions = {"1.", "１．", "Ⅰ．"};
constexpr char32_t kFullWidthZero = U'０';
constexpr char32_t kFullWidthStop = U'．';
constexpr char32_t kRomanOne = U'Ⅰ';
constexpr char32_t kRomanTen = U'Ⅹ';
constexpr int kHighestDigitNumber = 99;

int styleOf(int style) {
    return ((style % kNumberingStyleCount) + kNumberingStyleCount) % kNumberingStyleCount;
}

bool isBlank(char32_t c) {
    return c == U' ' || c == U'\u3000';
}

// The digit 0-9 of a half-width (wide false) or full-width character, or -1.
int digitOf(char32_t c, bool wide) {
    const char32_t zero = wide ? kFullWidthZero : U'0';
    return c >= zero && c <= zero + 9 ? static_cast<int>(c - zero) : -1;
}

// Length in bytes of a digit-style prefix starting at pos: one or two digits
// of one width without a leading zero, then the stop of that width.
std::size_t digitPrefixAt(std::string_view text, std::size_t pos, bool wide) {
    const char32_t stop = wide ? kFullWidthStop : U'.';
    std::size_t at = pos;
    int digits = 0;
    while (at < text.size() && digits < 3) {
        const Utf8Char c = DecodeUtf8At(text, at);
        const int d = digitOf(c.code, wide);
        if (d < 0) {
            if (c.code != stop || digits == 0) return 0;
            return at + c.bytes.size() - pos;
        }
        if (digits == 0 && d == 0) return 0;
        ++digits;
        at += c.bytes.size();
    }
    return 0;
}

std::size_t romanPrefixAt(std::string_view text, std::size_t pos) {
    const Utf8Char numeral = DecodeUtf8At(text, pos);
    if (numeral.code < kRomanOne || numeral.code > kRomanTen) return 0;
    const std::size_t next = pos + numeral.bytes.size();
    if (next >= text.size() || DecodeUtf8At(text, next).code != kFullWidthStop) return 0;
    return numeral.bytes.size() + ToUtf8(kFullWidthStop).size();
}

}  // namespace

std::string_view NumberingStyleCaption(int style) {
    return kCaptions[static_cast<std::size_t>(styleOf(style))];
}

int HighestSerialNumber(int style) {
    return styleOf(style) == 2 ? static_cast<int>(kRomanTen - kRomanOne) + 1 : kHighestDigitNumber;
}

std::string SerialPrefix(int style, int number) {
    if (number < 1 || number > HighestSerialNumber(style)) return {};
    const int s = styleOf(style);
    if (s == 2) return ToUtf8(kRomanOne + static_cast<char32_t>(number - 1)) + ToUtf8(kFullWidthStop);
    const std::string digits = std::to_string(number);
    if (s == 0) return digits + ".";
    std::string wide;
    for (char d : digits) AppendUtf8(wide, kFullWidthZero + static_cast<char32_t>(d - '0'));
    return wide + ToUtf8(kFullWidthStop);
}

SerialPrefixSpan FindSerialPrefix(std::string_view name) {
    std::size_t pos = 0;
    while (pos < name.size()) {
        const Utf8Char c = DecodeUtf8At(name, pos);
        if (!isBlank(c.code)) break;
        pos += c.bytes.size();
    }
    if (pos >= name.size()) return {};
    std::size_t length = digitPrefixAt(name, pos, false);
    if (length == 0) length = digitPrefixAt(name, pos, true);
    if (length == 0) length = romanPrefixAt(name, pos);
    if (length == 0) return {};
    return {pos, length};
}

bool HasSerialPrefix(std::string_view name) {
    return FindSerialPrefix(name).length > 0;
}

std::string WithoutSerialPrefix(std::string_view name) {
    const SerialPrefixSpan span = FindSerialPrefix(name);
    std::string result(name.substr(0, span.offset));
    result += name.substr(span.offset + span.length);
    return result;
}

}  // namespace velmora
