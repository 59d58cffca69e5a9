#include "screen_fixture.h"

#include "quotation/load.h"

namespace velmora::test {
namespace {

using HeaderTest = ScreenTest;

constexpr const char* kNotFound = "該当情報がありません。";

// Each code field against the demo masters, typed short, in the order a
// user fills the header: what the field shows afterwards and the notice.
TEST_P(HeaderTest, CodeFieldsReadTheirMasters) {
    struct Step {
        const char* box;  // a counterparty switch to set first, or ""
        bool boxOn;
        const char* field;
        const char* typed;
        const char* shown;
        const char* notice;
    };
    const Step steps[] = {
        {"", false, "得意先コード", "1", "000001", ""},
        {"", false, "得意先コード", "37", "000001", kNotFound},  // closed ('3')
        {"", false, "得意先御担当者コード", "2", "00002", ""},
        {"", false, "担当者コード", "101", "00101", ""},
        {"", false, "部門コード", "2", "002", ""},
        {"", false, "セクションコード", "21", "021", ""},
        {"", false, "納品先コード", "4", "000004", ""},
        {"chb_納品先対応先", true, "納品先コード", "13", "000004", kNotFound},  // closed counterparty
        {"chb_納品先対応先", true, "納品先コード", "3", "000003", ""},
        {"chb_得意先対応先", true, "得意先コード", "13", "000001", kNotFound},
        {"chb_得意先対応先", true, "得意先コード", "2", "000002", ""},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.field) + " " + s.typed);
        if (*s.box) presenter->CheckToggled({s.box}, s.boxOn);
        Fill({s.field}, s.typed);
        EXPECT_EQ(Text({s.field}), s.shown);
        EXPECT_EQ(view.notice, s.notice);
    }
    const QuotationHeader& h = quotation().header;
    EXPECT_EQ(h.得意先対応先区分, 1);
    EXPECT_EQ(h.得意先コード, "000002");
    EXPECT_EQ(h.納品先対応先区分, 1);
    EXPECT_EQ(Text({"部門名"}), h.部門名);
    EXPECT_EQ(view.textColour[Control{"btn_得意先コード"}], Colour::Rgb(192, 64, 0));
    EXPECT_TRUE(state().Changed);
}

// A customer brings its staff member and its tax settings (a calculation of
// 3 is held as 2: which columns it brings is the master read's) and they are
// drawn; typing the same code again reads nothing, also after switching the
// customer to a counterparty: the names stay and nothing is reported.
TEST_P(HeaderTest, ACustomerBringsItsStaffAndTaxSettings) {
    Fill({"得意先コード"}, "6");
    const QuotationHeader& h = quotation().header;
    EXPECT_EQ(Text({"担当者コード"}), "00201");
    EXPECT_EQ(Text({"得意先消費税算出区分"}), "2");
    EXPECT_EQ(view.listIndex[Control{"得意先消費税算出区分名称"}], 2);

    const long long calls = view.calls;
    Fill({"得意先コード"}, "000006");
    EXPECT_EQ(view.calls, calls) << "the same code again is not read";

    Fill({"得意先コード"}, "1");
    const std::string name = Text({"得意先名称A"});
    ASSERT_FALSE(name.empty());
    presenter->CheckToggled({"chb_得意先対応先"}, true);
    const long long callsAfterSwitch = view.calls;
    Fill({"得意先コード"}, "000001");
    EXPECT_EQ(view.calls, callsAfterSwitch) << "no master read, nothing drawn";
    EXPECT_EQ(h.得意先対応先区分, 1);
    EXPECT_EQ((Strings{h.得意先コード, h.得意先名称A}), (Strings{"000001", name}));
    EXPECT_EQ(view.notice, "");
}

// The settings and their lists stay in step and a typed code beyond the
// list is refused (the line history's tests see a change price the lines
// again).
TEST_P(HeaderTest, SettingsFollowTheirLists) {
    FillHeader("1");
    Fill({"消費税表示区分"}, "0");
    EXPECT_EQ(view.listIndex[Control{"消費税表示区分名称"}], 0);
    presenter->ListChosen({"消費税表示区分名称"}, 1);
    EXPECT_EQ(Text({"消費税表示区分"}), "1");

    Fill({"得意先消費税算出区分"}, "7");
    EXPECT_EQ(view.notice, kNotFound);
    EXPECT_EQ(Text({"得意先消費税算出区分"}), "2");
}

