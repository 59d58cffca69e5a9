#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "screen_fixture.h"

#include "data/data_access.h"
#include "screens/entry/entry_fields.h"
#include "text/byte_length.h"

namespace velmora::test {
namespace {

constexpr const char* kNotStored = "未登録の見積の行はコピーできません。登録してからコピーしてください。";
constexpr const char* kStoredStateCopied = "コピーしたのは登録済みの内容です。未登録の変更は含まれません。";
constexpr const char* kOneDidNotFit = "明細は998行までのため、1行は入りませんでした。";
constexpr const char* kOneUnstoredLeft =
    "未登録の行（1行）はコピーしていません。登録してからコピーしてください。";

// What a pasted line must bring along from its source: "code name quantity x price = amount".
using LineValues = std::string;

LineValues ValuesOf(const QuotationLine& line) {
    return line.商品コード + " " + line.商品名 + " " + line.見積数量.format("0.####") + " x " +
           line.見積単価.format("0.####") + " = " + line.見積金額.format("0.####");
}

class LineCommandsTest : public ScreenTest {
  protected:
    static std::string Name(int i) { return "品目" + std::to_string(i + 1); }

    // n lines "品目1", "品目2", … (or the names given) with quantities 1, 2, ….
    void WithLines(int n, const std::vector<std::string>& names = {}) {
        ScreenTest::WithLines(n, names, true);
        state().Changed = false;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int i = 0; i < Lines(); ++i) names.push_back(Line(i).商品名);
        return names;
    }
    std::vector<int> Marks() {
        std::vector<int> marked;
        for (int i = 0; i < static_cast<int>(kLineSlots); ++i)
            if (state().LineMark[static_cast<size_t>(i)] != 0) marked.push_back(i);
        return marked;
    }
    bool MarkShown(int row) { return view.checked[Control{"chb_複写区分", row}]; }
    void Unmark(int line) { Mark(line, false); }
    void Style(int style) {
        while (state().NumberingStyle != style) Press("btn_連番タイプ");
    }

    // ---- stored quotations and the program clipboard ----------------------------

