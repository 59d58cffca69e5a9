#include "pricing/currency.h"

#include "pricing/wide_arithmetic.h"

namespace velmora {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whole digits beyond this cannot be in range; stops the wide value growing.
constexpr int kMaxParsedWholeDigits = 19;

}  // namespace

std::optional<Currency> Currency::FromUnits(std::int64_t units) { return NarrowScaled(Wide(units) * kWideScale); }

std::optional<Currency> Currency::Parse(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    Wide whole = 0;
    int wholeDigits = 0;
    bool lastWasDigit = false;
    for (; i < text.size() && (isDigit(text[i]) || text[i] == ','); ++i) {
        if (text[i] == ',') {
            if (!lastWasDigit) return std::nullopt;  // a comma follows a digit
            lastWasDigit = false;
            continue;
        }
        if (wholeDigits > 0 || text[i] != '0') ++wholeDigits;
        if (wholeDigits > kMaxParsedWholeDigits) return std::nullopt;
        whole = whole * 10 + (text[i] - '0');
        lastWasDigit = true;
    }
    bool anyDigit = lastWasDigit;
    if (i > 0 && text[i - 1] == ',') return std::nullopt;
    Wide fraction = 0;
    int places = 0;
    bool roundAway = false;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            anyDigit = true;
            if (places < 4) {
                fraction = fraction * 10 + (text[i] - '0');
                ++places;
            } else if (places == 4) {
                roundAway = text[i] >= '5';
                ++places;
            }
        }
    }
    if (!anyDigit || i != text.size()) return std::nullopt;
    for (; places < 4; ++places) fraction *= 10;
    Wide scaled = whole * kWideScale + fraction + (roundAway ? 1 : 0);
    return NarrowScaled(negative ? -scaled : scaled);
}

std::optional<Currency> Currency::Add(Currency a, Currency b) { return NarrowScaled(Wide(a.m_scaled) + b.m_scaled); }

std::optional<Currency> Currency::Subtract(Currency a, Currency b) {
    return NarrowScaled(Wide(a.m_scaled) - b.m_scaled);
}

std::optional<Currency> Currency::Multiply(Currency a, Currency b) {
    return NarrowScaled(RoundedQuotient(Wide(a.m_scaled) * b.m_scaled, kWideScale));
}

std::optional<Currency> Currency::Divide(Currency a, Currency b) {
    if (b.m_scaled == 0) return std::nullopt;
    return NarrowScaled(RoundedQuotient(Wide(a.m_scaled) * kWideScale, b.m_scaled));
}

std::optional<Currency> Currency::Negate(Currency a) { return NarrowScaled(-Wide(a.m_scaled)); }

static bool assignIf(Currency& target, std::optional<Currency> result) {
    if (!result) return false;
    target = *result;
    return true;
}

bool Currency::add(Currency other) { return assignIf(*this, Add(*this, other)); }
bool Currency::subtract(Currency other) { return assignIf(*this, Subtract(*this, other)); }
bool Currency::multiply(Currency other) { return assignIf(*this, Multiply(*this, other)); }
bool Currency::divide(Currency other) { return assignIf(*this, Divide(*this, other)); }

std::string Currency::format(std::string_view pattern) const {
    size_t point = pattern.find('.');
    std::string_view wholePattern = pattern.substr(0, point);
    std::string_view fractionPattern = point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
    int minWholeDigits = 0;
    bool grouped = false;
    for (char c : wholePattern) {
        if (c == '0') ++minWholeDigits;
        if (c == ',') grouped = true;
    }
    int decimals = 0;
    int forcedDecimals = 0;
    for (char c : fractionPattern) {
        if (c == '0' || c == '#') ++decimals;
        if (c == '0') forcedDecimals = decimals;
    }

    // The magnitude as an integer count of 10^-decimals.
    Wide magnitude = WideAbs(Wide(m_scaled));
    Wide fractionScale = WidePow10(decimals);
    Wide units;
    if (decimals >= 4) {
        units = magnitude * WidePow10(decimals - 4);
    } else {
        units = RoundedQuotient(magnitude, WidePow10(4 - decimals));
    }
    Wide wholePart = units / fractionScale;
    Wide fractionPart = units % fractionScale;

    std::string digits;
    for (Wide w = wholePart; w > 0; w /= 10) digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(w % 10)));
    while (static_cast<int>(digits.size()) < minWholeDigits) digits.insert(digits.begin(), '0');
    if (grouped) {
        for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), 1, ',');
    }

    std::string fraction(static_cast<size_t>(decimals), '0');
    for (int k = decimals - 1; k >= 0; --k) {
        fraction[static_cast<size_t>(k)] = static_cast<char>('0' + static_cast<int>(fractionPart % 10));
        fractionPart /= 10;
    }
    while (static_cast<int>(fraction.size()) > forcedDecimals && fraction.back() == '0') fraction.pop_back();

    std::string out;
    if (m_scaled < 0 && units != 0) out.push_back('-');
    out += digits;
    if (!fraction.empty()) out += "." + fraction;
    return out;
}

}  // namespace velmora
