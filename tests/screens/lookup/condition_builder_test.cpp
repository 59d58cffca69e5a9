#include "screens/lookup/condition_builder.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

const std::string kCustomerBase =
    "SELECT TOP 1000 M得意先.コード, M得意先.略称, M得意先.カナ, M得意先.電話, M得意先.郵便番号, M得意先.住所A, "
    "M得意先.住所B, M担当者.氏名 AS 担当者名";

SearchValues CustomerValues() {
    SearchValues v;
    v.filters["取引状況区分"] = 1;
    v.filterAll["取引状況区分"] = 4;
    return v;
}

QueryContext Context(std::string kind, std::string office = "001") {
    QueryContext c;
    c.databaseKind = std::move(kind);
    c.currentOffice = std::move(office);
    c.operatingOffice = "000";
    c.today = "20240515";
    return c;
}

std::string Build(LookupWindowId id, const SearchMode& mode, const SearchValues& v, const QueryContext& c) {
    return BuildLookupQuery(DescribeWindow(id), mode, v, c);
}

TEST(ConditionBuilder, CustomerCompoundSearchIsTheWorkedExampleOnKindA) {
    SearchValues v = CustomerValues();
    v.fields["名称"] = "山田";
    v.fields["カナ"] = "ﾔﾏﾀﾞ";
    v.fields["担当者コード"] = "00007";
    const std::string X = "山田";
    const std::string K = "ﾔﾏﾀﾞ";
    const std::string expected =
        kCustomerBase + " FROM M担当者 INNER JOIN M得意先 ON M得意先.担当者コード = M担当者.コード" +
        " WHERE M担当者.事業所コード = '" + "001" + "'" + " AND (M得意先.名称A LIKE '%" + X +
        "%' OR M得意先.名称B LIKE '%" + X + "%' OR M得意先.略称 LIKE '%" + X + "%')" + " AND M得意先.カナ LIKE '%" +
        K + "%'" + " AND M得意先.担当者コード = '" + "00007" + "'" + " AND M得意先.取引状況区分 = '" + "1" + "'" +
        " ORDER BY M得意先.コード";
    EXPECT_EQ(Build(LookupWindowId::得意先一覧, SearchMode::Compound(), v, Context("A")), expected);
    // PostgreSQL installations ("S") get the same text.
    EXPECT_EQ(Build(LookupWindowId::得意先一覧, SearchMode::Compound(), v, Context("S")), expected);
}

TEST(ConditionBuilder, CustomerCompoundSearchOnKindOUsesCommaJoinAndStartsWithAnd) {
    SearchValues v = CustomerValues();
    v.fields["名称"] = "山田";
    v.fields["カナ"] = "ﾔﾏﾀﾞ";
    v.fields["担当者コード"] = "00007";
    const std::string expected =
        kCustomerBase + " FROM M担当者, M得意先 WHERE M得意先.担当者コード = M担当者.コード" +
        " AND M担当者.事業所コード = '001'" +
        " AND (M得意先.名称A LIKE '%山田%' OR M得意先.名称B LIKE '%山田%' OR M得意先.略称 LIKE '%山田%')" +
        " AND M得意先.カナ LIKE '%ﾔﾏﾀﾞ%' AND M得意先.担当者コード = '00007' AND M得意先.取引状況区分 = '1'" +
        " ORDER BY M得意先.コード";
    EXPECT_EQ(Build(LookupWindowId::得意先一覧, SearchMode::Compound(), v, Context("O")), expected);
}

TEST(ConditionBuilder, UnknownDatabaseKindGivesNoQuery) {
    for (LookupWindowId id : AllLookupWindows())
        EXPECT_EQ(BuildLookupQuery(DescribeWindow(id), SearchMode::Compound(), SearchValues(), Context("X")), "")
            << DescribeWindow(id).title;
}

