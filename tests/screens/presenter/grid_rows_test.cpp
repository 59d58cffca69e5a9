#include "screens/entry/grid_rows.h"
#include "lookup_screen.h"

namespace velmora {
inline void PrintTo(Currency c, std::ostream* os) { *os << c.format("#,##0.0000"); }
}  // namespace velmora

namespace velmora::test {
namespace {

constexpr const char* kNotFound = "該当情報がありません。";

class GridRowsTest : public ScreenTest {
protected:
  // n lines with names, the focus in the first row.
  void WithLines(int n, const std::string& customer = "1") {
      ScreenTest::WithLines(n, {}, false, customer);
      ToRows();
    }
};

// CL-00001, the first product of the demo that can be sold: list price 4,030, selling price 3,264.
constexpr const char* kActiveProducts =
    "SELECT コード FROM M商品 WHERE 取扱状況区分 = '1' AND 品区分 < '9' AND 売上課税区分 = '0' AND 売上消費税区分 = '0'"
    " AND 税抜販売定価 > 0 AND 仕入先コード IN (SELECT コード FROM M仕入先 WHERE 取引状況区分 = '1') ORDER BY コード";

// A product code brings the master's name and prices: here the selling
// price, the amount quantity × price cut to yen and the tax of 10 % (how
// the customer's rate and rounding price a line is the pricing tests').
TEST_P(GridRowsTest, AProductIsReadAndPricedForTheCustomer) {
    IntoRows("000001");
    Type("CL-00001");
    Tab();
    Fill({"見積数量", 0}, "2.3");
    const QuotationLine& l = Line(0);
    EXPECT_EQ(Figures({l.見積単価, l.見積金額, l.見積消費税, quotation().header.税抜見積金額合計}),
              "3264|7507|750|7507");
    EXPECT_EQ(Shown({{"商品コード", 0}, {"商品名", 0}, {"見積金額", 0}}),
              "CL-00001|ペーパータオル業務用|7,507");
    EXPECT_EQ(view.notice, "");
    EXPECT_TRUE(state().Changed);
}

// Codes that name no product that can be sold: the code is emptied and the
// notice says so. A product whose supplier no longer trades is taken without
// that supplier, with the same notice.
TEST_P(GridRowsTest, ProductsThatCannotBeTakenAreRefused) {
    const std::string active = Db(kActiveProducts);
    const std::string closedSupplier = Db("SELECT コード FROM M仕入先 WHERE 取引状況区分 = '3' ORDER BY コード");
    ASSERT_FALSE(closedSupplier.empty());
    install->business("UPDATE M商品 SET 仕入先コード = '" + closedSupplier + "' WHERE コード = '" + active + "'");
    struct Case {
        const char* what;
        std::string code;
        bool taken;
    };
    const Case cases[] = {
        {"no such product", "ZZ-99999", false},
        {"its supplier no longer trades", active, true},
    };
    IntoRows();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.code.empty());
        Fill({"商品コード", 0}, c.code);
        const std::string code = c.taken ? c.code : "";
        EXPECT_EQ((Strings{view.notice, Line(0).商品コード, Text({"商品コード", 0}), Line(0).仕入先コード}),
                  (Strings{kNotFound, code, code, ""}));
        EXPECT_EQ(Line(0).見積単価.isZero(), !c.taken);
        Fill({"商品コード", 0}, "");
    }
}

// Supplier codes, typed short, of the supplier master or, with the row's
// switch on, of the counterparty master; unknown ones are refused.
TEST_P(GridRowsTest, ASupplierCodeIsReadFromItsMaster) {
    struct Case {
        const char* what;
        bool counterparty;
        std::string code;
        bool found;
    };
    const Case cases[] = {
        {"a supplier", false, Db("SELECT コード FROM M仕入先 WHERE 取引状況区分 = '1' ORDER BY コード DESC"),
         true},
        {"no such supplier", false, "999999", false},
        {"a counterparty", true,
         Db("SELECT コード FROM M対応先 WHERE 取引状況区分 = '1' ORDER BY コード DESC"), true},
    };
    IntoRows();
    PurchasePage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.code.size(), 6u);
        presenter->CheckToggled({"chb_仕入先対応先", 0}, c.counterparty);
        Fill({"仕入先コード", 0}, std::to_string(std::stoi(c.code)));
        const std::string master = c.counterparty ? "M対応先" : "M仕入先";
        const std::string code = c.found ? c.code : "";
        EXPECT_EQ((Strings{view.notice, Line(0).仕入先コード, Text({"仕入先コード", 0})}),
                  (Strings{c.found ? "" : kNotFound, code, code}));
        if (c.found) {
            EXPECT_EQ(Text({"仕入先名称A", 0}), Db("SELECT 名称A FROM " + master + " WHERE コード = '" + c.code + "'"));
        }
        Fill({"仕入先コード", 0}, "");
    }
}

