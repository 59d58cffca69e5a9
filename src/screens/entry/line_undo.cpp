#include "screens/entry/line_undo.h"

#include <algorithm>

#include "screens/entry/entry_fields.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/focus_rules.h"

namespace velmora {

namespace {

constexpr const char* kUndoButton = "btn_元に戻す";
constexpr const char* kRedoButton = "btn_やり直し";
constexpr const char* kLineKindField = "行区分";
constexpr const char* kHistoryDropped = "見出しの変更で明細が計算し直されたため、それより前には戻せません。";
constexpr int kLastSlotInUse = kMaxLinesInUse - 1;

const QuotationLine& clearedLine() {
    static const QuotationLine cleared;
    return cleared;
}

// The totals follow from the lines; the rest of the header is the user's.
void takeTotals(PricedHeader& to, const PricedHeader& from) {
    to.見積数量合計 = from.見積数量合計;
    to.見積金額合計 = from.見積金額合計;
    to.税抜見積金額合計 = from.税抜見積金額合計;
    to.見積消費税合計 = from.見積消費税合計;
    to.税込見積金額合計 = from.税込見積金額合計;
    to.仕入数量合計 = from.仕入数量合計;
    to.仕入金額合計 = from.仕入金額合計;
    to.税抜仕入金額合計 = from.税抜仕入金額合計;
    to.仕入消費税合計 = from.仕入消費税合計;
    to.税込仕入金額合計 = from.税込仕入金額合計;
    to.sellingSums = from.sellingSums;
    to.purchaseSums = from.purchaseSums;
    to.DocTax = from.DocTax;
}

}  // namespace

// ---- actions ----------------------------------------------------------------

LineUndo::Action::Action(LineUndo* undo, Kind kind, const Control& field, int line) : m_undo(undo) {
    if (m_undo) m_undo->begin(kind, field, line);
}

LineUndo::Action::~Action() {
    if (m_undo) m_undo->end();
}

LineUndo::Action LineUndo::ExitOf(EntryScreen& screen, const Control& field) {
    if (!screen.undo || field.row < 0 || RegionOf(field) != EntryRegion::Row || IsSentinel(field))
        return Action(nullptr, Kind::FieldExit, field, 0);
    return Action(screen.undo, Kind::FieldExit, field, screen.state.TopLine + field.row);
}

LineUndo::Action LineUndo::CommandAt(EntryScreen& screen) {
    return Action(screen.undo, Kind::Command, screen.state.CurrentField, screen.state.CurrentLine);
}

void LineUndo::begin(Kind kind, const Control& field, int line) {
    if (m_depth++ > 0) return;
    if (!linesAsRecorded()) dropHistory();
    m_kind = kind;
    m_field = field;
    m_line = line;
}

void LineUndo::end() {
    if (--m_depth > 0) return;
    record();
    showButtons();
}

// ---- the copy of the lines --------------------------------------------------

void LineUndo::takeCopy() {
    const Quotation& q = m_s.quotation;
    m_last = q.LastLine;
    m_lines.assign(q.lines.begin(), q.lines.begin() + (m_last + 1));
    m_marks = m_s.state.LineMark;
}

void LineUndo::Reset() {
    m_steps.clear();
    m_pos = 0;
    // Unsaved work taken in (a restored draft, a command line's presets) is
    // no state to come back to as unchanged.
    m_basePos = m_s.state.Changed ? -1 : 0;
    m_baseHeader = m_s.quotation.header;
    m_dropped = false;
    takeCopy();
    showButtons();
}

void LineUndo::dropHistory() {
    m_steps.clear();
    m_pos = 0;
    m_basePos = -1;
    m_dropped = true;
    takeCopy();
}

bool LineUndo::linesAsRecorded() const {
    const Quotation& q = m_s.quotation;
    if (m_s.state.LineMark != m_marks) return false;
    // Slots past LastLine are kept cleared, on the screen and in the copy.
    const int slots = std::max(q.LastLine, m_last) + 1;
    for (int i = 0; i < slots; ++i) {
        const QuotationLine& recorded = i <= m_last ? m_lines[static_cast<size_t>(i)] : clearedLine();
        if (!(q.lines[static_cast<size_t>(i)] == recorded)) return false;
    }
    return true;
}

void LineUndo::record() {
    const Quotation& q = m_s.quotation;
    const auto& marks = m_s.state.LineMark;
    const int oldCount = m_last + 1;
    const int newCount = q.LastLine + 1;
    const int common = std::min(oldCount, newCount);
    int prefix = 0;
    while (prefix < common && q.lines[static_cast<size_t>(prefix)] == m_lines[static_cast<size_t>(prefix)]) ++prefix;
    int suffix = 0;
    while (suffix < common - prefix &&
           q.lines[static_cast<size_t>(newCount - 1 - suffix)] == m_lines[static_cast<size_t>(oldCount - 1 - suffix)])
        ++suffix;
    const bool marksChanged = marks != m_marks;
    if (!marksChanged && prefix == oldCount && prefix == newCount) return;
    // The focus came into the empty line after the last, which made it a
    // line in use: nothing is in it yet. It counts with what is typed there.
    if (m_kind == Kind::FieldExit && !marksChanged && prefix == oldCount &&
        std::all_of(q.lines.begin() + oldCount, q.lines.begin() + newCount,
                    [](const QuotationLine& l) { return l == clearedLine(); }))
        return;

    Step step;
    step.at = prefix;
    step.before.assign(m_lines.begin() + prefix, m_lines.begin() + (oldCount - suffix));
    step.after.assign(q.lines.begin() + prefix, q.lines.begin() + (newCount - suffix));
    step.linesChanged = !(prefix == oldCount && prefix == newCount);
    step.lastBefore = m_last;
    step.lastAfter = q.LastLine;
    step.field = m_field;
    step.line = m_line;
    if (marksChanged) {
        step.marksChanged = true;
        for (std::size_t i = 0; i < kLineSlots; ++i) {
            if (m_marks[i] != 0) step.marksBefore.emplace_back(static_cast<std::int16_t>(i), m_marks[i]);
            if (marks[i] != 0) step.marksAfter.emplace_back(static_cast<std::int16_t>(i), marks[i]);
        }
    }
    // Only the middle of the copy changes.
    m_lines.erase(m_lines.begin() + prefix, m_lines.begin() + (oldCount - suffix));
    m_lines.insert(m_lines.begin() + prefix, step.after.begin(), step.after.end());
    m_last = q.LastLine;
    m_marks = marks;

    // A new step ends what could be redone.
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_pos), m_steps.end());
    if (m_basePos > static_cast<long>(m_pos)) m_basePos = -1;
    m_steps.push_back(std::move(step));
    ++m_pos;
    if (m_steps.size() > kSteps) {
        m_steps.pop_front();
        --m_pos;
        if (m_basePos >= 0) --m_basePos;
    }
}

