#include "data/clock.h"

#include <cstdio>
#include <ctime>

namespace velmora {

TimePoint SystemNow() { return std::chrono::system_clock::now(); }

static std::tm localParts(TimePoint time) {
    std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

std::string FormatTimestamp(TimePoint time) {
    std::tm local = localParts(time);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y%m%d %H%M%S", &local);
    return buffer;
}

std::string FormatDate(TimePoint time) { return FormatTimestamp(time).substr(0, 8); }

TimePoint ParseTimestamp(const std::string& text) {
    std::tm parts{};
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (std::sscanf(text.c_str(), "%4d%2d%2d %2d%2d%2d", &y, &mo, &d, &h, &mi, &s) < 3) return TimePoint{};
    if (y < kEarliestTimestampYear || y > kLatestTimestampYear) return TimePoint{};
    parts.tm_year = y - 1900;
    parts.tm_mon = mo - 1;
    parts.tm_mday = d;
    parts.tm_hour = h;
    parts.tm_min = mi;
    parts.tm_sec = s;
    parts.tm_isdst = -1;
    const std::time_t t = std::mktime(&parts);
    if (t == static_cast<std::time_t>(-1)) return TimePoint{};
    return std::chrono::system_clock::from_time_t(t);
}

bool CalendarDate::Parse(const std::string& text, CalendarDate& date) {
    if (text.size() < 8) return false;
    for (size_t i = 0; i < 8; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    date.year = std::stoi(text.substr(0, 4));
    date.month = std::stoi(text.substr(4, 2));
    date.day = std::stoi(text.substr(6, 2));
    return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

std::string CalendarDate::Text() const {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", year, month, day);
    return buffer;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

CalendarDate AddMonths(const CalendarDate& date, int months) {
    int index = date.year * 12 + (date.month - 1) + months;
    CalendarDate out;
    out.year = index / 12;
    out.month = index % 12 + 1;
    out.day = std::min(date.day, DaysInMonth(out.year, out.month));
    return out;
}

CalendarDate RollOver(int year, int month, int day) {
    // Months first, then days, as the suite's DateSerial does.
    int index = year * 12 + (month - 1);
    int y = index >= 0 ? index / 12 : (index - 11) / 12;
    int m = index - y * 12 + 1;
    std::tm parts{};
    parts.tm_year = y - 1900;
    parts.tm_mon = m - 1;
    parts.tm_mday = day;
    parts.tm_hour = 12;
    parts.tm_isdst = -1;
    std::time_t t = timegm(&parts);
    std::tm back{};
    gmtime_r(&t, &back);
    return CalendarDate{back.tm_year + 1900, back.tm_mon + 1, back.tm_mday};
}

}  // namespace velmora
