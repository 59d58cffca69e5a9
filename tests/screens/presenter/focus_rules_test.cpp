#include "screen_fixture.h"

#include "screens/entry/focus_rules.h"

namespace velmora::test {
namespace {

constexpr const char* kRequired = "必須項目が未入力です。";

class FocusRulesTest : public ScreenTest {
  protected:
    // Tabs on until the focus reaches the target (or `limit` times); where the focus is then.
    Control TabUntil(const Control& target, int limit = 40) {
        for (int i = 0; i < limit && view.focus != target; ++i) Tab();
        return view.focus;
    }
};

// Leaving the header forward with a required field empty goes to that field;
// the detail area opens only for a complete header.
TEST_P(FocusRulesTest, TheHeaderEndWantsTheRequiredFields) {
    ToRows();
    EXPECT_EQ(view.focus, (Control{"得意先コード"}));
    EXPECT_EQ(view.notice, kRequired);
    EXPECT_FALSE(view.detailEnabled);

    Click({"商品コード", 3});
    EXPECT_EQ(view.focus, (Control{"得意先コード"})) << "rows are refused while the header is incomplete";
    view.detailPage = kPageMemo;  // a tab clicked meanwhile goes back to the page the screen is on
    presenter->PageChosen(kPagePurchase);
    EXPECT_EQ(std::to_string(view.detailPage) + " " + std::to_string(state().DetailPage),
              std::to_string(kPageSales) + " " + std::to_string(kPageSales));

    FillHeader("1");
    Fill({"部門コード"}, "");
    ToRows();
    EXPECT_EQ(view.focus, (Control{"部門コード"}));
}

// Tab and Shift+Tab across the header end and the row ends; Tab out of the
// empty line after the last goes to the tail without making it a line; the
// tail end without changes wraps to the customer.
TEST_P(FocusRulesTest, TabAndShiftTabFollowTheRows) {
    IntoRows();
    EXPECT_TRUE(view.detailEnabled);
    EXPECT_EQ(quotation().LastLine, 0) << "entering the empty line makes it the first line";
    ShiftTab();
    EXPECT_EQ(view.focus, (Control{"見積期限"}));

    Tab();
    Type("ST-00001");
    EXPECT_EQ(TabUntil({"商品コード", 1}), (Control{"商品コード", 1}));
    EXPECT_EQ(quotation().LastLine, 1);
    ShiftTab();
    EXPECT_EQ(view.focus, (Control{"見積金額", 0})) << "without a quantity the amount can be typed";

    TabUntil({"商品コード", 1});
    EXPECT_EQ(TabUntil({"見積伝票備考A"}), (Control{"見積伝票備考A"}));
    EXPECT_EQ(quotation().LastLine, 0) << "the empty line tabbed through is no line";
    ShiftTab();
    EXPECT_EQ(view.focus, (Control{"見積金額", 0})) << "back from the tail to the last line";
    TabUntil({"見積伝票備考A"});
    EXPECT_EQ(quotation().LastLine, 0);

    // With nothing changed since the last save... here changes are pending:
    // the tail end asks to save.
    Tab();
    Tab();
    EXPECT_EQ(view.confirmQuestions.size(), 1u);
    EXPECT_EQ(view.focus, (Control{"得意先コード"})) << "cancelled: back to the first field";
}

TEST_P(FocusRulesTest, TheTailEndWithoutChangesWrapsToTheFirstField) {
    Click({"見積伝票備考B"});
    EXPECT_EQ(view.focus, (Control{"得意先コード"})) << "the tail needs the header";
    WithLines(2);
    state().Changed = false;
    Click({"見積伝票備考B"});
    Tab();
    EXPECT_EQ(view.focus, (Control{"得意先コード"}));
    EXPECT_TRUE(view.confirmQuestions.empty());
}

// The scroll bar: disabled below ten lines, maximum N - 9 from ten lines on,
// 988 at 998 lines.
TEST_P(FocusRulesTest, TheScrollBarFollowsTheLineCount) {
    const std::pair<int, int> cases[] = {{9, -1}, {10, 1}, {500, 491}, {997, 988}, {998, 988}};
    for (auto [lines, maximum] : cases) {
        WithLines(lines);
        EXPECT_EQ((std::pair{view.scrollEnabled, view.scrollEnabled ? view.scrollMax : -1}),
                  (std::pair{maximum >= 0, maximum}))
            << lines;
    }
}

// Tab forward from the last field of row 9 scrolls one line and stays in
// row 9; Shift+Tab from row 0 scrolls back.
TEST_P(FocusRulesTest, TabbingPastRowNineScrolls) {
    WithLines(15);
    ToRows();
    Click({"商品名", 9});
    Tab();
    EXPECT_EQ(view.focus, (Control{"見積数量", 9}));
    TabUntil({"商品コード", 9});
    EXPECT_EQ(state().TopLine, 1);
    EXPECT_EQ(state().CurrentLine, 10);
    EXPECT_EQ(Text({"Lab_行No", 9}), "11");

    Click({"商品コード", 0});
    ShiftTab();
    EXPECT_EQ(state().TopLine, 0);
    EXPECT_EQ(view.focus, (Control{"見積金額", 0})) << "the last field of the line before";
    Click({"商品コード", 0});
    ShiftTab();
    EXPECT_EQ(view.focus, (Control{"見積期限"}));
}

// Rows past the empty line after the last show nothing and take no focus;
// scrolling keeps the focus row on a line.
TEST_P(FocusRulesTest, RowsBeyondTheLinesAreClosed) {
    WithLines(3);
    EXPECT_TRUE((view.enabled[Control{"商品コード", 3}]));
    EXPECT_FALSE((view.enabled[Control{"商品コード", 4}]));
    EXPECT_EQ(Text({"Lab_行No", 4}), "");

    WithLines(20);
    ToRows();
    presenter->Scrolled(30);
    EXPECT_EQ(state().TopLine, 11) << "row 9 shows at most the empty line after the last";
    Click({"商品名", 9});
    quotation().LastLine = 4;  // lines went while the focus stayed in row 9
    presenter->Scrolled(0);
    EXPECT_EQ(state().RowInPanel, 5);
    EXPECT_EQ(view.focus, (Control{"商品名", 5}));
}

// Tab chooses the next field before the field left changes what takes Tab:
// a line kind that makes a subtotal line goes on to its name, a price that
// makes the amount worked out passes the amount by.
TEST_P(FocusRulesTest, TabPassesWhatTheFieldLeftTookOutOfTheTabOrder) {
    IntoRows();
    Click({"行区分", 0});
    Type("2");
    Tab();
    EXPECT_EQ(view.focus, (Control{"商品名", 0}));
    ShiftTab();
    Click({"行区分", 0});
    Type("1");
    Tab();
    EXPECT_EQ(view.focus, (Control{"商品コード", 0})) << "a product line again takes its code";
    Fill({"見積数量", 0}, "2");
    Click({"見積単価", 0});
    Type("100");
    Tab();
    EXPECT_EQ(view.focus, (Control{"商品コード", 1}));
    EXPECT_EQ(Text({"見積金額", 0}), "200");
}

// Tab out of the 998th line goes to the tail: there is never a 999th line.
TEST_P(FocusRulesTest, TheLastPossibleLineEndsInTheTail) {
    WithLines(998);
    ToRows();
    presenter->Scrolled(988);
    Click({"見積単位", 9});
    EXPECT_EQ(state().CurrentLine, 997);
    EXPECT_EQ(TabUntil({"見積伝票備考A"}, 10), (Control{"見積伝票備考A"}));
    EXPECT_EQ(quotation().LastLine, 997);
}

// A line without a kind stops the tail and the save at that line.
TEST_P(FocusRulesTest, ALineWithoutKindIsRequired) {
    WithLines(14);
    quotation().lines[12].行区分 = 0;
    Click({"見積伝票備考A"});
    EXPECT_EQ(view.focus, (Control{"行区分", 2}));
    EXPECT_EQ(state().TopLine, 10);
    EXPECT_EQ(state().CurrentLine, 12);
}

INSTANTIATE_TEST_SUITE_P(Engines, FocusRulesTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
