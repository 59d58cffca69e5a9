#include "quotation/follow_up.h"

#include <memory>

#include "data/data_access.h"
#include "quotation/document_sql.h"

namespace velmora {

namespace {

enum class Rows { None, Some, Unreadable };

Rows rowsOf(DataAccess& access, const std::string& select, const std::string& prefix, const std::string& office,
            const std::string& baseDate, const std::string& number) {
    std::unique_ptr<Recordset> rs;
    bool found = access.OpenDataRecordset(rs, select + " WHERE " + prefix + "事業所コード = " + Literal(office) +
                                                  " AND " + prefix + "番号基準日付 = " + Literal(baseDate) + " AND " +
                                                  prefix + "No = " + Literal(number));
    // A query that ran has its columns even without rows; a failed one has none.
    Rows rows = found ? Rows::Some : rs->columnCount() == 0 ? Rows::Unreadable : Rows::None;
    rs->close();
    return rows;
}

}  // namespace

FollowUp FollowUpStatus(DataAccess& access, const std::string& office, const std::string& baseDate,
                        const std::string& number) {
    // A table that cannot be read must not let a billed quotation be deleted
    // or moved: not knowing counts as taken further.
    Rows activity = rowsOf(access, std::string("SELECT TOP 1") + " * FROM T営業活動明細", "営業見積", office, baseDate,
                           number);
    if (activity == Rows::Unreadable) return FollowUp::Unknown;
    struct Table {
        const char* select;
        const char* prefix;
        FollowUp status;
    };
    static const Table kTables[] = {
        {"SELECT TOP 1 * FROM T営業請求", "営業見積", FollowUp::Billed},
        {"SELECT TOP 1 * FROM T営業納品", "営業見積", FollowUp::Delivered},
        {"SELECT TOP 1 * FROM T営業発注", "参照営業見積", FollowUp::Ordered},
        {"SELECT TOP 1 * FROM T顧客注文", "参照営業見積", FollowUp::CustomerOrdered},
    };
    for (const Table& table : kTables) {
        Rows rows = rowsOf(access, table.select, table.prefix, office, baseDate, number);
        if (rows == Rows::Unreadable) return FollowUp::Unknown;
        if (rows == Rows::Some) return table.status;
    }
    return activity == Rows::Some ? FollowUp::ActivityOnly : FollowUp::None;
}

std::string_view FollowUpText(FollowUp status) {
    switch (status) {
        case FollowUp::Billed: return "請求済です。";
        case FollowUp::Delivered: return "納品済です。";
        case FollowUp::Ordered: return "発注済です。";
        case FollowUp::CustomerOrdered: return "Talmire済です。";
        case FollowUp::Unknown: return "後続処理を確認できません。";
        case FollowUp::None:
        case FollowUp::ActivityOnly: break;
    }
    return {};
}

}  // namespace velmora
