#include "screens/lookup/condition_builder.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

const std::string kCustomerBase =
    "SELECT TOP 1000 M得意先.コード, M得意先.略称, M得意先.カナ, M得意先.電話, M得意先.郵便番号, M得意先.住所A, "
    "M得意先.住所B, M担当者.氏名 AS 担当者名";
const std::string kCustomerJoin = " FROM M担当者 INNER JOIN M得意先 ON M得意先.担当者コード = M担当者.コード";
const std::string kStaffSelect =
    "SELECT TOP 1000 M担当者.コード,M担当者.氏名,M事業所.名称 AS 事業所名,M部門.名称 AS "
    "部門名,Mセクション.名称 AS "
    "セクション名";
const std::string kProductSelect =
    "SELECT TOP 1000 M商品.コード, M商品.名称A, M商品.名称B, M商品.カナ, M商品.商品分類コード, M商品.品区分, "
    "M商品.税抜販売定価, M商品.税抜販売単価, M商品.税抜仕入単価, M商品分類.名称 AS 商品分類名, K品区分.名称 "
    "AS 品区分名";
const std::string kNumberBase =
    "SELECT TOP 1000 "
    "T営業見積.事業所コード,T営業見積.番号基準日付,T営業見積.営業見積No,T営業見積.営業見積日付,"
    "T営業見積.得意先コード,T営業見積.得意先名称A,T営業見積.タイトル,T営業見積.見積金額合計 FROM T営業見積 "
    "WHERE "
    "T営業見積.事業所コード = '001' AND (T営業見積.番号基準日付 <> '')";
const std::string kNumberSort = " ORDER BY T営業見積.営業見積日付 DESC, T営業見積.営業見積No DESC";
const std::string kItemSort =
    " ORDER BY T営業見積明細.営業見積日付 DESC,T営業見積明細.事業所コード DESC,T営業見積明細.番号基準日付 "
    "DESC,T営業見積明細.営業見積No DESC";

QueryContext Context(std::string kind, std::string office = "001", std::string condition = "") {
    QueryContext c;
    c.databaseKind = std::move(kind);
    c.currentOffice = std::move(office);
    c.operatingOffice = "000";
    c.today = "20240515";
    c.condition = std::move(condition);
    return c;
}

// Typed fields, boxes, status filters (each with the code of its "全て") and the period.
SearchValues Values(std::map<std::string, std::string> fields, std::map<std::string, bool> boxes = {},
                    std::map<std::string, std::pair<int, int>> filters = {}, int period = 0) {
    SearchValues v;
    v.fields = std::move(fields);
    v.boxes = std::move(boxes);
    for (const auto& [name, chosenAndAll] : filters) {
        v.filters[name] = chosenAndAll.first;
        v.filterAll[name] = chosenAndAll.second;
    }
    v.period = period;
    return v;
}

SearchValues Customer(std::map<std::string, std::string> fields, int status = 1) {
    return Values(std::move(fields), {}, {{"取引状況区分", {status, 4}}});
}

SearchValues Product(std::map<std::string, std::string> fields, bool narrow = false) {
    return Values(std::move(fields), {{"chb_絞込み", narrow}},
                  {{"品区分", {3, 3}}, {"在庫管理区分", {2, 2}}, {"取扱状況区分", {1, 4}}});
}

SearchValues Staff() {
    return Values({{"部門コード", "010"}}, {}, {{"在籍区分", {0, 2}}, {"社員区分", {3, 3}}});
}

SearchValues Texts(std::map<std::string, std::string> fields, int period = 0, bool box = false) {
    return Values(std::move(fields), {{"chb_得意先対応先", box}, {"chb_絞込み", box}}, {}, period);
}

enum class Match { Whole, Holds, Ends };

// One statement built for a window's search and what it must be.
struct Case {
    const char* what;
    LookupWindowId window;
    SearchMode mode;
    SearchValues values;
    QueryContext context;
    Match match;
    std::string expected;
};

