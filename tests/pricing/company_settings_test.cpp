#include "pricing/company_settings.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "data/data_access.h"
#include "data/recordset.h"
#include "pricing/tax_rates.h"
#include "support/test_env.h"

namespace velmora {
namespace {

Cell text(const char* value) {
    return Cell{Cell::Kind::Text, 0, 0.0, value};
}

TEST(CompanySettings, ReadsNumericTextsAndKeepsFieldsOfNullColumns) {
    Recordset row({"ID", "名称", "決算月", "決算日", "売上金額丸め方法", "仕入数量少数以下桁数", "伝票番号管理区分",
                   "更新実行区分", "現金決済金額"});
    row.addRow({text("0001"), text("ベルモア商事"), text("3"), text("31"), text("5"), text("2"), Cell(), text("1"),
                text("30000.5")});
    CompanySettings settings;
    settings.伝票番号管理区分 = 7;
    ASSERT_TRUE(ReadCompanySettings(row, settings));
    const CompanySettings& s = settings;
    EXPECT_EQ(s.名称, "ベルモア商事");
    EXPECT_EQ((std::vector<std::int64_t>{s.決算月, s.決算日, s.売上金額丸め方法, s.仕入数量少数以下桁数,
                                         s.伝票番号管理区分, s.更新実行区分, s.現金決済金額.scaled()}),
              (std::vector<std::int64_t>{3, 31, 5, 2, 7, 1, 300005000}));
}

TEST(CompanySettings, NoRowIsNotRead) {
    Recordset empty({"ID"});
    CompanySettings settings;
    EXPECT_FALSE(ReadCompanySettings(empty, settings));
}

class StoredSettings : public testing::TestWithParam<test::Engine> {};

TEST_P(StoredSettings, TheRateTableFromTheBusinessDatabase) {
    test::ScratchDatabase db(GetParam(), true);
    VELMORA_REQUIRE_DATABASE(db);
    DataAccess access;
    ASSERT_TRUE(access.OpenDataConnection(db.connectionString()));
    ASSERT_TRUE(access.ExecuteData("INSERT INTO G消費税 (施行日, 消費税率) VALUES ('20191001', 10)"));
    ASSERT_TRUE(access.ExecuteData("INSERT INTO G消費税 (施行日, 消費税率) VALUES ('20140401', 8)"));

    TaxRateTable rates;
    ASSERT_TRUE(rates.Load(access));
    EXPECT_EQ(rates.RateOn("20240101", false), Units(10));
    EXPECT_EQ(rates.RateOn("20240101", true), Units(8));
    EXPECT_EQ(rates.RateOn("20190930", false), Units(8));
    EXPECT_FALSE(rates.RateOn("20190930", true).has_value());

    // A rate entered meanwhile is seen on the next load.
    ASSERT_TRUE(access.ExecuteData("UPDATE G消費税 SET 消費税率 = 12 WHERE 施行日 = '20191001'"));
    EXPECT_EQ(rates.RateOn("20240101", false), Units(10));
    ASSERT_TRUE(rates.Load(access));
    EXPECT_EQ(rates.RateOn("20240101", false), Units(12));
}

// A failed read keeps the rates read before; without any, the rates are not
// known (and no tax worked out from them may be stored).
TEST_P(StoredSettings, AFailedRateReadKeepsTheRatesReadBefore) {
    test::ScratchDatabase db(GetParam(), false);
    VELMORA_REQUIRE_DATABASE(db);
    DataAccess access;
    ASSERT_TRUE(access.OpenDataConnection(db.connectionString()));
    TaxRateTable rates;
    EXPECT_FALSE(rates.Load(access));
    EXPECT_FALSE(rates.known());
    rates.Assign({{"20191001", Units(10)}});
    EXPECT_FALSE(rates.Load(access));
    EXPECT_TRUE(rates.known());
    EXPECT_EQ(rates.RateOn("20240101", false), Units(10));
}

INSTANTIATE_TEST_SUITE_P(Engines, StoredSettings, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
