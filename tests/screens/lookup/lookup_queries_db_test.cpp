#include <algorithm>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "data/data_access.h"
#include "lookup_fakes.h"
#include "lookup_rows.h"
#include "support/test_env.h"

namespace velmora {
namespace {

using test::Engine;
using test::FakeHost;
using test::FakeLookupView;
using test::FakeViewFactory;

// One search of one window, done the way a user does it, and what it finds.
struct Case {
    std::string name;
    LookupWindowId window;
    std::string condition;
    std::vector<std::pair<std::string, std::string>> typed;  // field, text
    std::map<std::string, bool> boxes;
    std::map<std::string, int> filters;
    std::string button;  // empty: the search that runs at load
    std::string piece;   // the query holds this text
    std::string rows;    // first cells of the list, comma-joined
    bool anyOrder = false;
    std::string currentOffice = "000";
    std::string operatingOffice = "000";
    int period = -1;
};


std::vector<Case> Cases() {
    const auto C = LookupWindowId::得意先一覧;
    std::vector<Case> cases = {
        // Name-and-address family.
        {"customer code", C, "", {{"コード", "2"}}, {}, {}, "btn_コード検索", " WHERE M得意先.コード >= '000002'", "000002"},
        {"customer kana", C, "", {{"カナ", "ﾔﾏﾀﾞ"}}, {}, {}, "btn_カナ検索", " WHERE M得意先.カナ LIKE '%ﾔﾏﾀﾞ%'",
         "000002,000001"},
        {"customer name", C, "", {{"名称", "山田"}}, {}, {}, "btn_名称検索",
         " WHERE (M得意先.名称A LIKE '%山田%' OR M得意先.名称B LIKE '%山田%' OR M得意先.略称 LIKE '%山田%')",
         "000001,000002"},
        {"customer address", C, "", {{"住所", "東京"}}, {}, {}, "btn_住所検索",
         " WHERE (M得意先.住所A LIKE '%東京%' OR M得意先.住所B LIKE '%東京%' OR M得意先.住所C LIKE '%東京%')", "000001"},
        {"customer telephone of a contact", C, "", {{"電話", "090-1234"}}, {}, {}, "btn_電話番号検索",
         " OR EXISTS (SELECT * FROM M得意先御担当者 WHERE 得意先コード = M得意先.コード AND 電話番号 LIKE '%0901234%'))",
         "000002"},
        {"customer postcode", C, "", {{"郵便番号", "100 0001"}}, {}, {}, "btn_郵便番号検索",
         " WHERE M得意先.郵便番号 LIKE '%100-0001%'", "000001"},
        {"customer compound in an office", C, "", {{"名称", "山田"}, {"電話", "03"}}, {}, {}, "btn_複合検索",
         " WHERE M担当者.事業所コード = '001' AND (M得意先.名称A LIKE '%山田%'", "000001", false, "001"},
        {"customer negative on all", C, "", {{"名称", "山田"}}, {}, {{"取引状況区分", 4}}, "btn_否定検索",
         " AND M得意先.取引状況区分 >= '4'", ""},
        {"customer negative on a status", C, "", {{"名称", "山田"}}, {}, {{"取引状況区分", 0}}, "btn_否定検索",
         " AND M得意先.取引状況区分 <> '0'", "000003"},
        {"customer apostrophe", C, "", {{"名称", "O'Brien"}}, {}, {{"取引状況区分", 4}}, "btn_名称検索",
         "LIKE '%O''Brien%'", "000003"},
        {"customer staff filter", C, "", {{"担当者コード", "1"}}, {}, {{"取引状況区分", 4}}, "btn_複合検索",
         " WHERE M得意先.担当者コード = '00001'", "000001,000003"},
        {"delivery destinations of a customer first", LookupWindowId::納品先一覧,
         "M納品先.在庫場所区分 <> '1' AND (M納品先.得意先コード = '000001' OR M納品先.得意先コード = '')", {}, {},
         {{"取引状況区分", 4}}, "btn_複合検索", " ORDER BY M納品先.得意先コード DESC,M納品先.コード", "000002,000003"},
        {"counterparty sorted by supplier", LookupWindowId::対応先一覧, "M対応先.仕入先コード <> 'x'", {{"カナ", "ﾔﾏﾀﾞ"}},
         {}, {}, "btn_カナ検索", " ORDER BY M対応先.仕入先コード DESC,M対応先.カナ", "000002,000001"},
        {"supplier compound", LookupWindowId::仕入先一覧, "", {{"カナ", "ﾔﾏﾀﾞ"}}, {}, {}, "btn_複合検索",
         " ORDER BY M仕入先.コード", "000001,000002"},
        {"maker contact telephone", LookupWindowId::メーカ一覧, "", {{"電話", "03-1111-2223"}}, {}, {},
         "btn_電話番号検索", "FROM Mメーカ御担当者 WHERE メーカコード = Mメーカ.コード", "000001"},
        // Staff.
        {"staff load in an office", LookupWindowId::担当者一覧, "M担当者.在籍区分 = '0'", {}, {}, {}, "",
         " AND (M担当者.事業所コード = '001' OR M担当者.事業所コード = '000')", "00001,00003", false, "000", "001"},
        {"staff code", LookupWindowId::担当者一覧, "", {{"コード", "2"}}, {}, {}, "btn_コード検索",
         " WHERE M担当者.コード >= '00002'", "00002,00003"},
        {"staff name", LookupWindowId::担当者一覧, "", {{"名称", "山"}}, {}, {}, "btn_名称検索", " WHERE M担当者.氏名 LIKE '%山%'",
         "00001"},
        {"staff kana", LookupWindowId::担当者一覧, "", {{"カナ", "ﾑﾗ"}}, {}, {}, "btn_カナ検索",
         " WHERE M担当者.カナ LIKE '%ﾑﾗ%'", "00002,00003"},
        {"staff department", LookupWindowId::担当者一覧, "", {{"部門コード", "10"}}, {}, {}, "btn_部門コード検索",
         " WHERE M担当者.部門コード = '010'", "00001,00002"},
        {"staff section", LookupWindowId::担当者一覧, "", {{"セクションコード", "100"}}, {}, {}, "btn_セクションコード検索",
         " WHERE M担当者.セクションコード = '100'", "00001"},
        {"staff negative", LookupWindowId::担当者一覧, "", {{"名称", "本"}}, {}, {}, "btn_否定検索",
         " WHERE M担当者.氏名 NOT LIKE '%本%' AND M担当者.在籍区分 <> '0'", "00004"},
        // Code and name.
        // The opener's condition is no part of a code-and-name window's search.
        {"departments", LookupWindowId::部門一覧, "M部門.コード = '999'", {}, {}, {}, "",
         "SELECT コード,名称 FROM M部門 WHERE M部門.稼動状況区分 = '1' ORDER BY M部門.コード", "010,020"},
        {"sections on all", LookupWindowId::セクション一覧, "", {}, {}, {{"稼動状況区分", 3}}, "btn_画面クリア",
         "SELECT コード,名称 FROM Mセクション ORDER BY Mセクション.コード", "100,200"},
        {"categories", LookupWindowId::商品分類一覧, "", {}, {}, {}, "", " WHERE M商品分類.使用状況区分 = '1'", "A1,B2"},
        // Product.
        {"product code", LookupWindowId::商品一覧, "", {{"コード", "B"}}, {}, {}, "btn_コード検索",
         " WHERE M商品.コード >= 'B'", "B-100,B-200,N-100,T-100"},
        {"product two words", LookupWindowId::商品一覧, "", {{"名称1", "ボルト"}, {"名称2", "M8"}}, {}, {}, "btn_名称検索",
         " OR (M商品.名称A LIKE '%M8%'", "B-100,B-200,N-100", true},
        {"product two words narrowed", LookupWindowId::商品一覧, "", {{"名称1", "ボルト"}, {"名称2", "M8"}},
         {{"chb_絞込み", true}}, {}, "btn_名称検索", " AND (M商品.名称A LIKE '%M8%'", "B-100"},
        {"product kana", LookupWindowId::商品一覧, "", {{"カナ", "ﾎﾞﾙﾄ"}}, {}, {}, "btn_カナ検索",
         " WHERE M商品.カナ LIKE '%ﾎﾞﾙﾄ%'", "B-100,B-200", true},
        {"product category", LookupWindowId::商品一覧, "", {{"商品分類コード", "B2"}}, {}, {}, "btn_商品分類コード検索",
         " WHERE M商品.商品分類コード = 'B2'", "T-100"},
        {"product supplier", LookupWindowId::商品一覧, "", {{"仕入先コード", "1"}}, {}, {}, "btn_仕入先コード検索",
         " WHERE (M商品.仕入先コード = '000001' OR M商品.仕入先コード = '')", "B-100,B-200,T-100"},
        {"product maker", LookupWindowId::商品一覧, "", {{"メーカコード", "2"}}, {}, {}, "btn_メーカコード検索",
         " WHERE (M商品.メーカコード = '000002' OR M商品.メーカコード = '')", "B-100,B-200,N-100"},
        {"product customer from the entry condition", LookupWindowId::商品一覧,
         "M商品.品区分 < '9' AND M商品.得意先コード = '000002'", {}, {}, {}, "",
         " WHERE (M商品.品区分 < '9') AND (M商品.得意先コード = '000002' OR M商品.得意先コード = '')", "B-100,N-100,T-100"},
        {"product negative", LookupWindowId::商品一覧, "", {{"カナ", "ﾅｯﾄ"}}, {}, {}, "btn_否定検索",
         " WHERE M商品.カナ NOT LIKE '%ﾅｯﾄ%' AND M商品.取扱状況区分 <> '1'", "X-999"},
        // Contacts.
        {"customer contacts", LookupWindowId::得意先御担当者一覧, "M得意先御担当者.得意先コード = '000001'", {}, {}, {}, "",
         " WHERE (M得意先御担当者.得意先コード = '000001')", "001,002"},
        {"counterparty contacts", LookupWindowId::対応先御担当者一覧, "M対応先御担当者.対応先コード = '000002'", {}, {}, {},
         "btn_複合検索", " ORDER BY M対応先御担当者.御担当者コード", "001"},
        // Quotation numbers.
        {"quotations of a customer from a date", LookupWindowId::営業見積No一覧,
         "T営業見積.番号基準日付 <> '' AND T営業見積.営業見積日付 >= '20230515' AND T営業見積.得意先対応先区分 = '0' AND "
         "T営業見積.得意先コード = '000001'",
         {}, {}, {}, "",
         " WHERE T営業見積.事業所コード = '001' AND (T営業見積.番号基準日付 <> '') AND T営業見積.営業見積日付 >= '20230515'",
         "00000001", false, "001"},
        {"quotation date", LookupWindowId::営業見積No一覧, "", {{"営業見積日付", "20240101"}}, {}, {},
         "btn_営業見積日付検索", " ORDER BY T営業見積.営業見積日付, T営業見積.営業見積No ", "00000001,00000002"},
        {"quotation number", LookupWindowId::営業見積No一覧, "", {{"営業見積No", "2"}}, {}, {}, "btn_営業見積No検索",
         " WHERE T営業見積.営業見積No >= '00000002'", "00000002,00000005"},
        {"quotation title", LookupWindowId::営業見積No一覧, "", {{"件名", "空調"}}, {}, {}, "btn_件名検索",
         " WHERE T営業見積.タイトル LIKE '%空調%'", "00000002,00000001"},
        {"quotation customer name", LookupWindowId::営業見積No一覧, "", {{"得意先名", "佐藤"}}, {}, {}, "btn_得意先名検索",
         " OR T営業見積.得意先名称B LIKE '%佐藤%')", "00000001"},
        {"quotation counterparty", LookupWindowId::営業見積No一覧, "", {{"得意先コード", "1"}}, {{"chb_得意先対応先", true}},
         {}, "btn_得意先コード検索", " AND T営業見積.得意先対応先区分 = '1'", "00000001"},
        {"quotation negative", LookupWindowId::営業見積No一覧, "", {{"営業見積日付", "20230515"}, {"得意先コード", "1"}}, {}, {},
         "btn_否定検索", " OR T営業見積.得意先対応先区分 <> '0')", "00000005", false, "001"},
        // Inquiry numbers.
        {"inquiry due date", LookupWindowId::営業引合No一覧, "T営業引合.番号基準日付 <> ''", {{"営業引合納期", "20240601"}}, {},
         {}, "btn_営業引合納期検索", " AND T営業引合.営業引合納期 >= '20240601'", "00000002"},
        {"inquiry date", LookupWindowId::営業引合No一覧, "", {{"営業引合日付", "20240401"}}, {}, {}, "btn_営業引合日付検索",
         " ORDER BY T営業引合.営業引合日付, T営業引合.営業引合No", "00000001,00000002"},
        {"inquiry number", LookupWindowId::営業引合No一覧, "", {{"営業引合No", "2"}}, {}, {}, "btn_営業引合No検索",
         " ORDER BY T営業引合.営業引合No, T営業引合.営業引合日付 DESC", "00000002"},
        {"inquiry product", LookupWindowId::営業引合No一覧, "", {{"商品名", "LED"}}, {}, {}, "btn_商品名検索",
         " WHERE (T営業引合.営業引合商品名A LIKE '%LED%'", "00000002"},
        {"inquiry customer name", LookupWindowId::営業引合No一覧, "", {{"得意先名", "山田"}}, {}, {}, "btn_得意先名検索",
         " WHERE (T営業引合.得意先名称A LIKE '%山田%'", "00000001"},
        {"inquiry counterparty", LookupWindowId::営業引合No一覧, "", {{"得意先コード", "1"}}, {{"chb_得意先対応先", true}}, {},
         "btn_得意先コード検索", " AND T営業引合.得意先対応先区分 = '1'", "00000002"},
        {"inquiry compound ignores the switch", LookupWindowId::営業引合No一覧, "", {{"得意先コード", "1"}},
         {{"chb_得意先対応先", true}}, {}, "btn_複合検索", " WHERE T営業引合.得意先コード = '000001' ORDER BY",
         "00000002,00000001"},
        {"inquiry negative", LookupWindowId::営業引合No一覧, "", {{"得意先名", "山田"}}, {}, {}, "btn_否定検索",
         " AND T営業引合.得意先名称B NOT LIKE '%山田%')", "00000002"},
        // Item names.
        {"item name from the line", LookupWindowId::営業見積品名一覧, "ボルト", {}, {}, {}, "",
         " AND T営業見積明細.行区分 = '1' ORDER BY", "六角ボルト M8,ボルト M10"},
        {"item two words", LookupWindowId::営業見積品名一覧, "", {{"品名1", "ボルト"}, {"品名2", "ナット"}}, {}, {},
         "btn_品名検索", " OR T営業見積明細.商品名 LIKE '%ナット%')", "六角ナット M8,六角ボルト M8,ボルト M10"},
        {"item date", LookupWindowId::営業見積品名一覧, "", {{"営業見積日付", "20240101"}}, {}, {}, "btn_営業見積日付検索",
         " WHERE T営業見積明細.営業見積日付 >= '20240101'", "六角ボルト M8,六角ナット M8"},
        {"item customer", LookupWindowId::営業見積品名一覧, "", {{"得意先コード", "2"}}, {}, {}, "btn_得意先コード検索",
         " WHERE T営業見積明細.得意先コード = '000002'", "六角ナット M8"},
        // Histories.
        {"titles of the last three months", LookupWindowId::営業見積タイトル一覧, "", {}, {}, {}, "",
         " WHERE T営業見積.営業見積日付 >= '20240215'", "空調設備更新"},
        {"titles not holding a text ever", LookupWindowId::営業見積タイトル一覧, "", {{"検索文字列", "空調"}}, {}, {},
         "btn_否定検索", " AND T営業見積.タイトル NOT LIKE '%空調%'", "古い件名,照明LED化", false, "000", "000", 4},
        {"titles outside the period", LookupWindowId::営業見積タイトル一覧, "", {}, {}, {}, "btn_否定検索",
         " WHERE (T営業見積.営業見積日付 < '20240215' OR T営業見積.営業見積日付 > '20240515')", "古い件名,照明LED化"},
        {"conditions", LookupWindowId::営業見積条件一覧, "", {}, {}, {}, "btn_複合検索", " AND T営業見積.見積条件 <> ''",
         "月末締め,現金払い", false, "000", "000", 4},
        {"delivery terms", LookupWindowId::営業見積納期一覧, "", {}, {}, {}, "btn_複合検索", "SELECT DISTINCT T営業見積.見積納期",
         "即納,受注後1ヶ月,受注後2週間", false, "000", "000", 4},
        {"quotation customer names", LookupWindowId::見積得意先名一覧, "", {{"検索文字列", "山田"}}, {}, {}, "btn_複合検索",
         " AND (得意先名称A LIKE '%山田%' OR 得意先名称B LIKE '%山田%')", "山田商事株式会社,山田工業", false, "000", "000", 4},
        {"delivery names", LookupWindowId::見積納品先名一覧, "", {}, {}, {}, "btn_複合検索", " AND 納品先名称A <> ''",
         "佐藤倉庫,山田倉庫", false, "000", "000", 4},
        {"inquiry customer names", LookupWindowId::引合得意先名一覧, "", {}, {}, {}, "btn_複合検索", " FROM T営業引合",
         "山田商事株式会社,見込客", false, "000", "000", 2},
        {"inquiry product names", LookupWindowId::引合商品名一覧, "", {{"検索文字列", "LED"}}, {}, {}, "btn_複合検索",
         " OR 営業引合商品名B LIKE '%LED%')", "LED照明", false, "000", "000", 1},
        {"supplier names", LookupWindowId::見積仕入先名一覧, "", {}, {}, {}, "btn_複合検索", " FROM T営業見積明細",
         "工具問屋,金物商会", false, "000", "000", 3},
        {"product names of priced item lines", LookupWindowId::見積商品名一覧, "", {}, {}, {}, "btn_複合検索",
         " AND 行区分 = '1' AND 商品名 <> '' AND 見積金額 <> 0", "ボルト M10,六角ボルト M8", false, "000", "000", 4},
    };
    return cases;
}

std::string FirstCells(const std::vector<LookupRow>& rows, bool anyOrder) {
    std::vector<std::string> cells;
    for (const auto& row : rows) cells.push_back(row.text());
    if (anyOrder) std::sort(cells.begin(), cells.end());
    std::string out;
    for (const auto& c : cells) out += (out.empty() ? "" : ",") + c;
    return out;
}

class LookupQueries : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        db = std::make_unique<test::ScratchDatabase>(GetParam(), true);
        VELMORA_REQUIRE_DATABASE(*db);
        connection = db->connect();
        ASSERT_TRUE(connection);
        ASSERT_EQ(test::InsertLookupRows(*connection), "");
        ASSERT_TRUE(access.OpenDataConnection(db->connectionString()));
        session.databaseKind = GetParam() == Engine::SQLite ? "A" : "S";
        session.sellingUnitPriceDecimals = 1;
    }

