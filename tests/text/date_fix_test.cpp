#include "text/date_fix.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>

namespace velmora {
namespace {

struct DateCase {
    const char* name;
    std::string year, month, day;
    std::string expectedYear, expectedMonth, expectedDay;
    friend std::ostream& operator<<(std::ostream& os, const DateCase& c) { return os << c.name; }
};

class NormalizeDateCase : public ::testing::TestWithParam<DateCase> {};

TEST_P(NormalizeDateCase, Corrects) {
    const DateCase& c = GetParam();
    std::string year = c.year, month = c.month, day = c.day;
    NormalizeDate(year, month, day);
    EXPECT_EQ(year + "/" + month + "/" + day, c.expectedYear + "/" + c.expectedMonth + "/" + c.expectedDay);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizeDateCase,
    // Leap days, months 0 and 13 and days past the month's end between 1999
    // and 2101 are checked against the standard calendar below.
    ::testing::Values(DateCase{"ValidDateKeepsItsText", "2023", "02", "5", "2023", "02", "5"},
                      DateCase{"CenturyIsNotLeap", "1900", "2", "29", "1900", "02", "28"},
                      DateCase{"NegativeMonth", "2023", "-1", "10", "2022", "11", "10"},
                      DateCase{"Day100IsMonthEnd", "2023", "6", "100", "2023", "06", "30"},
                      DateCase{"AllZeroUnchanged", "0", "00", "0", "0", "00", "0"},
                      DateCase{"AllEmptyUnchanged", "", "", "", "", "", ""},
                      DateCase{"FullWidthDigitsRead", "２０２３", "２", "３０", "2023", "02", "28"},
                      DateCase{"ShortYearTakenAsGiven", "23", "2", "30", "0023", "02", "28"}),
    [](const auto& info) { return std::string(info.param.name); });

// The roll-over arithmetic checked against the standard calendar over every
// month and day a user can type, across leap and common years.
TEST(NormalizeDate, AgreesWithTheStandardCalendar) {
    using namespace std::chrono;
    for (int y = 1999; y <= 2101; ++y) {
        for (int m = 0; m <= 13; ++m) {
            for (int d = 0; d <= 35; ++d) {
                std::string year = std::to_string(y), month = std::to_string(m), day = std::to_string(d);
                NormalizeDate(year, month, day);

                const year_month ym = year_month(std::chrono::year(y), January) + months(m - 1);
                const year_month_day rolled{sys_days(ym / 1) + days(d - 1)};
                const bool valid =
                    (m >= 1 && m <= 12 &&
                     year_month_day(std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)).ok());
                if (valid) {
                    EXPECT_EQ(year + month + day, std::to_string(y) + std::to_string(m) + std::to_string(d));
                    continue;
                }
                const year_month_day expected =
                    d >= 27 ? year_month_day(sys_days((ym + months(1)) / 1) - days(1)) : rolled;
                char text[16];
                std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(expected.year()),
                              static_cast<unsigned>(expected.month()), static_cast<unsigned>(expected.day()));
                EXPECT_EQ(year + month + day, text) << y << "-" << m << "-" << d;
            }
        }
    }
}

// Parts typed into a date's three fields: numbers are corrected to a real
// date (a day or month of 0 rolls back), anything that is no number is no date.
TEST(DateFromParts, CorrectsNumbersAndRefusesOtherText) {
    struct Case {
        const char* year;
        const char* month;
        const char* day;
        const char* date;  // "" when refused
    };
    const Case cases[] = {
        {"2026", "12", "6", "20261206"},
        {" 2026 ", "03", "1 ", "20260301"},
        {"2026", "3", "0", "20260228"},    // day 0: the month before's last day
        {"2024", "3", "0", "20240229"},
        {"2026", "1", "0", "20251231"},
        {"2026", "0", "15", "20251215"},   // month 0: December before
        {"2026", "0", "0", "20251130"},
        {"2026", "00", "00", "20251130"},
        {"2026", "2", "30", "20260228"},
        {"2026", "13", "1", "20270101"},
        {"9999", "13", "1", ""},           // past the year 9999
        {"1", "0", "1", ""},               // before the year 1
        {"0", "12", "1", ""},
        {"0", "0", "0", ""},
        {"", "12", "1", ""},
        {"2026", "", "1", ""},
        {"2026", "12", " ", ""},
        {"2026", "1a", "1", ""},
        {"2026", "-1", "1", ""},
        {"2026", "12", "１", ""},
        {"2026", "12", "1.5", ""},
        {"2026", "1234567890", "1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.year) + "/" + c.month + "/" + c.day);
        const std::optional<std::string> date = DateFromParts(c.year, c.month, c.day);
        EXPECT_EQ(date.value_or(""), c.date);
    }
}

}  // namespace
}  // namespace velmora