// A supplier with other tax settings prices the purchase side again: its
// rounding decides the purchase tax of an amount already there.
TEST_P(GridRowsTest, ASupplierWithOtherTaxSettingsPricesThePurchaseSide) {
    IntoRows();
    PurchasePage();
    Fill({"仕入金額", 0}, "1235");
    EXPECT_EQ(Line(0).仕入消費税, Units(123)) << "123.5 truncated without a supplier";

    Fill({"仕入先コード", 0}, "000006");  // rounds half up
    EXPECT_EQ(Line(0).仕入先消費税丸め方法, 5);
    EXPECT_EQ(Figures({Line(0).仕入消費税, quotation().header.仕入消費税合計}), "124|124");
    EXPECT_EQ(Text({"仕入消費税", 0}), "124");
}

// Which fields Tab reaches on a line, by its kind and figures.
TEST_P(GridRowsTest, TabStopsFollowTheLineKind) {
    const std::vector<std::string> fields = {"商品コード", "商品名",   "見積数量",     "見積単位",    "見積単価",
                                             "見積金額",   "見積消費税", "仕入先コード", "仕入先名称A", "仕入数量",
                                             "仕入単位",   "仕入単価", "仕入金額",     "仕入消費税"};
    const std::vector<std::string> ordinary = {"商品コード", "商品名",   "見積数量", "見積単位", "見積単価",
                                               "仕入先コード", "仕入先名称A", "仕入数量", "仕入単位", "仕入単価"};
    auto with = [&](std::vector<std::string> v, std::initializer_list<const char*> more) {
        v.insert(v.end(), more.begin(), more.end());
        return v;
    };
    struct Case {
        const char* what;
        std::int16_t kind;
        int quantity, price, purchaseQuantity, purchasePrice;
        std::vector<std::string> stops;
    };
    const Case cases[] = {
        {"kind 0", 0, 1, 100, 1, 60, {"商品コード", "商品名"}},
        {"ordinary, no figures", 1, 0, 0, 0, 0, with(ordinary, {"見積金額", "仕入金額"})},
        {"ordinary, quantity and price", 1, 2, 100, 2, 60, ordinary},
        {"ordinary, no price", 1, 2, 0, 2, 60, with(ordinary, {"見積金額"})},
        {"ordinary, no purchase price", 1, 2, 100, 2, 0, with(ordinary, {"仕入金額"})},
        {"小計", 2, 0, 0, 0, 0, {"商品名"}},
        {"合計", 5, 0, 0, 0, 0, {"商品名"}},
    };
    FillHeader("1");
    int line = 0;
    for (const Case& c : cases) {
        QuotationLine& l = Line(line++);
        l.行区分 = c.kind;
        l.見積数量 = Units(c.quantity);
        l.見積単価 = Units(c.price);
        l.仕入数量 = Units(c.purchaseQuantity);
        l.仕入単価 = Units(c.purchasePrice);
    }
    quotation().LastLine = line - 1;
    screen().FullRedraw();
    for (int row = 0; row < line; ++row) {
        const Case& c = cases[row];
        SCOPED_TRACE(c.what);
        for (const std::string& f : fields) {
            const bool expected = std::find(c.stops.begin(), c.stops.end(), f) != c.stops.end();
            EXPECT_EQ((view.tabStop[Control{f, row}]), expected) << f;
        }
    }
}

