#include "quotation/closing_dates.h"

#include <gtest/gtest.h>

#include "pricing/company_settings.h"

namespace velmora {
namespace {

struct ClosingCase {
    const char* name;
    int month;
    int day;
    const char* date;
    const char* fiscal;
    const char* monthly;
};

class ClosingDates : public testing::TestWithParam<ClosingCase> {};

TEST_P(ClosingDates, FiscalYearAndMonthlyPeriod) {
    const ClosingCase& c = GetParam();
    CompanySettings company;
    company.決算月 = static_cast<std::int16_t>(c.month);
    company.決算日 = static_cast<std::int16_t>(c.day);
    EXPECT_EQ(FiscalClosingDate(c.date, company), c.fiscal);
    EXPECT_EQ(MonthlyClosingDate(c.date, company), c.monthly);
    EXPECT_EQ(SummaryDateOf(c.date, company), c.monthly);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClosingDates,
    testing::Values(ClosingCase{"MonthEndInALeapFebruary", 3, 31, "20240215", "20240331", "20240229"},
                    ClosingCase{"FiscalYearRollsOver", 3, 31, "20240510", "20250331", "20240531"},
                    ClosingCase{"BeforeFiscalClosing", 3, 31, "20240315", "20240331", "20240331"},
                    ClosingCase{"OnTheClosingDay", 3, 31, "20240331", "20240331", "20240331"},
                    ClosingCase{"Day20BeforeClosing", 3, 20, "20240215", "20240320", "20240220"},
                    ClosingCase{"Day20AfterClosing", 3, 20, "20240221", "20240320", "20240320"},
                    ClosingCase{"Day20DecemberRollsIntoJanuary", 3, 20, "20241225", "20250320", "20250120"},
                    ClosingCase{"Day20OnTheDay", 3, 20, "20240320", "20240320", "20240320"},
                    ClosingCase{"February28CountsAsMonthEnd", 2, 28, "20240115", "20240229", "20240131"},
                    ClosingCase{"February28NextYearAfterLeapDay", 2, 28, "20240301", "20250228", "20240331"},
                    ClosingCase{"April30IsMonthEnd", 4, 30, "20240215", "20240430", "20240229"},
                    ClosingCase{"Day30ClosesFebruaryOnItsLastDay", 3, 30, "20230215", "20230330", "20230228"},
                    ClosingCase{"Day30InAThirtyOneDayMonth", 3, 30, "20240131", "20240330", "20240229"},
                    ClosingCase{"Day31OfAShortMonthIsItsEnd", 4, 31, "20240415", "20240430", "20240430"},
                    ClosingCase{"UnreadableDate", 3, 31, "2024021", "", ""},
                    ClosingCase{"NoSuchDay", 3, 31, "20230229", "", ""}),
    [](const testing::TestParamInfo<ClosingCase>& info) { return std::string(info.param.name); });

// The period lock's open period: the fiscal year that contains today.
TEST(OpenPeriod, IsTheFiscalYearThatContainsToday) {
    struct Case {
        int month, day;
        const char *today, *date;
        bool open;
    };
    const Case cases[] = {
        {3, 31, "20261206", "20260401", true},   // first day after the previous closing
        {3, 31, "20261206", "20260331", false},  // the previous closing day itself
        {3, 31, "20261206", "20270331", true},   // this year's closing day
        {3, 31, "20261206", "20270401", false},  // the next fiscal year
        {3, 31, "20270331", "20260401", true},   // today on the closing day
        {3, 20, "20261206", "20260321", true},
        {3, 20, "20261206", "20260320", false},
        {2, 28, "20280229", "20270301", true},   // month-end closing across a leap February
        {2, 28, "20280229", "20270228", false},
        {3, 31, "20261206", "", false},          // no date is never open
        {3, 31, "", "20261206", false},
    };
    for (const Case& c : cases) {
        CompanySettings company;
        company.決算月 = static_cast<std::int16_t>(c.month);
        company.決算日 = static_cast<std::int16_t>(c.day);
        EXPECT_EQ(InOpenPeriod(c.date, c.today, company), c.open) << c.month << "/" << c.day << " " << c.today << " "
                                                                  << c.date;
    }
}

}  // namespace
}  // namespace velmora
