#include <functional>

#include "documents_fixture.h"
#include "linking/update_notice.h"
#include "quotation/delete.h"
#include "quotation/document_rows.h"
#include "quotation/document_write.h"
#include "quotation/load.h"
#include "quotation/save.h"
#include "quotation/save_status.h"
#include "support/private_postgres.h"

namespace velmora::test {
namespace {

// The business database on a PostgreSQL server of the test's own, which the
// test stops and starts while the program's session stays open.
class ServerRestartTest : public DocumentsTest {
protected:
    static void SetUpTestSuite() {
        if (PostgresTestsWanted()) s_server = new PrivatePostgres();
    }
    static void TearDownTestSuite() {
        delete s_server;
        s_server = nullptr;
    }
    std::string postgresSource() const override { return s_server ? s_server->dataSource() : ""; }
    void SetUp() override {
        if (!PostgresTestsWanted()) GTEST_SKIP() << "no test PostgreSQL server (VELMORA_TEST_PG); run scripts/test";
        ASSERT_TRUE(s_server && s_server->running()) << (s_server ? s_server->problem() : "");
        DocumentsTest::SetUp();
    }
    void TearDown() override {
        // The scratch database is dropped on the server: it has to be up.
        if (s_server && !s_server->running()) s_server->Start();
    }
    void restart() {
        ASSERT_TRUE(s_server->Stop());
        ASSERT_TRUE(s_server->Start());
    }
    long long errorRows() { return dbs->countConfig("プログラム稼動履歴 WHERE 摘要 LIKE 'エラー %'"); }
    std::string title() { return quotation.header.タイトル; }

    static PrivatePostgres* s_server;
};

PrivatePostgres* ServerRestartTest::s_server = nullptr;

// A server restarted between two operations ends the program's session; the
// next read, save or delete finds it gone before anything is written, opens
// a new session and runs on it. The lost session leaves its error row.
TEST_P(ServerRestartTest, AfterARestartTheNextOperationRunsOnANewSession) {
    fillNew("20241206", 3, "最初の見積");
    saveOk();
    struct Step {
        const char* name;
        std::function<void()> before;  // runs while the server is up
        std::function<bool()> operation;
    };
    const Step steps[] = {
        {"read", [] {}, [&] { return QuotationLoader(*scope).OpenStored("001", kFy2024, "00000001"); }},
        {"save of a change", [&] { open(kFy2024, "00000001"); quotation.header.タイトル = "変更"; },
         [&] { return QuotationSaver(*scope, session.get()).Save().stored; }},
        {"save of a new quotation", [&] { fillNew("20241206", 2, "二件目"); },
         [&] { return QuotationSaver(*scope, session.get()).Save().stored; }},
        {"delete", [&] { open(kFy2024, "00000001"); prompts.answers = {true}; },
         [&] { return QuotationDeleter(*scope, session.get()).Delete() == QuotationDeleter::Result::Deleted; }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.before();
        restart();
        const long long errors = errorRows();
        EXPECT_TRUE(step.operation()) << quotation.SaveMessage;
        EXPECT_GT(errorRows(), errors);
    }
    EXPECT_EQ(count("T営業見積"), 1);
    EXPECT_EQ(value("SELECT タイトル FROM T営業見積", "タイトル"), "二件目");
}

// While the server is down a save or delete fails with the message, nothing
// is written and the quotation stays as it was; once the server is back the
// same quotation is stored, once.
TEST_P(ServerRestartTest, WhileTheServerIsDownNothingIsWrittenAndTheQuotationStays) {
    fillNew("20241206", 3, "保存済み");
    saveOk();
    open(kFy2024, "00000001");
    ASSERT_TRUE(s_server->Stop());
    const long long errors = errorRows();
    prompts.answers = {true};
    EXPECT_NE(QuotationDeleter(*scope, session.get()).Delete(), QuotationDeleter::Result::Deleted);
    EXPECT_EQ(quotation.SaveStatus, kStatusDatabaseFault);
    EXPECT_EQ(quotation.SaveMessage.rfind("データベースが使用できません。", 0), 0u) << quotation.SaveMessage;
    EXPECT_NE(quotation.SaveMessage.find("削除できませんでした。"), std::string::npos);
    EXPECT_EQ(quotation.loadedKey.営業見積No, "00000001");

    fillNew("20241206", 4, "未保存");
    const std::string number = quotation.header.営業見積No;
    EXPECT_FALSE(QuotationSaver(*scope, session.get()).Save().stored);
    EXPECT_EQ(quotation.SaveStatus, kStatusDatabaseFault);
    EXPECT_NE(quotation.SaveMessage.find("接続が切れたため登録できませんでした。"), std::string::npos)
        << quotation.SaveMessage;
    EXPECT_EQ(title(), "未保存");
    EXPECT_EQ(quotation.header.営業見積No, number);
    EXPECT_EQ(quotation.LastLine, 3);
    EXPECT_GT(errorRows(), errors);

    ASSERT_TRUE(s_server->Start());
    saveOk();
    EXPECT_EQ(count("T営業見積"), 2);
    // Begun while the server was down, it takes its base date and number now.
    EXPECT_EQ(count("T営業見積明細 WHERE 番号基準日付 = '20250331' AND 営業見積No = '00000002'"), 4);
    EXPECT_EQ(count("T営業見積 WHERE タイトル = '保存済み'"), 1) << "the failed delete took nothing away";
}

// A restart in the middle of a save's transaction: the rest of the save does
// not go on in a new session, the save is reported failed, not stored, and
// nothing of it is found afterwards; the next save stores it whole.
TEST_P(ServerRestartTest, ARestartInsideTheSaveLeavesNothingHalfWritten) {
    fillNew("20241206", 5, "途中で切断");
    quotation.SaveKind = kSaveKindNew;
    SaveOutcome outcome = WriteDocument(*scope, session.get(), [&] {
        DocumentRows rows(*scope);
        if (!rows.InsertHeader()) return false;
        restart();
        return rows.InsertLines();
    });
    EXPECT_FALSE(outcome.stored);
    EXPECT_EQ(quotation.SaveStatus, kStatusDatabaseFault);
    EXPECT_EQ(title(), "途中で切断");
    EXPECT_EQ(count("T営業見積"), 0);
    EXPECT_EQ(count("R営業見積"), 0);
    EXPECT_EQ(count("T営業見積明細"), 0);

    saveOk();
    EXPECT_EQ(count("T営業見積"), 1);
    EXPECT_EQ(count("T営業見積明細"), 5);
    EXPECT_EQ(count("R営業見積明細"), 5);
}

// A number typed while the server is down is no number that is free: the
// loader says the server did not answer and the quotation stays as it was;
// once the server is back the number opens.
TEST_P(ServerRestartTest, ATypedNumberWhileTheServerIsDownChangesNothing) {
    fillNew("20241206", 2, "登録済み");
    saveOk();
    fillNew("20241206", 1, "入力中");
    const Quotation before = quotation;
    ASSERT_TRUE(s_server->Stop());
    std::string picked;
    QuotationLoader loader(*scope);
    EXPECT_FALSE(loader.OpenByTypedNumber("00000001", picked));
    EXPECT_EQ(loader.fault(), DbFault::ConnectionLost);
    EXPECT_EQ(quotation.header, before.header);
    EXPECT_EQ(quotation.LastLine, 0);
    ASSERT_TRUE(s_server->Start());
    EXPECT_TRUE(loader.OpenByTypedNumber("00000001", picked));
    EXPECT_EQ(quotation.header.タイトル, "登録済み");
}

INSTANTIATE_TEST_SUITE_P(Engines, ServerRestartTest, testing::Values(Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
