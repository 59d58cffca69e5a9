#include "text/date_fix.h"

#include <cstdint>
#include <string_view>

#include "text/numeric_text.h"
#include "text/utf8.h"

namespace velmora {

namespace {

constexpr std::int64_t kLargestField = 999999999;

struct Ymd {
    std::int64_t year;
    std::int64_t month;
    std::int64_t day;
};

std::int64_t LeadingNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    for (const Utf8Char& c : CodePoints(text)) {
        const int digit = DigitValue(c.code);
        if (digit < 0) {
            break;
        }
        value = value * 10 + digit;
        if (value > kLargestField) {
            value = kLargestField;
        }
    }
    return negative ? -value : value;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date with month 1..12.
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Ymd CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp + (mp < 10 ? 3 : -9);
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

// The date of day `day` counted from the first of month `month` of `year`,
// each rolling over into the next larger unit.
Ymd RolledDate(std::int64_t year, std::int64_t month, std::int64_t day) {
    const std::int64_t months = year * 12 + (month - 1);
    const std::int64_t y = FloorDiv(months, 12);
    const std::int64_t m = months - y * 12 + 1;
    return CivilFromDays(DaysFromCivil(y, m, 1) + (day - 1));
}

std::string ZeroPadded(std::int64_t value, std::size_t width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return value < 0 ? "-" + digits : digits;
}

// A part of at most nine digits between blanks.
std::optional<std::int64_t> PartNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty() || text.size() > 9) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

void NormalizeDate(std::string& year, std::string& month, std::string& day) {
    const Ymd given{LeadingNumber(year), LeadingNumber(month), LeadingNumber(day)};
    if (given.year == 0 && given.month == 0 && given.day == 0) {
        return;
    }
    Ymd built = RolledDate(given.year, given.month, given.day);
    if (built.year == given.year && built.month == given.month && built.day == given.day) {
        return;
    }
    if (given.day >= 27) {
        built = RolledDate(given.year, given.month + 1, 0);
    }
    year = ZeroPadded(built.year, 4);
    month = ZeroPadded(built.month, 2);
    day = ZeroPadded(built.day, 2);
}

std::optional<std::string> DateFromParts(std::string_view year, std::string_view month, std::string_view day) {
    const std::optional<std::int64_t> y = PartNumber(year), m = PartNumber(month), d = PartNumber(day);
    if (!y || !m || !d || *y == 0) return std::nullopt;
    std::string yy = ZeroPadded(*y, 4), mm = ZeroPadded(*m, 2), dd = ZeroPadded(*d, 2);
    NormalizeDate(yy, mm, dd);
    const std::optional<std::int64_t> corrected = PartNumber(yy);
    if (yy.size() != 4 || !corrected || *corrected == 0) return std::nullopt;
    return yy + mm + dd;
}

}  // namespace velmora
