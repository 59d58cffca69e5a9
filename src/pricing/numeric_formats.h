#pragma once

#include <string>
#include <string_view>

// Format patterns for quantities, prices and amounts, and the small masks
// and clean-ups of typed numeric text.
namespace velmora {

// Amounts and taxes are whole yen when written.
inline constexpr std::string_view kAmountStorageFormat = "##########0";
// 定価掛率 when written.
inline constexpr std::string_view kRateStorageFormat = "##0.00";

// On screen: "#,###,###,##0" with 0 to 4 decimals; whole numbers otherwise.
std::string DisplayFormat(int decimals);
// In statements: "###########0" (0 or 1 decimal: twelve positions) to
// "##########0.0000"; whole numbers otherwise.
std::string StorageFormat(int decimals);

// n characters "0": the format that fills a code to its width.
std::string ZeroMask(int length);
std::string NineMask(int length);
std::string ZMask(int length);

// A telephone search text as digits with at most one hyphen: "03 (1234) 5678"
// gives "03-12345678"; an empty field or its empty mask "   -" gives "".
std::string PhoneDigits(std::string_view text);

}  // namespace velmora
