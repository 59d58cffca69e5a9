#include <array>
#include <functional>
#include <string>
#include <vector>

#include "screen_fixture.h"

#include "screens/entry/entry_fields.h"
#include "screens/entry/line_undo.h"

namespace velmora::test {
namespace {

constexpr const char* kHistoryDropped = "見出しの変更で明細が計算し直されたため、それより前には戻せません。";
const Control kUndo{"btn_元に戻す"};
const Control kRedo{"btn_やり直し"};

// What an undo must give back: every slot, LastLine, the marks and the
// header with its totals.
struct Snapshot {
    std::vector<QuotationLine> lines;
    int last = -1;
    std::array<std::int16_t, kLineSlots> marks{};
    QuotationHeader header;
};

// The first thing that differs; "" when nothing does.
std::string Difference(const Snapshot& a, const Snapshot& b) {
    if (a.last != b.last) return "LastLine " + std::to_string(a.last) + " / " + std::to_string(b.last);
    for (std::size_t i = 0; i < kLineSlots; ++i) {
        if (!(a.lines[i] == b.lines[i]))
            return "slot " + std::to_string(i) + ": " + a.lines[i].商品名 + " " + a.lines[i].見積金額.format("0") +
                   " / " + b.lines[i].商品名 + " " + b.lines[i].見積金額.format("0");
        if (a.marks[i] != b.marks[i]) return "mark " + std::to_string(i);
    }
    if (!(a.header == b.header))
        return "header, total " + a.header.税込見積金額合計.format("0") + " / " + b.header.税込見積金額合計.format("0");
    return "";
}

class LineUndoTest : public ScreenTest {
protected:
  Snapshot Take() { return {quotation().lines, quotation().LastLine, state().LineMark, quotation().header}; }

  // n lines "品目1", "品目2", … with quantities 1, 2, …, the focus in the
  // rows; the history starts there, as after a load.
  void WithLines(int n) {
      ScreenTest::WithLines(n, {}, true);
      ToRows();
      Loaded();
    }
    void Loaded() {
        state().Changed = false;
        screen().undo->Reset();
    }
    void Undo() { Press("btn_元に戻す"); }
    void Redo() { Press("btn_やり直し"); }
    bool Enabled(const Control& button) { return view.enabled[button]; }
    // "changed " when the quotation is, then the enabled buttons: "undo ", "redo ".
    std::string Status() {
        return std::string(state().Changed ? "changed " : "") + (Enabled(kUndo) ? "undo " : "") +
               (Enabled(kRedo) ? "redo " : "");
    }

