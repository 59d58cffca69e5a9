#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "pricing/currency.h"
#include "pricing/tax_rates.h"

namespace velmora {

// Tax kinds (消費税区分).
inline constexpr std::int16_t kTaxAdded = 1;     // the amount is without tax
inline constexpr std::int16_t kTaxIncluded = 2;  // the amount contains the tax
// Tax categories (課税区分).
inline constexpr std::int16_t kTaxable = 0;
inline constexpr std::int16_t kNotTaxable = 1;
inline constexpr std::int16_t kTaxablePreviousRate = 2;
// Calculation units (消費税算出区分).
inline constexpr std::int16_t kNoTax = 0;
inline constexpr std::int16_t kTaxPerLine = 1;
inline constexpr std::int16_t kTaxPerDocument = 2;

// How a tax is rounded: a method 0-9 adds that many tenths before truncation
// (0 truncates, 5 rounds half away from zero, 9 raises from one tenth), at a
// digit position (0 whole yen, 1 tens, 2 hundreds ...).
struct TaxRounding {
    std::int16_t method = 0;
    std::int16_t position = 0;
};

// The one tax operation. kind 1 gives the tax to add to the amount, kind 2
// the tax the amount contains, any other kind 0; previous 1 takes the rate
// before the one in force on the date. No rate row gives 0. The tax of a
// negative amount is the negated tax of its size. A negative digit position
// rounds to whole yen, which is what is stored. Nothing when the result
// leaves the currency range.
std::optional<Currency> ComputeTax(const TaxRateTable& rates, Currency amount, std::int16_t kind,
                                   TaxRounding rounding, std::string_view date, std::int16_t previous);

// Fix(value / 10^position + method / 10) * 10^position, exactly; for a
// negative value the tenths are subtracted. Negative positions count as 0.
std::optional<Currency> RoundAtPosition(Currency value, std::int16_t method, std::int16_t position);

}  // namespace velmora
