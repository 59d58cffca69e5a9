#pragma once

#include <cstdint>
#include <string>

#include "pricing/currency.h"

namespace velmora {

class Recordset;

// The company record Mユーザ as the pricing, numbering and start-up code use
// it. Filled once at start-up and passed to whoever needs it.
struct CompanySettings {
    std::string ID;
    std::string 名称;

    std::int16_t 決算月 = 0;  // closing month of the fiscal year
    std::int16_t 決算日 = 0;  // closing day (also the monthly closing day)
    std::int16_t 締日区分 = 0;
    std::int16_t 締日 = 0;
    std::int16_t 決済方法 = 0;
    std::int16_t 決済月 = 0;
    std::int16_t 決済日 = 0;
    std::int16_t 手形サイト = 0;
    Currency 現金決済金額;

    std::int16_t 売上金額丸め方法 = 0;  // 0-9 tenths added before truncation
    std::int16_t 仕入金額丸め方法 = 0;
    std::int16_t 在庫評価方法 = 0;

    std::int16_t 売上単価少数以下桁数 = 0;
    std::int16_t 売上数量少数以下桁数 = 0;
    std::int16_t 仕入単価少数以下桁数 = 0;
    std::int16_t 仕入数量少数以下桁数 = 0;
    std::int16_t 在庫単価少数以下桁数 = 0;
    std::int16_t 在庫数量少数以下桁数 = 0;
    std::int16_t 重量少数以下桁数 = 0;

    std::int16_t 得意先単価自動更新区分 = 0;
    std::int16_t 納品先単価自動更新区分 = 0;
    std::int16_t 仕入先単価自動更新区分 = 0;
    std::int16_t 明細保存月数 = 0;
    std::int16_t 統計保存年数 = 0;
    std::int16_t 整理実施可能日自 = 0;
    std::int16_t 整理実施可能日至 = 0;
    std::int16_t 整理実施可能時刻 = 0;

    std::int16_t 伝票番号管理区分 = 0;  // non-zero: document counters per office
    std::int16_t 暗証番号有無 = 0;
    std::int16_t 更新実行区分 = 0;      // 0: start the update program after a save
};

// Copies the current row of "SELECT * FROM Mユーザ ..." into the settings.
// A Null column leaves its field as it was. False when there is no row.
bool ReadCompanySettings(const Recordset& row, CompanySettings& settings);

}  // namespace velmora
