#include "screen_fixture.h"

#include "quotation/load.h"

namespace velmora::test {
namespace {

constexpr const char* kNoPermission = "操作権限がありません。";

class CommandsTest : public ScreenTest {
  protected:
    long long Quotations() { return install->count("T営業見積 WHERE 事業所コード = '001'"); }
};

// Save through the confirmation: "登録のみ" stores the quotation, says so,
// and clears to a new quotation on the customer.
TEST_P(CommandsTest, SavingANewQuotation) {
    const long long before = Quotations();
    EnterQuotation();
    const std::string number = Text({"営業見積No"});
    view.confirmations = {kConfirmCancel, kConfirmStoreOnly};
    Press("btn_登録");
    EXPECT_EQ(Quotations(), before) << "cancelled";
    EXPECT_TRUE(state().Changed);

    Press("btn_登録");
    ASSERT_EQ(Quotations(), before + 1) << view.notice;
    EXPECT_EQ(view.confirmQuestions.back(), "登録します。よろしいですか？");
    EXPECT_FALSE(view.lastConfirmRed);
    EXPECT_EQ(view.waitShown, 1);
    EXPECT_NE(view.notice.find(number), std::string::npos);
    EXPECT_TRUE(state().NewEntry);
    EXPECT_FALSE(state().Changed);
    EXPECT_EQ(view.focus, (Control{"得意先コード"}));
    EXPECT_GT(Text({"営業見積No"}), number) << "the next number is proposed";
}

// A stored quotation changed and saved: the red question and the
// later-document warning.
TEST_P(CommandsTest, SavingAStoredQuotationAfterAChange) {
    const std::string number = FirstStored();
    install->business("INSERT INTO T営業請求 (事業所コード, 番号基準日付, 営業請求No, 営業見積事業所コード, "
                      "営業見積番号基準日付, 営業見積No) VALUES ('001', '20270331', '00000001', '001', '20270331', '" +
                      number + "')");
    OpenStored(number);
    Fill({"タイトル"}, "改訂版");
    Save();
    EXPECT_EQ(view.confirmQuestions.back(), "修正します。よろしいですか？");
    EXPECT_TRUE(view.lastConfirmRed);
    EXPECT_EQ(view.confirmWarnings.back(), "請求済です。");
    const std::string where = " WHERE 事業所コード = '001' AND 番号基準日付 = '20270331' AND 営業見積No = '" + number + "'";
    EXPECT_EQ(install->value("SELECT タイトル FROM T営業見積" + where), "改訂版");
}

// Without the input permission, or with a date outside the open period for
// a staff member without the right to work there, nothing is asked or stored.
TEST_P(CommandsTest, PermissionAndPeriodLockRefuseTheSave) {
    const long long before = Quotations();
    EnterQuotation();
    auto withInput = [&](const std::string& value) {
        ASSERT_TRUE(
            program->access().ExecuteConfig("UPDATE 担当者別操作許可プログラム SET 入力許可 = '" + value +
                                            "' WHERE 担当者コード = '00101' AND 業務メニュ = 'Carnelo' AND "
                                            "プログラムID = 'Velmora'"));
    };
    withInput("1");
    view.confirmations = {kConfirmStoreOnly};
    Press("btn_登録");
    EXPECT_EQ(view.messages, std::vector<std::string>{kNoPermission});
    EXPECT_TRUE(view.confirmQuestions.empty());
    withInput("0");

    Fill({"営業見積日付年"}, "2025");  // the fiscal year before today's
    Press("btn_登録");
    EXPECT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(Quotations(), before);

    install->business("UPDATE M担当者 SET アクセス権限 = '6' WHERE コード = '00101'");
    Press("btn_登録");
    EXPECT_EQ(Quotations(), before + 1);
}

// Clear, previous/next and end ask before discarding input; No keeps it.
TEST_P(CommandsTest, DiscardingInputAsksFirst) {
    OpenStored(FirstStored());
    Fill({"タイトル"}, "改訂版");
    struct Case {
        const char* button;
        const char* question;
    };
    const Case cases[] = {
        {"btn_画面クリア", "入力がありました。\nクリアしますか？"},
        {"btn_次No", "入力がありました。\nクリアし次Noを表示しますか？"},
        {"btn_終了", "入力がありました。\n終了しますか？"},
    };
    for (const Case& c : cases) {
        view.answers = {false};
        Press(c.button);
        ASSERT_FALSE(view.questions.empty());
        EXPECT_EQ(view.questions.back(), c.question);
        EXPECT_EQ(Text({"タイトル"}), "改訂版") << c.button;
        EXPECT_FALSE(view.closed);
        EXPECT_FALSE(program->ended());
    }
    view.answers = {true};
    Press("btn_画面クリア");
    EXPECT_EQ(Text({"タイトル"}), "");
    EXPECT_TRUE(state().NewEntry);
    EXPECT_FALSE(state().Changed);
}

// Previous and next walk the stored quotations in date and number order.
TEST_P(CommandsTest, PreviousAndNextOpenTheNeighbours) {
    const std::string first = FirstStored();
    OpenStored(first);
    Press("btn_次No");
    const std::string second = Text({"営業見積No"});
    EXPECT_FALSE(state().NewEntry);
    EXPECT_NE(second, first);
    EXPECT_EQ(view.focus, (Control{"得意先コード"}));
    Press("btn_前No");
    EXPECT_EQ(Text({"営業見積No"}), first);
    EXPECT_TRUE(view.questions.empty()) << "nothing was changed";
}

// A neighbour deleted by someone else between finding and opening it: the
// screen starts a new quotation instead of keeping the last one's key with
// its lines gone (a save would have stored an empty quotation over it).
TEST_P(CommandsTest, AVanishedNeighbourStartsANewQuotation) {
    const std::string first = FirstStored();
    OpenStored(first);
    const std::string next =
        install->value("SELECT MIN(営業見積No) FROM T営業見積 WHERE 事業所コード = '001' AND 営業見積No > '" + first + "'");
    const std::string remove = "DELETE FROM T営業見積 WHERE 事業所コード = '001' AND 営業見積No = '" + next + "'";
    // Someone else deletes it the moment this screen logs its viewing.
    if (GetParam() == Engine::SQLite) {
        install->business("CREATE TRIGGER vanish AFTER INSERT ON T閲覧 BEGIN " + remove + "; END");
    } else {
        install->business("CREATE FUNCTION vanish() RETURNS trigger AS $$ BEGIN " + remove +
                          "; RETURN NEW; END $$ LANGUAGE plpgsql");
        install->business("CREATE TRIGGER vanish AFTER INSERT ON T閲覧 FOR EACH ROW EXECUTE FUNCTION vanish()");
    }
    Press("btn_次No");
    EXPECT_TRUE(state().NewEntry);
    EXPECT_FALSE(quotation().loaded());
    EXPECT_EQ(Text({"得意先コード"}), "");
    EXPECT_EQ(view.notice, kNoticeNotFound);
    EXPECT_EQ(install->count("T営業見積明細 WHERE 営業見積No = '" + first + "'"),
              install->count("T営業見積明細 WHERE 営業見積No = '" + first + "' AND 事業所コード = '001'"));
}

// Delete: refused in new mode, asked for a stored quotation, then the rows
// are gone and the screen is new.
TEST_P(CommandsTest, DeletingAStoredQuotation) {
    Press("btn_削除");
    EXPECT_TRUE(view.questions.empty()) << "nothing stored to delete";

    const std::string number = FirstStored();
    OpenStored(number);
    const std::string where = " WHERE 事業所コード = '001' AND 番号基準日付 = '20270331' AND 営業見積No = '" + number + "'";
    view.answers = {false, true};
    Press("btn_削除");
    EXPECT_EQ(install->count("T営業見積" + where), 1) << "No keeps it";
    Press("btn_削除");
    EXPECT_EQ(install->count("T営業見積" + where), 0);
    EXPECT_TRUE(state().NewEntry);
    EXPECT_NE(view.notice.find(number), std::string::npos);
}

// The end of a stored quotation whose required field was emptied stays open
// on that field.
TEST_P(CommandsTest, EndingWantsTheRequiredFieldsOfAStoredQuotation) {
    OpenStored(FirstStored());
    Fill({"担当者コード"}, "");
    view.answers = {true};
    EXPECT_FALSE(presenter->CloseRequested());
    EXPECT_EQ(view.focus, (Control{"担当者コード"}));
    EXPECT_EQ(view.notice, "必須項目が未入力です。");
    EXPECT_FALSE(program->ended());
}

INSTANTIATE_TEST_SUITE_P(Engines, CommandsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
