#pragma once

#include <string>

namespace velmora {

struct DocumentScope;

inline constexpr const char* kNoticeCannotMove = "決算を超えた日付の変更は出来ません。";

// Clears the quotation to a new one dated `date` ("yyyymmdd") in the
// operating office, with its number base date and the number the next save
// would take proposed (not reserved); the tax rates are read again.
void StartNewQuotation(DocumentScope& scope, const std::string& date);

// The quotation date was changed to `date`. A new quotation follows it with
// its base date and, when that changes, a fresh number proposal. A stored one
// keeps its key within its numbering period; into another period it moves
// (new base date, number proposal; the save moves it) unless the other
// programs have taken it further: then date, base date and number return to
// the loaded ones, LoadNotice says so and the result is false (the change is
// undone, the quotation unchanged).
bool ChangeQuotationDate(DocumentScope& scope, const std::string& date);

}  // namespace velmora