// 行区分 0 ends the lines: Tab from it on the last line (not the first) or
// on the empty line after it goes to the tail, and the line is no line;
// anywhere else the focus comes back to 行区分 until another kind is chosen.
TEST_P(GridRowsTest, LineKindZeroEndsTheLines) {
    struct Case {
        const char* what;
        int lines;
        int top;  // the grid scrolled to this line first
        int row;
        bool toTail;
    };
    const Case cases[] = {
        {"the last line", 3, 0, 2, true},
        {"the empty line after the last", 3, 0, 3, true},
        {"the last of ten lines, scrolled", 10, 1, 8, true},
        {"a line inside", 3, 0, 1, false},
        {"the only line", 1, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restart("");
        WithLines(c.lines);
        presenter->Scrolled(c.top);
        ASSERT_EQ(state().TopLine, c.top);
        Click({"行区分", c.row});
        Type("0");
        Tab();
        const int line = c.top + c.row;
        if (c.toTail) {
            EXPECT_EQ(view.focus, (Control{"見積伝票備考A"}));
            EXPECT_EQ(quotation().LastLine, std::min(line, c.lines) - 1);
            EXPECT_EQ(Line(line).行区分, 1) << "the slot is an empty line again";
            EXPECT_EQ(Line(line).商品名, "");
            EXPECT_EQ(state().TopLine, 0) << "fewer than ten lines fit the rows";
            EXPECT_FALSE(view.scrollEnabled);
            EXPECT_EQ(Text({"Lab_行No", 0}), "1");
        } else {
            EXPECT_EQ(view.focus, (Control{"行区分", c.row}));
            EXPECT_EQ(quotation().LastLine, c.lines - 1);
            EXPECT_EQ(Line(c.row).行区分, 0);
            EXPECT_EQ(Text({"行区分", c.row}), "0");
            Click({"見積伝票備考A"});
            EXPECT_EQ(view.focus, (Control{"行区分", c.row})) << "the tail is refused too";
        }
    }
    // The line's own drop-down is no leaving: the kind can be chosen there.
    Click({"行区分名称", 0});
    EXPECT_EQ(view.focus, (Control{"行区分名称", 0}));
    presenter->ListChosen({"行区分名称", 0}, 1);
    EXPECT_EQ(Line(0).行区分, 1);
    Click({"見積伝票備考A"});
    EXPECT_EQ(view.focus, (Control{"見積伝票備考A"}));
}

// A subtotal kind writes its caption into the row; the subtotal row follows
// every change of the lines above it, also from another row (what it adds up
// is the totals' tests').
TEST_P(GridRowsTest, ASubtotalLineShowsItsCaptionAndFollowsTheLinesAbove) {
    WithLines(2);
    Fill({"見積金額", 0}, "1000");
    Fill({"見積金額", 1}, "250");
    Click({"行区分", 2});
    Type("2");
    Tab();
    EXPECT_EQ(Text({"商品名", 2}), "　　　　　　　　　　　　　　　　　　　　　＊小計＊")
        << "21 ideographic spaces before the caption";
    EXPECT_EQ(Line(2).見積金額, Units(1250));
    EXPECT_EQ((view.listIndex[Control{"行区分名称", 2}]), 2);

    Fill({"見積金額", 0}, "4000");
    EXPECT_EQ(Shown({{"見積金額", 2}, {"見積単価", 2}, {"仕入単価", 2}}), "4,250||")
        << "a caption line has no price";
}

// While taxes are hidden the tax cells show 0 for every line: they cannot be
// entered, and leaving one (or typing into it) never changes the line.
TEST_P(GridRowsTest, HiddenTaxesAreNeverTakenFromTheirCells) {
    IntoRows();
    Type(Db(kActiveProducts));
    Tab();
    Fill({"見積数量", 0}, "3");
    const Currency sellingTax = Line(0).見積消費税;
    const Currency purchaseTax = Line(0).仕入消費税;
    ASSERT_FALSE(sellingTax.isZero());
    ASSERT_FALSE(purchaseTax.isZero());
    const Currency totalTax = quotation().header.見積消費税合計;

    Fill({"消費税表示区分"}, "0");
    for (const char* cell : {"見積消費税", "仕入消費税"}) {
        SCOPED_TRACE(cell);
        EXPECT_EQ(Text({cell, 0}), "0");
        EXPECT_FALSE((view.enabled[Control{cell, 0}])) << "a cell that does not show the line takes no input";
        Click({cell, 0});
        Click({"商品名", 0});
        Click({cell, 0});
        Type("500");
        Click({"商品名", 0});
        EXPECT_EQ(Text({cell, 0}), "0");
    }
    EXPECT_EQ(Line(0).見積消費税, sellingTax);
    EXPECT_EQ(Line(0).仕入消費税, purchaseTax);
    EXPECT_EQ(quotation().header.見積消費税合計, totalTax);

    Fill({"消費税表示区分"}, "1");
    EXPECT_TRUE((view.enabled[Control{"見積消費税", 0}]));
    EXPECT_EQ(Text({"見積消費税", 0}), "979") << "3 × 3,264 at 10 %, truncated";
}

// Amounts and taxes typed by hand are drawn in their colours until the line
// works them out again; the marks move with their lines.
TEST_P(GridRowsTest, HandTypedFiguresAreDrawnInTheirColours) {
    // Per cell of 見積金額, 見積消費税, 仕入金額, 仕入消費税: "A" typed amount, "T" typed tax, "-" its own.
    auto colours = [&](int row) {
        std::string marks;
        for (const char* cell : {"見積金額", "見積消費税", "仕入金額", "仕入消費税"}) {
            const Colour c = view.textColour[Control{cell, row}];
            marks += c == Colour::Rgb(0, 128, 128)     ? "A"
                     : c == Colour::Rgb(128, 128, 255) ? "T"
                     : c.isDefault()                   ? "-"
                                                       : "?";
        }
        return marks;
    };
    // A customer whose document tax does not correct the line taxes.
    const std::string customer = Db("SELECT コード FROM M得意先 WHERE 取引状況区分 = '1' AND 消費税端数調整区分 = '0' "
                                    "AND 消費税算出区分 <> '0' ORDER BY コード");
    ASSERT_FALSE(customer.empty());
    WithLines(3, customer);
    EXPECT_EQ(colours(0), "----");

    Fill({"見積金額", 0}, "1000");  // a lump sum: no quantity, no price
    EXPECT_EQ(colours(0), "A---") << "the tax worked out from the typed amount";
    Fill({"見積消費税", 0}, "77");
    EXPECT_EQ(Line(0).見積消費税, Units(77));
    EXPECT_EQ(colours(0), "AT--");
    Fill({"仕入金額", 0}, "600");
    Fill({"仕入消費税", 0}, "48");
    EXPECT_EQ(colours(0), "ATAT");

    // Another typed amount works the tax out again: the tax mark goes.
    Fill({"見積金額", 0}, "1200");
    EXPECT_EQ(colours(0), "A-AT");

    // The marks travel with the line when a line is inserted above it.
    Click({"商品名", 0});
    Press("btn_行挿入");
    EXPECT_EQ(colours(0), "----");
    EXPECT_EQ(colours(1), "A-AT");
    Press("btn_行クリア");
    EXPECT_EQ(colours(0), "A-AT");
    EXPECT_EQ(colours(1), "----");

    // Quantity and price work both amounts out: every mark goes.
    Fill({"見積単価", 0}, "300");
    Fill({"仕入単価", 0}, "200");
    Fill({"見積数量", 0}, "2");
    EXPECT_EQ(Figures({Line(0).見積金額, Line(0).仕入金額}), "600|400");
    EXPECT_EQ(colours(0), "----");
}

// A line counts as blank only when nothing of it would be stored; what the
// row does not show keeps a trailing line through the save.
TEST_P(GridRowsTest, ALineIsBlankOnlyWhenNothingOfItIsStored) {
    struct Case {
        const char* what;
        void (*change)(QuotationLine&);
        bool blank;
    };
    const Case cases[] = {
        {"cleared", [](QuotationLine&) {}, true},
        {"blanks for a name", [](QuotationLine& l) { l.商品名 = "   "; }, true},
        {"typed marks only", [](QuotationLine& l) { l.sellingAmountTyped = l.purchaseTaxTyped = true; }, true},
        {"memo", [](QuotationLine& l) { l.明細メモ = "要確認"; }, false},
        {"unique line number", [](QuotationLine& l) { l.営業見積固有行No = "003"; }, false},
        {"not counted", [](QuotationLine& l) { l.計区分 = 0; }, false},
        {"approved", [](QuotationLine& l) { l.承認区分 = "1"; }, false},
        {"counterparty switch", [](QuotationLine& l) { l.仕入先対応先区分 = 1; }, false},
        {"product tax kind", [](QuotationLine& l) { l.商品売上消費税区分 = 2; }, false},
        // What a quantity typed and taken back leaves: categories worked out from the header.
        {"categories of a pricing",
         [](QuotationLine& l) { l.売上課税区分 = l.売上消費税区分 = l.仕入課税区分 = l.仕入消費税区分 = 1; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QuotationLine line;
        c.change(line);
        Line(5) = line;
        EXPECT_EQ(screen().grid->IsBlankLine(5), c.blank);
    }
    quotation().ClearLine(5);

    IntoRows();
    Type(Db(kActiveProducts));
    Tab();
    Fill({"見積数量", 0}, "1");
    Line(1).明細メモ = "後日見積";
    Line(1).計区分 = 0;
    quotation().LastLine = 2;  // line 2 stays blank
    screen().FullRedraw();
    const std::string number = Text({"営業見積No"});
    Save();
    const std::string where =
        "T営業見積明細 WHERE 事業所コード = '001' AND 番号基準日付 = '20270331' AND 営業見積No = '" + number + "'";
    EXPECT_EQ(install->count(where), 2) << "the memo line is kept, the blank one dropped; " << view.notice;
    EXPECT_EQ(install->count(where + " AND 明細メモ = '後日見積' AND 計区分 = '0'"), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, GridRowsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

using RowLookupsTest = LookupScreenTest;

TEST_P(RowLookupsTest, EachRowFieldOpensItsWindowWithItsCondition) {
    using W = LookupWindowId;
    struct Case {
        const char* field;
        bool byButton;
        const char* typed;
        bool counterparty;
        W window;
        std::vector<const char*> inQuery;  // the opener's condition as the window's query holds it
    };
    const Case cases[] = {
        {"商品コード", true, "", false, W::商品一覧, {"M商品.品区分 < '9'", "M商品.得意先コード = '000001'"}},
        // A code typed is searched from (the button would read it first).
        {"商品コード", false, "ST-1", false, W::商品一覧,
         {"M商品.品区分 < '9'", "M商品.得意先コード = '000001'", "M商品.コード >= 'ST-1'"}},
        {"商品名", true, "封筒", false, W::営業見積品名一覧, {"T営業見積明細.商品名 LIKE '%封筒%'"}},
        {"商品名", false, "", false, W::見積商品名一覧, {"SELECT DISTINCT 商品名"}},
        {"仕入先コード", true, "3", false, W::仕入先一覧, {"M仕入先.コード >= '000003'"}},
        {"仕入先コード", false, "7", true, W::対応先一覧, {"M対応先.コード >= '000007'"}},
        {"仕入先名称A", false, "", false, W::見積仕入先名一覧, {"SELECT DISTINCT 仕入先名称A"}},
    };
    IntoRows("1");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + (c.byButton ? " button" : " gesture"));
        const Control field{c.field, 0};
        if (FindEntryField(c.field)->page == 2) PurchasePage();
        if (c.field == std::string("仕入先コード")) presenter->CheckToggled({"chb_仕入先対応先", 0}, c.counterparty);
        Click(field);
        Type(c.typed);
        FakeLookupView* window = Open(field, c.byButton);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(opened, c.window);
        EXPECT_FALSE(view.windowEnabled) << "the screen waits for the window";
        // A master window opened again shows its last list: search with what
        // the opener handed over this time.
        window->presenter.onButton(LookupPresenter::kCompoundButton);
        const std::string query = lookups->find(opened)->lastQuery();
        for (const char* part : c.inQuery) EXPECT_NE(query.find(part), std::string::npos) << part << "\n" << query;
        if (c.window == W::営業見積品名一覧) {
            EXPECT_EQ(window->fields["品名1"], c.typed) << "the name typed so far is searched";
            EXPECT_EQ(window->fields["得意先コード"], "000001");
        }
        window->presenter.onEscape();
        EXPECT_TRUE(view.windowEnabled);
        presenter->PageChosen(kPageSales);
    }
}

// A stored line picked by its item name comes into the row it was asked for
// (how the item is taken is the loader's), the quantity typed stays and the
// totals follow; the focus passes the code and rests on the name. Picked
// while the name has the focus, or from another field.
TEST_P(RowLookupsTest, AStoredLineIsTakenByItsItemName) {
    // The list starts with the quotation's customer: one with stored lines.
    const std::string customer =
        Db("SELECT 得意先コード FROM T営業見積明細 WHERE 行区分 = '1' AND 見積単価 > 0 ORDER BY 得意先コード");
    ASSERT_FALSE(customer.empty());
    IntoRows(customer);
    Currency total;
    for (const Control& from : {Control{"商品名", 0}, Control{"見積数量", 1}}) {
        SCOPED_TRACE(from.name);
        const int row = from.row;
        Fill({"見積数量", row}, "3");
        Click(from);
        FakeLookupView* window = Open({"商品名", row}, true);
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(opened, LookupWindowId::営業見積品名一覧);
        // The first listed line with a price.
        int chosen = -1;
        std::string where;
        for (size_t i = 0; i < window->rows.size() && chosen < 0; ++i) {
            const std::string& key = window->rows[i].key;
            ASSERT_GT(key.size(), 20u);
            where = " FROM T営業見積明細 WHERE 事業所コード = '" + key.substr(1, 3) + "' AND 番号基準日付 = '" +
                    key.substr(4, 8) + "' AND 営業見積No = '" + key.substr(12, 8) + "' AND 営業見積固有行No = '" +
                    key.substr(20) + "'";
            if (!Currency::Parse(Db("SELECT 見積単価" + where))->isZero()) chosen = static_cast<int>(i);
        }
        ASSERT_GE(chosen, 0);
        window->presenter.onRowChosen(chosen);

        const QuotationLine& l = Line(row);
        EXPECT_EQ(l.商品名, Db("SELECT 商品名" + where));
        EXPECT_EQ(l.商品コード, Db("SELECT 商品コード" + where));
        EXPECT_EQ(Text({"商品コード", row}), l.商品コード);
        EXPECT_EQ(l.見積数量, Units(3));
        total = *Currency::Add(total, l.見積金額);
        EXPECT_EQ(quotation().header.見積金額合計, total);
        EXPECT_EQ(view.focus, (Control{"商品名", row}));
        EXPECT_TRUE(view.windowEnabled);
        EXPECT_TRUE(state().PickedKey.empty());
        // Leaving the name later reads it as typed.
        const std::string code = l.商品コード;
        Type("別の品名");
        Tab();
        EXPECT_EQ(Line(row).商品名, "別の品名");
        EXPECT_EQ(Line(row).商品コード, code);
    }
}

// The name histories: the chosen text becomes the field's, and the focus
// goes on to the quantity of the same side.
TEST_P(RowLookupsTest, ANameFromAHistoryIsTakenAsTyped) {
    struct Case {
        const char* field;
        LookupWindowId window;
        const char* next;
        std::string QuotationLine::* member;
    };
    const Case cases[] = {
        {"商品名", LookupWindowId::見積商品名一覧, "見積数量", &QuotationLine::商品名},
        {"仕入先名称A", LookupWindowId::見積仕入先名一覧, "仕入数量", &QuotationLine::仕入先名称A},
    };
    // The demo's stored lines carry no supplier names: one quotation gets some.
    install->business("UPDATE T営業見積明細 SET 仕入先名称A = '北斗商事' WHERE 営業見積No = "
                      "(SELECT MIN(営業見積No) FROM T営業見積明細)");
    IntoRows();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        if (FindEntryField(c.field)->page == 2) PurchasePage();
        Click({c.field, 0});
        FakeLookupView* window = Open({c.field, 0}, false);
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(opened, c.window);
        ASSERT_FALSE(window->rows.empty());
        const std::string text = window->rows.back().text();
        window->presenter.onRowChosen(static_cast<int>(window->rows.size()) - 1);
        EXPECT_EQ(Line(0).*c.member, text);
        EXPECT_EQ(Text({c.field, 0}), text);
        EXPECT_EQ(Line(0).商品コード, "") << "a name alone takes no product";
        EXPECT_EQ(view.focus, (Control{c.next, 0}));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, RowLookupsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
