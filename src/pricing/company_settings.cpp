#include "pricing/company_settings.h"

#include <array>
#include <string_view>

#include "data/recordset.h"

namespace velmora {

namespace {

struct CodeColumn {
    std::string_view name;
    std::int16_t CompanySettings::* field;
};

constexpr std::array kCodeColumns = {
    CodeColumn{"決算月", &CompanySettings::決算月},
    CodeColumn{"決算日", &CompanySettings::決算日},
    CodeColumn{"締日区分", &CompanySettings::締日区分},
    CodeColumn{"締日", &CompanySettings::締日},
    CodeColumn{"決済方法", &CompanySettings::決済方法},
    CodeColumn{"決済月", &CompanySettings::決済月},
    CodeColumn{"決済日", &CompanySettings::決済日},
    CodeColumn{"手形サイト", &CompanySettings::手形サイト},
    CodeColumn{"売上金額丸め方法", &CompanySettings::売上金額丸め方法},
    CodeColumn{"仕入金額丸め方法", &CompanySettings::仕入金額丸め方法},
    CodeColumn{"在庫評価方法", &CompanySettings::在庫評価方法},
    CodeColumn{"売上単価少数以下桁数", &CompanySettings::売上単価少数以下桁数},
    CodeColumn{"売上数量少数以下桁数", &CompanySettings::売上数量少数以下桁数},
    CodeColumn{"仕入単価少数以下桁数", &CompanySettings::仕入単価少数以下桁数},
    CodeColumn{"仕入数量少数以下桁数", &CompanySettings::仕入数量少数以下桁数},
    CodeColumn{"在庫単価少数以下桁数", &CompanySettings::在庫単価少数以下桁数},
    CodeColumn{"在庫数量少数以下桁数", &CompanySettings::在庫数量少数以下桁数},
    CodeColumn{"重量少数以下桁数", &CompanySettings::重量少数以下桁数},
    CodeColumn{"得意先単価自動更新区分", &CompanySettings::得意先単価自動更新区分},
    CodeColumn{"納品先単価自動更新区分", &CompanySettings::納品先単価自動更新区分},
    CodeColumn{"仕入先単価自動更新区分", &CompanySettings::仕入先単価自動更新区分},
    CodeColumn{"明細保存月数", &CompanySettings::明細保存月数},
    CodeColumn{"統計保存年数", &CompanySettings::統計保存年数},
    CodeColumn{"整理実施可能日自", &CompanySettings::整理実施可能日自},
    CodeColumn{"整理実施可能日至", &CompanySettings::整理実施可能日至},
    CodeColumn{"整理実施可能時刻", &CompanySettings::整理実施可能時刻},
    CodeColumn{"伝票番号管理区分", &CompanySettings::伝票番号管理区分},
    CodeColumn{"暗証番号有無", &CompanySettings::暗証番号有無},
    CodeColumn{"更新実行区分", &CompanySettings::更新実行区分},
};

}  // namespace

bool ReadCompanySettings(const Recordset& row, CompanySettings& settings) {
    if (row.eof()) return false;
    if (auto v = row.value("ID")) settings.ID = *v;
    if (auto v = row.value("名称")) settings.名称 = *v;
    for (const CodeColumn& column : kCodeColumns) {
        if (!row.isNull(column.name)) settings.*column.field = row.code(column.name);
    }
    if (auto v = row.scaled4("現金決済金額")) settings.現金決済金額 = Currency::FromScaled(*v);
    return true;
}

}  // namespace velmora