    static constexpr const char* kStored =
        " FROM T営業見積明細 WHERE 事業所コード = '001' AND 番号基準日付 = '20270331'";
    // A stored quotation with at least four lines, after `after`.
    std::string StoredWithFourLines(const std::string& after = "") {
        return install->value(std::string("SELECT 営業見積No") + kStored + " AND 営業見積No > '" + after +
                              "' GROUP BY 営業見積No HAVING COUNT(*) >= 4 ORDER BY 営業見積No");
    }
    std::string StoredValue(const std::string& column, const std::string& number) {
        return install->value("SELECT " + column + kStored + " AND 営業見積No = '" + number + "'");
    }
    // The clipboard's rows as "sequence|quotation|unique line number".
    std::vector<std::string> ClipboardRows() {
        std::vector<std::string> rows;
        std::unique_ptr<Recordset> rs;
        if (program->access().OpenConfigRecordset(
                rs, "SELECT * FROM プログラムクリップボード明細 ORDER BY 貼付連番"))
            for (; !rs->eof(); rs->moveNext())
                rows.push_back(rs->text("貼付連番") + "|" + rs->text("伝票No") + "|" +
                               rs->text("伝票固有行No"));
        if (rs) rs->close();
        return rows;
    }
    // Copies the lines of a stored quotation to the program clipboard and
    // gives back their values as shown.
    std::vector<LineValues> CopyFrom(const std::string& number, const std::vector<int>& lines) {
        OpenStored(number);
        std::vector<LineValues> values;
        for (int i : lines) {
            Mark(i);
            values.push_back(ValuesOf(Line(i)));
        }
        Press("btn_指定行コピー");
        return values;
    }
    // The next run of the program, a moment later.
    void NextRun() {
        install->AdvanceClock(std::chrono::seconds(1));
        Restart("");
    }
};

// ---- 行ｸﾘｱ -------------------------------------------------------------------

struct ClearCase {
    const char* name;
    int lines, top, line, presses;
    int linesAfter, topAfter;
};

// The lines below move up; ten lines or fewer bring the first line to the top.
TEST_P(LineCommandsTest, ClearingALineMovesTheLinesBelowUp) {
    const ClearCase cases[] = {
        {"ThirdOfTwelve", 12, 2, 3, 1, 11, 2},
        {"ThirdOfTwelveTwice", 12, 2, 3, 2, 10, 0},
        {"OfEleven", 11, 1, 5, 1, 10, 0},
        {"OfNine", 9, 0, 0, 1, 8, 0},
        {"MiddleOf998", 998, 500, 505, 1, 997, 500},
        {"LastOf998", 998, 988, 997, 1, 998, 988},
    };
    for (const ClearCase& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        WithLines(c.lines);
        presenter->Scrolled(c.top);
        At(c.line);
        for (int i = 0; i < c.presses; ++i) Press("btn_行クリア");
        EXPECT_EQ(Lines(), c.linesAfter);
        EXPECT_EQ(state().TopLine, c.topAfter);
        EXPECT_EQ(state().CurrentLine, c.line);
        EXPECT_EQ(view.focus, (Control{"行区分", c.line - c.topAfter}));
        EXPECT_TRUE(state().Changed);
        const bool last = c.line + c.presses >= c.lines;
        EXPECT_EQ(Line(c.line).商品名, last ? "" : Name(c.line + c.presses));
        EXPECT_EQ(Text({"商品名", c.line - c.topAfter}), Line(c.line).商品名);
        if (!last) {
            EXPECT_EQ(Line(c.lines - 1 - c.presses).商品名, Name(c.lines - 1)) << "the last line moved up";
        }
        EXPECT_EQ(Line(c.lines - 1).商品名, "");
    }
}

// On the empty line after the last one (or with no lines) the slot is only cleared.
TEST_P(LineCommandsTest, ClearingBeyondTheLastLineOnlyClearsTheSlot) {
    WithLines(0);
    Line(0).商品名 = "残り";
    Press("btn_行クリア");
    EXPECT_EQ(Line(0).商品名, "");
    EXPECT_FALSE(state().Changed);
    EXPECT_LE(Lines(), 1);
}

// ---- 行挿入 --------------------------------------------------------------------

struct InsertCase {
    const char* name;
    int lines, line, presses;
    int linesAfter;
};

// A blank line before the current one, up to 998 lines; nothing without lines.
TEST_P(LineCommandsTest, InsertingABlankLine) {
    const InsertCase cases[] = {
        {"NoLines", 0, 0, 1, 0},        {"IntoNine", 9, 4, 1, 10},           {"IntoTen", 10, 9, 1, 11},
        {"FirstOf997", 997, 0, 1, 998}, {"FirstOf997Twice", 997, 0, 2, 998}, {"Into998", 998, 3, 1, 998},
    };
    for (const InsertCase& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        WithLines(c.lines);
        if (c.lines > 0) At(c.line);
        for (int i = 0; i < c.presses; ++i) Press("btn_行挿入");
        EXPECT_EQ(Lines(), c.linesAfter);
        const bool inserted = c.linesAfter > c.lines;
        EXPECT_EQ(state().Changed, inserted);
        if (c.lines == 0) continue;
        EXPECT_EQ(Line(c.line).商品名, inserted ? "" : Name(c.line));
        EXPECT_EQ(Line(c.line + 1).商品名, inserted ? Name(c.line) : Name(c.line + 1));
        EXPECT_EQ(Line(Lines() - 1).商品名, Name(c.lines - 1)) << "the last line moved down";
        EXPECT_EQ(Line(kMaxLinesInUse).商品名, "") << "the spare slot is never a line";
        if (inserted) {
            EXPECT_EQ(view.focus, (Control{"行区分", c.line - state().TopLine}));
        }
    }
}

// Marks belong to their lines: they move with inserted and deleted lines.
// The totals follow the lines after every command that changes them.
TEST_P(LineCommandsTest, MarksMoveWithTheirLines) {
    WithLines(12);
    for (int i : {2, 5, 8, 11}) Mark(i);
    At(5);
    Press("btn_行クリア");
    EXPECT_EQ(Marks(), (std::vector<int>{2, 7, 10}));
    EXPECT_EQ(quotation().header.見積数量合計, Units(72)) << "1 + 2 + … + 12 less the line cleared";
    At(1);
    Press("btn_行挿入");
    EXPECT_EQ(Marks(), (std::vector<int>{3, 8, 11}));
    const std::pair<int, int> moved[] = {{3, 2}, {8, 8}, {11, 11}};  // where each marked line came from
    for (const auto& [line, from] : moved) EXPECT_EQ(Line(line).商品名, Name(from));
    EXPECT_TRUE(MarkShown(8));
    EXPECT_FALSE(MarkShown(7));
}

// ---- 前行複写 -------------------------------------------------------------------

struct CopyPreviousCase {
    const char* name;
    int lines, line;
    bool copies;
};

// The line above comes down as a new line (no unique or position number).
TEST_P(LineCommandsTest, CopyingThePreviousLine) {
    const CopyPreviousCase cases[] = {
        {"OnLineZero", 5, 0, false},
        {"OnLineThree", 5, 3, true},
        {"OnTheEmptyLine", 5, 5, true},
        {"OnTheLastOf998", 998, 997, true},
    };
    for (const CopyPreviousCase& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        WithLines(c.lines);
        if (c.line > 0) {
            Line(c.line - 1).営業見積固有行No = "042";
            Line(c.line - 1).営業見積行No = "004";
        }
        At(c.line);
        const std::string before = Line(c.line).商品名;
        Press("btn_行複写");
        EXPECT_EQ(state().Changed, c.copies);
        if (!c.copies) {
            EXPECT_EQ(Line(c.line).商品名, before);
            continue;
        }
        const QuotationLine& copy = Line(c.line);
        EXPECT_EQ(copy.商品名, Name(c.line - 1));
        EXPECT_EQ(copy.見積数量, Line(c.line - 1).見積数量);
        EXPECT_EQ(copy.営業見積固有行No, "");
        EXPECT_EQ(copy.営業見積行No, "");
        EXPECT_EQ(Line(c.line - 1).営業見積固有行No, "042") << "the original keeps its identity";
        EXPECT_GE(quotation().LastLine, c.line);
        EXPECT_EQ(view.focus, (Control{"行区分", c.line - state().TopLine}));
    }
}

// ---- 指定行複写 ------------------------------------------------------------------

struct CopyMarkedCase {
    const char* name;
    int lines;
    std::vector<int> marks;
    int at;
    std::vector<int> copied;  // the marked lines that arrive at `at`, `at` + 1, …
    int linesAfter, left;
};

// The marked lines are copied over the lines from the cursor on, as they were
// before the copy, and stop at the 998th line.
TEST_P(LineCommandsTest, CopyingTheMarkedLinesHere) {
    const CopyMarkedCase cases[] = {
        {"OntoTheFirstEmptyLine", 6, {0, 2, 4}, 6, {0, 2, 4}, 9, 0},
        {"OverTheMarkedLinesThemselves", 8, {2, 3, 4}, 3, {2, 3, 4}, 8, 0},
        {"UpToThe998thLine", 997, {0, 1, 2}, 996, {0, 1}, 998, 1},
        {"NothingMarked", 5, {}, 2, {}, 5, 0},
    };
    for (const CopyMarkedCase& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        WithLines(c.lines);
        for (int i : c.marks) {
            Mark(i);
            Line(i).営業見積固有行No = "0" + std::to_string(10 + i);
        }
        At(c.at);
        Press("btn_指定行複写");
        EXPECT_EQ(Lines(), c.linesAfter);
        EXPECT_EQ(state().Changed, !c.copied.empty());
        for (size_t k = 0; k < c.copied.size(); ++k) {
            const QuotationLine& copy = Line(c.at + static_cast<int>(k));
            EXPECT_EQ(copy.商品名, Name(c.copied[k]));
            EXPECT_EQ(copy.見積数量, Units(c.copied[k] + 1));
            EXPECT_EQ(copy.営業見積固有行No, "");
            EXPECT_EQ(state().LineMark[static_cast<size_t>(c.at) + k], 0);
        }
        if (!c.copied.empty()) {
            EXPECT_EQ(view.notice, c.left > 0 ? kOneDidNotFit : "");
        }
    }
}

// ---- 指定行連番 and 連番タイプ --------------------------------------------------------

struct NumberingCase {
    const char* name;
    std::vector<std::string> names;
    std::vector<int> marks;
    std::vector<std::string> after;
    bool reversible;
};

// Marked names are numbered in line order, or, when one of them is numbered
// already, every marked name loses its number; a second press undoes a first
// (how each style writes and recognises its numbers is the numbering tests').
TEST_P(LineCommandsTest, NumberingTheMarkedNames) {
    const NumberingCase cases[] = {
        {"InLineOrder", {"机", "椅子", "棚"}, {0, 2}, {"1.机", "椅子", "2.棚"}, true},
        {"OneNumberedTakesAllOff", {"机", "2.椅子", "棚"}, {0, 1, 2}, {"机", "椅子", "棚"}, false},
        {"UnmarkedNamesStay", {"5.机", "椅子"}, {1}, {"5.机", "1.椅子"}, true},
    };
    for (const NumberingCase& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        WithLines(static_cast<int>(c.names.size()), c.names);
        for (int i : c.marks) Mark(i);
        At(0);
        Press("btn_指定行連番");
        EXPECT_EQ(Names(), c.after);
        EXPECT_TRUE(state().Changed);
        EXPECT_EQ(Text({"商品名", 0}), c.after[0]);
        EXPECT_EQ(view.focus, (Control{"商品名", 0}));
        for (const std::string& name : Names()) EXPECT_LE(ByteLength(name), 60u) << name;
        if (!c.reversible) continue;
        Press("btn_指定行連番");
        EXPECT_EQ(Names(), c.names) << "numbering again removes the numbers";
    }
}

std::string Repeated(const std::string& piece, int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += piece;
    return text;
}

// A name that would need its end cut to take its number stops the numbering
// before any name changes, so that numbering again always gives the names
// back whole; a name that fits exactly is numbered and given back exactly.
TEST_P(LineCommandsTest, NumberingNeverCutsAName) {
    struct Case {
        const char* name;
        int style;
        std::string full;     // 60 bytes: too long for any number
        std::string fitting;  // 60 bytes with the number
        std::string second;  // the fitting name's number
    };
    const Case cases[] = {
        {"HalfWidthNumbers", 0, Repeated("a", 60), Repeated("b", 58), "2."},
        {"RomanNumbers", 2, Repeated("ｱ", 60), Repeated("ｲ", 56), "Ⅱ．"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        WithLines(3, {"机", c.full, c.fitting});
        for (int i : {0, 1, 2}) Mark(i);
        Style(c.style);
        At(0);
        Press("btn_指定行連番");
        EXPECT_EQ(Names(), (std::vector<std::string>{"机", c.full, c.fitting})) << "nothing numbered";
        EXPECT_FALSE(state().Changed);
        EXPECT_EQ(view.notice,
                  "番号を付けると商品名が60バイトを超える行（1行）があるため、連番を付けていません。");

        Unmark(1);
        Press("btn_指定行連番");
        EXPECT_EQ(Line(2).商品名, c.second + c.fitting);
        EXPECT_EQ(ByteLength(Line(2).商品名), 60u);
        EXPECT_EQ(view.notice, "");
        Press("btn_指定行連番");
        EXPECT_EQ(Names(), (std::vector<std::string>{"机", c.full, c.fitting})) << "given back exactly";
    }
}

// Roman numerals end at Ⅹ: the eleventh marked name and later ones keep
// their names, and the notice bar says how many were left.
TEST_P(LineCommandsTest, RomanNumbersStopAtTen) {
    WithLines(12);
    for (int i = 0; i < 12; ++i) Mark(i);
    Style(2);
    Press("btn_指定行連番");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ⅰ．品目1", "Ⅱ．品目2", "Ⅲ．品目3", "Ⅳ．品目4", "Ⅴ．品目5",
                                                 "Ⅵ．品目6", "Ⅶ．品目7", "Ⅷ．品目8", "Ⅸ．品目9", "Ⅹ．品目10",
                                                 "品目11", "品目12"}));
    EXPECT_EQ(view.notice, "連番はⅩ．までのため、2行には番号を付けていません。");
    Press("btn_指定行連番");
    for (int i = 0; i < 12; ++i) EXPECT_EQ(Line(i).商品名, Name(i));
    EXPECT_EQ(view.notice, "");
}

