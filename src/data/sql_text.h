#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Free text goes through QuoteSql before it is put between apostrophes:
// each apostrophe doubled, trailing blanks cut, leading blanks kept.
std::string QuoteSql(std::string_view text);

// A code made of zeros stands for the whole company ("000" for offices).
std::string ZeroCode(int count);

// The plain format of a value with the given number of decimals, as written
// into statements ("##########0.00" for two decimals).
std::string PlainNumberFormat(int decimals);

// Numeric value of a text by the Val rule: leading blanks skipped, reading
// stops at the first character that is not part of a number, no digits is 0.
// Only the integer part is kept.
std::int64_t ValInteger(std::string_view text);

// Small code values stored as one-character texts, read back as 16-bit integers.
std::int16_t ValCode(std::string_view text);

// Trailing and leading blanks cut (ASCII blank only, as the suite's Trim does).
std::string TrimBlanks(std::string_view text);
std::string TrimRight(std::string_view text);

}  // namespace velmora
