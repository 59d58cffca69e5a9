#include "data/sqlite/sqlite_connection.h"
#include "screen_fixture.h"

namespace velmora::test {
namespace {

// The entry screen meeting a business database that another program keeps
// locked: the save waits, then says so in a message box and the notice bar,
// and the quotation stays on the screen to be stored once the lock is gone.
class DatabaseFaultsTest : public ScreenTest {
protected:
    void SetUp() override {
        SetSqliteBusyTimeout(300);
        ScreenTest::SetUp();
    }
    void TearDown() override {
        ScreenTest::TearDown();
        SetSqliteBusyTimeout(kSqliteBusyTimeoutMs);
    }
    long long Quotations() { return install->count("T営業見積 WHERE 事業所コード = '001'"); }
};

TEST_P(DatabaseFaultsTest, ALockedDatabaseKeepsTheQuotationOnTheScreen) {
    const long long before = Quotations();
    FillHeader("1");
    Click({"見積期限"});
    Tab();
    Type("ST-00002");
    Tab();
    Tab();
    Type("4");
    Tab();
    const std::string number = Text({"営業見積No"});

    std::unique_ptr<DataAccess> other = install->open();
    ASSERT_TRUE(other->BeginDataTransaction());
    view.confirmations = {kConfirmStoreOnly};
    Press("btn_登録");
    ASSERT_FALSE(view.messages.empty());
    const std::string message = view.messages.back();
    EXPECT_EQ(message.rfind("他のプログラムがデータベースを更新中のため登録できませんでした。", 0), 0u) << message;
    EXPECT_EQ(view.notice, message);
    EXPECT_EQ(Quotations(), before);
    EXPECT_TRUE(state().NewEntry);
    EXPECT_TRUE(state().Changed);
    EXPECT_EQ(Text({"営業見積No"}), number);
    EXPECT_EQ(quotation().header.得意先コード, "000001");
    EXPECT_EQ(quotation().lines[0].商品コード, "ST-00002");

    other->RollbackDataTransaction();
    view.confirmations = {kConfirmStoreOnly};
    Press("btn_登録");
    EXPECT_EQ(Quotations(), before + 1) << view.notice;
    EXPECT_NE(view.notice.find(number), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Engines, DatabaseFaultsTest, testing::Values(Engine::SQLite), EngineName);

}  // namespace
}  // namespace velmora::test
