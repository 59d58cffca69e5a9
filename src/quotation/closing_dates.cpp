#include "quotation/closing_dates.h"

#include <algorithm>

#include "data/clock.h"
#include "pricing/company_settings.h"

namespace velmora {

namespace {

bool closesAtMonthEnd(const CompanySettings& company) {
    int month = company.決算月;
    int day = company.決算日;
    if (month < 1 || month > 12) return false;
    if (month == 2) return day == 28 || day == 29;
    return day == DaysInMonth(2001, month);
}

// (year, month) with month 13 rolled into January of the next year.
CalendarDate closingIn(int year, int month, int closingDay, bool monthEnd) {
    if (month > 12) {
        month -= 12;
        ++year;
    }
    int last = DaysInMonth(year, month);
    return {year, month, monthEnd ? last : std::clamp(closingDay, 1, last)};
}

bool before(const CalendarDate& a, const CalendarDate& b) { return a.Text() < b.Text(); }

}  // namespace

std::string FiscalClosingDate(const std::string& date, const CompanySettings& company) {
    CalendarDate d;
    if (!CalendarDate::Parse(date, d)) return {};
    int month = std::clamp<int>(company.決算月, 1, 12);
    bool monthEnd = closesAtMonthEnd(company);
    CalendarDate closing = closingIn(d.year, month, company.決算日, monthEnd);
    if (before(closing, d)) closing = closingIn(d.year + 1, month, company.決算日, monthEnd);
    return closing.Text();
}

std::string MonthlyClosingDate(const std::string& date, const CompanySettings& company) {
    CalendarDate d;
    if (!CalendarDate::Parse(date, d)) return {};
    bool monthEnd = closesAtMonthEnd(company);
    if (monthEnd || company.決算日 >= d.day) return closingIn(d.year, d.month, company.決算日, monthEnd).Text();
    return closingIn(d.year, d.month + 1, company.決算日, false).Text();
}

bool InOpenPeriod(const std::string& date, const std::string& today, const CompanySettings& company) {
    CalendarDate d, end;
    const std::string closing = FiscalClosingDate(today, company);
    if (!CalendarDate::Parse(date, d) || !CalendarDate::Parse(closing, end)) return false;
    const std::string previous = FiscalClosingDate(AddMonths(end, -12).Text(), company);
    return previous < d.Text() && d.Text() <= closing;
}

std::string SummaryDateOf(const std::string& quotationDate, const CompanySettings& company) {
    return MonthlyClosingDate(quotationDate, company);
}

}  // namespace velmora