    std::unique_ptr<test::ScratchDatabase> db;
    std::unique_ptr<Connection> connection;
    DataAccess access;
    LookupSession session;
};

TEST_P(LookupQueries, EverySearchModeOfEveryFamilyRunsAndFindsItsRows) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        session.currentOfficeCode = c.currentOffice;
        session.operatingOfficeCode = c.operatingOffice;
        DataAccessLookupData data(access);
        FakeViewFactory views;
        LookupWindows windows(session, data, views, [] { return std::string(test::kLookupToday); });
        FakeHost entry;
        windows.open(c.window, entry, c.condition, "target", "next");
        FakeLookupView& view = *views.views.at(c.window);
        LookupPresenter& presenter = view.presenter;
        for (const auto& [field, text] : c.typed) {
            view.type(field, text);
            view.leave(field);
        }
        for (const auto& [box, checked] : c.boxes) presenter.onCheckToggled(box, checked);
        for (const auto& [filter, value] : c.filters) presenter.onFilterChanged(filter, value);
        if (c.period >= 0) presenter.onPeriodChanged(c.period);
        if (!c.button.empty()) presenter.onButton(c.button);

        const std::string sql = presenter.lastQuery();
        EXPECT_NE(sql.find(c.piece), std::string::npos) << sql;
        DbError error;
        EXPECT_TRUE(connection->query(sql, error)) << error.description << "\n" << sql;
        EXPECT_EQ(FirstCells(presenter.rows(), c.anyOrder), c.rows) << sql;
    }
}

