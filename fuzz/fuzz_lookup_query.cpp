// The search statements of the lookup windows. The input chooses a window,
// the search, the database kind, the opener's condition and the offices, and
// supplies the text of every field; whatever is typed must stay inside its
// literal. So the statement is built a second time with each value replaced
// by a tame one that takes the same branches (blank stays blank, a value
// with digits becomes "1", any other "a"): outside their literals the two
// statements must be the same, before and after the PostgreSQL translation.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "data/dialect.h"
#include "data/sql_text.h"
#include "fuzz_support.h"
#include "screens/lookup/condition_builder.h"
#include "screens/lookup/window_description.h"
#include "text/input_filters.h"

namespace velmora::fuzz {
namespace {

// Conditions the entry screen hands to the windows it opens.
const char* const kOpenerConditions[] = {
    "",
    "M担当者.在籍区分 = '0'",
    "M得意先.コード >= '000120'",
    "M商品.品区分 < '9' AND M商品.得意先コード = '000012' AND M商品.コード >= 'AB''C'",
    "M納品先.在庫場所区分 <> '1' AND (M納品先.得意先コード = '000001' OR M納品先.得意先コード = '')",
    "M仕入先.コード >= '000300'",
    "T営業見積.番号基準日付 <> '' AND T営業見積.営業見積日付 >= '20230515'",
};

std::string Tame(const std::string& value) {
    if (TrimBlanks(value).empty()) return value;
    return DigitsOnly(value).empty() ? "a" : "1";
}

// Outside the literals, with ILIKE read as LIKE: PostgreSQL's choice between
// them follows the pattern typed (letters to fold or none).
std::string Outside(const std::string& sql) {
    std::string outside = SplitSql(sql, false).outside;
    for (std::size_t at = outside.find("ILIKE"); at != std::string::npos; at = outside.find("ILIKE", at))
        outside.erase(at, 1);
    return outside;
}

void CheckQuery(FuzzedDataProvider& in) {
    const auto& ids = AllLookupWindows();
    const WindowDescription& window =
        DescribeWindow(ids[in.ConsumeIntegralInRange<std::size_t>(0, ids.size() - 1)]);

    SearchMode mode;
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0:
            mode = SearchMode::Compound();
            break;
        case 1:
            mode = SearchMode::Negative();
            break;
        default:
            mode =
                window.fields.empty()
                    ? SearchMode::Compound()
                    : SearchMode::OfField(
                          window.fields[in.ConsumeIntegralInRange<std::size_t>(0, window.fields.size() - 1)]
                              .name);
    }

    QueryContext context;
    static const char* const kKinds[] = {"A", "S", "O", "X"};
    context.databaseKind = kKinds[in.ConsumeIntegralInRange(0, 3)];
    context.condition =
        kOpenerConditions[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kOpenerConditions) - 1)];
    context.currentOffice = in.ConsumeBool() ? "000" : in.ConsumeRandomLengthString(6);
    context.operatingOffice = in.ConsumeBool() ? "000" : in.ConsumeRandomLengthString(6);
    static const char* const kToday[] = {"20240515", "20240229", "20231231", "20240131"};
    context.today = kToday[in.ConsumeIntegralInRange(0, 3)];

    SearchValues values;
    values.period = in.ConsumeIntegralInRange(-1, 8);
    for (const auto& box : window.boxes) values.boxes[box.name] = in.ConsumeBool();
    for (const auto& filter : window.filters) {
        values.filterAll[filter.name] = in.ConsumeIntegralInRange(0, 9);
        values.filters[filter.name] = in.ConsumeIntegralInRange(-1, 10);
    }
    for (const auto& field : window.fields)
        if (in.ConsumeBool()) values.fields[field.name] = in.ConsumeRandomLengthString(40);
    if (window.history) values.fields["検索文字列"] = in.ConsumeRandomLengthString(40);

    SearchValues tame = values;
    for (auto& [name, value] : tame.fields) value = Tame(value);
    QueryContext tameContext = context;
    for (std::string* office : {&tameContext.currentOffice, &tameContext.operatingOffice})
        if (*office != "000") *office = "001";

    const std::string sql = BuildLookupQuery(window, mode, values, context);
    const std::string expected = BuildLookupQuery(window, mode, tame, tameContext);
    if (context.databaseKind == "X") {
        Check(sql.empty(), "no statement for an unknown database kind");
        return;
    }
    const SqlPieces pieces = SplitSql(sql, false);
    Check(pieces.closed && pieces.balanced, "literals close and parentheses pair up", sql);
    Check(pieces.outside == Outside(expected), "typed text stays inside its literals", sql);
    Check(Outside(TranslateSql(sql, EngineKind::PostgreSQL)) ==
              Outside(TranslateSql(expected, EngineKind::PostgreSQL)),
          "typed text stays inside its literals on PostgreSQL", sql);
}

}  // namespace
}  // namespace velmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    velmora::fuzz::CheckQuery(input);
    return 0;
}
