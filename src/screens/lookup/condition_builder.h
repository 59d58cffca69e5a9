#pragma once

#include <map>
#include <string>
#include <string_view>

#include "screens/lookup/window_description.h"

namespace velmora {

// The search a button asked for: the compound search ("検索"), the negative
// search ("否検索"/"否定検索") or the search of one field.
struct SearchMode {
    enum class Kind { Compound, Negative, Field };
    Kind kind = Kind::Compound;
    std::string field;  // the field, for Kind::Field

    static SearchMode Compound() { return {}; }
    static SearchMode Negative() { return {Kind::Negative, {}}; }
    static SearchMode OfField(std::string name) { return {Kind::Field, std::move(name)}; }
    friend bool operator==(const SearchMode&, const SearchMode&) = default;
};

// The values a window searches with: what its fields last committed, its
// boxes, its status filters (code and the code of "全て") and its period.
struct SearchValues {
    std::map<std::string, std::string> fields;
    std::map<std::string, bool> boxes;
    std::map<std::string, int> filters;
    std::map<std::string, int> filterAll;
    int period = 0;

    std::string field(const std::string& name) const;
    bool box(const std::string& name) const;
};

// What a query depends on besides the window's own values.
struct QueryContext {
    std::string databaseKind;
    std::string condition;  // LookupCondition
    std::string currentOffice = "000";
    std::string operatingOffice = "000";
    std::string today;  // yyyymmdd, the end of the history periods
};

// The statement of a search, in the Access dialect the data layer translates.
// Empty for a database kind other than "A", "S" and "O".
std::string BuildLookupQuery(const WindowDescription& window, const SearchMode& mode, const SearchValues& values,
                             const QueryContext& context);

// Takes the first comparison of the column out of the condition and returns
// its value ("%" removed for LIKE); the condition keeps the rest. Nothing
// found: an empty value and the condition as it was.
std::string ExtractCondition(std::string_view column, std::string& condition);

// The first day of a history period: today less the given number of months,
// a day past the month's end falling back to its last day.
std::string MonthsBefore(const std::string& today, int months);

}  // namespace velmora
