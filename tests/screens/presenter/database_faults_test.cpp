#include "data/connection.h"
#include "quotation/load.h"
#include "quotation/save.h"
#include "screen_fixture.h"

namespace velmora::test {
namespace {

// The entry screen meeting a business database that another program keeps
// locked (the SQLite file's write lock, a table lock a colleague's hung
// transaction holds on the server): the wait ends, a message box and the
// notice bar say so, and the quotation stays on the screen to be stored once
// the lock is gone.
class DatabaseFaultsTest : public ScreenTest {
protected:
    // Another connection holds the quotations locked until it rolls back.
    std::unique_ptr<DataAccess> lockQuotations() {
        std::unique_ptr<DataAccess> other = install->open();
        EXPECT_TRUE(other->BeginDataTransaction());
        if (GetParam() == Engine::PostgreSQL) {
            EXPECT_TRUE(other->ExecuteData("LOCK TABLE T営業見積 IN ACCESS EXCLUSIVE MODE"));
        }
        return other;
    }
    void SetUp() override {
        SetLockWaitLimit(300);
        ScreenTest::SetUp();
    }
    void TearDown() override {
        ScreenTest::TearDown();
        SetLockWaitLimit(kLockWaitLimitMs);
    }
    long long Quotations() { return install->count("T営業見積 WHERE 事業所コード = '001'"); }
};

TEST_P(DatabaseFaultsTest, ALockedDatabaseKeepsTheQuotationOnTheScreen) {
    const long long before = Quotations();
    EnterQuotation();
    const std::string number = Text({"営業見積No"});

    std::unique_ptr<DataAccess> other = lockQuotations();
    view.confirmations = {kConfirmStoreOnly};
    Press("btn_登録");
    ASSERT_FALSE(view.messages.empty());
    const std::string message = view.messages.back();
    EXPECT_EQ(message.rfind("他のプログラムがデータベースを更新中のため登録できませんでした。", 0), 0u) << message;
    EXPECT_EQ(view.notice, message);
    EXPECT_TRUE(state().NewEntry);
    EXPECT_TRUE(state().Changed);
    EXPECT_EQ(Text({"営業見積No"}), number);
    EXPECT_EQ(quotation().header.得意先コード, "000001");
    EXPECT_EQ(quotation().lines[0].商品コード, "ST-00002");

    other->RollbackDataTransaction();
    EXPECT_EQ(Quotations(), before);
    view.confirmations = {kConfirmStoreOnly};
    Press("btn_登録");
    EXPECT_EQ(Quotations(), before + 1) << view.notice;
    EXPECT_NE(view.notice.find(number), std::string::npos);
}

// Tax rates that cannot be read at start price lines with a tax of 0, which
// is never stored: the save is refused until they can be read, and the taxes
// worked out again then are shown before the next save stores them.
TEST_P(DatabaseFaultsTest, NoTaxIsStoredThatWasWorkedOutWithoutRates) {
    install->business("ALTER TABLE G消費税 RENAME TO G消費税_退避");
    Restart("");
    const long long before = Quotations();
    EnterQuotation();
    EXPECT_EQ(quotation().lines[0].見積消費税, Currency());
    view.confirmations = {kConfirmStoreOnly};
    Press("btn_登録");
    EXPECT_EQ(view.messages.back(), kNoTaxRates);
    EXPECT_EQ(Quotations(), before);

    install->business("ALTER TABLE G消費税_退避 RENAME TO G消費税");
    view.confirmations = {kConfirmStoreOnly};
    Press("btn_登録");
    EXPECT_EQ(view.messages.back(), kTaxesWorkedOutAgain);
    EXPECT_EQ(Quotations(), before);
    EXPECT_EQ(quotation().lines[0].見積消費税, Units(44)) << "10 % of 440";
    EXPECT_EQ(Text({"見積消費税合計"}), "44");

    view.confirmations = {kConfirmStoreOnly};
    Press("btn_登録");
    EXPECT_EQ(Quotations(), before + 1) << view.notice;
}

// A number typed while the server gives no answer (a colleague's transaction
// holds the quotations locked past the wait) is not taken for a number that
// is free: the message says the database did not answer and the screen keeps
// what it had. SQLite lets reads through a writer's lock.
using ServerFaultsTest = DatabaseFaultsTest;

TEST_P(ServerFaultsTest, ATypedNumberWithoutAnAnswerLeavesTheScreenAsItWas) {
    const std::string proposed = Text({"営業見積No"});
    const std::string stored = install->value("SELECT MIN(営業見積No) FROM T営業見積 WHERE 事業所コード = '001'");
    std::unique_ptr<DataAccess> other = lockQuotations();
    Fill({"営業見積No"}, stored);
    EXPECT_EQ(view.messages, (std::vector<std::string>{"他のプログラムがデータベースを更新中のため表示できませんでした。"
                                                       "しばらく待ってから再度表示してください。"}));
    EXPECT_EQ(view.notice, view.messages.back());
    EXPECT_EQ(Text({"営業見積No"}), proposed);
    EXPECT_TRUE(state().NewEntry);
    EXPECT_FALSE(state().Changed);

    other->RollbackDataTransaction();
    Fill({"営業見積No"}, stored);
    EXPECT_FALSE(state().NewEntry) << "opened once the server answers";
    EXPECT_EQ(Text({"営業見積No"}), stored);
}

INSTANTIATE_TEST_SUITE_P(Engines, ServerFaultsTest, testing::Values(Engine::PostgreSQL), EngineName);
INSTANTIATE_TEST_SUITE_P(Engines, DatabaseFaultsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