// The quotation date: within the numbering period the number stays; the
// validity is proposed 14 days on in the era form; the tax date follows;
// the date is drawn as corrected (how parts are corrected is the date
// library's); a part that is no date is refused and the stored one shown.
TEST_P(HeaderTest, TheDateKeepsItsNumberWithinThePeriod) {
    const std::string number = Text({"営業見積No"});
    Fill({"営業見積日付日"}, "20");
    EXPECT_EQ(quotation().header.営業見積日付, "20261220");
    EXPECT_EQ(Shown({{"営業見積No"}, {"見積期限"}, {"見積納期日付日"}}),
              number + "|令和 09 年 01 月 03 日|20");

    Fill({"営業見積日付月"}, "2");
    Fill({"営業見積日付日"}, "30");
    EXPECT_EQ(quotation().header.営業見積日付, "20260228") << "corrected to the month's last day";
    EXPECT_EQ(Text({"営業見積日付日"}), "28");

    Fill({"営業見積日付年"}, "");
    EXPECT_EQ(Text({"営業見積日付年"}), "2026");
    EXPECT_EQ(view.notice, "日付を正しく入力してください。");
}

// A number typed into 営業見積No opens the stored quotation; an unknown one
// keeps the new quotation and says so.
TEST_P(HeaderTest, ATypedNumberOpensTheStoredQuotation) {
    const std::string stored = FirstStored();
    ASSERT_FALSE(stored.empty());
    Fill({"営業見積No"}, std::to_string(std::stoi(stored)));
    EXPECT_FALSE(state().NewEntry);
    EXPECT_FALSE(state().Changed);
    EXPECT_EQ(Shown({{"営業見積No"}, {"得意先コード"}, {"Lab_行No", 0}}),
              stored + "|" + quotation().header.得意先コード + "|1");
    EXPECT_GE(quotation().LastLine, 0);

    Restart("");
    Fill({"営業見積No"}, "99999990");
    EXPECT_TRUE(state().NewEntry);
    EXPECT_EQ(view.notice, kNoticeNewNumber);
}

// Clearing the number of a stored quotation puts the stored number back: a
// save then changes that quotation; no quotation appears under another number.
TEST_P(HeaderTest, AStoredQuotationKeepsItsNumberWhenItIsCleared) {
    const std::string stored = FirstStored();
    const std::string where =
        " WHERE 事業所コード = '001' AND 番号基準日付 = '20270331' AND 営業見積No = '" + stored + "'";
    const long long quotations = install->count("T営業見積");
    OpenStored(stored);

    Fill({"営業見積No"}, "");
    EXPECT_EQ((Strings{Text({"営業見積No"}), quotation().header.営業見積No}), (Strings{stored, stored}));
    EXPECT_EQ(view.notice, kNoticeNumberKept);
    EXPECT_FALSE(state().NewEntry);
    EXPECT_FALSE(state().Changed) << "nothing was changed";

    Fill({"タイトル"}, "番号を消した見積");
    Save();
    EXPECT_EQ(view.confirmQuestions.back(), "修正します。よろしいですか？");
    EXPECT_EQ(install->value("SELECT タイトル FROM T営業見積" + where), "番号を消した見積") << view.notice;
    EXPECT_EQ(install->count("T営業見積"), quotations) << "no quotation under another number";
}

// Copying an earlier quotation takes its lines as new ones.
TEST_P(HeaderTest, AReferenceQuotationIsCopied) {
    const std::string stored = FirstStored();
    const long long lines = install->count("T営業見積明細 WHERE 事業所コード = '001' AND 番号基準日付 = '20270331' "
                                           "AND 営業見積No = '" + stored + "'");
    Fill({"参照営業見積No"}, stored);
    EXPECT_TRUE(state().NewEntry);
    EXPECT_TRUE(state().Changed);
    EXPECT_EQ(quotation().LastLine + 1, lines);
    EXPECT_FALSE(Text({"得意先コード"}).empty());

    Fill({"参照営業引合No"}, "99999999");
    EXPECT_EQ(view.notice, kNotFound);
}

// Names longer than their field tell how many characters are too many; left
// too long, the text is cut to fit, and the notice goes with the overflow.
TEST_P(HeaderTest, TypingPastTheByteLimitIsReported) {
    Click({"タイトル"});
    Type(std::string(60, 'a') + "件名");  // 64 bytes in a field of 60
    EXPECT_EQ(view.notice, "2文字オーバーです。");
    Tab();
    EXPECT_EQ(quotation().header.タイトル, std::string(60, 'a'));
    EXPECT_EQ(view.notice, "");
}

INSTANTIATE_TEST_SUITE_P(Engines, HeaderTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
