#include "pricing/tax.h"

#include "pricing/wide_arithmetic.h"

namespace velmora {

namespace {

// Beyond this position every value in range truncates to 0; 10^position must
// also stay inside the wide type.
constexpr int kMaxPosition = 24;

}  // namespace

std::optional<Currency> RoundAtPosition(Currency value, std::int16_t method, std::int16_t position) {
    // Negative values mirror positive ones: the tenths are taken away.
    int p = position < 0 ? 0 : (position > kMaxPosition ? kMaxPosition : position);
    // value / 10^p + method / 10 as one exact fraction over 10^(p+4), so no
    // intermediate rounding can push a value across a whole unit.
    Wide scaled = Wide(value.scaled());
    Wide step = WidePow10(p + 4);
    Wide tenths = Wide(method) * WidePow10(p + 3);
    Wide adjusted = scaled < 0 ? scaled - tenths : scaled + tenths;
    return NarrowScaled(adjusted / step * step);
}

std::optional<Currency> ComputeTax(const TaxRateTable& rates, Currency amount, std::int16_t kind,
                                   TaxRounding rounding, std::string_view date, std::int16_t previous) {
    std::optional<Currency> rate = rates.RateOn(date, previous == 1);
    if (!rate) return Currency();
    Wide magnitude = WideAbs(Wide(amount.scaled()));
    Wide r = Wide(rate->scaled());
    Wide tax;
    if (kind == kTaxAdded) {
        tax = RoundedQuotient(magnitude * r, 100 * kWideScale);
    } else if (kind == kTaxIncluded) {
        Wide divisor = r + 100 * kWideScale;
        if (divisor == 0) return Currency();
        tax = RoundedQuotient(magnitude * r, divisor);
    } else {
        return Currency();
    }
    std::optional<Currency> narrowed = NarrowScaled(tax);
    if (!narrowed) return std::nullopt;
    std::optional<Currency> rounded = RoundAtPosition(*narrowed, rounding.method, rounding.position);
    if (!rounded) return std::nullopt;
    return amount.isNegative() ? Currency::Negate(*rounded) : rounded;
}

}  // namespace velmora