TEST_P(LineCommandsTest, TheNumberingStyleCycles) {
    const std::pair<int, const char*> steps[] = {{1, "１．"}, {2, "Ⅰ．"}, {0, "1."}};
    for (const auto& [style, caption] : steps) {
        Press("btn_連番タイプ");
        EXPECT_EQ(state().NumberingStyle, style);
        EXPECT_EQ(view.captions[{"btn_連番タイプ"}], caption);
    }
}

// ---- the program clipboard --------------------------------------------------

// Lines copied from a stored quotation are pasted in a later run into
// another stored quotation and into a new one, priced again and new (without
// unique or position numbers of their own until they are saved).
TEST_P(LineCommandsTest, MarkedLinesTravelThroughTheProgramClipboard) {
    const std::string source = StoredWithFourLines();
    const std::vector<LineValues> copied = CopyFrom(source, {0, 2, 3});
    const std::string customer = quotation().header.得意先コード;
    EXPECT_EQ(ClipboardRows(), (std::vector<std::string>{"001|" + source + "|" + Line(0).営業見積固有行No,
                                                         "002|" + source + "|" + Line(2).営業見積固有行No,
                                                         "003|" + source + "|" + Line(3).営業見積固有行No}));
    EXPECT_FALSE(state().Changed) << "copying changes nothing on the screen";

    struct Target {
        const char* name;
        std::string stored;  // empty: a new quotation
        int at;
    };
    const Target targets[] = {{"AnotherStoredQuotation", StoredWithFourLines(source), 1},
                              {"NewQuotation", "", 0}};
    ASSERT_FALSE(targets[0].stored.empty());
    for (const Target& t : targets) {
        SCOPED_TRACE(t.name);
        NextRun();
        int linesBefore = 0;
        if (t.stored.empty()) {
            FillHeader(customer);
        } else {
            OpenStored(t.stored);
            // The source's customer, so that the lines are priced as there.
            Fill({"得意先コード"}, customer);
        }
        linesBefore = Lines();
        At(t.at);
        const std::string shifted = Line(t.at).商品名;
        Press("btn_指定行ペースト");
        for (int k = 0; k < 3; ++k) {
            const QuotationLine& line = Line(t.at + k);
            EXPECT_EQ(ValuesOf(line), copied[static_cast<size_t>(k)]) << k;
            EXPECT_EQ(line.営業見積固有行No, "");
            EXPECT_EQ(line.営業見積行No, "");
        }
        EXPECT_EQ(Line(t.at + 3).商品名, shifted) << "the line at the cursor moved down";
        EXPECT_EQ(Lines(), std::max(linesBefore, t.at + 1) + 3);
        EXPECT_TRUE(state().Changed);
        EXPECT_EQ(Text({"商品名", t.at}), Line(t.at).商品名);
    }
}