// ---- undo and redo ------------------------------------------------------------

bool LineUndo::splice(int at, std::size_t removed, const std::vector<QuotationLine>& inserted, int newLast) {
    Quotation& q = m_s.quotation;
    auto& lines = q.lines;
    const int oldCount = m_last + 1;
    const int removedCount = static_cast<int>(removed);
    const int insertedCount = static_cast<int>(inserted.size());
    const int newCount = oldCount - removedCount + insertedCount;
    if (at < 0 || at + removedCount > oldCount || newCount != newLast + 1 || newCount > kMaxLinesInUse) return false;
    // The screen holds the lines of the copy (an empty line entered after
    // them is let go).
    for (int i = oldCount; i <= q.LastLine; ++i) lines[static_cast<size_t>(i)] = QuotationLine();
    const int shift = insertedCount - removedCount;
    if (shift > 0) {
        for (int i = oldCount - 1; i >= at + removedCount; --i)
            lines[static_cast<size_t>(i + shift)] = std::move(lines[static_cast<size_t>(i)]);
    } else if (shift < 0) {
        for (int i = at + removedCount; i < oldCount; ++i)
            lines[static_cast<size_t>(i + shift)] = std::move(lines[static_cast<size_t>(i)]);
        for (int i = newCount; i < oldCount; ++i) lines[static_cast<size_t>(i)] = QuotationLine();
    }
    std::copy(inserted.begin(), inserted.end(), lines.begin() + at);
    q.LastLine = newLast;

    m_lines.erase(m_lines.begin() + at, m_lines.begin() + (at + removedCount));
    m_lines.insert(m_lines.begin() + at, inserted.begin(), inserted.end());
    m_last = newLast;
    return true;
}

