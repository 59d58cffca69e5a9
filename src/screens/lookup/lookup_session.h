#pragma once

#include <string>

namespace velmora {

// The session values the lookup windows read. Start-up fills them once; the
// entry screen keeps currentOfficeCode in step with the quotation it shows.
struct LookupSession {
    // データベース定義.db: "A" and "S" use JOIN syntax, "O" comma joins with
    // "(+)"; any other kind gives no query at all.
    std::string databaseKind = "A";
    // 運用事業所コード; restricts the staff window.
    std::string operatingOfficeCode = "000";
    // The office of the quotation being entered; "000" restricts nothing.
    std::string currentOfficeCode = "000";
    // Decimals settings of Mユーザ for the price columns.
    int sellingUnitPriceDecimals = 0;   // 売上単価少数以下桁数
    int purchaseUnitPriceDecimals = 0;  // 仕入単価少数以下桁数
};

}  // namespace velmora
