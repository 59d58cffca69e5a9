#include "screens/entry/line_commands.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "data/data_access.h"
#include "linking/clipboard.h"
#include "linking/linked_start.h"
#include "quotation/document_sql.h"
#include "quotation/load.h"
#include "quotation/master_reads.h"
#include "quotation/numbering.h"
#include "screens/entry/entry_fields.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/focus_rules.h"
#include "text/byte_limit.h"
#include "text/serial_numbering.h"

namespace velmora {

namespace {

constexpr const char* kLineKindField = "行区分";
constexpr const char* kDocumentLines = "1";  // 貼付情報区分 of copied document lines
constexpr int kLastSlotInUse = kMaxLinesInUse - 1;
constexpr int kHighestTopLine = kMaxLinesInUse - kVisibleRows;

constexpr const char* kNotStored = "未登録の見積の行はコピーできません。登録してからコピーしてください。";

std::string lineCount(int n) {
    return std::to_string(n) + "行";
}

std::string notFitting(int n) {
    return "明細は" + std::to_string(kMaxLinesInUse) + "行までのため、" + lineCount(n) +
           "は入りませんでした。";
}

std::string sourceLinesGone(int n) {
    return "貼付元の見積に見つからない行（" + lineCount(n) + "）は貼り付けていません。";
}

std::string unsavedLinesSkipped(int n) {
    return "未登録の行（" + lineCount(n) + "）はコピーしていません。登録してからコピーしてください。";
}

constexpr const char* kStoredStateCopied = "コピーしたのは登録済みの内容です。未登録の変更は含まれません。";

std::string beyondHighestNumber(int style, int n) {
    return "連番は" + SerialPrefix(style, HighestSerialNumber(style)) + "までのため、" + lineCount(n) +
           "には番号を付けていません。";
}

std::string namesTooLongToNumber(int n) {
    return "番号を付けると商品名が" + std::to_string(kProductNameBytes) + "バイトを超える行（" + lineCount(n) +
           "）があるため、連番を付けていません。";
}

// A copied line is a new line: saving gives it its own unique line number.
void newIdentity(QuotationLine& line) {
    line.営業見積固有行No.clear();
    line.営業見積行No.clear();
}

// ---- lines and their marks --------------------------------------------------

// A blank line at `at`; the lines from there move down with their marks.
void openGap(EntryScreen& s, int at) {
    Quotation& q = s.quotation;
    auto& marks = s.state.LineMark;
    for (int i = q.LastLine; i >= at; --i) {
        q.lines[static_cast<size_t>(i + 1)] = q.lines[static_cast<size_t>(i)];
        marks[static_cast<size_t>(i + 1)] = marks[static_cast<size_t>(i)];
    }
    q.ClearLine(static_cast<size_t>(at));
    marks[static_cast<size_t>(at)] = 0;
    ++q.LastLine;
}

// Line `at` goes; the lines after it move up with their marks.
void closeGap(EntryScreen& s, int at) {
    Quotation& q = s.quotation;
    auto& marks = s.state.LineMark;
    for (int i = at; i < q.LastLine; ++i) {
        q.lines[static_cast<size_t>(i)] = q.lines[static_cast<size_t>(i + 1)];
        marks[static_cast<size_t>(i)] = marks[static_cast<size_t>(i + 1)];
    }
    q.ClearLine(static_cast<size_t>(q.LastLine));
    marks[static_cast<size_t>(q.LastLine)] = 0;
    --q.LastLine;
}

std::vector<int> markedLines(const EntryScreen& s) {
    std::vector<int> marked;
    for (int i = 0; i <= s.LastLine(); ++i)
        if (s.state.LineMark[static_cast<size_t>(i)] != 0) marked.push_back(i);
    return marked;
}

// The line the commands work at: a line in use or the empty line after them.
int cursorLine(const EntryScreen& s) {
    return std::clamp(s.state.CurrentLine, 0, std::min(s.LastLine() + 1, kLastSlotInUse));
}

// The ten rows stay over the lines (as the scroll bar allows) and over the
// cursor's line.
void keepCursorInView(EntryScreen& s) {
    ScreenState& st = s.state;
    const int lines = s.LastLine() + 1;
    const int highestTop = lines < kVisibleRows ? 0 : std::min(lines - (kVisibleRows - 1), kHighestTopLine);
    st.CurrentLine = cursorLine(s);
    st.TopLine = std::clamp(st.TopLine, 0, highestTop);
    st.TopLine = std::clamp(st.TopLine, std::max(0, st.CurrentLine - (kVisibleRows - 1)), st.CurrentLine);
    st.RowInPanel = st.CurrentLine - st.TopLine;
}

enum class Focus { LineKind, CurrentField };

// How every line command ends: totals after changed lines, rows, totals and
// scroll bar drawn, the focus where the command leaves it.
void finish(EntryScreen& s, bool linesChanged, Focus focus) {
    if (linesChanged) {
        s.state.Changed = true;
        s.scope->RecomputeTotals();
    }
    keepCursorInView(s);
    s.RedrawLines();
    if (focus == Focus::LineKind)
        s.focus->Transfer({kLineKindField, s.state.RowInPanel}, false);
    else
        s.focus->FocusCurrentField();
}

// The unique line numbers of the latest copy from the origin, in paste order.
std::vector<std::string> latestCopyOf(DataAccess& access, const ClipboardOrigin& origin) {
    struct Row {
        std::string uniqueLineNo, copiedAt, user;
    };
    std::vector<Row> rows;
    std::unique_ptr<Recordset> rs;
    if (access.OpenConfigRecordset(
            rs, std::string("SELECT * FROM プログラムクリップボード明細") + " WHERE 貼付プログラムID = " +
                    Literal(kQuotationProgram) + " AND 貼付情報区分 = " + Literal(kDocumentLines) +
                    " AND 伝票番号ID = " + Literal(kQuotationNumberId) + " AND 伝票事業所コード = " +
                    Literal(origin.officeCode) + " AND 伝票番号基準日付 = " + Literal(origin.baseDate) +
                    " AND 伝票No = " + Literal(origin.number) + " ORDER BY 貼付連番")) {
        for (; !rs->eof(); rs->moveNext())
            rows.push_back({rs->text("伝票固有行No"), rs->text("貼付日時"), rs->text("ユーザID")});
    }
    if (rs) rs->close();
    if (rows.empty()) return {};
    // Each user holds one copy at a time, but other users may have copied
    // from the same quotation: only the latest copy is pasted.
    const std::string latestUser = std::max_element(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
                                       return a.copiedAt < b.copiedAt;
                                   })->user;
    std::vector<std::string> lines;
    for (const Row& row : rows)
        if (row.user == latestUser) lines.push_back(row.uniqueLineNo);
    return lines;
}

}  // namespace

