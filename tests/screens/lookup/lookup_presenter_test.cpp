#include "screens/lookup/lookup_presenter.h"

#include <gtest/gtest.h>

#include "lookup_fakes.h"

namespace velmora {
namespace {

using test::FakeHost;
using test::FakeLookupData;
using test::FakeLookupView;
using test::FakeViewFactory;

const std::vector<std::string> kCustomerColumns = {"コード", "略称", "カナ", "電話", "郵便番号", "住所A", "住所B", "担当者名"};

FakeLookupData::Rows Customers(int count) {
    FakeLookupData::Rows rows;
    for (int i = 1; i <= count; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "%06d", i);
        rows.push_back({code, "略" + std::to_string(i), "ｶﾅ", "03-0000", "100-0001", "東京", "", "山田"});
    }
    return rows;
}

class LookupFramework : public testing::Test {
protected:
    LookupFramework() : windows(session, data, views, [] { return std::string("20240515"); }) {
        session.databaseKind = "A";
        data.answer("SELECT * FROM K取引状況区分", {"区分", "名称"}, {{"0", "取引中"}, {"1", "通常"}, {"2", "休止"}, {"3", "終了"}});
        data.answer("SELECT TOP 1000 M得意先", kCustomerColumns, Customers(3));
        data.answer("SELECT 氏名 FROM M担当者 WHERE コード = '00007'", {"氏名"}, {{"佐藤"}});
        data.answer("SELECT 略称 FROM M得意先 WHERE コード = '000002'", {"略称"}, {{"略2"}});
        entry.controls = {{"得意先コード", ""}, {"得意先名称A", ""}, {"担当者コード", ""}, {"営業見積No", ""}};
    }
    FakeLookupView& view(LookupWindowId id) { return *views.views.at(id); }
    LookupPresenter& presenter(LookupWindowId id) { return *windows.find(id); }
    // The customer list opened from the entry screen's customer code.
    FakeLookupView& OpenCustomers(const std::string& condition = "") {
        windows.open(LookupWindowId::得意先一覧, entry, condition, "得意先コード", "得意先名称A");
        return view(LookupWindowId::得意先一覧);
    }
    std::string CustomerQuery() { return presenter(LookupWindowId::得意先一覧).lastQuery(); }

