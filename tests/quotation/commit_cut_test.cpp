#include "documents_fixture.h"
#include "quotation/delete.h"
#include "quotation/save.h"
#include "quotation/save_status.h"
#include "support/cutting_relay.h"
#include "support/private_postgres.h"

namespace velmora::test {
namespace {

constexpr const char* kLostAtSave =
    "データベースが使用できません。サーバーとの接続が切れたため登録できませんでした。接続を確認してから再度登録してください。";
constexpr const char* kUnknownSave =
    "サーバーとの接続が切れたため、登録できたかどうか確認できませんでした。接続を確認してから再度登録してください（登録済みであれ"
    "ば、二重に登録することはありません）。";

// The business database reached through a relay that loses the connection
// at a COMMIT: before the server got it, or after it stored it and answered.
// A save is reported as stored exactly when it was, and saving again never
// stores a quotation twice.
class CommitCutTest : public DocumentsTest {
protected:
    void SetUp() override {
        if (!PostgresTestsWanted()) GTEST_SKIP() << "no test PostgreSQL server (VELMORA_TEST_PG); run scripts/test";
        relay = std::make_unique<CuttingRelay>(PostgresDataSource());
        DocumentsTest::SetUp();
    }
    std::string postgresSource() const override { return relay->dataSource(); }
    SaveOutcome save() { return QuotationSaver(*scope, session.get()).Save(); }
    long long titled(const std::string& title) { return count("T営業見積 WHERE タイトル = '" + title + "'"); }

    std::unique_ptr<CuttingRelay> relay;
};

TEST_P(CommitCutTest, ASaveIsReportedAsStoredExactlyWhenItWasAndNeverStoredTwice) {
    using Cut = CuttingRelay::Cut;
    struct Case {
        const char* what;
        Cut cut;
        bool unreachable;  // the server cannot be asked afterwards
        bool stored;       // what the save reports
        const char* message;
        long long landed;  // copies stored by the cut save
    };
    const Case cases[] = {
        {"lost before the server got the COMMIT", Cut::BeforeCommit, false, false, kLostAtSave, 0},
        {"answer lost after the server stored it", Cut::AfterCommit, false, true, "", 1},
        {"lost before the COMMIT, server gone", Cut::BeforeCommit, true, false, kUnknownSave, 0},
        {"answer lost after the COMMIT, server gone", Cut::AfterCommit, true, false, kUnknownSave, 1},
    };
    int serial = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string title = "切断" + std::to_string(++serial);
        fillNew("20241206", 3, title);
        relay->CutAtNextCommit(c.cut, c.unreachable);
        const SaveOutcome outcome = save();
        ASSERT_TRUE(relay->cutDone());
        EXPECT_EQ(outcome.stored, c.stored);
        EXPECT_EQ(quotation.SaveMessage, c.message);
        relay->SetUnreachable(false);
        EXPECT_EQ(titled(title), c.landed);
        if (c.stored) continue;
        // Saved again, with a change made meanwhile: one quotation, as the screen has it now.
        quotation.header.タイトル = title + "再";
        ASSERT_TRUE(save().stored) << quotation.SaveMessage;
        EXPECT_EQ(titled(title), 0);
        EXPECT_EQ(titled(title + "再"), 1);
        EXPECT_EQ(count("T営業見積明細 WHERE 営業見積No = '" + quotation.header.営業見積No + "'"), 3);
    }
    EXPECT_EQ(count("T営業見積"), 4);
}

// A change and a delete whose answers are lost are found stored as well.
TEST_P(CommitCutTest, AChangeAndADeleteWhoseAnswerIsLostAreFoundDone) {
    fillNew("20241206", 2, "元");
    saveOk();
    open(kFy2024, "00000001");
    quotation.header.タイトル = "変更後";
    relay->CutAtNextCommit(CuttingRelay::Cut::AfterCommit);
    EXPECT_TRUE(save().stored) << quotation.SaveMessage;
    EXPECT_EQ(titled("変更後"), 1);

    open(kFy2024, "00000001");
    prompts.answers = {true};
    relay->CutAtNextCommit(CuttingRelay::Cut::AfterCommit, true);
    EXPECT_EQ(QuotationDeleter(*scope, session.get()).Delete(), QuotationDeleter::Result::Failed);
    EXPECT_EQ(quotation.SaveMessage, UnconfirmedMessage("削除"));
    relay->SetUnreachable(false);
    EXPECT_EQ(count("T営業見積"), 0) << "deleted in fact";
    // The next save finds the delete done and stores nothing over it unasked.
    EXPECT_FALSE(save().stored);
    EXPECT_EQ(count("T営業見積"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, CommitCutTest, testing::Values(Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