// ---- clear, insert, copy the previous line ----------------------------------

void LineCommands::ClearLine() {
    if (m_s.busy()) return;
    ScreenState& st = m_s.state;
    Quotation& q = m_s.quotation;
    const int line = cursorLine(m_s);
    const bool inUse = line <= q.LastLine;
    if (inUse) {
        closeGap(m_s, line);
    } else {
        q.ClearLine(static_cast<size_t>(line));
        st.LineMark[static_cast<size_t>(line)] = 0;
    }
    if (q.LastLine < kVisibleRows) st.TopLine = 0;
    finish(m_s, inUse, Focus::LineKind);
}

void LineCommands::InsertLine() {
    if (m_s.busy()) return;
    Quotation& q = m_s.quotation;
    const int line = m_s.state.CurrentLine;
    // The 998th line is the last one a quotation can hold.
    if (line < 0 || line > q.LastLine || q.LastLine >= kLastSlotInUse) return m_s.focus->FocusCurrentField();
    openGap(m_s, line);
    finish(m_s, true, Focus::LineKind);
}

void LineCommands::CopyPrevious() {
    if (m_s.busy()) return;
    ScreenState& st = m_s.state;
    Quotation& q = m_s.quotation;
    const int line = st.CurrentLine;
    if (line <= 0 || line > kLastSlotInUse || line - 1 > q.LastLine) return m_s.focus->FocusCurrentField();
    QuotationLine& copy = q.lines[static_cast<size_t>(line)];
    copy = q.lines[static_cast<size_t>(line - 1)];
    newIdentity(copy);
    st.LineMark[static_cast<size_t>(line)] = 0;
    q.LastLine = std::max(q.LastLine, line);
    finish(m_s, true, Focus::LineKind);
}

