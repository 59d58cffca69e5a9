#include "quotation/numbering.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "data/data_access.h"
#include "pricing/company_settings.h"
#include "support/test_env.h"

namespace velmora {
namespace {

class NumberingTest : public testing::TestWithParam<test::Engine> {
protected:
    void SetUp() override {
        db = std::make_unique<test::ScratchDatabase>(GetParam(), true);
        VELMORA_REQUIRE_DATABASE(*db);
        ASSERT_TRUE(access.OpenDataConnection(db->connectionString()));
        company.決算月 = 3;
        company.決算日 = 31;
    }

    Numbering numbering() {
        return Numbering(access, company, [this](const std::string& m) { messages.push_back(m); },
                         [] { return std::string("20240615"); });
    }

    void scheme(const std::string& id, const char* kind, const char* counter = "00000000") {
        ASSERT_TRUE(access.ExecuteData(std::string("INSERT INTO A番号情報 (番号ID, 連番種類, 連番, 履歴連番) VALUES ('") +
                                       id + "', '" + kind + "', '" + counter + "', '" + counter + "')"));
    }

    // Every row of a counter table, its columns joined by spaces, in key order.
    std::vector<std::string> counters(const std::string& table) {
        std::unique_ptr<Recordset> rs;
        access.OpenDataRecordset(rs, "SELECT * FROM " + table + " ORDER BY 1, 2, 3");
        std::vector<std::string> out;
        for (; !rs->eof(); rs->moveNext()) {
            std::string row;
            for (size_t i = 0; i < rs->columnCount(); ++i) row += (i == 0 ? "" : " ") + rs->text(i);
            out.push_back(row);
        }
        return out;
    }