    std::string Product() {
        return install->value("SELECT MIN(コード) FROM M商品 WHERE 取扱状況区分 <> '3' AND 売上課税区分 = '0' AND "
                              "税抜販売単価 > 0");
    }
    std::string StoredWithFourLines() {
        return install->value(
            "SELECT MIN(営業見積No) FROM T営業見積明細 WHERE 事業所コード = '001' AND 番号基準日付 = '" +
            quotation().header.番号基準日付 + "' GROUP BY 営業見積No HAVING COUNT(*) >= 4 ORDER BY 1");
    }
    void Open(const std::string& number) {
        view.answers = {true};
        Fill({"営業見積No"}, number);
        view.answers.clear();
        ASSERT_FALSE(state().NewEntry) << number;
        ToRows();
    }
    // Three lines of a stored quotation on the program clipboard.
    void CopyThreeStoredLines() {
        Open(StoredWithFourLines());
        for (int i : {0, 2, 3}) Mark(i);
        Press("btn_指定行コピー");
    }
};

// Each line action undone gives back the quotation as it was before, all
// 999 slots, marks and totals, with the focus where the action was given
// and Changed cleared (the history started with the lines); redone, the
// quotation as the action left it.
TEST_P(LineUndoTest, EachLineActionIsUndoneAndRedoneExactly) {
    const std::string product = Product();
    ASSERT_FALSE(product.empty());
    CopyThreeStoredLines();
    struct Case {
        const char* name;
        int lines;
        std::function<void()> before;  // up to where the command is given
        std::function<void()> command;
        int linesAfter;
        Control focus;  // after undo and after redo
        int line;
        bool changesTheQuotation = true;  // marks are the screen's own
    };
    const auto at = [&](int line) { return [this, line] { At(line); }; };
    const auto press = [&](const char* button) { return [this, button] { Press(button); }; };
    // The lines marked as loaded, then the cursor into a line.
    const auto marked = [&](std::vector<int> marks, int line) {
        return [this, marks, line] {
            for (int i : marks) Mark(i);
            Loaded();
            At(line);
        };
    };
    const auto typeProduct = [&] {
        Type(product);
        Tab();
    };
    const auto typeKind = [&] {
        Click({"行区分", 2});
        Type("2");
        Click({"商品名", 2});
    };
    const Case cases[] = {
        {"行ｸﾘｱ", 5, at(2), press("btn_行クリア"), 4, {"商品名", 2}, 2},
        {"行挿入", 5, at(1), press("btn_行挿入"), 6, {"商品名", 1}, 1},
        {"前行複写", 5, at(3), press("btn_行複写"), 5, {"商品名", 3}, 3},
        {"指定行複写 onto the empty line after the last", 5, marked({0, 1}, 5), press("btn_指定行複写"), 7,
         {"商品名", 5}, 5},
        {"貼付 from the program clipboard", 3, at(1), press("btn_指定行ペースト"), 6, {"商品名", 1}, 1},
        {"Ｎo. numbering the marked names", 4, marked({0, 2}, 1), press("btn_指定行連番"), 4, {"商品名", 1}, 1},
        {"行区分 typed", 4, at(2), typeKind, 4, {"行区分", 2}, 2},
        {"行区分 chosen from the row's list", 4, at(2), [&] { presenter->ListChosen({"行区分名称", 2}, 2); }, 4,
         {"行区分", 2}, 2},
        {"chb_計区分 taken off", 4, at(1), [&] { presenter->CheckToggled({"chb_計区分", 1}, false); }, 4,
         {"商品名", 1}, 1},
        {"chb_複写区分 set", 4, at(1), [&] { presenter->CheckToggled({"chb_複写区分", 3}, true); }, 4,
         {"商品名", 3}, 3, false},
        {"a product code that prices the line", 4, [&] { Click({"商品コード", 1}); }, typeProduct, 4,
         {"商品コード", 1}, 1},
        {"a code on the empty line after the last makes a line", 3, [&] { Click({"商品コード", 3}); },
         typeProduct, 4, {"商品コード", 3}, 3},
        {"行挿入 in a quotation of 997 lines", 997, at(500), press("btn_行挿入"), 998, {"商品名", 9}, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        WithLines(c.lines);
        c.before();
        const Snapshot before = Take();
        c.command();
        const Snapshot after = Take();
        ASSERT_EQ(Lines(), c.linesAfter) << view.notice;
        ASSERT_NE(Difference(before, after), "") << "the command changed nothing";
        const std::string done = c.changesTheQuotation ? "changed undo " : "undo ";
        EXPECT_EQ(Status(), done);

        Click({"見積伝票備考A"});
        Undo();
        EXPECT_EQ(Difference(Take(), before), "");
        EXPECT_EQ(view.focus, c.focus);
        EXPECT_EQ(state().CurrentLine, c.line);
        EXPECT_EQ(Status(), "redo ") << "back where the history started";

        Click({"見積伝票備考A"});
        Redo();
        EXPECT_EQ(Difference(Take(), after), "");
        EXPECT_EQ(view.focus, c.focus);
        EXPECT_EQ(state().CurrentLine, c.line);
        EXPECT_EQ(Status(), done);
    }
}

// Changed follows the way back to the quotation as loaded, and stays once
// the header differs from it.
TEST_P(LineUndoTest, UndoingBackToTheLoadedQuotationClearsChanged) {
    Open(StoredWithFourLines());
    const Snapshot loaded = Take();
    ASSERT_FALSE(state().Changed);
    Fill({"見積数量", 0}, "9");
    Press("btn_行挿入");
    const Snapshot edited = Take();
    EXPECT_TRUE(state().Changed);

    Undo();
    EXPECT_TRUE(state().Changed) << "one step is left";
    Undo();
    EXPECT_EQ(Difference(Take(), loaded), "");
    EXPECT_FALSE(state().Changed);
    Redo();
    Redo();
    EXPECT_EQ(Difference(Take(), edited), "");
    EXPECT_TRUE(state().Changed);

    Fill({"タイトル"}, "件名を変えた");
    Undo();
    Undo();
    EXPECT_EQ(Line(0).見積数量, loaded.lines[0].見積数量) << "a header text leaves the history alone";
    EXPECT_TRUE(state().Changed) << "the header is no longer as loaded";
}

// At most 100 steps are kept; the oldest go first.
TEST_P(LineUndoTest, AHundredStepsAreKept) {
    WithLines(3);
    for (int k = 1; k <= 105; ++k) Fill({"見積数量", 0}, std::to_string(10 + k));
    ASSERT_EQ(Line(0).見積数量, Units(115));
    int undone = 0;
    while (Enabled(kUndo) && undone < 200) {
        Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(Line(0).見積数量, Units(15));
    Undo();
    EXPECT_EQ(Line(0).見積数量, Units(15)) << "the five oldest steps are gone";
    EXPECT_TRUE(state().Changed) << "the state the history started from is out of reach";
    Redo();
    EXPECT_EQ(Line(0).見積数量, Units(16));
}

// A history started on unsaved work (a restored draft) never gets back to
// an unchanged quotation.
TEST_P(LineUndoTest, AHistoryStartedOnUnsavedWorkKeepsChanged) {
    WithLines(3);
    state().Changed = true;
    screen().undo->Reset();
    At(1);
    Press("btn_行挿入");
    Undo();
    EXPECT_EQ(Lines(), 3);
    EXPECT_TRUE(state().Changed);
}

// A load, a clear and a save start the history afresh.
TEST_P(LineUndoTest, LoadClearAndSaveStartAfresh) {
    const std::string number = StoredWithFourLines();
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"load", [&] { Open(number); }},
        {"clear", [&] { Clear(); }},
        {"save", [&] { Save(); }},
    };
    for (const auto& [name, startAfresh] : cases) {
        SCOPED_TRACE(name);
        Clear();
        WithLines(3);
        At(1);
        Press("btn_行挿入");
        ASSERT_TRUE(Enabled(kUndo));
        startAfresh();
        EXPECT_FALSE(Enabled(kUndo));
        EXPECT_FALSE(Enabled(kRedo));
        const Snapshot now = Take();
        Undo();
        EXPECT_EQ(Difference(Take(), now), "");
        EXPECT_FALSE(state().Changed);
    }
}

// A header setting that prices every line again leaves nothing to undo
// onto those lines: the history starts afresh and the notice says why.
TEST_P(LineUndoTest, AHeaderThatRepricesTheLinesStartsTheHistoryAfresh) {
    WithLines(2);
    Fill({"商品コード", 0}, Product());
    Fill({"見積数量", 0}, "3");
    ASSERT_FALSE(Line(0).見積消費税.isZero());
    presenter->ListChosen({"得意先消費税算出区分名称"}, 0);  // no tax
    ASSERT_TRUE(Line(0).見積消費税.isZero());
    const Snapshot repriced = Take();

    Undo();
    EXPECT_EQ(Difference(Take(), repriced), "");
    EXPECT_EQ(view.notice, kHistoryDropped);
    EXPECT_FALSE(Enabled(kUndo));
    EXPECT_TRUE(state().Changed);

    Fill({"見積数量", 0}, "4");
    Undo();
    EXPECT_EQ(Difference(Take(), repriced), "") << "a later line action is undone on its own";
    Undo();
    EXPECT_EQ(Difference(Take(), repriced), "");
}

// An insert into a long quotation keeps the one line, not the lines moved.
TEST_P(LineUndoTest, AStepKeepsOnlyTheLinesThatDiffer) {
    WithLines(997);
    At(0);
    const Snapshot before = Take();
    Press("btn_行挿入");
    Press("btn_行クリア");
    Press("btn_行挿入");
    for (int i = 0; i < 3; ++i) Undo();
    EXPECT_EQ(Difference(Take(), before), "");
    EXPECT_EQ(screen().undo->HeldLines(), 3u) << "one line a step";
}

INSTANTIATE_TEST_SUITE_P(Engines, LineUndoTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
