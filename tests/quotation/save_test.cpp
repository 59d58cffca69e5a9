#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "data/sql_text.h"
#include "documents_fixture.h"
#include "quotation/load.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"
#include "quotation/save_status.h"

namespace velmora {
namespace {

using test::kFy2024;
using test::kFy2025;
using test::Texts;

class SaveTest : public test::DocumentsTest {
protected:
    // Every row of a table as text, in key order, for before/after comparisons.
    std::string dump(const std::string& table, const std::string& order) {
        std::unique_ptr<Recordset> rs;
        access().OpenDataRecordset(rs, "SELECT * FROM " + table + " ORDER BY " + order);
        std::string out;
        for (; !rs->eof(); rs->moveNext()) {
            for (size_t i = 0; i < rs->columnCount(); ++i) out += rs->text(i) + "|";
            out += "\n";
        }
        return out;
    }
    std::string storedState() {
        return dump("T営業見積", "営業見積No") + dump("T営業見積明細", "営業見積No, 営業見積固有行No") +
               dump("R営業見積", "営業見積履歴No, 赤黒区分") + dump("R営業見積明細", "営業見積履歴No, 赤黒区分, 営業見積固有行No") +
               dump("A期日別番号情報", "期日") + dump("未集計情報", "履歴No, 赤黒区分");
    }
    // What the last save left in the model: its kind and status (1 stored,
    // 5 linked), the quotation's number and the old and new history numbers.
    std::string saved() {
        return quotation.SaveKind + " " + std::to_string(quotation.SaveStatus) + " " + quotation.header.営業見積No +
               " old:" + quotation.OldHistoryNo + " new:" + quotation.NewHistoryNo;
    }
};

TEST_P(SaveTest, NewQuotationStoresHeaderLinesBlackHistoryAndNotice) {
    fillNew("20241206", 3);
    saveOk();
    EXPECT_EQ(saved(), "0 1 00000001 old: new:00000001");
    const std::string key = "事業所コード = '001' AND 番号基準日付 = '20250331' AND 営業見積No = '00000001'";
    EXPECT_EQ(rows("SELECT * FROM T営業見積 WHERE " + key, {"ユーザID", "登録日付"}),
              Texts{"sato00012PC-EIGYO01 20241206 093015"});
    EXPECT_EQ(rows("SELECT 営業見積固有行No FROM T営業見積明細 WHERE " + key + " ORDER BY 営業見積行No",
                   {"営業見積固有行No"}),
              (std::vector<std::string>{"001", "002", "003"}));
    EXPECT_EQ(count("T営業見積明細 WHERE 得意先コード = '000101' AND 営業見積日付 = '20241206'"), 3);
    EXPECT_EQ(count("R営業見積 WHERE 営業見積履歴No = '00000001' AND 赤黒区分 = '1'"), 1);
    EXPECT_EQ(count("R営業見積明細 WHERE 営業見積履歴No = '00000001' AND 赤黒区分 = '1'"), 3);
    EXPECT_EQ(count("R営業見積 WHERE 赤黒区分 = '0'"), 0);
    EXPECT_EQ(count("未集計情報 WHERE 番号ID = '16210' AND 赤黒区分 = '1' AND 履歴No = '00000001' AND 伝票No = "
                    "'00000001' AND 登録情報区分 = '0' AND 予備項目 = 'sato00012PC-EIGYO01'"),
              1);
    EXPECT_EQ(count("未集計情報"), 1);
    EXPECT_EQ(dbs->countConfig("未集計情報"), 0);
}

TEST_P(SaveTest, ChangeKeepingTheBaseDateWritesOneRedAndOneBlackStateAndKeepsUniqueLineNumbers) {
    fillNew("20241206", 3);
    saveOk();
    open(kFy2024, "00000001");
    ASSERT_FALSE(quotation.NewEntry);
    // The second line is deleted on screen and a new line inserted on top.
    quotation.lines[1] = quotation.lines[2];
    quotation.lines[2] = quotation.lines[0];
    quotation.ClearLine(0);
    quotation.lines[0].商品名 = "追加品";
    quotation.lines[0].見積金額 = Units(50);
    quotation.header.タイトル = "件名（改）";
    saveOk();
    EXPECT_EQ(saved(), "1 1 00000001 old:00000002 new:00000003");

    EXPECT_EQ(rows("SELECT * FROM T営業見積明細 ORDER BY 営業見積行No",
                   {"営業見積行No", "営業見積固有行No", "商品名"}),
              (std::vector<std::string>{"001 004 追加品", "002 003 品目3", "003 001 品目1"}));
    EXPECT_EQ(value("SELECT タイトル FROM T営業見積", "タイトル"), "件名（改）");

    EXPECT_EQ(
        rows("SELECT * FROM R営業見積 ORDER BY 営業見積履歴No", {"営業見積履歴No", "赤黒区分", "タイトル"}),
        (std::vector<std::string>{"00000001 1 件名", "00000002 0 件名", "00000003 1 件名（改）"}));
    // The red copy repeats the stored lines, the deleted one included.
    EXPECT_EQ(rows("SELECT * FROM R営業見積明細 WHERE 営業見積履歴No = '00000002' ORDER BY 営業見積固有行No",
                   {"赤黒区分", "営業見積固有行No", "商品名"}),
              (std::vector<std::string>{"0 001 品目1", "0 002 品目2", "0 003 品目3"}));
    EXPECT_EQ(count("R営業見積明細 WHERE 営業見積履歴No = '00000003' AND 赤黒区分 = '1'"), 3);
    EXPECT_EQ(count("R営業見積明細"), 9);
    EXPECT_EQ(
        rows("SELECT * FROM 未集計情報 WHERE 登録情報区分 = '1' ORDER BY 履歴No", {"履歴No", "赤黒区分"}),
        (std::vector<std::string>{"00000002 0", "00000003 1"}));

    // Loaded again, the highest unique number comes back and new lines go above it.
    open(kFy2024, "00000001");
    EXPECT_EQ(quotation.MaxUniqueLineNo, 4);
}

TEST_P(SaveTest, NineHundredNinetyEightLinesAreStoredAsLines001To998) {
    fillNew("20241206", kMaxLinesInUse);
    saveOk();
    EXPECT_EQ(count("T営業見積明細"), 998);
    EXPECT_EQ(count("R営業見積明細 WHERE 赤黒区分 = '1'"), 998);
    EXPECT_EQ(rows("SELECT MAX(営業見積行No) AS n, MAX(営業見積固有行No) AS u FROM T営業見積明細", {"n", "u"}),
              Texts{"998 998"});
    EXPECT_EQ(value("SELECT 商品名 FROM T営業見積明細 WHERE 営業見積行No = '998'", "商品名"), "品目998");
    open(kFy2024, "00000001");
    EXPECT_EQ(std::to_string(quotation.LastLine) + " " + std::to_string(quotation.MaxUniqueLineNo) + " " +
                  quotation.lines[997].商品名,
              "997 998 品目998");

    // One line replaced by a new one takes unique number 999, the last three
    // digits hold; a second new line would need 1000: nothing is stored.
    quotation.ClearLine(0);
    quotation.lines[0].商品名 = "差替1";
    saveOk();
    EXPECT_EQ(value("SELECT 営業見積固有行No FROM T営業見積明細 WHERE 商品名 = '差替1'", "営業見積固有行No"), "999");
    open(kFy2024, "00000001");
    quotation.ClearLine(1);
    quotation.lines[1].商品名 = "差替2";
    const long long history = count("R営業見積明細");
    SaveOutcome refused = QuotationSaver(*scope, session.get()).Save();
    EXPECT_FALSE(refused.stored);
    EXPECT_EQ(quotation.SaveMessage, kUniqueLineNumbersUsedUp);
    EXPECT_EQ(count("R営業見積明細"), history);
    EXPECT_EQ(count("T営業見積明細 WHERE 商品名 = '差替2'"), 0);
    EXPECT_EQ(quotation.lines[1].商品名, "差替2") << "the screen keeps what was typed";
}

TEST_P(SaveTest, AHeaderWithoutLinesStoresOnlyItsHeaderAndOpensAsNew) {
    fillNew("20241206", 0);
    saveOk();
    EXPECT_EQ((std::vector<long long>{count("T営業見積"), count("T営業見積明細"), count("R営業見積"),
                                      count("R営業見積明細")}),
              (std::vector<long long>{1, 0, 1, 0}));
    open(kFy2024, "00000001");
    EXPECT_TRUE(quotation.NewEntry);
    EXPECT_EQ(quotation.LastLine, -1);
    EXPECT_TRUE(quotation.loaded());
}

TEST_P(SaveTest, MovingToAnotherPeriodTakesANewNumberAndMovesTheActivities) {
    fillNew("20250320", 2);
    saveOk();
    fillNew("20250410", 1);  // the new period already has a quotation
    saveOk();
    ASSERT_EQ(quotation.header.番号基準日付, kFy2025);
    open(kFy2024, "00000001");
    ASSERT_TRUE(ChangeQuotationDate(*scope, "20250415"));
    EXPECT_EQ(quotation.header.番号基準日付 + " " + quotation.header.営業見積No + " " + quotation.header.営業見積日付月,
              "20260331 00000002 04");
    // Another user records a visit for the quotation before it is saved.
    addActivity("1000", "001", kFy2024, "00000001");
    addActivity("1400", "001", kFy2024, "00000001");
    saveOk();
    // History numbers count per period: the red row is FY2024's second, the black one FY2025's second.
    EXPECT_EQ(saved(), "1 5 00000002 old:00000002 new:00000002");

    // The FY2025 quotation saved first stays; the moved one follows it.
    EXPECT_EQ(rows("SELECT * FROM T営業見積 ORDER BY 営業見積No", {"番号基準日付", "営業見積No", "営業見積日付"}),
              (Texts{"20260331 00000001 20250410", "20260331 00000002 20250415"}));
    EXPECT_EQ(count("T営業見積明細 WHERE 番号基準日付 = '20250331'"), 0);
    EXPECT_EQ(count("T営業見積明細 WHERE 番号基準日付 = '20260331' AND 営業見積No = '00000002'"), 2);
    EXPECT_EQ(count("R営業見積 WHERE 赤黒区分 = '0' AND 番号基準日付 = '20250331' AND 営業見積No = '00000001' AND "
                    "営業見積履歴No = '00000002'"),
              1);
    EXPECT_EQ(count("R営業見積明細 WHERE 赤黒区分 = '1' AND 番号基準日付 = '20260331' AND 営業見積No = '00000002' "
                    "AND 営業見積履歴No = '00000002'"),
              2);
    EXPECT_EQ(count("T営業活動明細 WHERE 営業見積事業所コード = '001' AND 営業見積番号基準日付 = '20260331' "
                    "AND 営業見積No = '00000002'"),
              2);
    for (const char* notice : {"赤黒区分 = '0' AND 番号基準日付 = '20250331' AND 伝票No = '00000001'",
                               "赤黒区分 = '1' AND 番号基準日付 = '20260331' AND 伝票No = '00000002'"})
        EXPECT_EQ(count(std::string("未集計情報 WHERE 登録情報区分 = '1' AND ") + notice), 1) << notice;
}

TEST_P(SaveTest, AQuotationTakenFurtherCannotMoveToAnotherPeriod) {
    const std::string billed = std::string("INSERT INTO T営業請求 (事業所コード, 番号基準日付, 営業請求No, "
                                           "営業見積事業所コード, 営業見積番号基準日付, 営業見積No) VALUES ('001', '") +
                               kFy2024 + "', '00000009', '001', '" + kFy2024 + "', '00000001')";
    for (bool activityOnly : {true, false}) {
        SCOPED_TRACE(activityOnly ? "activity" : "billing");
        for (const char* table : {"T営業見積", "T営業見積明細", "T営業活動明細", "T営業請求"})
            exec(std::string("DELETE FROM ") + table);
        exec("UPDATE A期日別番号情報 SET 連番 = '00000000'");
        fillNew("20241206", 1);
        saveOk();
        if (activityOnly)
            addActivity("0900", "001", kFy2024, "00000001");
        else
            exec(billed);
        open(kFy2024, "00000001");
        EXPECT_FALSE(ChangeQuotationDate(*scope, "20250415"));
        const QuotationHeader& h = quotation.header;
        EXPECT_EQ((Texts{quotation.LoadNotice, h.営業見積日付, h.営業見積日付月, h.番号基準日付, h.営業見積No}),
                  (Texts{"決算を超えた日付の変更は出来ません。", "20241206", "12", "20250331", "00000001"}));
        // Within its period the date may still change.
        EXPECT_TRUE(ChangeQuotationDate(*scope, "20250110"));
        EXPECT_EQ(quotation.header.営業見積No, "00000001");
    }
}

TEST_P(SaveTest, ATypedNumberThatExistsFailsBeforeAnythingIsWritten) {
    exec("UPDATE A番号情報 SET 連番種類 = '9' WHERE 番号ID = '16210'");
    fillNew("20241206", 2);
    EXPECT_EQ(quotation.header.番号基準日付 + "|" + quotation.header.営業見積No, "88888888|");
    quotation.header.営業見積No = "00000777";
    saveOk();
    std::string before = storedState();

    fillNew("20241206", 1, "別件");
    quotation.header.営業見積No = "00000777";
    SaveOutcome outcome = QuotationSaver(*scope, session.get()).Save();
    EXPECT_FALSE(outcome.stored);
    EXPECT_EQ(std::to_string(quotation.SaveStatus) + " " + quotation.SaveMessage,
              "3 登録済です。登録できませんでした。");
    EXPECT_EQ(storedState(), before);

    // The stored one can still be changed: typed numbers carry no history numbers.
    open("88888888", "00000777");
    quotation.header.タイトル = "改";
    saveOk();
    EXPECT_EQ(value("SELECT タイトル FROM T営業見積", "タイトル"), "改");
    EXPECT_EQ(count("T営業見積明細"), 2);
}

TEST_P(SaveTest, AFailedStatementRollsTheChangeBackAndKeepsTheStoredQuotation) {
    fillNew("20241206", 4);
    saveOk();
    open(kFy2024, "00000001");
    Quotation loaded = quotation;
    std::string before = storedState();

    setLines(2, "差替");
    quotation.lines[1].営業見積固有行No.clear();
    Quotation edited = quotation;
    // The history table of the lines refuses every row: the red copies of
    // the stored lines fail after the header was already replaced.
    exec("ALTER TABLE R営業見積明細 RENAME TO R営業見積明細_保管");
    SaveOutcome outcome = QuotationSaver(*scope, session.get()).Save();
    EXPECT_FALSE(outcome.stored);
    EXPECT_EQ(std::to_string(quotation.SaveStatus) + " " + quotation.SaveMessage,
              "3 登録済です。登録できませんでした。");
    exec("ALTER TABLE R営業見積明細_保管 RENAME TO R営業見積明細");
    EXPECT_EQ(storedState(), before);
    // The model is as it was before the save, ready to be saved again.
    EXPECT_EQ(quotation.MaxUniqueLineNo, edited.MaxUniqueLineNo);
    EXPECT_EQ(quotation.lines[1].営業見積固有行No + quotation.NewHistoryNo, "");
    EXPECT_EQ(quotation.header.登録日付, loaded.header.登録日付);

    saveOk();
    EXPECT_EQ(count("T営業見積明細"), 2);
    EXPECT_EQ(count("R営業見積明細 WHERE 赤黒区分 = '0'"), 4);
}

TEST_P(SaveTest, ARolledBackNewSaveGivesItsNumberBack) {
    fillNew("20241206", 2);
    exec("ALTER TABLE R営業見積明細 RENAME TO R営業見積明細_保管");
    EXPECT_FALSE(QuotationSaver(*scope, session.get()).Save().stored);
    exec("ALTER TABLE R営業見積明細_保管 RENAME TO R営業見積明細");
    EXPECT_EQ(count("T営業見積"), 0);
    EXPECT_EQ(quotation.header.営業見積No, "00000001");  // the proposal, as before the save
    EXPECT_EQ(value("SELECT 連番, 履歴連番 FROM A期日別番号情報", "連番"), "00000000");
    saveOk();
    EXPECT_EQ(saved(), "0 1 00000001 old: new:00000001");
}

TEST_P(SaveTest, ApostrophesInTheLoginNameAndInTextsAreStoredAsTyped) {
    context.userName = "o'brien";
    fillNew("20241206", 1, "O'Neil様 件");
    quotation.lines[0].商品名 = "3' ケーブル";
    saveOk();
    EXPECT_EQ(value("SELECT ユーザID FROM T営業見積", "ユーザID"), "o'brien00012PC-EIGYO01");
    EXPECT_EQ(value("SELECT タイトル FROM R営業見積", "タイトル"), "O'Neil様 件");
    open(kFy2024, "00000001");
    EXPECT_EQ(quotation.lines[0].商品名, "3' ケーブル");
    saveOk();
    EXPECT_EQ(count("R営業見積明細 WHERE 赤黒区分 = '0' AND ユーザID = 'o''brien00012PC-EIGYO01'"), 1);
}

TEST_P(SaveTest, UpdateFlagZeroRepliesRestartsTheSessionAndStartsTheUpdateProgram) {
    context.updateRunFlag = 0;
    context.startedWithCommandLine = true;
    std::string marker = dbs->dir().file("nelvaro.ran");
    std::string program = dbs->dir().file("Nelvaro");
    std::ofstream(program) << "#!/bin/sh\ntouch '" << marker << "'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    fillNew("20241206", 1);
    SaveOutcome outcome = QuotationSaver(*scope, session.get()).Save();
    EXPECT_TRUE(outcome.stored && outcome.noticesWritten && outcome.sessionRestarted && outcome.updateProgramStarted);
    EXPECT_EQ(quotation.SavedKey, "00120250331" "00000001");
    // The key is handed over before the restart answers the starter.
    EXPECT_EQ(session->events, (std::vector<std::string>{"reply 0012025033100000001", "restart"}));
    EXPECT_EQ(dbs->countConfig("未集計情報 WHERE 赤黒区分 = '1' AND 伝票No = '00000001'"), 1);
    EXPECT_EQ(count("未集計情報"), 0);
    for (int i = 0; i < 200 && !std::filesystem::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(std::filesystem::exists(marker));

    // Without the program the save stands; the failed start leaves an error row.
    std::filesystem::remove(program);
    open(kFy2024, "00000001");
    quotation.header.タイトル = "改";
    outcome = QuotationSaver(*scope, session.get()).Save();
    EXPECT_TRUE(outcome.stored);
    EXPECT_FALSE(outcome.updateProgramStarted);
    EXPECT_EQ(quotation.SaveStatus, 1);
    EXPECT_EQ(value("SELECT タイトル FROM T営業見積", "タイトル"), "改");
    EXPECT_EQ(dbs->countConfig("プログラム稼動履歴 WHERE 摘要 LIKE 'エラー Nelvaroプログラムが有りません%'"), 1);
    EXPECT_EQ(dbs->countConfig("未集計情報"), 3);
}

INSTANTIATE_TEST_SUITE_P(Engines, SaveTest, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
