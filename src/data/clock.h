#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace velmora {

using TimePoint = std::chrono::system_clock::time_point;
// The program's idea of now; tests put a fixed time in its place.
using ClockSource = std::function<TimePoint()>;
TimePoint SystemNow();

// Local time as the suite writes it: "yyyymmdd hhnnss" and "yyyymmdd".
std::string FormatTimestamp(TimePoint time);
std::string FormatDate(TimePoint time);
// The years a time point can hold (its nanoseconds reach from 1677 to 2262).
constexpr int kEarliestTimestampYear = 1678;
constexpr int kLatestTimestampYear = 2261;
// Reads "yyyymmdd hhnnss" (or "yyyymmdd") as local time; the epoch when
// unreadable or outside the years above.
TimePoint ParseTimestamp(const std::string& text);

// A calendar date.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;

    static bool Parse(const std::string& yyyymmdd, CalendarDate& date);
    std::string Text() const;  // "yyyymmdd"
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Month arithmetic as the suite's date functions do it: the day is kept and
// cut to the last day of the resulting month (0331 minus one month is 0228/0229).
CalendarDate AddMonths(const CalendarDate& date, int months);
// Calendar roll-over of any year, month and day (month 13 is January of the
// next year, day 0 the last day of the month before).
CalendarDate RollOver(int year, int month, int day);

}  // namespace velmora
