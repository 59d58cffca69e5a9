#include <filesystem>
#include <functional>

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
    // The issuing program's command line for the stored quotation, by its mode.
    std::string Issuing(char mode) {
        return "001" + std::string(1, mode) + date + date + stored + stored + customer + customer + "210";
    }
    // The stored quotation opened afresh.
    void Reopen() {
        Clear();
        Fill({"営業見積No"}, stored);
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
        EXPECT_EQ(StartedWith("Orvessa", ++starts), Issuing(c.mode));
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

// The issuing program finds the quotation by every key of its command line,
// so each comes from the stored quotation, never from the edited screen
// (print, preview and PDF build it alike).
TEST_P(PrintCommandsTest, TheCommandLineNamesTheStoredQuotationWhateverTheScreenShows) {
    const std::string other = customer == "000001" ? "000002" : "000001";
    const std::string otherDay = date.substr(6, 2) == "01" ? "02" : "01";
    struct Change {
        const char* what;
        std::function<void()> edit;
        std::function<bool()> edited;
    };
    const Change changes[] = {
        {"customer", [&] { Fill({"得意先コード"}, other); }, [&] { return quotation().header.得意先コード == other; }},
        {"date", [&] { Fill({"営業見積日付日"}, otherDay); },
         [&] { return quotation().header.営業見積日付 == date.substr(0, 6) + otherDay; }},
        {"number and office", [&] {
             quotation().header.営業見積No = "99999999";
             quotation().header.事業所コード = "002";
         }, [&] { return quotation().header.営業見積No == "99999999"; }},
    };
    std::size_t starts = 0;
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        Reopen();
        ASSERT_FALSE(state().NewEntry);
        change.edit();
        ASSERT_TRUE(change.edited()) << "the screen holds the change";
        view.answers = {true};
        Press("btn_プレビュ");
        EXPECT_EQ(StartedWith("Orvessa", ++starts), Issuing('1'));
    }
}

// A customer code the suite stored shorter than six characters is padded
// with blanks in the 51-character command line, the envelope's too.
TEST_P(PrintCommandsTest, AShortStoredCustomerCodeIsPaddedWithBlanks) {
    install->business("UPDATE T営業見積 SET 得意先コード = '123' WHERE 事業所コード = '001' AND 営業見積No = '" +
                      stored + "'");
    Reopen();
    presenter->CheckToggled({"chb_Kasmeri"}, true);
    view.answers = {true};
    Press("btn_印刷");
    const std::string line = StartedWith("Orvessa");
    EXPECT_EQ(line, "0010" + date + date + stored + stored + "123   123   " + "210");
    EXPECT_EQ(line.size(), 51u);
    view.RunLaterTasks();
    EXPECT_EQ(StartedWith("Kasmeri"), "0010123   123   0000099999019900" + std::string("99") + "   999      ﾝﾝﾝﾝﾝﾝ02");

    struct Case {
        const char* customer;
        const char* field;
    };
    const Case cases[] = {{"", "      "}, {"1", "1     "}, {"12345", "12345 "}, {"123456", "123456"}, {"1234567", "123456"}};
    for (const Case& c : cases)
        EXPECT_EQ(PrintCommands::IssuingArgument("001", '1', "20260401", "00000012", c.customer, false),
                  std::string("001") + "1" + "2026040120260401" + "0000001200000012" + c.field + c.field + "210")
            << c.customer;
    EXPECT_EQ(PrintCommands::IssuingArgument("001", '0', "20260401", "12", "1", true),
              "0010" "2026040120260401" "12      12      " "1     1     " "211");
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
    EXPECT_EQ(StartedWith("Orvessa"), Issuing('0'));

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
    EXPECT_EQ(view.messages, std::vector<std::string>{"Talmireプログラムが有りません"});
}

INSTANTIATE_TEST_SUITE_P(Engines, PrintCommandsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
