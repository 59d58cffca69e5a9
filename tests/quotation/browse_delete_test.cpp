#include "documents_fixture.h"
#include "quotation/browse.h"
#include "quotation/delete.h"
#include "quotation/follow_up.h"
#include "quotation/save_status.h"

namespace velmora {
namespace {

using test::kFy2024;
using test::kFy2025;

class BrowseDeleteTest : public test::DocumentsTest {
protected:
    std::string shown() { return quotation.header.営業見積日付 + "/" + quotation.header.営業見積No; }
    QuotationDeleter deleter() { return QuotationDeleter(*scope, session.get()); }
};

TEST_P(BrowseDeleteTest, PreviousAndNextGoInDateAndNumberOrderOverAllBaseDates) {
    for (const char* date : {"20250320", "20250410", "20250320", "20241206"}) {
        fillNew(date, 1);
        saveOk();
    }
    QuotationBrowser browser(*scope);
    open(kFy2024, "00000001");
    std::vector<std::string> visited;
    while (browser.GoToNext() == QuotationBrowser::Moved::Loaded) visited.push_back(shown());
    EXPECT_EQ(visited, (std::vector<std::string>{"20250320/00000002", "20250410/00000001"}));
    visited.clear();
    while (browser.GoToPrevious() == QuotationBrowser::Moved::Loaded) visited.push_back(shown());
    EXPECT_EQ(visited,
              (std::vector<std::string>{"20250320/00000002", "20250320/00000001", "20241206/00000003"}));
    EXPECT_EQ(count("T閲覧"), 6);

    // Without a number: the latest quotation dated on or before the date.
    fillNew("20250325", 0);
    quotation.header.営業見積No = "";
    std::string baseDate, number;
    ASSERT_TRUE(browser.FindPrevious(baseDate, number));
    EXPECT_EQ(baseDate + "/" + number, std::string(kFy2024) + "/00000002");
    ASSERT_TRUE(browser.FindNext(baseDate, number));
    EXPECT_EQ(baseDate + "/" + number, std::string(kFy2025) + "/00000001");
    quotation.header.事業所コード = "002";
    EXPECT_FALSE(browser.FindPrevious(baseDate, number));
}

TEST_P(BrowseDeleteTest, AQuotationTakenFurtherIsNotDeleted) {
    struct Case {
        const char* table;
        const char* columns;
        const char* text;
    };
    const Case cases[] = {
        {"T営業請求", "営業請求No, 営業見積事業所コード, 営業見積番号基準日付, 営業見積No", "請求済です。"},
        {"T営業納品", "営業納品No, 営業見積事業所コード, 営業見積番号基準日付, 営業見積No", "納品済です。"},
        {"T営業発注", "営業発注No, 参照営業見積事業所コード, 参照営業見積番号基準日付, 参照営業見積No", "発注済です。"},
        {"T顧客注文", "顧客注文No, 参照営業見積事業所コード, 参照営業見積番号基準日付, 参照営業見積No",
         "Talmire済です。"},
    };
    fillNew("20241206", 2);
    saveOk();
    auto follow = [&](const Case& c) {
        exec(std::string("INSERT INTO ") + c.table + " (事業所コード, 番号基準日付, " + c.columns + ") VALUES ('001', '" +
             kFy2024 + "', '00000001', '001', '" + kFy2024 + "', '00000001')");
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        follow(c);
        open(kFy2024, "00000001");
        prompts.messages.clear();
        EXPECT_EQ(deleter().Delete(), QuotationDeleter::Result::Refused);
        EXPECT_EQ(prompts.messages, (std::vector<std::string>{std::string(c.text) + "削除出来ません。"}));
        EXPECT_TRUE(prompts.questions.empty());
        EXPECT_EQ(count("T営業見積明細"), 2);
        exec(std::string("DELETE FROM ") + c.table);
    }
    // Billed and ordered by the customer: billing is told.
    follow(cases[3]);
    follow(cases[0]);
    EXPECT_EQ(FollowUpStatus(access(), "001", kFy2024, "00000001"), FollowUp::Billed);
    EXPECT_EQ(count("R営業見積 WHERE 赤黒区分 = '0'"), 0);
}

TEST_P(BrowseDeleteTest, AFollowUpTableThatCannotBeReadRefusesTheDelete) {
    fillNew("20241206", 2);
    saveOk();
    exec("DROP TABLE T営業納品");
    open(kFy2024, "00000001");
    EXPECT_EQ(FollowUpStatus(access(), "001", kFy2024, "00000001"), FollowUp::Unknown);
    prompts.messages.clear();
    EXPECT_EQ(deleter().Delete(), QuotationDeleter::Result::Refused);
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{"後続処理を確認できません。削除出来ません。"}));
    EXPECT_EQ(count("T営業見積明細"), 2);
}