    LookupSession session;
    FakeLookupData data;
    FakeViewFactory views;
    LookupWindows windows;
    FakeHost entry;
};

// The line under the list: the row limit reached, or nothing found.
TEST_F(LookupFramework, NoticeTellsOfTheRowLimitAndOfASearchThatFoundNothing) {
    struct Case {
        int rows;
        size_t shown;
        const char* notice;
    };
    const Case cases[] = {{1000, 1000, LookupPresenter::kNoticeRowLimit},
                          {999, 999, ""},
                          {1001, 1000, LookupPresenter::kNoticeRowLimit},
                          {0, 0, "該当情報がありません。"}};
    FakeLookupView& v = OpenCustomers();
    for (const auto& c : cases) {
        data.answer("SELECT TOP 1000 M得意先", kCustomerColumns, Customers(c.rows));
        v.presenter.onButton("btn_複合検索");
        EXPECT_EQ(v.rows.size(), c.shown) << c.rows;
        EXPECT_EQ(v.notice, c.notice) << c.rows;
    }
}

TEST_F(LookupFramework, StatusFiltersComeFromTheKTableWithAllLast) {
    FakeLookupView& v = OpenCustomers("M得意先.取引状況区分 = '2'");
    EXPECT_EQ(v.filterNames["取引状況区分"], (std::vector<std::string>{"取引中", "通常", "休止", "終了", "全て"}));
    // Taken out of the opener's condition into the filter.
    EXPECT_EQ(v.filters["取引状況区分"], 2);
    EXPECT_EQ(windows.context().LookupCondition, "");
    v.presenter.onFilterChanged("取引状況区分", 9);  // beyond "全て"
    EXPECT_EQ(v.filters["取引状況区分"], 4);
}

TEST_F(LookupFramework, ACodeTypedAsTwelveIsStoredAndShownZeroPadded) {
    FakeLookupView& v = OpenCustomers();
    // Pasted with a NUL between the digits: the NUL goes, the digits stay.
    v.type("コード", std::string("1\0"
                                 "2",
                                 3));
    EXPECT_TRUE(v.buttons["btn_コード検索"]);
    v.leave("コード");
    EXPECT_EQ(v.fields["コード"], "000012");
    v.presenter.onButton("btn_コード検索");
    EXPECT_NE(CustomerQuery().find("M得意先.コード >= '000012'"), std::string::npos);
    EXPECT_EQ(v.focus.back(), "List得意先");
}

TEST_F(LookupFramework, SearchButtonsFollowTheirFields) {
    FakeLookupView& v = OpenCustomers();
    EXPECT_FALSE(v.buttons["btn_カナ検索"]);
    EXPECT_TRUE(v.buttons["btn_複合検索"]);
    v.type("カナ", "  ");
    EXPECT_FALSE(v.buttons["btn_カナ検索"]);
    v.type("カナ", "ｱ");
    EXPECT_TRUE(v.buttons["btn_カナ検索"]);
    v.type("電話", "TEL-");
    EXPECT_FALSE(v.buttons["btn_電話番号検索"]);
    v.type("電話", "TEL 3");
    EXPECT_TRUE(v.buttons["btn_電話番号検索"]);
    // Two pasted lines are joined by a blank, which the postcode shows as its hyphen.
    v.type("郵便番号", "765\n4321");
    v.leave("郵便番号");
    EXPECT_EQ(v.fields["郵便番号"], "765-4321");
}

TEST_F(LookupFramework, ReopeningAMasterWindowKeepsItsStateAndClearEmptiesTheOpenersCondition) {
    FakeLookupView& v = OpenCustomers();
    // Kana typed through an input method search as the stored half-width kana.
    v.type("カナ", "やま");
    v.presenter.onButton("btn_カナ検索");
    v.presenter.onRowChosen(1);
    EXPECT_FALSE(v.visible);
    EXPECT_EQ(entry.controls["得意先コード"], "000002");
    const int searches = data.count("SELECT TOP 1000 M得意先");

    OpenCustomers("M得意先.コード >= '000100'");
    EXPECT_EQ(views.created[LookupWindowId::得意先一覧], 1);
    EXPECT_TRUE(v.visible);
    EXPECT_EQ(v.fields["カナ"], "ﾔﾏ");
    EXPECT_EQ(v.rows.size(), 3u);
    EXPECT_EQ(data.count("SELECT TOP 1000 M得意先"), searches);
    EXPECT_EQ(presenter(LookupWindowId::得意先一覧).mode(), SearchMode::OfField("カナ"));
    // The new opener's condition is not taken apart again but restricts the next search.
    v.presenter.onButton("btn_複合検索");
    EXPECT_NE(CustomerQuery().find(" WHERE (M得意先.コード >= '000100')"), std::string::npos);

    v.presenter.onButton("btn_画面クリア");
    EXPECT_EQ(windows.context().LookupCondition, "");
    EXPECT_EQ(v.fields["カナ"], "");
    EXPECT_EQ(presenter(LookupWindowId::得意先一覧).mode(), SearchMode::Compound());
    EXPECT_EQ(CustomerQuery().find("000100"), std::string::npos);
    EXPECT_EQ(v.focus.back(), "List得意先");

    // A window that is not a master starts afresh every time.
    windows.open(LookupWindowId::営業見積タイトル一覧, entry, "", "タイトル", "見積条件");
    views.views[LookupWindowId::営業見積タイトル一覧]->presenter.onEscape();
    windows.open(LookupWindowId::営業見積タイトル一覧, entry, "", "タイトル", "見積条件");
    EXPECT_EQ(views.created[LookupWindowId::営業見積タイトル一覧], 2);
}

TEST_F(LookupFramework, StaffPrefillLimitsTheCustomerListUntilCleared) {
    entry.controls["担当者コード"] = "00007";
    FakeLookupView& v = OpenCustomers();
    EXPECT_EQ(v.fields["担当者コード"], "00007");
    EXPECT_EQ(v.fields["担当者名"], "佐藤");
    EXPECT_NE(CustomerQuery().find(" WHERE M得意先.担当者コード = '00007'"), std::string::npos);
    v.type("担当者コード", "");
    v.leave("担当者コード");
    EXPECT_EQ(v.fields["担当者名"], "");
    v.presenter.onButton("btn_複合検索");
    EXPECT_EQ(CustomerQuery().find("担当者コード = '"), std::string::npos);
}

TEST_F(LookupFramework, ChoiceHandsTheCodeToTheEntryScreenAndMovesTheFocusThroughIt) {
    entry.enabled = true;
    entry.replacements["得意先名称A"] = "得意先名称B";
    FakeLookupView& v = OpenCustomers("M得意先.コード >= '000001'");
    EXPECT_FALSE(entry.enabled);
    EXPECT_EQ(v.fields["コード"], "000001");
    v.presenter.onRowChosen(-1);  // nothing selected: nothing happens
    EXPECT_TRUE(v.visible);
    v.presenter.onRowChosen(2);
    EXPECT_EQ(entry.controls["得意先コード"], "000003");
    EXPECT_TRUE(entry.enabled);
    EXPECT_EQ(entry.resolved, std::vector<std::string>{"得意先名称A"});
    EXPECT_EQ(entry.focus, (std::vector<std::string>{"得意先コード", "得意先名称B"}));
    EXPECT_EQ(windows.context().LookupCondition, "");
}

TEST_F(LookupFramework, EscapeReturnsLikeTheReturnButton) {
    FakeLookupView& v = OpenCustomers("M得意先.取引状況区分 <> '3'");
    v.type("カナ", "ｱ");
    v.presenter.onEscape();
    EXPECT_FALSE(v.visible);
    EXPECT_TRUE(entry.enabled);
    EXPECT_EQ(entry.controls["得意先コード"], "");
    EXPECT_EQ(entry.focus, std::vector<std::string>{"得意先コード"});
    EXPECT_EQ(windows.context().LookupCondition, "");

    // A name-history window leaves the opener's condition as it was.
    windows.open(LookupWindowId::見積得意先名一覧, entry, "", "得意先名称A", "得意先名称B");
    windows.context().LookupCondition = "kept";
    views.views[LookupWindowId::見積得意先名一覧]->presenter.onEscape();
    EXPECT_EQ(windows.context().LookupCondition, "kept");
}

TEST_F(LookupFramework, ColumnSortDirectionRules) {
    FakeLookupView& v = OpenCustomers();
    LookupPresenter& p = presenter(LookupWindowId::得意先一覧);
    // The presenter's sort, the window's arrow and the column's cells: "1 up (1 up): 略1 略2 略3".
    auto sorted = [&](size_t column) {
        std::string text = std::to_string(p.sortColumn()) + (p.sortAscending() ? " up (" : " down (") +
                           std::to_string(v.sortColumn) + (v.sortAscending ? " up):" : " down):");
        for (const auto& row : v.rows) text += " " + row.cells[column];
        return text;
    };
    EXPECT_EQ(sorted(0), "0 up (0 up): 000001 000002 000003");
    p.onColumnClicked(0);  // the first column again: descending
    EXPECT_EQ(sorted(0), "0 down (0 down): 000003 000002 000001");
    p.onColumnClicked(1);  // another column keeps the direction
    EXPECT_EQ(sorted(1), "1 down (1 down): 略3 略2 略1");
    p.onColumnClicked(1);
    EXPECT_EQ(sorted(1), "1 up (1 up): 略1 略2 略3");
    p.onColumnClicked(2);  // kept ascending too
    EXPECT_EQ(sorted(2), "2 up (2 up): 山田 山田 山田");
}

TEST_F(LookupFramework, NestedChoiceReEnablesTheCallingWindowAndFocusesItsField) {
    data.answer("SELECT TOP 1000 T営業見積", {"事業所コード", "番号基準日付", "営業見積No", "営業見積日付", "得意先コード",
                                              "得意先名称A", "タイトル", "見積金額合計"},
                {{"001", "20240401", "00000009", "20240410", "000002", "略2", "件", "1234567"}});
    windows.open(LookupWindowId::営業見積No一覧, entry,
                 "T営業見積.番号基準日付 <> '' AND T営業見積.営業見積日付 >= '20230515'", "営業見積No", "得意先名称A");
    FakeLookupView& numbers = view(LookupWindowId::営業見積No一覧);
    EXPECT_EQ(numbers.fields["営業見積日付"], "20230515");
    EXPECT_EQ(windows.context().LookupCondition, "T営業見積.番号基準日付 <> ''");

    // A double-click opens the nested window only in the field that has the focus.
    numbers.presenter.onFieldGesture("得意先コード");
    EXPECT_EQ(views.views.count(LookupWindowId::得意先一覧), 0u);
    numbers.presenter.onFieldEntered("得意先コード");
    numbers.presenter.onFieldGesture("得意先コード");
    FakeLookupView& customers = view(LookupWindowId::得意先一覧);
    EXPECT_TRUE(customers.visible);
    EXPECT_FALSE(numbers.enabled);
    EXPECT_TRUE(windows.context().LookupNested);
    EXPECT_EQ(windows.context().LookupCondition, "");

    const size_t focusBefore = numbers.focus.size();
    customers.presenter.onRowChosen(1);
    EXPECT_TRUE(numbers.enabled);
    EXPECT_FALSE(entry.enabled);
    EXPECT_TRUE(entry.focus.empty());
    EXPECT_EQ(std::vector<std::string>(numbers.focus.begin() + static_cast<long>(focusBefore), numbers.focus.end()),
              (std::vector<std::string>{"得意先コード", "btn_得意先コード検索"}));
    // Leaving the code field for the button committed it and read its name.
    EXPECT_EQ(numbers.fields["得意先コード"], "000002");
    EXPECT_EQ(numbers.fields["得意先略称"], "略2");
    EXPECT_TRUE(numbers.buttons["btn_得意先コード検索"]);
    // The context is the entry screen's again, with the number window's condition.
    EXPECT_EQ(windows.context().LookupCondition, "T営業見積.番号基準日付 <> ''");
    EXPECT_FALSE(windows.context().LookupNested);
    EXPECT_EQ(windows.context().LookupCaller, nullptr);
    EXPECT_EQ(windows.context().LookupTarget, (ControlRef{&entry, "営業見積No"}));
    EXPECT_EQ(windows.context().LookupNextFocus, (ControlRef{&entry, "得意先名称A"}));

    // The number window hands back its number and the document key.
    numbers.presenter.onRowChosen(0);
    EXPECT_EQ(entry.controls["営業見積No"], "00000009");
    EXPECT_EQ(windows.context().LookupCondition, "C00120240401" "00000009");
    EXPECT_TRUE(entry.enabled);
}

TEST_F(LookupFramework, ASecondNestingLevelHandsBackToItsOwnCaller) {
    data.answer("SELECT TOP 1000 M商品", {"コード"}, {{"B-100"}});
    data.answer("SELECT TOP 1000 M担当者", {"コード"}, {{"00007"}});
    windows.open(LookupWindowId::商品一覧, entry, "", "商品コード", "商品名");
    FakeLookupView& products = view(LookupWindowId::商品一覧);
    products.presenter.onFieldEntered("得意先コード");
    products.presenter.onFieldGesture("得意先コード");
    FakeLookupView& customers = view(LookupWindowId::得意先一覧);
    customers.presenter.onButton("btn_担当者コード");
    FakeLookupView& staff = view(LookupWindowId::担当者一覧);
    EXPECT_FALSE(customers.enabled);
    staff.presenter.onRowChosen(0);
    EXPECT_TRUE(customers.enabled);
    EXPECT_EQ(customers.fields["担当者コード"], "00007");
    EXPECT_EQ(customers.fields["担当者名"], "佐藤");
    EXPECT_TRUE(windows.context().LookupNested);
    customers.presenter.onRowChosen(0);
    EXPECT_TRUE(products.enabled);
    EXPECT_FALSE(entry.enabled);
    EXPECT_EQ(products.fields["得意先コード"], "000001");
    EXPECT_FALSE(windows.context().LookupNested);
    products.presenter.onEscape();
    EXPECT_TRUE(entry.enabled);
}

TEST_F(LookupFramework, CounterpartySwitchChangesCaptionNameSourceAndNestedWindow) {
    data.answer("SELECT 略称 FROM M対応先 WHERE コード = '000002'", {"略称"}, {{"対応2"}});
    windows.open(LookupWindowId::営業見積No一覧, entry, "T営業見積.得意先対応先区分 = '1' AND T営業見積.得意先コード = '000002'",
                 "営業見積No", "得意先名称A");
    FakeLookupView& v = view(LookupWindowId::営業見積No一覧);
    EXPECT_TRUE(v.boxes["chb_得意先対応先"]);
    EXPECT_EQ(v.captions["btn_得意先コード検索"], "対応先検索");
    EXPECT_EQ(v.fields["得意先略称"], "対応2");
    v.presenter.onFieldEntered("得意先コード");
    v.presenter.onFieldGesture("得意先コード");
    EXPECT_EQ(views.views.count(LookupWindowId::対応先一覧), 1u);
    views.views[LookupWindowId::対応先一覧]->presenter.onEscape();
    v.presenter.onCheckToggled("chb_得意先対応先", false);
    EXPECT_EQ(v.captions["btn_得意先コード検索"], "得意先検索");
}

TEST_F(LookupFramework, ItemNameWindowTakesTheLineTextAndTheEntryCustomer) {
    entry.controls["得意先コード"] = "000002";
    windows.open(LookupWindowId::営業見積品名一覧, entry, "ボルト", "商品名", "見積数量");
    FakeLookupView& v = view(LookupWindowId::営業見積品名一覧);
    EXPECT_EQ(v.fields["品名1"], "ボルト");
    EXPECT_EQ(v.fields["得意先コード"], "000002");
    EXPECT_EQ(v.fields["得意先略称"], "略2");
    EXPECT_EQ(windows.context().LookupCondition, "");
    EXPECT_TRUE(v.buttons["btn_品名検索"]);
    EXPECT_FALSE(v.buttons["btn_営業見積日付検索"]);
}

TEST_F(LookupFramework, HistoryClearResetsTextAndPeriodAndKeepsTheCondition) {
    windows.open(LookupWindowId::営業見積条件一覧, entry, "", "見積条件", "見積納期");
    FakeLookupView& v = view(LookupWindowId::営業見積条件一覧);
    EXPECT_EQ(v.period, 0);
    v.type("検索文字列", "現金");
    v.presenter.onPeriodChanged(4);
    v.presenter.onButton("btn_否定検索");
    EXPECT_NE(v.presenter.lastQuery().find("WHERE T営業見積.営業見積日付 <> '' AND T営業見積.見積条件 <> '' AND "
                                           "T営業見積.見積条件 NOT LIKE '%現金%'"),
              std::string::npos);
    windows.context().LookupCondition = "x";
    v.presenter.onButton("btn_画面クリア");
    EXPECT_EQ(v.fields["検索文字列"], "");
    EXPECT_EQ(v.period, 0);
    EXPECT_EQ(windows.context().LookupCondition, "x");
    EXPECT_NE(v.presenter.lastQuery().find(">= '20240215'"), std::string::npos);
}

TEST_F(LookupFramework, FailedOrUnsupportedQueryLeavesTheListEmpty) {
    session.databaseKind = "X";
    const FakeLookupView& v = OpenCustomers();
    EXPECT_TRUE(v.rows.empty());
    EXPECT_EQ(v.notice, "") << "no search ran";
    EXPECT_EQ(data.count("SELECT TOP 1000"), 0);
}

}  // namespace
}  // namespace velmora
