#pragma once

#include <string>
#include <string_view>

// Clean-up of text typed into search and postcode fields. A digit is any
// character IsDigitChar accepts (ASCII or full-width); digits are kept as typed.
namespace velmora {

// The digits of the text, in order.
std::string DigitsOnly(std::string_view text);

// The text without any "%", so that typed text cannot act as a wildcard.
std::string StripPercent(std::string_view text);

// Postcodes and telephone numbers as digits with at most one hyphen: trailing
// blanks are cut; an empty text or the empty field mask "   -" gives empty;
// otherwise digits are kept, the first non-digit after the first character
// becomes one "-", and every other non-digit is dropped. "123 4567" and
// "123--45 67" both give "123-4567".
std::string NormalizePostcode(std::string_view text);

}  // namespace velmora
