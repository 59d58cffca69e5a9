#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The program's money and quantity value: a signed 64-bit count of
// ten-thousandths. Arithmetic is exact; where a result needs more than four
// decimals it is rounded half away from zero, so a negative figure is always
// the mirror of the positive one. A result outside the range is refused: the
// checked operations give nothing, the mutating ones return false and leave
// the value as it was.
class Currency {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Currency() = default;
    static constexpr Currency FromScaled(std::int64_t scaled) {
        Currency c;
        c.m_scaled = scaled;
        return c;
    }
    // Whole units (yen, pieces); nothing when out of range.
    static std::optional<Currency> FromUnits(std::int64_t units);
    // Typed or stored text: blanks around it, an optional sign, digits with
    // optional thousands commas, an optional point and decimals (past the
    // fourth rounded half away from zero). Nothing for anything else.
    static std::optional<Currency> Parse(std::string_view text);

    static constexpr Currency Max() { return FromScaled(INT64_MAX); }
    static constexpr Currency Min() { return FromScaled(INT64_MIN); }

    constexpr std::int64_t scaled() const { return m_scaled; }
    constexpr bool isZero() const { return m_scaled == 0; }
    constexpr bool isNegative() const { return m_scaled < 0; }

    static std::optional<Currency> Add(Currency a, Currency b);
    static std::optional<Currency> Subtract(Currency a, Currency b);
    // Product rounded to four decimals.
    static std::optional<Currency> Multiply(Currency a, Currency b);
    // Quotient rounded to four decimals; nothing for a zero divisor.
    static std::optional<Currency> Divide(Currency a, Currency b);
    static std::optional<Currency> Negate(Currency a);

    bool add(Currency other);
    bool subtract(Currency other);
    bool multiply(Currency other);
    bool divide(Currency other);

    // Truncates toward zero to whole units (the suite's Fix).
    Currency fix() const { return FromScaled(m_scaled / kScale * kScale); }

    // Shown by a pattern of "#" (optional digit), "0" (forced digit), ","
    // (thousands separator anywhere in the whole part) and "." (decimal point):
    // "#,###,###,##0.00", "##########0", "##0.00". Rounded half away from zero
    // to the pattern's decimals; more whole digits than the pattern holds are
    // all written.
    std::string format(std::string_view pattern) const;

    friend constexpr auto operator<=>(Currency, Currency) = default;
    friend constexpr bool operator==(Currency, Currency) = default;

private:
    std::int64_t m_scaled = 0;
};

// Whole units, for constants in code ("Units(100)"); the value must fit.
constexpr Currency Units(std::int32_t units) { return Currency::FromScaled(static_cast<std::int64_t>(units) * Currency::kScale); }

}  // namespace velmora
