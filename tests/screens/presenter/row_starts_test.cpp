#include <filesystem>
#include <fstream>

#include "screen_fixture.h"
#include "screens/entry/entry_fields.h"

namespace velmora::test {
namespace {

constexpr Colour kRunning = Colour::Rgb(255, 128, 128);
constexpr const char* kRowPanels[] = {"bak_dtla", "bak_dtlb", "bak_dtlc"};

// Remembers the colours of the row panels while a started program is
// waited for.
class WatchingView : public RecordingEntryView {
public:
    void Pause(int) override {
        if (!duringWait.empty()) return;
        for (const auto& [control, colour] : backColour)
            if (control.name.rfind("bak_dtl", 0) == 0) duringWait[control] = colour;
    }
    std::map<Control, Colour> duringWait;
};

// The sibling programs a row starts, played by the stand-in installed under
// every sibling's name: it records its command line and answers with the
// contents of prgbin/<name>.reply.
class RowStartsTest : public ScreenTest {
protected:
  RowStartsTest() { startOnSystemClock = true; }
  // Clicks the panel; the colours of the row panels while the program ran.
  std::map<Control, Colour> ClickPanel(const Control& panel) {
      WatchingView watching;
      static_cast<RecordingEntryView&>(watching) = view;
      screen().view = &watching;
      presenter->PanelClicked(panel);
      screen().view = &view;
      view = watching;
      return watching.duringWait;
  }
    void ExpectPainted(const std::map<Control, Colour>& duringWait, int row) {
        for (const char* panel : kRowPanels) {
            const Control c{panel, row};
            EXPECT_TRUE(duringWait.count(c) && duringWait.at(c) == kRunning) << panel << " while it ran";
            EXPECT_TRUE(view.backColour.count(c) && view.backColour[c].isDefault()) << panel << " afterwards";
        }
        EXPECT_TRUE(view.windowEnabled);
        EXPECT_FALSE(state().LinkWaiting);
    }
};

// The product registration for a line without a code gets the name in two
// fields of 15 characters and the rest, and the unit; the code it returns is
// read and the line priced. With a code it gets the code.
TEST_P(RowStartsTest, TheProductRegistrationGetsTheLineAndReturnsItsCode) {
    const std::string code =
        Db("SELECT コード FROM M商品 WHERE 取扱状況区分 = '1' AND 品区分 < '9' AND 税抜販売単価 > 0 ORDER BY コード");
    ASSERT_FALSE(code.empty());
    IntoRows();
    Fill({"商品名", 0}, "あいうえおかきくけこさしすせそたちつてと");
    Fill({"見積数量", 0}, "2");
    Fill({"見積単位", 0}, "箱");
    Reply("Lorrima", code);
    ExpectPainted(ClickPanel({"bak_dtlb", 0}), 0);
    const std::string fromTheLine = "0010000000000000000,あいうえおかきくけこさしすせそ,たちつてと,箱,";
    EXPECT_EQ(Starts("Lorrima"), std::vector<std::string>{fromTheLine});
    const QuotationLine& l = Line(0);
    EXPECT_EQ(l.商品コード, code);
    EXPECT_EQ(Text({"商品コード", 0}), code);
    EXPECT_EQ(l.商品名, Db("SELECT 名称A FROM M商品 WHERE コード = '" + code + "'") +
                            Db("SELECT 名称B FROM M商品 WHERE コード = '" + code + "'"));
    EXPECT_FALSE(l.見積単価.isZero()) << "priced from the product";
    EXPECT_EQ(l.見積数量, Units(2));
    EXPECT_EQ(quotation().header.見積金額合計, l.見積金額);
    EXPECT_FALSE(l.見積金額.isZero());

    // A line with a code: the code, padded; a code coming back does not
    // replace it.
    Reply("Lorrima", "SOMETHING-ELSE");
    ClickPanel({"bak_dtlb", 0});
    EXPECT_EQ(Starts("Lorrima"),
              (std::vector<std::string>{fromTheLine, "001" + code + std::string(16 - code.size(), ' ')}));
    EXPECT_EQ(Line(0).商品コード, code);
}

// The supplier panel starts the supplier registration, or the counterparty
// registration for a counterparty; a code coming back into an empty code
// field is read.
TEST_P(RowStartsTest, TheSupplierPanelStartsTheRegistrationOfTheLineSupplier) {
    const std::string returned = Db("SELECT コード FROM M仕入先 WHERE 取引状況区分 = '1' ORDER BY コード DESC");
    struct Case {
        const char* what;
        bool counterparty;
        const char* code;
        const char* name;
        const char* program;
        std::string argument;  // the staff code follows a new supplier's fields
        std::string codeAfter;
    };
    const Case cases[] = {
        {"a supplier", false, "3", "", "Juvenko", "001000003", "000003"},
        {"a counterparty", true, "7", "", "Ferrano", "001000007", "000007"},
        {"a new supplier", false, "", "山田商店", "Juvenko", "001000000,,山田商店,,,,,,,,,", returned},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restart("", true);
        IntoRows();
        PurchasePage();
        presenter->CheckToggled({"chb_仕入先対応先", 0}, c.counterparty);
        if (*c.code) Fill({"仕入先コード", 0}, c.code);
        if (*c.name) Fill({"仕入先名称A", 0}, c.name);
        std::filesystem::remove(install->root() + "prgbin/standin-calls.log");
        Reply(c.program, std::to_string(std::stoi(returned)));
        ExpectPainted(ClickPanel({"bak_dtlc", 0}), 0);
        const std::string staff = *c.code ? "" : quotation().header.担当者コード;
        EXPECT_EQ(Starts(c.program), std::vector<std::string>{c.argument + staff});
        EXPECT_EQ(Line(0).仕入先コード, c.codeAfter);
        const std::string master = c.counterparty ? "M対応先" : "M仕入先";
        EXPECT_EQ(Line(0).仕入先名称A, Db("SELECT 名称A FROM " + master + " WHERE コード = '" + c.codeAfter + "'"));
        EXPECT_EQ(Text({"仕入先名称A", 0}), Line(0).仕入先名称A);
    }
}

// The row number and the first panel start the product's sales-activity
// inquiry for the year up to the aggregation date, without waiting; a line
// without a product starts nothing.
TEST_P(RowStartsTest, TheActivityInquiryGetsTheProductAndTheYear) {
    Restart("");  // the quotation dated 2026-12-06, closing at month end
    const std::string code = Db("SELECT コード FROM M商品 WHERE 取扱状況区分 = '1' AND 品区分 < '9' ORDER BY コード");
    IntoRows();
    Fill({"商品コード", 0}, code);
    ASSERT_EQ(quotation().SummaryDate, "20261231");
    presenter->PanelClicked({"Lab_行No", 1});
    EXPECT_EQ(view.focus, (Control{"商品コード", 1})) << "the row is entered";
    presenter->PanelClicked({"bak_dtla", 0});
    presenter->PanelClicked({"Lab_行No", 0});
    const std::string expected = "001" + code + std::string(16 - code.size(), ' ') + "20260101" + "20261231";
    EXPECT_EQ(Starts("Penrodi", 2), (std::vector<std::string>{expected, expected}));
    EXPECT_TRUE(view.messages.empty());
}

// A program that is not installed: the message, the row's colours back and
// the window usable (the inquiry, a row's registration: the product's and the
// supplier's share their start, and a header panel's registration).
TEST_P(RowStartsTest, AMissingProgramIsReported) {
    struct Case {
        const char* program;
        Control panel;
        const char* message;
    };
    const Case cases[] = {
        {"Penrodi", {"bak_dtla", 0}, "問合せプログラムが有りません"},
        {"Lorrima", {"bak_dtlb", 0}, "Lorrimaプログラムが有りません"},
        {"Istavo", {"bak_納品先"}, "Istavoプログラムが有りません"},
    };
    IntoRows();
    Fill({"商品コード", 0}, Db("SELECT コード FROM M商品 WHERE 取扱状況区分 = '1' AND 品区分 < '9' ORDER BY コード"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        std::filesystem::remove(install->root() + "prgbin/" + c.program);
        view.messages.clear();
        presenter->PanelClicked(c.panel);
        EXPECT_EQ(view.messages, std::vector<std::string>{c.message});
        for (const char* panel : kRowPanels) {
            auto it = view.backColour.find(Control{panel, 0});
            EXPECT_TRUE(it == view.backColour.end() || it->second.isDefault()) << panel;
        }
        EXPECT_TRUE(view.windowEnabled);
        EXPECT_FALSE(state().LinkWaiting);
    }
}

// The region check comes first: an incomplete header, or a row past the
// empty line after the last, takes the focus elsewhere and starts nothing.
TEST_P(RowStartsTest, ARefusedRowStartsNothing) {
    presenter->PanelClicked({"bak_dtlb", 0});
    EXPECT_EQ(view.focus, (Control{"得意先コード"}));
    IntoRows();
    presenter->PanelClicked({"bak_dtlb", 3});
    EXPECT_EQ(view.focus, (Control{"商品コード", 1})) << "the first row that can be a line";
    EXPECT_TRUE(Starts("Lorrima").empty());
    EXPECT_TRUE(view.messages.empty());
}

// A row's registration program that ends without a reply: the row is given
// back unpainted, the window enabled, and the notice bar says so.
TEST_P(RowStartsTest, ARegistrationEndingWithoutAReplyIsNoticed) {
    IntoRows();
    Fill({"商品名", 0}, "試作品");
    std::ofstream(install->root() + "prgbin/Lorrima.noreply") << "";
    ExpectPainted(ClickPanel({"bak_dtlb", 0}), 0);
    EXPECT_EQ(view.notice, "登録プログラム（Lorrima）が応答せずに終了しました。");
    EXPECT_EQ(Line(0).商品コード, "");
    EXPECT_EQ(Line(0).商品名, "試作品");
}

INSTANTIATE_TEST_SUITE_P(Engines, RowStartsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