// A copy from the same quotation replaces the earlier one: only the lines of
// the latest copy are pasted.
TEST_P(LineCommandsTest, TheLatestCopyIsPasted) {
    const std::string source = StoredWithFourLines();
    CopyFrom(source, {0, 1});
    Unmark(0);
    Unmark(1);
    const std::vector<LineValues> copied = CopyFrom(source, {2});
    EXPECT_EQ(ClipboardRows().size(), 1u);
    NextRun();
    FillHeader(StoredValue("得意先コード", source));
    At(0);
    Press("btn_指定行ペースト");
    EXPECT_EQ(ValuesOf(Line(0)), copied[0]);
    EXPECT_EQ(Lines(), 2) << "the pasted line and the empty one the cursor was on";
}

// Only stored lines of a stored quotation can be pasted: a new quotation's
// or a new line's copy is refused with a notice instead of rows nobody can
// paste.
TEST_P(LineCommandsTest, OnlyStoredLinesAreCopied) {
    WithLines(3);
    Mark(0);
    Press("btn_指定行コピー");
    EXPECT_EQ(view.notice, kNotStored);
    EXPECT_TRUE(ClipboardRows().empty());

    Clear();
    OpenStored(StoredWithFourLines());
    const int added = Lines();
    At(added);
    Press("btn_行複写");  // a line the database does not have yet
    Mark(0);
    Mark(added);
    Press("btn_指定行コピー");
    EXPECT_EQ(view.notice, kOneUnstoredLeft);
    const std::vector<std::string> copiedOnly = {"001|" + quotation().header.営業見積No + "|" +
                                                 Line(0).営業見積固有行No};
    EXPECT_EQ(ClipboardRows(), copiedOnly);

    // A copy of unstored lines alone leaves the earlier copy in place.
    Unmark(0);
    Press("btn_指定行コピー");
    EXPECT_EQ(view.notice, kOneUnstoredLeft);
    EXPECT_EQ(ClipboardRows(), copiedOnly);

    // The stored lines can be copied, but the screen's changes go only with a save.
    Unmark(added);
    Mark(0);
    Press("btn_指定行コピー");
    EXPECT_EQ(ClipboardRows().size(), 1u);
    EXPECT_EQ(view.notice, kStoredStateCopied);
}