void LineUndo::setMarks(const SparseMarks& marks) {
    auto& lineMark = m_s.state.LineMark;
    lineMark.fill(0);
    for (const auto& [line, mark] : marks) lineMark[static_cast<size_t>(line)] = mark;
    m_marks = lineMark;
}

void LineUndo::Undo() {
    if (m_depth > 0) return;
    if (!linesAsRecorded()) dropHistory();
    if (m_pos == 0) {
        if (m_dropped) m_s.Notice(kHistoryDropped);
        showButtons();
        return m_s.focus->FocusCurrentField();
    }
    const Step& step = m_steps[m_pos - 1];
    ++m_depth;
    const bool done = splice(step.at, step.after.size(), step.before, step.lastBefore);
    if (done) {
        if (step.marksChanged) setMarks(step.marksBefore);
        --m_pos;
        move(step);
    }
    --m_depth;
    if (!done) {
        dropHistory();
        showButtons();
    }
}

void LineUndo::Redo() {
    if (m_depth > 0) return;
    if (!linesAsRecorded()) dropHistory();
    if (m_pos >= m_steps.size()) {
        showButtons();
        return m_s.focus->FocusCurrentField();
    }
    const Step& step = m_steps[m_pos];
    ++m_depth;
    const bool done = splice(step.at, step.before.size(), step.after, step.lastAfter);
    if (done) {
        if (step.marksChanged) setMarks(step.marksAfter);
        ++m_pos;
        move(step);
    }
    --m_depth;
    if (!done) {
        dropHistory();
        showButtons();
    }
}

std::size_t LineUndo::HeldLines() const {
    std::size_t lines = 0;
    for (const Step& step : m_steps) lines += step.before.size() + step.after.size();
    return lines;
}

bool LineUndo::linesAsAtBase() const {
    if (m_basePos < 0) return false;
    const auto pos = static_cast<long>(m_pos);
    // Marks are no part of the quotation: steps that only set them count as none.
    for (long i = std::min(pos, m_basePos); i < std::max(pos, m_basePos); ++i)
        if (m_steps[static_cast<size_t>(i)].linesChanged) return false;
    return true;
}

bool LineUndo::headerAsAtBase() const {
    QuotationHeader base = m_baseHeader;
    takeTotals(base, m_s.quotation.header);
    return base == m_s.quotation.header;
}

// The lines are put back: totals, rows and the focus follow, where the
// action was given.
void LineUndo::move(const Step& step) {
    ScreenState& st = m_s.state;
    m_s.scope->RecomputeTotals();
    st.Changed = !(linesAsAtBase() && headerAsAtBase());
    const int lines = m_s.LastLine() + 1;
    const int line = std::clamp(step.line, 0, std::min(lines, kLastSlotInUse));
    const int highestTop =
        lines < kVisibleRows ? 0 : std::min(lines - (kVisibleRows - 1), kMaxLinesInUse - kVisibleRows);
    st.TopLine = std::clamp(st.TopLine, 0, highestTop);
    st.TopLine = std::clamp(st.TopLine, std::max(0, line - (kVisibleRows - 1)), line);
    st.CurrentLine = line;
    st.RowInPanel = line - st.TopLine;
    m_s.Notice("");
    m_s.RedrawLines();
    showButtons();
    if (step.field.empty()) return m_s.focus->FocusCurrentField();
    if (step.field.row < 0) return m_s.focus->Transfer(step.field, false);
    Control to{step.field.name, st.RowInPanel};
    // A field the line no longer lets in (an amount worked out again): the
    // row's first field instead.
    if (to.name != kLineKindField && !m_s.focus->CanTakeFocus(to)) {
        const Control first = m_s.focus->FirstRowField(st.RowInPanel, m_s.focus->RowPage());
        if (!first.empty()) to = first;
    }
    m_s.focus->Transfer(to, false);
}

void LineUndo::showButtons() {
    if (!m_s.focus) return;
    m_s.focus->SetEnabled({kUndoButton}, CanUndo());
    m_s.focus->SetEnabled({kRedoButton}, CanRedo());
}

}  // namespace velmora