TEST(ConditionBuilder, NegativeSearchNegatesFieldsAndFilterButNotOpenerOrOffice) {
    SearchValues v = CustomerValues();
    v.fields["名称"] = "山田";
    QueryContext c = Context("A");
    c.condition = "M得意先.コード >= '000100'";
    const std::string head = kCustomerBase + " FROM M担当者 INNER JOIN M得意先 ON M得意先.担当者コード = M担当者.コード" +
                             " WHERE (M得意先.コード >= '000100') AND M担当者.事業所コード = '001'" +
                             " AND (M得意先.名称A NOT LIKE '%山田%' AND M得意先.名称B NOT LIKE '%山田%' AND M得意先.略称 "
                             "NOT LIKE '%山田%')";

    v.filters["取引状況区分"] = 4;  // 全て
    EXPECT_EQ(Build(LookupWindowId::得意先一覧, SearchMode::Negative(), v, c),
              head + " AND M得意先.取引状況区分 >= '4' ORDER BY M得意先.コード");
    v.filters["取引状況区分"] = 2;
    EXPECT_EQ(Build(LookupWindowId::得意先一覧, SearchMode::Negative(), v, c),
              head + " AND M得意先.取引状況区分 <> '2' ORDER BY M得意先.コード");
    // The compound search with "全て" adds no status condition at all.
    v.filters["取引状況区分"] = 4;
    EXPECT_EQ(Build(LookupWindowId::得意先一覧, SearchMode::Compound(), v, c).find("取引状況区分"), std::string::npos);
}

TEST(ConditionBuilder, ApostropheInANameIsDoubledInsideTheLikePattern) {
    SearchValues v = CustomerValues();
    v.fields["名称"] = "O'Neil  ";
    const std::string sql = Build(LookupWindowId::得意先一覧, SearchMode::OfField("名称"), v, Context("A", "000"));
    EXPECT_NE(sql.find("M得意先.名称A LIKE '%O''Neil%' OR M得意先.名称B LIKE '%O''Neil%' OR M得意先.略称 LIKE "
                       "'%O''Neil%'"),
              std::string::npos)
        << sql;
    // A product code is taken as typed; its apostrophe cannot end the literal either.
    SearchValues p;
    p.fields["コード"] = "A'1";
    EXPECT_NE(Build(LookupWindowId::商品一覧, SearchMode::OfField("コード"), p, Context("A")).find("M商品.コード >= 'A''1'"),
              std::string::npos);
}

TEST(ConditionBuilder, TelephoneNegativeAndDeliverySortPrefix) {
    SearchValues v;
    v.fields["電話"] = "(03) 1234";
    QueryContext c = Context("A", "000");
    c.condition = "M納品先.在庫場所区分 <> '1' AND (M納品先.得意先コード = '000001' OR M納品先.得意先コード = '')";
    const std::string sql = Build(LookupWindowId::納品先一覧, SearchMode::Negative(), v, c);
    EXPECT_NE(sql.find(" AND (M納品先.電話番号 NOT LIKE '%031234%' AND NOT EXISTS (SELECT * FROM M納品先御担当者 WHERE "
                       "納品先コード = M納品先.コード AND 電話番号 LIKE '%031234%'))"),
              std::string::npos)
        << sql;
    EXPECT_TRUE(sql.ends_with(" ORDER BY M納品先.得意先コード DESC,M納品先.コード")) << sql;
    v.fields["電話"] = "";
    v.fields["カナ"] = "ｱ";
    c.condition = "M対応先.仕入先コード = '000002'";
    EXPECT_TRUE(Build(LookupWindowId::対応先一覧, SearchMode::OfField("カナ"), v, c)
                    .ends_with(" ORDER BY M対応先.仕入先コード DESC,M対応先.カナ"));
    c.condition.clear();
    EXPECT_TRUE(Build(LookupWindowId::対応先一覧, SearchMode::OfField("カナ"), v, c).ends_with(" ORDER BY M対応先.カナ"));
}

