#include <tuple>

#include "documents_fixture.h"
#include "quotation/load.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"

namespace velmora {
namespace {

using test::kFy2024;
using test::kFy2025;
using test::Texts;

class LoadTest : public test::DocumentsTest {
protected:
    // Quotation 00000001 of FY2024 with three lines, stored.
    void storeReference() {
        fillNew("20241206", 3, "参照元の件名");
        QuotationHeader& h = quotation.header;
        h.得意先消費税算出区分 = 2;  // per quotation: a copy calculates by its own setting
        h.見積条件 = "現金";
        h.消費税表示区分 = 0;
        h.納品先コード = "000303";
        h.納品先名称A = "北斗 倉庫";
        quotation.lines[1].明細メモ = "急ぎ";
        saveOk();
    }
};

TEST_P(LoadTest, OpenStoredFillsTheModelAndEveryOpenAddsAViewLogRow) {
    storeReference();
    exec("UPDATE T営業見積 SET 得意先消費税算出区分 = '3', 見積納期日付 = '', 税抜見積金額合計 = 1");
    quotation.ClearToNew();
    open(kFy2024, "00000001");
    const QuotationHeader& h = quotation.header;
    const LoadedKey& k = quotation.loadedKey;
    EXPECT_EQ((Texts{k.事業所コード, k.番号基準日付, k.営業見積No, k.営業見積日付, h.営業見積日付年, h.営業見積日付月,
                     h.営業見積日付日, h.見積納期日付, h.見積納期日付日, std::to_string(h.得意先消費税算出区分),
                     h.担当者名, h.部門名, h.セクション名, quotation.SummaryDate, quotation.lines[1].明細メモ}),
              (Texts{"001", "20250331", "00000001", "20241206", "2024", "12", "06", "20241206", "06", "2", "佐藤 一郎",
                     "営業部", "", "20241231", "急ぎ"}));
    EXPECT_EQ(quotation.LastLine, 2);
    EXPECT_FALSE(quotation.NewEntry);
    EXPECT_EQ(h.税抜見積金額合計, Units(600));  // recomputed, not read

    EXPECT_EQ(
        rows("SELECT * FROM T閲覧", {"事業所コード", "番号基準日付", "閲覧No", "閲覧日付", "閲覧時刻", "担当者コード",
                                     "担当者名", "閲覧情報", "伝票事業所コード", "伝票番号基準日付", "伝票No",
                                     "キー項目", "閲覧区分", "承認区分", "ユーザID", "登録日付"}),
        Texts{"001 20241206 00000001 20241206 09:30:15 00012 佐藤 一郎 Velmora 001 20250331 00000001  0 0 "
              "sato00012PC-EIGYO01 20241206 093015"});
    // A number taken by another program meanwhile is passed over.
    exec("INSERT INTO T閲覧 (事業所コード, 番号基準日付, 閲覧No) VALUES ('001', '20241206', '00000002')");
    open(kFy2024, "00000001");
    EXPECT_EQ(count("T閲覧 WHERE 閲覧No = '00000003' AND 伝票No = '00000001'"), 1);

    Quotation before = quotation;
    EXPECT_FALSE(QuotationLoader(*scope).OpenStored("001", kFy2024, "00000099"));
    EXPECT_EQ(quotation.header.営業見積No, "00000001");
    EXPECT_EQ(quotation.LastLine, before.LastLine);
}

TEST_P(LoadTest, AViewLogRowThatCannotBeWrittenDoesNotStopTheOpenAndKeepsItsNumberTaken) {
    storeReference();
    const std::string viewCounter =
        "SELECT 連番 FROM A期日別番号情報 WHERE 番号ID = '01110' AND 期日 = '20241206'";
    exec("ALTER TABLE T閲覧 RENAME TO T閲覧_保管");
    open(kFy2024, "00000001");
    exec("ALTER TABLE T閲覧_保管 RENAME TO T閲覧");
    EXPECT_EQ(quotation.header.タイトル, "参照元の件名");
    EXPECT_EQ(count("T閲覧"), 0);
    // The look-up failed and the insert was still tried; the counter moved on.
    EXPECT_EQ(dbs->countConfig("プログラム稼動履歴 WHERE 摘要 LIKE 'エラー %SELECT 閲覧No FROM T閲覧%'"), 1);
    EXPECT_EQ(dbs->countConfig("プログラム稼動履歴 WHERE 摘要 LIKE 'エラー %INSERT INTO [T閲覧]%'"), 1);
    EXPECT_EQ(value(viewCounter, "連番"), "00000001");
    open(kFy2024, "00000001");
    EXPECT_EQ(rows("SELECT 閲覧No FROM T閲覧", {"閲覧No"}), Texts{"00000002"});
}

TEST_P(LoadTest, OpenByTypedNumber) {
    storeReference();
    fillNew("20241206", 0);
    QuotationLoader loader(*scope);
    std::string picked;
    EXPECT_EQ(quotation.header.営業見積No, "00000002");
    EXPECT_FALSE(loader.OpenByTypedNumber("00000002", picked));

    // A number that is not stored leaves the proposal: the save numbers it.
    EXPECT_TRUE(loader.OpenByTypedNumber("00000050", picked));
    EXPECT_EQ(quotation.LoadNotice + " " + quotation.header.営業見積No, "新規情報です。 00000002");
    EXPECT_TRUE(quotation.NewEntry);

    EXPECT_TRUE(loader.OpenByTypedNumber("", picked));
    EXPECT_EQ(quotation.LoadNotice + "|" + quotation.header.営業見積No, "|00000002");

    EXPECT_TRUE(loader.OpenByTypedNumber("00000001", picked));
    EXPECT_EQ(quotation.LoadNotice + "|" + quotation.header.タイトル, "|参照元の件名");
    EXPECT_FALSE(quotation.NewEntry);

    // The lookup hands over a quotation of another base date.
    fillNew("20250410", 1, "来期の件");
    saveOk();
    fillNew("20241206", 0);
    picked = std::string("C001") + kFy2025 + "00000001";
    EXPECT_TRUE(loader.OpenByTypedNumber("00000001", picked));
    EXPECT_EQ(quotation.header.タイトル + "|" + picked, "来期の件|");
    // Every attempt to open is logged, the number that was not stored too.
    EXPECT_EQ(count("T閲覧"), 3);
    EXPECT_EQ(count("T閲覧 WHERE 伝票No = '00000050'"), 1);

    // Over a stored quotation an unknown number keeps its own number, so a
    // save still replaces its rows instead of storing them under the typo.
    open(kFy2024, "00000001");
    EXPECT_TRUE(loader.OpenByTypedNumber("00000051", picked));
    EXPECT_EQ(quotation.LoadNotice + " " + quotation.header.営業見積No, "新規情報です。 00000001");
    saveOk();
    EXPECT_EQ(count("T営業見積 WHERE 営業見積No = '00000051'"), 0);
    EXPECT_EQ(count(std::string("T営業見積 WHERE 番号基準日付 = '") + kFy2024 + "'"), 1);
}

TEST_P(LoadTest, ATypedNumberIsKeptWhereTheSchemeProposesNone) {
    exec("UPDATE A番号情報 SET 連番種類 = '9' WHERE 番号ID = '16210'");
    fillNew("20241206", 1);
    ASSERT_EQ(quotation.header.営業見積No, "");
    QuotationLoader loader(*scope);
    std::string picked;
    EXPECT_TRUE(loader.OpenByTypedNumber("00000100", picked));
    EXPECT_EQ(quotation.LoadNotice + " " + quotation.header.営業見積No, "新規情報です。 00000100");
    // Typed again over it, the first typed number stays.
    EXPECT_TRUE(loader.OpenByTypedNumber("00000200", picked));
    EXPECT_EQ(quotation.header.営業見積No, "00000100");
    saveOk();
    EXPECT_EQ(count("T営業見積 WHERE 番号基準日付 = '88888888' AND 営業見積No = '00000100'"), 1);
}

TEST_P(LoadTest, ReferenceCopyKeepsAnExistingCustomerAndReplacesTheLines) {
    storeReference();
    fillNew("20241220", 2, "");
    QuotationHeader& h = quotation.header;
    h.得意先コード = "000202";
    h.得意先名称A = "南風商事";
    h.得意先消費税算出区分 = 1;
    h.納品先コード = "";
    std::string picked;
    QuotationLoader loader(*scope);
    EXPECT_TRUE(loader.CopyReference("00000077", picked));
    EXPECT_EQ(quotation.LoadNotice, "該当情報がありません。");
    EXPECT_EQ(quotation.LastLine, 1);

    EXPECT_TRUE(loader.CopyReference("00000001", picked));
    EXPECT_EQ(quotation.LoadNotice, "");
    EXPECT_EQ((Texts{h.参照営業見積事業所コード, h.参照営業見積番号基準日付, h.参照営業見積No, h.得意先コード,
                     h.得意先名称A, std::to_string(h.得意先消費税算出区分), h.納品先コード, h.タイトル, h.見積条件,
                     std::to_string(h.消費税表示区分), h.営業見積日付, h.営業見積No}),
              (Texts{"001", "20250331", "00000001", "000202", "南風商事", "1", "000303", "参照元の件名", "現金", "0",
                     "20241220", "00000002"}));
    EXPECT_TRUE(quotation.NewEntry);
    ASSERT_EQ(quotation.LastLine, 2);
    // Each line without its unique number, memo or stamp; its tax per line, 10 %.
    const std::tuple<size_t, const char*, int> lines[] = {{0, "品目1", 10}, {1, "品目2", 20}, {2, "品目3", 30}};
    for (const auto& [i, name, tax] : lines) {
        const QuotationLine& line = quotation.lines[i];
        EXPECT_EQ((Texts{line.商品名, line.営業見積固有行No, line.明細メモ, line.登録日付}), (Texts{name, "", "", ""}));
        EXPECT_EQ(line.見積消費税, Units(tax));
    }
    EXPECT_EQ(h.税抜見積金額合計, Units(600));
    EXPECT_EQ(count("T閲覧"), 0);
    // Saved, the copy is a quotation of its own with new unique line numbers.
    saveOk();
    EXPECT_EQ(count("T営業見積明細 WHERE 営業見積No = '00000002' AND 営業見積固有行No = '003'"), 1);
}

TEST_P(LoadTest, InquiryStartFillsTheEmptyHeaderFieldsAndALineOnlyWhenThereIsNone) {
    exec(std::string("INSERT INTO T営業引合 (事業所コード, 番号基準日付, 営業引合No, 得意先対応先区分, 得意先コード, "
                     "得意先名称A, 得意先名称入力区分, 担当者コード, 部門コード, 営業引合商品コード, 営業引合商品名A, "
                     "営業引合商品名B, 営業引合商品名称入力区分, 営業引合数量, 営業引合単位, 営業引合単価, 営業引合金額, "
                     "仕入先対応先区分, 仕入先コード, 仕入先名称A, 仕入先名称入力区分, 仕入単価, 仕入金額) VALUES "
                     "('001', '") +
         kFy2024 +
         "', '00000005', '0', '000404', '東雲工業', '1', '00012', '010', 'P9000', '制御盤', ' 改修', '1', 2, "
         "'式', 150000, 290000, '0', '000505', '盤屋', '0', 90000, 170000)");
    QuotationLoader loader(*scope);
    std::string picked;

    fillNew("20241206", 2);
    quotation.header.得意先コード = "";
    quotation.header.部門コード = "";
    quotation.header.担当者コード = "00099";
    EXPECT_TRUE(loader.StartFromInquiry("00000005", picked));
    const QuotationHeader& h = quotation.header;
    EXPECT_EQ((Texts{h.参照営業引合事業所コード, h.参照営業引合番号基準日付, h.参照営業引合No, h.得意先コード,
                     h.得意先名称A, h.部門コード, h.部門名, h.担当者コード, quotation.lines[0].商品名}),
              (Texts{"001", "20250331", "00000005", "000404", "東雲工業", "010", "営業部", "00099", "品目1"}));
    EXPECT_EQ(quotation.LastLine, 1);

    fillNew("20241206", 0);
    EXPECT_TRUE(loader.StartFromInquiry("00000005", picked));
    ASSERT_EQ(quotation.LastLine, 0);
    const QuotationLine& line = quotation.lines[0];
    EXPECT_EQ((Texts{line.商品コード, line.商品名, line.見積単位, line.仕入先コード, line.仕入先名称A}),
              (Texts{"P9000", "制御盤 改修", "式", "000505", "盤屋"}));
    // The inquiry's amounts (a discount on 2 × 150,000) are taken, not recomputed.
    EXPECT_EQ((std::vector<Currency>{line.見積数量, line.見積金額, line.仕入金額}),
              (std::vector<Currency>{Units(2), Units(290000), Units(170000)}));
    EXPECT_EQ(h.税抜見積金額合計, Units(290000));

    EXPECT_TRUE(loader.StartFromInquiry("00000006", picked));
    EXPECT_EQ(quotation.LoadNotice, "該当情報がありません。");
}

TEST_P(LoadTest, StoredLinesPasteAsNewLinesAndLendTheirItem) {
    storeReference();
    fillNew("20241206", 1);
    quotation.header.得意先消費税算出区分 = 1;
    QuotationLoader loader(*scope);
    // The stored line's product prices, which the paste prices it from again:
    // the list price times this quotation's rate, or else the selling price.
    exec("UPDATE T営業見積明細 SET 商品税抜販売単価 = 130, 商品税抜販売定価 = 150 WHERE 営業見積固有行No = '002'");
    ASSERT_TRUE(loader.ReadStoredLine("001", kFy2024, "00000001", "002", 1));
    const QuotationLine& pasted = quotation.lines[1];
    EXPECT_EQ((Texts{pasted.商品名, pasted.営業見積固有行No, pasted.明細メモ}), (Texts{"品目2", "", ""}));
    EXPECT_EQ((std::vector<Currency>{pasted.見積単価, pasted.見積金額}),
              (std::vector<Currency>{Units(130), Units(260)}));
    quotation.header.定価掛率 = Units(80);
    ASSERT_TRUE(loader.ReadStoredLine("001", kFy2024, "00000001", "002", 1));
    EXPECT_EQ((std::vector<Currency>{pasted.見積単価, pasted.見積金額}),
              (std::vector<Currency>{Units(120), Units(240)}));
    quotation.header.定価掛率 = Units(0);
    EXPECT_FALSE(loader.ReadStoredLine("001", kFy2024, "00000001", "009", 2));

    QuotationLine& current = quotation.lines[0];
    current.見積数量 = Units(5);
    current.仕入数量 = Units(5);
    ASSERT_TRUE(loader.TakeStoredItem("001", kFy2024, "00000001", "003", 0));
    EXPECT_EQ(current.商品名 + " " + current.商品コード, "品目3 P1002");
    EXPECT_EQ((std::vector<Currency>{current.見積数量, current.見積単価, current.見積金額, current.仕入金額,
                                     current.見積消費税}),
              (std::vector<Currency>{Units(5), Units(100), Units(500), Units(300), Units(50)}));
    EXPECT_TRUE(current.changed);
}

// A company that keeps its numbers by office: saves and the view log draw
// from each office's own counters, never from the company-wide ones.
TEST_P(LoadTest, PerOfficeNumbersThroughSaveAndTheViewLog) {
    context.company.伝票番号管理区分 = 1;
    for (const char* office : {"001", "002", "001"}) {
        context.operatingOffice = office;
        fillNew("20241206", 1);
        saveOk();
    }
    EXPECT_EQ(count("T営業見積 WHERE 事業所コード = '001' AND 営業見積No IN ('00000001', '00000002')"), 2);
    EXPECT_EQ(count("T営業見積 WHERE 事業所コード = '002' AND 営業見積No = '00000001'"), 1);
    EXPECT_EQ(count("R営業見積 WHERE 事業所コード = '002' AND 営業見積履歴No = '00000001'"), 1);
    context.operatingOffice = "002";
    quotation.ClearToNew();
    ASSERT_TRUE(QuotationLoader(*scope).OpenStored("002", kFy2024, "00000001"));
    EXPECT_EQ(count("T閲覧 WHERE 事業所コード = '002' AND 閲覧No = '00000001' AND 伝票No = '00000001'"), 1);
    EXPECT_EQ(count("A事業所別期日別番号情報 WHERE 番号ID = '01110' AND 事業所コード = '002'"), 1);
    EXPECT_EQ(count("A期日別番号情報"), 0) << "no company-wide counter was touched";
    EXPECT_EQ(value("SELECT 連番 FROM A番号情報 WHERE 番号ID = '16210'", "連番"), "00000000");
}

// Lines that cannot be read after the header was (here: their table is
// gone) leave nothing half loaded: a header without its lines would look like
// a quotation stored without lines and be saved again as a new one.
TEST_P(LoadTest, LinesThatCannotBeReadLeaveTheModelAsItWas) {
    fillNew("20241206", 3, "三行");
    saveOk();
    fillNew("20241206", 2, "画面の見積");
    const Quotation before = quotation;
    exec("ALTER TABLE T営業見積明細 RENAME TO T営業見積明細_退避");
    std::string picked;
    QuotationLoader loader(*scope);
    EXPECT_FALSE(loader.OpenStored("001", kFy2024, "00000001"));
    EXPECT_FALSE(loader.OpenByTypedNumber("00000001", picked));
    EXPECT_NE(loader.fault(), DbFault::None);
    EXPECT_FALSE(loader.CopyReference("00000001", picked));
    EXPECT_NE(loader.fault(), DbFault::None);
    EXPECT_EQ(quotation.header, before.header);
    EXPECT_EQ(quotation.lines, before.lines);
    EXPECT_EQ(quotation.LastLine, 1);
    EXPECT_TRUE(quotation.NewEntry);
    exec("ALTER TABLE T営業見積明細_退避 RENAME TO T営業見積明細");
    EXPECT_TRUE(loader.OpenByTypedNumber("00000001", picked));
    EXPECT_EQ(loader.fault(), DbFault::None);
    EXPECT_EQ(quotation.LastLine, 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, LoadTest, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
