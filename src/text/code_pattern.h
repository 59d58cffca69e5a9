#pragma once

#include <string>
#include <string_view>

// Codes are fixed-width texts of digits padded with zeros by a pattern of
// "0"s ("000" departments, "00000" staff, "000000" customers, "00000000"
// document numbers); product and category codes have the empty pattern and
// are kept as typed. Lengths are counted in characters.
namespace velmora {

// A numeric value (see numeric_text.h) is written with at least as many
// digits as the pattern has characters, a minus sign in front of a negative
// one; any other value is kept as it is. The result is then cut to the
// pattern's length, so an over-long code loses its last characters and a
// negative one its last digit ("-5" with "000" gives "-00"). An empty
// pattern returns the value unchanged.
std::string FormatCode(std::string_view value, std::string_view pattern);

// Lowest and highest bound of a range whose bound was left empty: zeros as
// long as the pattern, nines as long as the pattern, or, for the empty
// pattern of free-form codes, "Z" repeated length times.
std::string ZeroString(std::string_view pattern);
std::string NineString(std::string_view pattern, int length);

}  // namespace velmora