TEST(ConditionBuilder, EachWindowBuildsItsStatement) {
    using W = LookupWindowId;
    using M = SearchMode;
    const std::string customerWords =
        " AND (M得意先.名称A LIKE '%山田%' OR M得意先.名称B LIKE '%山田%' OR M得意先.略称 LIKE '%山田%')"
        " AND M得意先.カナ LIKE '%ﾔﾏﾀﾞ%' AND M得意先.担当者コード = '00007' AND M得意先.取引状況区分 = '1'"
        " ORDER BY M得意先.コード";
    const std::string worked =
        kCustomerBase + kCustomerJoin + " WHERE M担当者.事業所コード = '001'" + customerWords;
    const SearchValues yamada = Customer({{"名称", "山田"}, {"カナ", "ﾔﾏﾀﾞ"}, {"担当者コード", "00007"}});
    const std::string negative =
        kCustomerBase + kCustomerJoin +
        " WHERE (M得意先.コード >= '000100') AND M担当者.事業所コード = '001'"
        " AND (M得意先.名称A NOT LIKE '%山田%' AND M得意先.名称B NOT LIKE '%山田%' AND "
        "M得意先.略称 NOT LIKE '%山田%')";
    const QueryContext from100 = Context("A", "001", "M得意先.コード >= '000100'");
    const QueryContext delivery = Context(
        "A", "000",
        "M納品先.在庫場所区分 <> '1' AND (M納品先.得意先コード = '000001' OR M納品先.得意先コード = '')");
    QueryContext staffInOffice = Context("A", "001", "M担当者.在籍区分 = '0'");
    staffInOffice.operatingOffice = "002";
    const std::string staffJoin =
        " FROM Mセクション RIGHT JOIN (M部門 RIGHT JOIN (M事業所 RIGHT JOIN M担当者 ON M事業所.コード = "
        "M担当者.事業所コード) ON M部門.コード = M担当者.部門コード) ON Mセクション.コード = "
        "M担当者.セクションコード";
    const std::string productJoin =
        " FROM M商品分類 RIGHT JOIN (K品区分 INNER JOIN M商品 ON K品区分.区分 = M商品.品区分) ON "
        "M商品分類.コード = "
        "M商品.商品分類コード";
    const std::string productWords =
        "((M商品.名称A LIKE '%ボルト%' OR M商品.名称B LIKE '%ボルト%') OR (M商品.名称A LIKE '%M8%' OR "
        "M商品.名称B LIKE '%M8%'))";
    const SearchValues twoWords = Product({{"名称1", "ボルト"}, {"名称2", "M8"}});
    const SearchValues twoWordsAndSupplier =
        Product({{"名称1", "ボルト"}, {"名称2", "M8"}, {"仕入先コード", "000005"}});
    const QueryContext numbers = Context("A", "001", "T営業見積.番号基準日付 <> ''");
    const SearchValues number =
        Texts({{"営業見積日付", "20230515"}, {"得意先コード", "000001"}, {"件名", "改修"}});
    const SearchValues inquiry = Texts({{"得意先コード", "000001"}}, 0, true);
    const Case cases[] = {
        {"customers, compound, the worked example", W::得意先一覧, M::Compound(), yamada, Context("A"),
         Match::Whole, worked},
        {"customers, compound, on kind O: a comma join", W::得意先一覧, M::Compound(), yamada, Context("O"),
         Match::Whole,
         kCustomerBase + " FROM M担当者, M得意先 WHERE M得意先.担当者コード = M担当者.コード" +
             " AND M担当者.事業所コード = '001'" + customerWords},
        // The negative search negates the fields and the filter, never the opener's condition or the office.
        {"customers, negative on all", W::得意先一覧, M::Negative(), Customer({{"名称", "山田"}}, 4), from100,
         Match::Whole, negative + " AND M得意先.取引状況区分 >= '4' ORDER BY M得意先.コード"},
        // A product code is taken as typed; its apostrophe cannot end the literal.
        {"product code with an apostrophe", W::商品一覧, M::OfField("コード"), Product({{"コード", "A'1"}}),
         Context("A"), Match::Holds, "M商品.コード >= 'A''1'"},
        {"deliveries, telephone negative", W::納品先一覧, M::Negative(), Texts({{"電話", "(03) 1234"}}),
         delivery, Match::Holds,
         " AND (M納品先.電話番号 NOT LIKE '%031234%' AND NOT EXISTS (SELECT * FROM M納品先御担当者 WHERE "
         "納品先コード = M納品先.コード AND 電話番号 LIKE '%031234%'))"},
        {"counterparties without a supplier", W::対応先一覧, M::OfField("カナ"), Texts({{"カナ", "ｱ"}}),
         Context("A", "000"), Match::Ends, " ORDER BY M対応先.カナ"},
        {"staff of the operating office and the head office", W::担当者一覧, M::OfField("部門コード"),
         Staff(), staffInOffice, Match::Whole,
         kStaffSelect + staffJoin +
             " WHERE (M担当者.在籍区分 = '0') AND (M担当者.事業所コード = '002' OR M担当者.事業所コード = "
             "'000')"
             " AND M担当者.部門コード = '010' AND M担当者.在籍区分 = '0' ORDER BY M担当者.コード"},
        {"staff, negative on kind O", W::担当者一覧, M::Negative(), Staff(), Context("O", "000"),
         Match::Whole,
         kStaffSelect +
             " FROM Mセクション,M部門,M事業所,M担当者 WHERE M事業所.コード(+) = M担当者.事業所コード AND "
             "M部門.コード(+) = M担当者.部門コード AND Mセクション.コード(+) = M担当者.セクションコード"
             " AND M担当者.部門コード <> '010' AND M担当者.在籍区分 <> '0' ORDER BY M担当者.コード"},
        {"products, two words widen", W::商品一覧, M::OfField("名称1"), twoWords, Context("A"), Match::Whole,
         kProductSelect + productJoin + " WHERE " + productWords +
             " AND M商品.取扱状況区分 = '1' ORDER BY M商品.名称A"},
        // 名称2 searches only with 名称1: a search of its own is refused, not "AND ()".
        {"products, the second word alone", W::商品一覧, M::OfField("名称2"), twoWords, Context("A"),
         Match::Whole, ""},
        {"products, negative on kind O", W::商品一覧, M::Negative(), twoWordsAndSupplier, Context("O"),
         Match::Whole,
         kProductSelect +
             " FROM M商品分類, K品区分, M商品 WHERE K品区分.区分 = M商品.品区分 AND M商品分類.コード(+) = "
             "M商品.商品分類コード"
             " AND ((M商品.名称A NOT LIKE '%ボルト%' AND M商品.名称B NOT LIKE '%ボルト%') AND (M商品.名称A "
             "NOT LIKE "
             "'%M8%' AND M商品.名称B NOT LIKE '%M8%'))"
             " AND (M商品.仕入先コード <> '000005' AND M商品.仕入先コード <> '') AND M商品.取扱状況区分 <> "
             "'1'"
             " ORDER BY M商品.コード"},
        {"products, the second word and a supplier", W::商品一覧, M::Compound(),
         Product({{"名称2", "M8"}, {"仕入先コード", "000005"}}), Context("A"), Match::Holds,
         " WHERE (M商品.名称A LIKE '%M8%' OR M商品.名称B LIKE '%M8%') AND (M商品.仕入先コード = '000005' OR "
         "M商品.仕入先コード = '')"},
        // The number window puts the office before the opener's condition.
        {"quotation numbers, compound", W::営業見積No一覧, M::Compound(), number, numbers, Match::Whole,
         kNumberBase +
             " AND T営業見積.営業見積日付 >= '20230515' AND T営業見積.タイトル LIKE '%改修%' AND "
             "T営業見積.得意先コード = '000001' AND T営業見積.得意先対応先区分 = '0'" +
             kNumberSort},
        {"quotation numbers, negative", W::営業見積No一覧, M::Negative(), number, numbers, Match::Whole,
         kNumberBase +
             " AND T営業見積.営業見積日付 < '20230515' AND T営業見積.タイトル NOT LIKE '%改修%' AND "
             "(T営業見積.得意先コード <> '000001' OR T営業見積.得意先対応先区分 <> '0')" +
             kNumberSort},
        // The inquiry list tests the switch in its own search only.
        {"inquiries, negative", W::営業引合No一覧, M::Negative(), inquiry, Context("A", "000"), Match::Holds,
         " WHERE (T営業引合.得意先コード <> '000001' OR 得意先対応先区分 <> '1')"},
        // The item name window ends with the item lines only.
        {"item names, narrowed", W::営業見積品名一覧, M::OfField("品名1"),
         Texts({{"品名1", "ボルト"}, {"品名2", "M8"}}, 0, true), Context("A"), Match::Ends,
         " = T営業見積明細.営業見積No WHERE (T営業見積明細.商品名 LIKE '%ボルト%' AND "
         "T営業見積明細.商品名 LIKE '%M8%') AND T営業見積明細.行区分 = '1'" +
             kItemSort},
        {"item names on kind O", W::営業見積品名一覧, M::OfField("品名1"),
         Texts({{"品名1", "ボルト"}}, 0, true), Context("O"), Match::Ends,
         " = T営業見積明細.営業見積No AND T営業見積明細.商品名 LIKE '%ボルト%' AND T営業見積明細.行区分 = "
         "'1'" +
             kItemSort},
        // The history windows search within or outside their period.
        {"titles within three months", W::営業見積タイトル一覧, M::Compound(),
         Texts({{"検索文字列", "納期"}}), Context("A"), Match::Whole,
         "SELECT DISTINCT T営業見積.タイトル FROM T営業見積 WHERE T営業見積.営業見積日付 >= '20240215' AND "
         "T営業見積.営業見積日付 <= '20240515' AND T営業見積.タイトル <> '' AND T営業見積.タイトル LIKE "
         "'%納期%' "
         "ORDER BY T営業見積.タイトル"},
        {"customer names of every period", W::見積得意先名一覧, M::Negative(),
         Texts({{"検索文字列", "納期"}}, 4), Context("A"), Match::Whole,
         "SELECT DISTINCT 得意先名称A FROM T営業見積 WHERE 営業見積日付 <> '' AND 得意先名称A <> '' AND "
         "得意先名称A "
         "NOT LIKE '%納期%' AND 得意先名称B NOT LIKE '%納期%' ORDER BY 得意先名称A"},
        {"item names of a year", W::見積商品名一覧, M::Compound(), Texts({{"検索文字列", "納期"}}, 1),
         Context("A"), Match::Whole,
         "SELECT DISTINCT 商品名 FROM T営業見積明細 WHERE 営業見積日付 >= '20230515' AND 営業見積日付 <= "
         "'20240515' "
         "AND 行区分 = '1' AND 商品名 <> '' AND 見積金額 <> 0 AND 商品名 LIKE '%納期%' ORDER BY 商品名"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string sql = BuildLookupQuery(DescribeWindow(c.window), c.mode, c.values, c.context);
        switch (c.match) {
            case Match::Whole:
                EXPECT_EQ(sql, c.expected);
                break;
            case Match::Holds:
                EXPECT_NE(sql.find(c.expected), std::string::npos) << sql;
                break;
            case Match::Ends:
                EXPECT_TRUE(sql.ends_with(c.expected)) << sql;
                break;
        }
    }
    EXPECT_EQ(MonthsBefore("20240531", 3), "20240229");
    EXPECT_EQ(MonthsBefore("20240229", 12), "20230228");
}

TEST(ConditionBuilder, UnknownDatabaseKindGivesNoQuery) {
    for (LookupWindowId id : AllLookupWindows())
        EXPECT_EQ(BuildLookupQuery(DescribeWindow(id), SearchMode::Compound(), SearchValues(), Context("X")),
                  "")
            << DescribeWindow(id).title;
}

// What a comparison's extraction gives and leaves behind.
TEST(ExtractCondition, TakesTheComparisonOutAndLeavesSoundSql) {
    struct Case {
        const char* column;
        const char* condition;
        const char* value;
        const char* rest;
    };
    const Case cases[] = {
        {"M得意先.コード", "M得意先.コード >= '000123'", "000123", ""},
        {"M納品先.コード", "M納品先.コード >= '000100' AND (M納品先.得意先コード = '000001' OR M納品先.得意先コード = '')",
         "000100", "(M納品先.得意先コード = '000001' OR M納品先.得意先コード = '')"},
        {"M得意先.カナ", "M得意先.カナ LIKE '%ｱｲ%' OR M得意先.コード = '1'", "ｱｲ", "M得意先.コード = '1'"},
        {"M得意先.コード", "EXISTS (SELECT * FROM X WHERE M得意先.コード = '000001' AND Y = '2')", "000001",
         "EXISTS (SELECT * FROM X WHERE Y = '2')"},
        {"M商品.コード", "M商品.品区分 < '9'", "", "M商品.品区分 < '9'"},
        // Inside a parenthesised OR group only the comparison and its connector go.
        {"B", "A = '1' AND (B = '2' OR C = '3') AND D = '4'", "2", "A = '1' AND (C = '3') AND D = '4'"},
        {"C", "A = '1' AND (B = '2' OR C = '3') AND D = '4'", "3", "A = '1' AND (B = '2') AND D = '4'"},
        {"B", "A = '1' AND (B = '2') AND D = '4'", "2", "A = '1' AND D = '4'"},
        {"B", "((B = '2')) OR A = '1'", "2", "A = '1'"},
        {"B", "EXISTS (SELECT * FROM X WHERE B = '2') AND A = '1'", "2", "EXISTS (SELECT * FROM X) AND A = '1'"},
        // Literals are read whole: a doubled apostrophe, or a column name or
        // a connector inside another comparison's text, are not seen.
        {"M得意先.名称A", "M得意先.名称A LIKE '%O''Neil%' AND A = '1'", "O'Neil", "A = '1'"},
        {"B", "A = 'x AND B = ''7''' AND B = '8'", "8", "A = 'x AND B = ''7'''"},
        {"M商品.コード", "XM商品.コード = '1' AND M商品.コード = '2'", "2", "XM商品.コード = '1'"},
        {"B", "B = 'unclosed", "", "B = 'unclosed"},
    };
    for (const auto& c : cases) {
        std::string condition = c.condition;
        EXPECT_EQ(ExtractCondition(c.column, condition), c.value) << c.condition;
        EXPECT_EQ(condition, c.rest) << c.condition;
    }
}

TEST(ExtractCondition, NumberWindowConditionLosesEachComparisonWithItsAnd) {
    std::string condition =
        "T営業見積.番号基準日付 <> '' AND T営業見積.営業見積日付 >= '20230515' AND T営業見積.得意先対応先区分 = '1' AND "
        "T営業見積.得意先コード = '000042' AND T営業見積.納品先対応先区分 = '0' AND T営業見積.納品先コード = '000007'";
    EXPECT_EQ(ExtractCondition("T営業見積.営業見積日付", condition), "20230515");
    EXPECT_EQ(ExtractCondition("T営業見積.営業見積No", condition), "");
    EXPECT_EQ(ExtractCondition("T営業見積.得意先対応先区分", condition), "1");
    EXPECT_EQ(ExtractCondition("T営業見積.得意先コード", condition), "000042");
    EXPECT_EQ(condition,
              "T営業見積.番号基準日付 <> '' AND T営業見積.納品先対応先区分 = '0' AND T営業見積.納品先コード = '000007'");
}

}  // namespace
}  // namespace velmora