    std::unique_ptr<test::ScratchDatabase> db;
    DataAccess access;
    CompanySettings company;
    std::vector<std::string> messages;
};

TEST_P(NumberingTest, BaseDateBySequenceKind) {
    for (const char* kind : {"0", "1", "2", "3", "9"}) scheme(std::string("1000") + kind, kind);
    Numbering n = numbering();
    const std::vector<std::string> dates = {n.BaseDate("10000", "20240215"), n.BaseDate("10001", "20240510"),
                                            n.BaseDate("10002", "20240215"), n.BaseDate("10003", "20240215"),
                                            n.BaseDate("10009", "20240215"), n.BaseDate("10002", "99999999"),
                                            n.BaseDate("77777", "20240215")};
    // Kinds 0, 1, 2, 3 and 9; kind 2 for 99999999 goes by today; no such scheme.
    EXPECT_EQ(dates,
              (std::vector<std::string>{"99999999", "20250331", "20240229", "20240215", "88888888", "20240630", ""}));
    company.決算日 = 20;
    EXPECT_EQ(n.BaseDate("10002", "20240221"), "20240320");
    EXPECT_TRUE(messages.empty());
}

TEST_P(NumberingTest, PerOfficeCountersWhenTheCompanyKeepsThemByOffice) {
    scheme("16210", "2");
    scheme("01110", "0");
    company.伝票番号管理区分 = 1;
    Numbering n = numbering();
    EXPECT_EQ(n.TakeNumber("16210", "20240229", "001"), "00000001");
    EXPECT_EQ(n.TakeNumber("16210", "20240229", "001"), "00000002");
    EXPECT_EQ(n.TakeNumber("16210", "20240229", "002"), "00000001");
    EXPECT_EQ(n.PeekNumber("16210", "20240229", "002"), "00000002");
    EXPECT_EQ(n.TakeNumber("01110", "99999999", "001"), "00000001");
    EXPECT_EQ(n.TakeNumber("01110", "99999999", "002"), "00000001");
    EXPECT_EQ(n.TakeHistoryNumber("16210", "20240229", "002"), "00000001");
    EXPECT_EQ(n.TakeHistoryNumber("01110", "99999999", "002"), "00000001");
    EXPECT_EQ(n.TakeHistoryNumber("01110", "99999999", "002"), "00000002");
    EXPECT_EQ(counters("A事業所別期日別番号情報"), (std::vector<std::string>{"001 16210 20240229 00000002 00000000",
                                                                             "002 16210 20240229 00000001 00000001"}));
    EXPECT_EQ(counters("A事業所別番号情報"),
              (std::vector<std::string>{"001 01110 00000001 00000000", "002 01110 00000001 00000002"}));
    EXPECT_EQ(counters("A期日別番号情報"), std::vector<std::string>{});
    EXPECT_EQ(counters("A番号情報"),
              (std::vector<std::string>{"01110  0 00000000 00000000 ", "16210  2 00000000 00000000 "}));
}

// Without per-office numbering every office draws from one counter: the
// undated one of A番号情報 whatever base date is passed, and one row per
// period, created by its first take. A peek takes nothing; the history
// counter runs on its own.
TEST_P(NumberingTest, CompanyWideCountersAreSharedByEveryOffice) {
    scheme("16210", "0", "00000041");
    scheme("10002", "2");
    Numbering n = numbering();
    EXPECT_EQ(n.BaseDate("16210", "20251231"), "99999999");
    EXPECT_EQ(n.PeekNumber("16210", "99999999", "000"), "00000042");
    EXPECT_EQ(n.PeekNumber("16210", "99999999", "000"), "00000042");
    EXPECT_EQ(n.TakeNumber("16210", "99999999", "001"), "00000042");
    EXPECT_EQ(n.TakeNumber("16210", "99999999", "002"), "00000043");
    EXPECT_EQ(n.TakeHistoryNumber("16210", "99999999", "000"), "00000042");
    EXPECT_EQ(counters("A期日別番号情報"), std::vector<std::string>{});
    EXPECT_EQ(n.TakeNumber("10002", "20240229", "001"), "00000001");
    EXPECT_EQ(n.TakeNumber("10002", "20240229", "002"), "00000002");
    EXPECT_EQ(n.TakeHistoryNumber("10002", "20240229", "002"), "00000001");
    EXPECT_EQ(n.TakeNumber("10002", "20240331", "001"), "00000001");
    EXPECT_EQ(counters("A番号情報"),
              (std::vector<std::string>{"10002  2 00000000 00000000 ", "16210  0 00000043 00000042 "}));
    EXPECT_EQ(counters("A期日別番号情報"),
              (std::vector<std::string>{"10002 20240229 00000002 00000001", "10002 20240331 00000001 00000000"}));
    EXPECT_EQ(counters("A事業所別番号情報"), std::vector<std::string>{});
    EXPECT_EQ(counters("A事業所別期日別番号情報"), std::vector<std::string>{});
    EXPECT_TRUE(messages.empty());
}

TEST_P(NumberingTest, MissingSchemeFailsWithTheMessage) {
    Numbering n = numbering();
    EXPECT_EQ(n.TakeNumber("16210", "99999999", "000"), "00000000");
    EXPECT_EQ(n.PeekNumber("16210", "99999999", "000"), "00000000");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "番号情報に問題が発生設定できませんでした。");
}

TEST_P(NumberingTest, TypedNumberSchemeGivesNothingAndWritesNothing) {
    scheme("16210", "5", "00000007");
    Numbering n = numbering();
    EXPECT_EQ(n.PeekNumber("16210", "88888888", "000"), "");
    EXPECT_EQ(n.TakeQuotationNumber("000", "88888888"), "");
    EXPECT_EQ(counters("A番号情報"), std::vector<std::string>{"16210  5 00000007 00000007 "});
    EXPECT_TRUE(messages.empty());
}

TEST_P(NumberingTest, ExhaustedCounterFailsInsteadOfGrowingANinthDigit) {
    scheme("16210", "0", "99999999");
    Numbering n = numbering();
    EXPECT_EQ(n.TakeNumber("16210", "99999999", "000"), "00000000");
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(counters("A番号情報"), std::vector<std::string>{"16210  0 99999999 99999999 "});
}

TEST_P(NumberingTest, QuotationAndHistoryNumbersSkipNumbersAlreadyUsed) {
    scheme("16210", "2");
    for (const char* no : {"00000001", "00000002", "00000004"})
        ASSERT_TRUE(access.ExecuteData(std::string("INSERT INTO T営業見積 (事業所コード, 番号基準日付, 営業見積No) VALUES "
                                                   "('001', '20240229', '") + no + "')"));
    ASSERT_TRUE(access.ExecuteData("INSERT INTO T営業見積 (事業所コード, 番号基準日付, 営業見積No) VALUES "
                                   "('002', '20240229', '00000003')"));
    ASSERT_TRUE(access.ExecuteData("INSERT INTO R営業見積 (事業所コード, 番号基準日付, 営業見積履歴No, 赤黒区分, 営業見積No) "
                                   "VALUES ('001', '20240229', '00000001', '1', '00000001')"));
    Numbering n = numbering();
    EXPECT_EQ(n.TakeQuotationNumber("001", "20240229"), "00000003");
    EXPECT_EQ(n.TakeQuotationNumber("001", "20240229"), "00000005");
    EXPECT_EQ(n.TakeQuotationHistoryNumber("001", "20240229"), "00000002");
    EXPECT_TRUE(messages.empty());
}

// Several programs, each with its own connection, take from one counter at
// once: every number is given exactly once and none is left out.
TEST_P(NumberingTest, ConcurrentTakersNeverShareANumber) {
    scheme("16210", "2");
    constexpr int kTakers = 6;
    constexpr int kTakesEach = 25;
    std::vector<std::string> taken;
    std::mutex mutex;
    std::vector<std::thread> takers;
    std::atomic<int> failures{0};
    for (int t = 0; t < kTakers; ++t) {
        takers.emplace_back([&] {
            DataAccess own;
            if (!own.OpenDataConnection(db->connectionString())) {
                ++failures;
                return;
            }
            Numbering n(own, company, [&](const std::string&) { ++failures; }, [] { return std::string("20240615"); });
            for (int k = 0; k < kTakesEach; ++k) {
                std::string number = n.TakeNumber("16210", "20240630", "000");
                std::lock_guard lock(mutex);
                taken.push_back(number);
            }
        });
    }
    for (std::thread& t : takers) t.join();
    EXPECT_EQ(failures.load(), 0);
    std::sort(taken.begin(), taken.end());
    std::vector<std::string> expected;
    for (int k = 1; k <= kTakers * kTakesEach; ++k) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%08d", k);
        expected.emplace_back(buffer);
    }
    EXPECT_EQ(taken, expected);
    EXPECT_EQ(counters("A期日別番号情報").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Engines, NumberingTest, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