TEST(ConditionBuilder, StaffWindowRestrictsToOperatingOfficeAndHeadOffice) {
    SearchValues v;
    v.filters = {{"在籍区分", 0}, {"社員区分", 3}};
    v.filterAll = {{"在籍区分", 2}, {"社員区分", 3}};
    v.fields["部門コード"] = "010";
    QueryContext c = Context("A", "001");
    c.operatingOffice = "002";
    c.condition = "M担当者.在籍区分 = '0'";
    const std::string from =
        " FROM Mセクション RIGHT JOIN (M部門 RIGHT JOIN (M事業所 RIGHT JOIN M担当者 ON M事業所.コード = "
        "M担当者.事業所コード) ON M部門.コード = M担当者.部門コード) ON Mセクション.コード = M担当者.セクションコード";
    const std::string select =
        "SELECT TOP 1000 M担当者.コード,M担当者.氏名,M事業所.名称 AS 事業所名,M部門.名称 AS 部門名,Mセクション.名称 AS "
        "セクション名";
    EXPECT_EQ(Build(LookupWindowId::担当者一覧, SearchMode::OfField("部門コード"), v, c),
              select + from +
                  " WHERE (M担当者.在籍区分 = '0') AND (M担当者.事業所コード = '002' OR M担当者.事業所コード = '000')"
                  " AND M担当者.部門コード = '010' AND M担当者.在籍区分 = '0' ORDER BY M担当者.コード");
    c.operatingOffice = "000";
    c.condition.clear();
    EXPECT_EQ(Build(LookupWindowId::担当者一覧, SearchMode::Negative(), v, Context("O", "000")),
              select +
                  " FROM Mセクション,M部門,M事業所,M担当者 WHERE M事業所.コード(+) = M担当者.事業所コード AND "
                  "M部門.コード(+) = M担当者.部門コード AND Mセクション.コード(+) = M担当者.セクションコード"
                  " AND M担当者.部門コード <> '010' AND M担当者.在籍区分 <> '0' ORDER BY M担当者.コード");
}

TEST(ConditionBuilder, ProductTwoWordSearchNarrowsOrWidens) {
    const std::string select =
        "SELECT TOP 1000 M商品.コード, M商品.名称A, M商品.名称B, M商品.カナ, M商品.商品分類コード, M商品.品区分, "
        "M商品.税抜販売定価, M商品.税抜販売単価, M商品.税抜仕入単価, M商品分類.名称 AS 商品分類名, K品区分.名称 AS 品区分名";
    const std::string from =
        " FROM M商品分類 RIGHT JOIN (K品区分 INNER JOIN M商品 ON K品区分.区分 = M商品.品区分) ON M商品分類.コード = "
        "M商品.商品分類コード";
    SearchValues v;
    v.filters = {{"品区分", 3}, {"在庫管理区分", 2}, {"取扱状況区分", 1}};
    v.filterAll = {{"品区分", 3}, {"在庫管理区分", 2}, {"取扱状況区分", 4}};
    v.fields["名称1"] = "ボルト";
    v.fields["名称2"] = "M8";
    const std::string words = "((M商品.名称A LIKE '%ボルト%' OR M商品.名称B LIKE '%ボルト%') OR (M商品.名称A LIKE '%M8%' OR "
                              "M商品.名称B LIKE '%M8%'))";
    EXPECT_EQ(Build(LookupWindowId::商品一覧, SearchMode::OfField("名称1"), v, Context("A")),
              select + from + " WHERE " + words + " AND M商品.取扱状況区分 = '1' ORDER BY M商品.名称A");
    v.boxes["chb_絞込み"] = true;
    EXPECT_NE(Build(LookupWindowId::商品一覧, SearchMode::OfField("名称1"), v, Context("A"))
                  .find("%ボルト%') AND (M商品.名称A LIKE '%M8%'"),
              std::string::npos);
    v.boxes["chb_絞込み"] = false;
    // 名称2 searches only with 名称1: a search of its own is refused, not "AND ()".
    EXPECT_EQ(Build(LookupWindowId::商品一覧, SearchMode::OfField("名称2"), v, Context("A")), "");
    v.fields["仕入先コード"] = "000005";
    EXPECT_EQ(Build(LookupWindowId::商品一覧, SearchMode::Negative(), v, Context("O")),
              select +
                  " FROM M商品分類, K品区分, M商品 WHERE K品区分.区分 = M商品.品区分 AND M商品分類.コード(+) = "
                  "M商品.商品分類コード"
                  " AND ((M商品.名称A NOT LIKE '%ボルト%' AND M商品.名称B NOT LIKE '%ボルト%') AND (M商品.名称A NOT LIKE "
                  "'%M8%' AND M商品.名称B NOT LIKE '%M8%'))"
                  " AND (M商品.仕入先コード <> '000005' AND M商品.仕入先コード <> '') AND M商品.取扱状況区分 <> '1'"
                  " ORDER BY M商品.コード");
    v.fields["名称1"] = "";
    EXPECT_NE(Build(LookupWindowId::商品一覧, SearchMode::Compound(), v, Context("A"))
                  .find(" WHERE (M商品.名称A LIKE '%M8%' OR M商品.名称B LIKE '%M8%') AND (M商品.仕入先コード = '000005' OR "
                        "M商品.仕入先コード = '')"),
              std::string::npos);
}