// Clearing the marks also takes the user's rows off the clipboard: a paste
// afterwards finds nothing.
TEST_P(LineCommandsTest, ClearingTheMarksEmptiesTheClipboard) {
    CopyFrom(StoredWithFourLines(), {0, 1});
    ASSERT_EQ(ClipboardRows().size(), 2u);
    Press("btn_指定行クリア");
    EXPECT_TRUE(Marks().empty());
    EXPECT_FALSE(MarkShown(0));
    EXPECT_TRUE(ClipboardRows().empty());
    install->AdvanceClock(std::chrono::seconds(1));
    const int lines = Lines();
    At(2);
    Press("btn_指定行ペースト");
    EXPECT_EQ(Lines(), lines);
    EXPECT_FALSE(state().Changed);
}

// A copied line deleted from its quotation since is left out and counted;
// lines past the 998th are left out and counted.
TEST_P(LineCommandsTest, PastingLeavesOutWhatCannotBeRead) {
    const std::string source = StoredWithFourLines();
    const std::vector<LineValues> copied = CopyFrom(source, {0, 1, 2});
    const std::string customer = quotation().header.得意先コード;
    install->business("DELETE" + std::string(kStored) + " AND 営業見積No = '" + source +
                      "' AND 営業見積固有行No = '" + Line(1).営業見積固有行No + "'");
    NextRun();
    FillHeader(customer);
    At(0);
    Press("btn_指定行ペースト");
    EXPECT_EQ(ValuesOf(Line(0)), copied[0]);
    EXPECT_EQ(ValuesOf(Line(1)), copied[2]);
    EXPECT_EQ(Lines(), 3);
    EXPECT_EQ(view.notice, "貼付元の見積に見つからない行（1行）は貼り付けていません。");

    // A later copy of two readable lines onto 997 lines: one fits.
    Clear();
    CopyFrom(source, {0, 2});
    NextRun();
    WithLines(997);
    At(0);
    Press("btn_指定行ペースト");
    EXPECT_EQ(Lines(), 998);
    EXPECT_EQ(Line(0).商品コード, copied[0].substr(0, copied[0].find(' ')));
    EXPECT_EQ(Line(1).商品名, Name(0));
    EXPECT_EQ(Line(997).商品名, Name(996));
    EXPECT_EQ(view.notice, kOneDidNotFit);
}

INSTANTIATE_TEST_SUITE_P(Engines, LineCommandsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         EngineName);

}  // namespace
}  // namespace velmora::test
