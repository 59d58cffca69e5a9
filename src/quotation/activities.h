#pragma once

#include <string>
#include <vector>

namespace velmora {

class DataAccess;

// The schedule report program that records sales activities (T営業活動明細)
// and opens one of them by its key; this program only reads the table.
inline constexpr const char* kActivityReportProgram = "Tovarek";
inline constexpr const char* kActivityReportMissing = "日程報告プログラムが有りません";

// One sales activity naming a quotation, as the activity list shows it.
struct ActivityItem {
    // What Tovarek is started with: office + 日付 + 開始時刻 + 終了時刻 +
    // 担当者コード, without separators.
    std::string key;
    // 日付 ("yyyy/mm/dd"), 時刻, 担当者, 発信, 対応, 要件, 段階, 御担当者, 摘要;
    // a Null column gives an empty cell.
    std::vector<std::string> cells;
};

// The list's columns, in the order of ActivityItem::cells.
const std::vector<std::string>& ActivityColumns();

// The activities that name the stored quotation (office, baseDate, number),
// newest day first and within a day by start time. The staff member and the
// four code tables are inner joins: an activity whose staff member or code is
// missing from its table is not listed. A failed read gives no items (the
// data layer has logged it). keyOffice is the office the keys start with.
std::vector<ActivityItem> QuotationActivities(DataAccess& access, const std::string& keyOffice,
                                              const std::string& office, const std::string& baseDate,
                                              const std::string& number);

// "yyyymmdd" as "yyyy/mm/dd"; a short text keeps what it has.
std::string SlashedDate(const std::string& yyyymmdd);

}  // namespace velmora
