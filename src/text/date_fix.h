#pragma once

#include <optional>
#include <string>
#include <string_view>

// Correction of a date typed as year, month and day fields.
namespace velmora {

// Leaves the three texts alone when they are all zero or already name a real
// date (as typed, without reformatting). Otherwise the date is built with
// calendar roll-over (month 13 is January of the next year, day 0 the last
// day of the month before, day 32 of January is February 1st); a day of 27 or
// more that does not exist in its month becomes that month's last day instead
// (2023-02-30 → 2023-02-28, not March 2nd). The result is written back as
// "0000", "00" and "00".
//
// Each text is read as its leading number: blanks, an optional sign, then
// digits up to the first other character; no digits read as 0. Years are
// taken as given (no two-digit century window) on the Gregorian calendar
// extended backwards; values beyond nine digits are held at 999999999.
void NormalizeDate(std::string& year, std::string& month, std::string& day);

// The "yyyymmdd" date of three parts typed into date fields: each part is a
// number (half-width digits, blanks around it allowed), formatted "0000",
// "00", "00" and corrected by NormalizeDate, so a day or month of 0 rolls
// back into the month or year before. Nothing when a part is no number, the
// year is 0, or the corrected year is not between 1 and 9999.
std::optional<std::string> DateFromParts(std::string_view year, std::string_view month, std::string_view day);

}  // namespace velmora
