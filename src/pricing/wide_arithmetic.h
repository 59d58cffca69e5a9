#pragma once

#include <cstdint>
#include <optional>

#include "pricing/currency.h"

// 128-bit intermediates for the currency arithmetic: a product of two scaled
// values needs up to 126 bits before it is brought back to four decimals.
namespace velmora {

__extension__ typedef __int128 Wide;

inline constexpr Wide kWideScale = Currency::kScale;

// Quotient rounded half away from zero; the divisor must not be 0.
constexpr Wide RoundedQuotient(Wide numerator, Wide divisor) {
    if (divisor < 0) {
        numerator = -numerator;
        divisor = -divisor;
    }
    Wide quotient = numerator / divisor;
    Wide remainder = numerator % divisor;
    if (remainder < 0) remainder = -remainder;
    if (remainder * 2 >= divisor) quotient += numerator < 0 ? -1 : 1;
    return quotient;
}

// A scaled value back in the currency range, or nothing.
constexpr std::optional<Currency> NarrowScaled(Wide scaled) {
    if (scaled > INT64_MAX || scaled < INT64_MIN) return std::nullopt;
    return Currency::FromScaled(static_cast<std::int64_t>(scaled));
}

constexpr Wide WideAbs(Wide value) { return value < 0 ? -value : value; }

// 10^n for 0 <= n <= 38.
constexpr Wide WidePow10(int n) {
    Wide value = 1;
    for (int i = 0; i < n; ++i) value *= 10;
    return value;
}

}  // namespace velmora
