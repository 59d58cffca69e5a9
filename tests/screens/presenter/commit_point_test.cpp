#include "screen_fixture.h"

#include <functional>

#include "screens/entry/entry_fields.h"
#include "screens/entry/entry_screen.h"

namespace velmora::test {
namespace {

// A field typed into and not yet left, then something that does not move the
// focus through the field's exit.
class CommitPointTest : public ScreenTest {
protected:
  // Fifteen lines of 個 on screen, the detail area open.
  void WithLines() {
      ScreenTest::WithLines(15);
      for (int i = 0; i < 15; ++i) Line(i).見積単位 = "個";
      screen().FullRedraw();
      Click({"見積期限"});
      Tab();
    }
};

// Every action takes in what was typed before it acts, as Tab would: nothing
// is drawn over it, nothing reads the stored value instead.
TEST_P(CommitPointTest, EveryActionTakesInTheFieldBeingTyped) {
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"scroll bar", [this] { presenter->Scrolled(3); }},
        {"mouse wheel", [this] { presenter->Wheel(2); }},
        {"row number", [this] { presenter->PanelClicked({"Lab_行No", 8}); }},
        {"row lookup button", [this] { presenter->ButtonPressed({"btn_商品コード", 6}); }},
        {"header lookup button", [this] { presenter->ButtonPressed({"btn_担当者コード"}); }},
        {"page", [this] { presenter->PageChosen(kPagePurchase); }},
        {"envelope box", [this] { presenter->CheckToggled({"chb_Kasmeri"}, true); }},
        // Answered No: the screen stays as it is.
        {"clear (F5)", [this] { presenter->ButtonPressed({"btn_画面クリア"}); }},
        {"window close", [this] { presenter->CloseRequested(); }},
        {"timer",
         [this] {
             screen().RunLater(0, [] {});
             view.RunLaterTasks();
         }},
    };
    struct TypedField {
        Control field;
        const char* typed;
        std::function<std::string()> stored;
    };
    const TypedField fields[] = {
        {{"得意先名称A"}, "新規商事", [this] { return quotation().header.得意先名称A; }},
        {{"見積単位", 2}, "箱", [this] { return Line(2).見積単位; }},
        {{"見積伝票備考A"}, "至急", [this] { return quotation().header.見積伝票備考A; }},
    };
    for (const TypedField& f : fields) {
        for (const auto& [name, action] : actions) {
            SCOPED_TRACE(std::string(name) + " after typing into " + f.field.name);
            view.answers = {true};
            presenter->ButtonPressed({"btn_画面クリア"});
            WithLines();
            state().Changed = false;
            Click(f.field);
            Type(f.typed);
            view.answers.clear();
            action();
            EXPECT_EQ(f.stored(), f.typed);
            EXPECT_TRUE(state().Changed);
            EXPECT_EQ(quotation().lines[3].見積単位, "個") << "no other line took the text";
        }
    }
}

// A typed value its field refuses is refused before the action, with the
// field's own message, and the action still follows.
TEST_P(CommitPointTest, ARefusedValueGetsItsMessageAndTheActionFollows) {
    WithLines();
    Click({"見積数量", 2});
    Type("abc");
    presenter->Scrolled(3);
    EXPECT_EQ(view.notice, "数値を入力してください。");
    EXPECT_EQ(state().TopLine, 3);
    EXPECT_TRUE(quotation().lines[2].見積数量.isZero());
}

// A name typed into a new quotation's customer and then the customer frame
// clicked: the registration program gets the typed name, and the field keeps it.
TEST_P(CommitPointTest, TheRegistrationProgramGetsTheNameJustTyped) {
    Restart("", true);  // the stand-in answers with rows stamped by the system clock
    Click({"得意先名称A"});
    Type("新規商事");
    presenter->PanelClicked({"bak_得意先"});
    EXPECT_NE(StartedWith("Dunvale").find("新規商事"), std::string::npos) << StartedWith("Dunvale");
    EXPECT_EQ(quotation().header.得意先名称A, "新規商事");
    EXPECT_EQ(Text({"得意先名称A"}), "新規商事");
}

INSTANTIATE_TEST_SUITE_P(Engines, CommitPointTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

// Paging through a long quotation from the keyboard keeps the column; the
// first and last line keys reach both ends; F6 goes to the row's 行区分.
class LineKeysTest : public CommitPointTest {};

TEST_P(LineKeysTest, PagingKeepsTheColumn) {
    using Move = EntryPresenter::LineMove;
    ScreenTest::WithLines(998);
    Click({"見積期限"});
    Tab();
    Click({"見積数量", 3});
    struct Case {
        Move move;
        int line, top;
        Control focus;
    };
    const Case cases[] = {
        {Move::PageDown, 13, 10, {"見積数量", 3}}, {Move::PageDown, 23, 20, {"見積数量", 3}},
        {Move::PageUp, 13, 10, {"見積数量", 3}},   {Move::Last, 997, 988, {"見積数量", 9}},
        {Move::PageUp, 987, 978, {"見積数量", 9}}, {Move::PageDown, 997, 988, {"見積数量", 9}},
        {Move::First, 0, 0, {"見積数量", 0}},      {Move::PageUp, 0, 0, {"見積数量", 0}},
        {Move::Kind, 0, 0, {"行区分", 0}},
    };
    for (const Case& c : cases) {
        presenter->LineKey(c.move);
        EXPECT_EQ(state().CurrentLine, c.line) << static_cast<int>(c.move);
        EXPECT_EQ(state().TopLine, c.top);
        EXPECT_EQ(view.focus, c.focus);
        EXPECT_EQ(Text({"Lab_行No", c.focus.row}), std::to_string(c.line + 1));
    }
}

// A quantity typed and paged away from is priced into its line.
TEST_P(LineKeysTest, PagingTakesInTheFieldFirst) {
    WithLines();
    Click({"見積単位", 2});
    Type("箱");
    presenter->LineKey(EntryPresenter::LineMove::PageDown);
    EXPECT_EQ(quotation().lines[2].見積単位, "箱");
    EXPECT_EQ(quotation().lines[12].見積単位, "個");
    EXPECT_EQ(view.focus, (Control{"見積単位", 6})) << "line 13 at the row the screen can show it";
}

// The lookup button of the empty row after the last makes it a line first.
TEST_P(LineKeysTest, ARowButtonOnTheEmptyLineMakesItALine) {
    WithLines();
    presenter->Scrolled(6);
    presenter->ButtonPressed({"btn_商品コード", 9});
    EXPECT_EQ(quotation().LastLine, 15);
    EXPECT_EQ(view.focus, (Control{"商品コード", 9}));
}

INSTANTIATE_TEST_SUITE_P(Engines, LineKeysTest, testing::Values(Engine::SQLite), EngineName);

}  // namespace
}  // namespace velmora::test