// ---- the marked lines -------------------------------------------------------

void LineCommands::CopyMarked() {
    if (m_s.busy()) return;
    ScreenState& st = m_s.state;
    Quotation& q = m_s.quotation;
    const std::vector<int> marked = markedLines(m_s);
    if (marked.empty()) return m_s.focus->FocusCurrentField();
    // Taken before anything is written: targets may overlap the marked lines.
    std::vector<QuotationLine> copies;
    copies.reserve(marked.size());
    for (int i : marked) copies.push_back(q.lines[static_cast<size_t>(i)]);

    const int start = cursorLine(m_s);
    const int fitting = std::min(static_cast<int>(copies.size()), kMaxLinesInUse - start);
    for (int k = 0; k < fitting; ++k) {
        const auto target = static_cast<size_t>(start + k);
        q.lines[target] = std::move(copies[static_cast<size_t>(k)]);
        newIdentity(q.lines[target]);
        st.LineMark[target] = 0;
    }
    q.LastLine = std::max(q.LastLine, start + fitting - 1);
    const int left = static_cast<int>(copies.size()) - fitting;
    m_s.Notice(left > 0 ? notFitting(left) : "");
    finish(m_s, fitting > 0, Focus::LineKind);
}

void LineCommands::CopyToClipboard() {
    if (m_s.busy()) return;
    const Quotation& q = m_s.quotation;
    // Paste reads the lines back from the database: only lines of a stored
    // quotation that have been stored themselves can be found there.
    std::vector<const QuotationLine*> stored;
    int unsaved = 0;
    for (int i : markedLines(m_s)) {
        const QuotationLine& line = q.lines[static_cast<size_t>(i)];
        if (q.loaded() && !line.営業見積固有行No.empty())
            stored.push_back(&line);
        else
            ++unsaved;
    }
    if (stored.empty()) {
        if (unsaved > 0) m_s.Notice(q.loaded() ? unsavedLinesSkipped(unsaved) : kNotStored);
        return m_s.focus->FocusCurrentField();
    }
    DataAccess& access = m_s.program.access();
    // A new copy replaces this user's earlier one; otherwise the rows of two
    // copies of the same quotation would be pasted together.
    ClearClipboard(access, kQuotationProgram);
    int sequence = 0;
    for (const QuotationLine* line : stored) {
        ClipboardRow row;
        row.pasteProgram = kQuotationProgram;
        row.sequence = ThreeDigits(++sequence);
        row.kind = kDocumentLines;
        row.numberId = std::string(kQuotationNumberId);
        row.officeCode = q.loadedKey.事業所コード;
        row.baseDate = q.loadedKey.番号基準日付;
        row.number = q.loadedKey.営業見積No;
        row.uniqueLineNo = line->営業見積固有行No;
        velmora::CopyToClipboard(access, row);
    }
    if (unsaved > 0)
        m_s.Notice(unsavedLinesSkipped(unsaved));
    else
        m_s.Notice(m_s.state.Changed ? kStoredStateCopied : "");
    m_s.focus->FocusCurrentField();
}