TEST(ConditionBuilder, QuotationNumberWindowPutsOfficeBeforeOpenerCondition) {
    SearchValues v;
    v.fields = {{"営業見積日付", "20230515"}, {"得意先コード", "000001"}, {"件名", "改修"}};
    v.boxes["chb_得意先対応先"] = false;
    QueryContext c = Context("A", "001");
    c.condition = "T営業見積.番号基準日付 <> ''";
    const std::string base =
        "SELECT TOP 1000 T営業見積.事業所コード,T営業見積.番号基準日付,T営業見積.営業見積No,T営業見積.営業見積日付,"
        "T営業見積.得意先コード,T営業見積.得意先名称A,T営業見積.タイトル,T営業見積.見積金額合計 FROM T営業見積 WHERE "
        "T営業見積.事業所コード = '001' AND (T営業見積.番号基準日付 <> '')";
    EXPECT_EQ(Build(LookupWindowId::営業見積No一覧, SearchMode::Compound(), v, c),
              base +
                  " AND T営業見積.営業見積日付 >= '20230515' AND T営業見積.タイトル LIKE '%改修%' AND "
                  "T営業見積.得意先コード = '000001' AND T営業見積.得意先対応先区分 = '0'"
                  " ORDER BY T営業見積.営業見積日付 DESC, T営業見積.営業見積No DESC");
    EXPECT_EQ(Build(LookupWindowId::営業見積No一覧, SearchMode::Negative(), v, c),
              base +
                  " AND T営業見積.営業見積日付 < '20230515' AND T営業見積.タイトル NOT LIKE '%改修%' AND "
                  "(T営業見積.得意先コード <> '000001' OR T営業見積.得意先対応先区分 <> '0')"
                  " ORDER BY T営業見積.営業見積日付 DESC, T営業見積.営業見積No DESC");
    EXPECT_TRUE(Build(LookupWindowId::営業見積No一覧, SearchMode::OfField("営業見積日付"), v, c)
                    .ends_with(" ORDER BY T営業見積.営業見積日付, T営業見積.営業見積No "));
    // The inquiry list tests the switch in its own search only, not in the compound one.
    SearchValues i;
    i.fields["得意先コード"] = "000001";
    i.boxes["chb_得意先対応先"] = true;
    const std::string inquiry = Build(LookupWindowId::営業引合No一覧, SearchMode::Compound(), i, Context("A", "000"));
    EXPECT_TRUE(inquiry.ends_with(" FROM T営業引合 WHERE T営業引合.得意先コード = '000001' ORDER BY T営業引合.営業引合日付 "
                                  "DESC, T営業引合.営業引合No DESC"))
        << inquiry;
    EXPECT_NE(Build(LookupWindowId::営業引合No一覧, SearchMode::Negative(), i, Context("A", "000"))
                  .find(" WHERE (T営業引合.得意先コード <> '000001' OR 得意先対応先区分 <> '1')"),
              std::string::npos);
}

