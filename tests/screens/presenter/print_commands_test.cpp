#include <filesystem>

#include "screen_fixture.h"
#include "screens/entry/entry_fields.h"
#include "screens/entry/print_commands.h"

namespace velmora::test {
namespace {

// Print, preview, PDF output and the starts of other programs for the
// quotation, with the stand-in recording each command line.
class PrintCommandsTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // A second Velmora would open a window and the issuing program would
        // print: the stand-in plays both here and records their command lines.
        for (const char* name : {"Velmora", "Orvessa"})
            std::filesystem::copy_file(BinaryFolder() + "/velmora-standin", install->root() + "prgbin/" + name,
                                       std::filesystem::copy_options::overwrite_existing);
        stored = install->value("SELECT MIN(営業見積No) FROM T営業見積 WHERE 事業所コード = '001'");
        Fill({"営業見積No"}, stored);
        date = quotation().header.営業見積日付;
        customer = quotation().header.得意先コード;
    }
    void Permission(const char* column, const char* value) {
        ASSERT_TRUE(program->access().ExecuteConfig(std::string("UPDATE 担当者別操作許可プログラム SET ") + column +
                                                    " = '" + value + "' WHERE 担当者コード = '00101' AND "
                                                    "プログラムID = 'Velmora'"));
    }
    std::string stored, date, customer;
};

TEST_P(PrintCommandsTest, PrintPreviewAndPdfStartTheIssuingProgram) {
    struct Case {
        const char* button;
        const char* question;
        char mode;
    };
    const Case cases[] = {{"btn_印刷", "印刷しますか?", '0'},
                          {"btn_プレビュ", "プレビュしますか?", '1'},
                          {"btn_帳票イメージ出力", "PDFを作成しますか?", '3'}};
    std::size_t starts = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        view.answers = {false};
        Press(c.button);
        EXPECT_EQ(view.questions.back(), c.question);
        view.answers = {true};
        Press(c.button);
        EXPECT_EQ(StartedWith("Orvessa", ++starts),
                  std::string("001") + c.mode + date + date + stored + stored + customer + customer + "21" + "0");
    }
    EXPECT_EQ(view.RunLaterTasks(), (std::vector<int>{2010, 8000})) << "the attachment list is read again after the PDF";

    // The purchase page prints the purchase side; the envelope follows the
    // printed quotation about ten seconds later.
    state().DetailEnabled = true;
    presenter->PageChosen(kPagePurchase);
    presenter->CheckToggled({"chb_Kasmeri"}, true);
    view.answers = {true};
    Press("btn_印刷");
    EXPECT_EQ(StartedWith("Orvessa", ++starts).back(), '1');
    EXPECT_EQ(view.RunLaterTasks(), (std::vector<int>{10000}));
    EXPECT_EQ(StartedWith("Kasmeri"),
              "0010" + customer + customer + "0000099999019900" + "99" + "   999      ﾝﾝﾝﾝﾝﾝ02");
}

// Without the permission the button does nothing; a quotation never stored
// cannot be printed; pending changes are mentioned in the question.
TEST_P(PrintCommandsTest, PermissionAndStoredStateDecide) {
    Permission("印刷許可", "1");
    Press("btn_印刷");
    EXPECT_TRUE(view.questions.empty());
    Permission("印刷許可", "0");

    Fill({"タイトル"}, "改訂");
    view.answers = {false};
    Press("btn_印刷");
    EXPECT_EQ(view.questions.back(), "修正中の内容は登録されていないため反映されません。\n印刷しますか?");

    view.answers = {true};
    Press("btn_画面クリア");
    view.questions.clear();
    Press("btn_プレビュ");
    EXPECT_TRUE(view.questions.empty());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(StartedWith("Orvessa"), "");
}

// "登録と印刷" prints the quotation just stored when printing is permitted;
// without the permission it is stored and nothing is printed.
TEST_P(PrintCommandsTest, StoreAndPrint) {
    Fill({"タイトル"}, "改訂");
    view.confirmations = {kConfirmStoreAndPrint};
    Press("btn_登録");
    EXPECT_EQ(StartedWith("Orvessa"), "0010" + date + date + stored + stored + customer + customer + "210");

    Fill({"営業見積No"}, stored);
    Fill({"タイトル"}, "再改訂");
    Permission("印刷許可", "1");
    view.confirmations = {kConfirmStoreAndPrint};
    Press("btn_登録");
    EXPECT_EQ(install->value("SELECT タイトル FROM T営業見積 WHERE 事業所コード = '001' AND 営業見積No = '" + stored + "'"),
              "再改訂");
    EXPECT_EQ(StartedWith("Orvessa", 2), "") << "printed once only";
}

// The customer order and the two Velmora starts: a copy into a new
// quotation and the quotation this one was copied from.
TEST_P(PrintCommandsTest, OrderCopyAndSourceStarts) {
    const std::string base = quotation().header.番号基準日付;
    Press("btn_Talmire");
    EXPECT_EQ(StartedWith("Talmire"), "001" + std::string(16, '0') + "001" + base + stored);
    Press("btn_参照営業見積");
    EXPECT_EQ(StartedWith("Velmora"), "001" + std::string(16, '0') + "001" + base + stored);

    Press("btn_参照元No");  // not copied from anything: nothing starts
    Fill({"参照営業見積No"}, stored);
    Press("btn_参照元No");
    EXPECT_EQ(StartedWith("Velmora", 2), "001" + base + stored);

    std::filesystem::remove(install->root() + "prgbin/Talmire");
    Press("btn_Talmire");
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back(), "Talmireプログラムが有りません");
}

INSTANTIATE_TEST_SUITE_P(Engines, PrintCommandsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