TEST_P(BrowseDeleteTest, DeletingWritesRedRowsAndANoticeAndUnlinksTheActivities) {
    fillNew("20241206", 3);
    saveOk();
    addActivity("1000", "001", kFy2024, "00000001");
    addActivity("1300", "001", kFy2024, "00000001");
    open(kFy2024, "00000001");

    EXPECT_EQ(deleter().Delete(), QuotationDeleter::Result::Cancelled);
    EXPECT_EQ(prompts.questions, (std::vector<std::string>{"日程情報に登録済です。削除しますか?"}));
    EXPECT_EQ(count("T営業見積"), 1);

    prompts.answers = {true};
    SaveOutcome outcome;
    EXPECT_EQ(deleter().Delete(&outcome), QuotationDeleter::Result::Deleted);
    EXPECT_TRUE(outcome.noticesWritten);
    // Kind 2, status 5 (linked), the red history number and no black one.
    EXPECT_EQ(quotation.SaveKind + " " + std::to_string(quotation.SaveStatus) + " old:" + quotation.OldHistoryNo +
                  " new:" + quotation.NewHistoryNo,
              "2 5 old:00000002 new:");
    EXPECT_EQ((std::vector<long long>{count("T営業見積"), count("T営業見積明細")}), (std::vector<long long>{0, 0}));
    const std::string red = "赤黒区分 = '0' AND 営業見積履歴No = '00000002'";
    EXPECT_EQ(count("R営業見積 WHERE " + red), 1);
    EXPECT_EQ(count("R営業見積明細 WHERE " + red), 3);
    EXPECT_EQ(count("R営業見積 WHERE 赤黒区分 = '1'"), 1);
    EXPECT_EQ(count("未集計情報 WHERE 赤黒区分 = '0' AND 履歴No = '00000002' AND 登録情報区分 = '2'"), 1);
    EXPECT_EQ(count("未集計情報"), 2);
    EXPECT_EQ(count("T営業活動明細 WHERE 営業見積事業所コード = '' AND 営業見積番号基準日付 = '' AND 営業見積No = '' "
                    "AND 営業活動摘要 = '訪問'"),
              2);
}

TEST_P(BrowseDeleteTest, DeletingAQuotationWhoseLinesAreGoneFailsWithStatusSix) {
    fillNew("20241206", 2);
    saveOk();
    open(kFy2024, "00000001");
    exec("DELETE FROM T営業見積明細");
    prompts.answers = {true};
    EXPECT_EQ(deleter().Delete(), QuotationDeleter::Result::Failed);
    EXPECT_EQ(prompts.questions, (std::vector<std::string>{"削除しますか?"}));
    EXPECT_EQ(std::to_string(quotation.SaveStatus) + " " + quotation.SaveMessage,
              "6 既に削除されています。削除できませんでした。");
    EXPECT_EQ((std::vector<long long>{count("T営業見積"), count("R営業見積"), count("未集計情報")}),
              (std::vector<long long>{1, 1, 1}));
    EXPECT_EQ(value("SELECT 履歴連番 FROM A期日別番号情報", "履歴連番"), "00000001");

    // With its lines the same delete goes through.
    open(kFy2024, "00000001");
    quotation.NewEntry = false;
    prompts.answers = {true};
    exec(std::string("INSERT INTO T営業見積明細 (事業所コード, 番号基準日付, 営業見積No, 営業見積固有行No, "
                     "営業見積行No) VALUES ('001', '") +
         kFy2024 + "', '00000001', '001', '001')");
    EXPECT_EQ(deleter().Delete(), QuotationDeleter::Result::Deleted);
    EXPECT_EQ(quotation.SaveStatus, 7);
    EXPECT_EQ(count("T営業見積"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, BrowseDeleteTest,
                         testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL), test::EngineName);

}  // namespace
}  // namespace velmora