void LineCommands::Paste() {
    if (m_s.busy()) return;
    DataAccess& access = m_s.program.access();
    ClipboardOrigin origin;
    if (!ClipboardSource(access, kQuotationProgram, std::string(kQuotationNumberId), origin))
        return m_s.focus->FocusCurrentField();
    const std::vector<std::string> uniqueLineNos = latestCopyOf(access, origin);
    if (uniqueLineNos.empty()) return m_s.focus->FocusCurrentField();

    Quotation& q = m_s.quotation;
    QuotationLoader loader(*m_s.scope);
    const int start = cursorLine(m_s);
    int pasted = 0;
    int gone = 0;
    int left = 0;
    for (const std::string& uniqueLineNo : uniqueLineNos) {
        if (q.LastLine >= kLastSlotInUse) {
            ++left;
            continue;
        }
        const int target = start + pasted;
        openGap(m_s, target);
        if (!loader.ReadStoredLine(origin.officeCode, origin.baseDate, origin.number, uniqueLineNo, target)) {
            closeGap(m_s, target);
            ++gone;
            continue;
        }
        newIdentity(q.lines[static_cast<size_t>(target)]);
        ++pasted;
    }
    std::string notice;
    if (left > 0) notice += notFitting(left);
    if (gone > 0) notice += sourceLinesGone(gone);
    m_s.Notice(notice);
    finish(m_s, pasted > 0, Focus::CurrentField);
}

void LineCommands::ClearMarks() {
    if (m_s.busy()) return;
    m_s.state.LineMark.fill(0);
    ClearClipboard(m_s.program.access(), kQuotationProgram);
    finish(m_s, false, Focus::CurrentField);
}

// ---- serial numbering -------------------------------------------------------

void LineCommands::Number() {
    if (m_s.busy()) return;
    Quotation& q = m_s.quotation;
    const std::vector<int> marked = markedLines(m_s);
    if (marked.empty()) return m_s.focus->FocusCurrentField();
    const bool numbered = std::any_of(marked.begin(), marked.end(), [&](int i) {
        return HasSerialPrefix(q.lines[static_cast<size_t>(i)].商品名);
    });
    const int style = m_s.state.NumberingStyle;
    // Numbering must be undone by numbering again: a name that would have to
    // lose its end to take its number could never be given back whole, so
    // such names stop the numbering before anything changes.
    std::vector<std::string> results;
    int unnumbered = 0;
    int tooLong = 0;
    int n = 0;
    for (int i : marked) {
        const std::string& name = q.lines[static_cast<size_t>(i)].商品名;
        if (numbered) {
            results.push_back(WithoutSerialPrefix(name));
            continue;
        }
        const std::string prefix = SerialPrefix(style, ++n);
        if (prefix.empty()) {
            ++unnumbered;
            results.push_back(name);
            continue;
        }
        std::string result = prefix + name;
        if (FitToBytes(result, kProductNameBytes) != result) ++tooLong;
        results.push_back(std::move(result));
    }
    if (tooLong > 0) {
        m_s.Notice(namesTooLongToNumber(tooLong));
        return m_s.focus->FocusCurrentField();
    }
    bool changed = false;
    for (std::size_t k = 0; k < marked.size(); ++k) {
        std::string& name = q.lines[static_cast<size_t>(marked[k])].商品名;
        if (results[k] == name) continue;
        name = std::move(results[k]);
        changed = true;
    }
    m_s.Notice(unnumbered > 0 ? beyondHighestNumber(style, unnumbered) : "");
    finish(m_s, changed, Focus::CurrentField);
}

void LineCommands::NextNumberingStyle() {
    if (m_s.busy()) return;
    ScreenState& st = m_s.state;
    st.NumberingStyle = (st.NumberingStyle + 1) % kNumberingStyleCount;
    if (m_s.view)
        m_s.view->SetCaption({"btn_連番タイプ"}, std::string(NumberingStyleCaption(st.NumberingStyle)));
    m_s.focus->FocusCurrentField();
}

}  // namespace velmora
