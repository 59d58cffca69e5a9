#pragma once

#include <string>

namespace velmora {

struct CompanySettings;

// Closing dates by the company's 決算月 and 決算日. The closing day counts as
// month end when (決算月, 決算日) is the last day of that month (2/28 too).
// A closing day that a month does not have closes on that month's last day.
// Dates are "yyyymmdd"; an unreadable date gives "".

// The closing date of the fiscal year that contains the date.
std::string FiscalClosingDate(const std::string& date, const CompanySettings& company);
// The closing date of the monthly period that contains the date.
std::string MonthlyClosingDate(const std::string& date, const CompanySettings& company);
// The aggregation date handed to the issuing program: the monthly closing.
std::string SummaryDateOf(const std::string& quotationDate, const CompanySettings& company);

// The open period of the period lock: the fiscal year that contains today,
// from the day after the previous fiscal closing to this one's closing. True
// when the date lies in it; an unreadable date or today is never open.
bool InOpenPeriod(const std::string& date, const std::string& today, const CompanySettings& company);

}  // namespace velmora
