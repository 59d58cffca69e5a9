#pragma once

#include <string>
#include <string_view>

// The numeric test of typed text, as the suite's Windows programs apply it
// (IsNumeric) to ordinary input. A text is numeric when it is, after any
// blanks (space or tab) before and after it, an optional single "+" or "-"
// followed by one or more digits. Digits are ASCII 0-9 and the full-width
// ０-９, which IsNumeric accepts on Japanese Windows. Decimal points, thousands
// separators, exponents, currency signs and hexadecimal forms are not codes
// and count as not numeric, so such text is kept as typed.
namespace velmora {

bool IsDigitChar(char32_t code);

// The value of a digit character (0-9), or -1.
int DigitValue(char32_t code);

bool IsNumericText(std::string_view text);

// A numeric text's sign and its digits in ASCII with leading zeros removed
// ("0" for zero); false for text that is not numeric.
struct NumericText {
    bool negative = false;
    std::string digits;
};
bool ParseNumericText(std::string_view text, NumericText& result);

}  // namespace velmora