TEST_P(LookupQueries, RowsCarryKeysAndFormattedAmounts) {
    DataAccessLookupData data(access);
    FakeViewFactory views;
    LookupWindows windows(session, data, views, [] { return std::string(test::kLookupToday); });
    FakeHost entry;
    windows.open(LookupWindowId::商品一覧, entry, "", "商品コード", "商品名");
    const auto& products = views.views.at(LookupWindowId::商品一覧)->rows;
    ASSERT_FALSE(products.empty());
    EXPECT_EQ(products[0].cells, (std::vector<std::string>{"B-100", "六角ボルト", "M8×40", "ﾎﾞﾙﾄ", "商品", "1,200.0",
                                                           "1,080.5", "700", "A1", "金物"}));
    EXPECT_EQ(products[0].key, "CB-100");

    windows.open(LookupWindowId::営業見積No一覧, entry, "T営業見積.得意先対応先区分 = '0' AND T営業見積.得意先コード = '000002'", "営業見積No", "得意先名称A");
    const auto& quotations = views.views.at(LookupWindowId::営業見積No一覧)->rows;
    ASSERT_EQ(quotations.size(), 1u);
    EXPECT_EQ(quotations[0].cells.back(), "      980,000");
    EXPECT_EQ(quotations[0].key.size(), 20u);

    windows.open(LookupWindowId::営業見積品名一覧, entry, "M8", "商品名", "見積数量");
    FakeLookupView& items = *views.views.at(LookupWindowId::営業見積品名一覧);
    ASSERT_EQ(items.rows.size(), 2u);
    EXPECT_EQ(items.rows[1].cells[1], "120.5");
    items.presenter.onRowChosen(1);
    EXPECT_EQ(entry.controls["商品名"], "六角ボルト M8");
    EXPECT_EQ(windows.context().LookupCondition, "C00120240401" "00000001" "001");
}

INSTANTIATE_TEST_SUITE_P(Engines, LookupQueries, testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