TEST(ConditionBuilder, ItemNameWindowEndsWithItemLinesOnly) {
    SearchValues v;
    v.fields = {{"品名1", "ボルト"}, {"品名2", "M8"}};
    v.boxes["chb_絞込み"] = true;
    const std::string sort =
        " ORDER BY T営業見積明細.営業見積日付 DESC,T営業見積明細.事業所コード DESC,T営業見積明細.番号基準日付 "
        "DESC,T営業見積明細.営業見積No DESC";
    const std::string a = Build(LookupWindowId::営業見積品名一覧, SearchMode::OfField("品名1"), v, Context("A"));
    EXPECT_TRUE(a.ends_with(" = T営業見積明細.営業見積No WHERE (T営業見積明細.商品名 LIKE '%ボルト%' AND "
                            "T営業見積明細.商品名 LIKE '%M8%') AND T営業見積明細.行区分 = '1'" +
                            sort))
        << a;
    v.fields["品名2"] = "";
    const std::string o = Build(LookupWindowId::営業見積品名一覧, SearchMode::OfField("品名1"), v, Context("O"));
    EXPECT_TRUE(o.ends_with(" = T営業見積明細.営業見積No AND T営業見積明細.商品名 LIKE '%ボルト%' AND "
                            "T営業見積明細.行区分 = '1'" +
                            sort))
        << o;
}

TEST(ConditionBuilder, HistoryWindowsSearchWithinOrOutsideThePeriod) {
    SearchValues v;
    v.fields["検索文字列"] = "納期";
    const QueryContext c = Context("A");
    EXPECT_EQ(Build(LookupWindowId::営業見積タイトル一覧, SearchMode::Compound(), v, c),
              "SELECT DISTINCT T営業見積.タイトル FROM T営業見積 WHERE T営業見積.営業見積日付 >= '20240215' AND "
              "T営業見積.営業見積日付 <= '20240515' AND T営業見積.タイトル <> '' AND T営業見積.タイトル LIKE '%納期%' ORDER BY "
              "T営業見積.タイトル");
    EXPECT_EQ(Build(LookupWindowId::営業見積タイトル一覧, SearchMode::Negative(), v, c),
              "SELECT DISTINCT T営業見積.タイトル FROM T営業見積 WHERE (T営業見積.営業見積日付 < '20240215' OR "
              "T営業見積.営業見積日付 > '20240515') AND T営業見積.タイトル <> '' AND T営業見積.タイトル NOT LIKE '%納期%' ORDER "
              "BY T営業見積.タイトル");
    v.period = 4;
    EXPECT_EQ(Build(LookupWindowId::見積得意先名一覧, SearchMode::Negative(), v, c),
              "SELECT DISTINCT 得意先名称A FROM T営業見積 WHERE 営業見積日付 <> '' AND 得意先名称A <> '' AND 得意先名称A NOT "
              "LIKE '%納期%' AND 得意先名称B NOT LIKE '%納期%' ORDER BY 得意先名称A");
    v.period = 1;
    EXPECT_EQ(Build(LookupWindowId::見積商品名一覧, SearchMode::Compound(), v, c),
              "SELECT DISTINCT 商品名 FROM T営業見積明細 WHERE 営業見積日付 >= '20230515' AND 営業見積日付 <= '20240515' AND "
              "行区分 = '1' AND 商品名 <> '' AND 見積金額 <> 0 AND 商品名 LIKE '%納期%' ORDER BY 商品名");
    EXPECT_EQ(MonthsBefore("20240531", 3), "20240229");
    EXPECT_EQ(MonthsBefore("20240229", 12), "20230228");
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
