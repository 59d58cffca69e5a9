#include <gtest/gtest.h>

#include "data/clock.h"

namespace velmora {

TEST(Clock, TimestampsReadBackAsWritten) {
    EXPECT_EQ(FormatTimestamp(ParseTimestamp("20240229 235959")), "20240229 235959");
    EXPECT_EQ(FormatDate(ParseTimestamp("20261206 000000")), "20261206");
    EXPECT_EQ(FormatTimestamp(ParseTimestamp("20261206 093015") - std::chrono::minutes(1)), "20261206 092915");
    // The edges a time point holds read back; years past them read as unreadable.
    EXPECT_EQ(FormatTimestamp(ParseTimestamp("22611231 235959")), "22611231 235959");
    EXPECT_EQ(FormatTimestamp(ParseTimestamp("16780101 000000")), "16780101 000000");
    for (const char* text : {"22620101 000000", "99991231 235959", "16771231 235959", "00010101"})
        EXPECT_EQ(ParseTimestamp(text), TimePoint{}) << text;
}

TEST(Calendar, MonthArithmeticCutsToTheLastDay) {
    EXPECT_EQ(AddMonths({2024, 3, 31}, -1), (CalendarDate{2024, 2, 29}));
    EXPECT_EQ(AddMonths({2023, 3, 31}, -1), (CalendarDate{2023, 2, 28}));
    EXPECT_EQ(AddMonths({2024, 1, 15}, -1), (CalendarDate{2023, 12, 15}));
    EXPECT_EQ(AddMonths({2024, 11, 30}, 3), (CalendarDate{2025, 2, 28}));
}

TEST(Calendar, RollOverFollowsTheCalendar) {
    EXPECT_EQ(RollOver(2023, 13, 1), (CalendarDate{2024, 1, 1}));
    EXPECT_EQ(RollOver(2023, 3, 0), (CalendarDate{2023, 2, 28}));
    EXPECT_EQ(RollOver(2024, 2, 30), (CalendarDate{2024, 3, 1}));
    EXPECT_EQ(RollOver(2024, 0, 1), (CalendarDate{2023, 12, 1}));
    EXPECT_EQ(RollOver(2023, 2, 29 + 365), (CalendarDate{2024, 2, 29}));
}

TEST(Calendar, ParsesOnlyRealDates) {
    CalendarDate d;
    EXPECT_TRUE(CalendarDate::Parse("20240229", d));
    EXPECT_EQ(d.Text(), "20240229");
    EXPECT_FALSE(CalendarDate::Parse("20230229", d));
    EXPECT_FALSE(CalendarDate::Parse("2024022", d));
    EXPECT_FALSE(CalendarDate::Parse("2024a229", d));
}

}  // namespace velmora
