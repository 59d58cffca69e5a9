#include "screens/entry/focus_rules.h"

#include <algorithm>

#include "screens/entry/document_commands.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/grid_rows.h"
#include "screens/entry/header_entry.h"
#include "screens/entry/line_undo.h"

namespace velmora {

namespace {

constexpr const char* kRequiredMissing = "必須項目が未入力です。";
constexpr const char* kHeaderLastField = "見積期限";
constexpr const char* kTailFirstField = "見積伝票備考A";
constexpr const char* kTailLastField = "見積伝票備考B";
constexpr const char* kMemoField = "営業見積メモ";

// Row fields that can be typed, in the order the focus looks for the first
// one; the last one is looked for backwards.
const std::vector<std::string>& RowInputs(int page) {
    static const std::vector<std::string> page1 = {"商品コード", "商品名", "見積数量", "見積単位",
                                                   "見積単価",   "見積金額", "見積消費税"};
    static const std::vector<std::string> page2 = {"仕入先コード", "仕入先名称A", "仕入数量", "仕入単位",
                                                   "仕入単価",     "仕入金額",    "仕入消費税"};
    return page == 2 ? page2 : page1;
}

}  // namespace

EntryRegion RegionOf(const Control& control) {
    const EntryField* f = FindEntryField(control.name);
    return f ? f->region : EntryRegion::None;
}

bool IsSentinel(const Control& control) {
    const EntryField* f = FindEntryField(control.name);
    return f && f->kind == EntryFieldKind::Sentinel;
}

// ---- moving the focus -------------------------------------------------------

void FocusRules::Transfer(const Control& to, bool byUser) {
    ScreenState& st = m_s.state;
    const Control from = st.Focused;
    if (from == to) {
        if (!byUser && m_s.view) m_s.view->FocusControl(to);
        return;
    }
    // Leaving a row field is a line action the user can undo.
    const LineUndo::Action exit = LineUndo::ExitOf(m_s, from);
    st.Focused = to;
    if (!byUser && m_s.view) m_s.view->FocusControl(to);
    if (!from.empty()) leave(from);
    // The field left may have sent the focus on itself.
    if (st.Focused != to) return;
    enter(from, to);
}

void FocusRules::Commit(const Control& field) {
    const LineUndo::Action exit = LineUndo::ExitOf(m_s, field);
    leave(field);
}

void FocusRules::MoveFocus(const Control& to) {
    if (to.empty() || !CanTakeFocus(to)) return;
    Transfer(to, false);
}

void FocusRules::TabOn(const Control& from, bool forward) {
    static const std::vector<Control> order = EntryTabOrder();
    auto at = std::find(order.begin(), order.end(), from);
    if (at == order.end()) return;
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    for (std::ptrdiff_t step = 1; step < n; ++step) {
        const std::ptrdiff_t i = ((at - order.begin()) + (forward ? step : -step) % n + n) % n;
        const Control& next = order[static_cast<size_t>(i)];
        if (CanTakeFocus(next)) {
            if (next != m_s.state.Focused) Transfer(next, false);
            return;
        }
    }
}

void FocusRules::FocusCurrentField() {
    const Control& current = m_s.state.CurrentField;
    if (!current.empty() && current != m_s.state.Focused) Transfer(current, false);
    else if (m_s.view) m_s.view->FocusControl(current);
}

void FocusRules::leave(const Control& from) {
    if (IsSentinel(from) || !m_s.view) return;
    const EntryField* f = FindEntryField(from.name);
    if (!f) return;
    switch (f->kind) {
        case EntryFieldKind::Check:
        case EntryFieldKind::List:
        case EntryFieldKind::Display:
        case EntryFieldKind::Sentinel:
            return;
        default:
            break;
    }
    const std::string text = m_s.view->Text(from);
    if (f->region == EntryRegion::Row)
        m_s.grid->Leave(from, text);
    else
        m_s.headerEntry->Leave(from.name, text);
}

void FocusRules::enter(const Control& from, const Control& to) {
    ScreenState& st = m_s.state;
    if (to.name == kHeadEnd) return headerEnd(from);
    if (to.name == kPage1End || to.name == kPage2End) return rowEnd(from, to);
    if (to.name == kTailEnd) return tailEnd(from);
    switch (RegionOf(to)) {
        case EntryRegion::Row:
            if (!EnterRow(to.row, to.name)) return;
            break;
        case EntryRegion::Tail:
            if (!EnterTail()) return;
            break;
        case EntryRegion::Memo:
            if (!HeaderComplete()) return;
            break;
        case EntryRegion::Header:
        case EntryRegion::None:
            break;
    }
    if (st.Focused == to && RegionOf(to) != EntryRegion::None) st.CurrentField = to;
}

// ---- sentinels --------------------------------------------------------------

void FocusRules::headerEnd(const Control& from) {
    ScreenState& st = m_s.state;
    if (!HeaderComplete()) return;
    st.DetailEnabled = true;
    if (m_s.view) m_s.view->SetDetailEnabled(true);
    const EntryRegion came = RegionOf(from);
    if (came == EntryRegion::Header || came == EntryRegion::None) {
        switch (st.DetailPage) {
            case kPageSales:
                return MoveFocus(FirstRowField(0, 1));
            case kPagePurchase:
                return MoveFocus(FirstRowField(0, 2));
            case kPageMemo:
                return MoveFocus({kMemoField});
            default:
                return goToTail();
        }
    }
    // Backwards out of row 0 (or the memo page).
    if (came != EntryRegion::Row || st.CurrentLine < 1) return MoveFocus({kHeaderLastField});
    ScrollTo(st.TopLine - 1);
    MoveFocus(LastRowField(0, RowPage()));
}

void FocusRules::rowEnd(const Control& from, const Control& sentinel) {
    ScreenState& st = m_s.state;
    const int page = sentinel.name == kPage2End ? 2 : 1;
    const int r = sentinel.row;
    const bool forward = from.row == r && RegionOf(from) == EntryRegion::Row;
    if (RegionOf(from) == EntryRegion::Tail) return backFromTail(page);
    if (!forward) {
        if (st.CurrentLine < 1) return MoveFocus({kHeaderLastField});
        return moveUpFrom(st.RowInPanel, page);
    }
    const int last = m_s.LastLine();
    if (st.CurrentLine > last) return goToTail();
    // An empty line left forward at the end is no line: Tab through it
    // reaches the tail instead of adding empty lines without end.
    if (st.CurrentLine == last && m_s.grid->IsBlankLine(st.CurrentLine)) {
        m_s.grid->DropBlankLastLine();
        return goToTail();
    }
    if (st.CurrentLine >= kMaxLinesInUse - 1) return goToTail();
    if (r < kVisibleRows - 1) return MoveFocus(FirstRowField(r + 1, page));
    ScrollTo(st.TopLine + 1);
    MoveFocus(FirstRowField(kVisibleRows - 1, page));
}

void FocusRules::moveUpFrom(int row, int page) {
    if (row > 0) return MoveFocus(LastRowField(row - 1, page));
    ScrollTo(m_s.state.TopLine - 1);
    MoveFocus(LastRowField(0, page));
}

void FocusRules::backFromTail(int page) {
    ScreenState& st = m_s.state;
    const int last = m_s.LastLine();
    if (last < 0) return MoveFocus(FirstRowField(0, page));
    if (last < st.TopLine || last >= st.TopLine + kVisibleRows) ScrollTo(last - (kVisibleRows - 1));
    MoveFocus(LastRowField(last - st.TopLine, page));
}

void FocusRules::tailEnd(const Control& from) {
    ScreenState& st = m_s.state;
    if (from.name != kTailLastField) return MoveFocus({kTailLastField});
    st.CurrentField = st.FirstField;
    if (st.Changed)
        m_s.commands->Save();
    else
        MoveFocus(st.FirstField);
}

void FocusRules::goToTail() { MoveFocus({kTailFirstField}); }

// ---- region and required-field checks ---------------------------------------

std::string FocusRules::MissingHeaderField() const {
    const QuotationHeader& h = m_s.quotation.header;
    const std::pair<const char*, const std::string*> required[] = {
        {"営業見積日付年", &h.営業見積日付年}, {"営業見積日付月", &h.営業見積日付月},
        {"営業見積日付日", &h.営業見積日付日}, {"営業見積No", &h.営業見積No},
        {"得意先コード", &h.得意先コード},     {"担当者コード", &h.担当者コード},
        {"部門コード", &h.部門コード},         {"セクションコード", &h.セクションコード},
    };
    for (const auto& [name, value] : required)
        if (value->empty()) return name;
    return {};
}

int FocusRules::LineWithoutKind() const {
    for (int i = 0; i <= m_s.LastLine(); ++i)
        if (m_s.quotation.lines[static_cast<size_t>(i)].行区分 == kLineUnset) return i;
    return -1;
}

bool FocusRules::HeaderComplete() {
    const std::string missing = MissingHeaderField();
    if (missing.empty()) return true;
    m_s.Notice(kRequiredMissing);
    Transfer({missing}, false);
    return false;
}

bool FocusRules::RequiredFieldsComplete() {
    if (!HeaderComplete()) return false;
    const int line = LineWithoutKind();
    if (line < 0) return true;
    m_s.Notice(kRequiredMissing);
    focusLineKind(line);
    return false;
}

void FocusRules::focusLineKind(int line) {
    ScreenState& st = m_s.state;
    st.CurrentLine = line;
    st.RowInPanel = line % kVisibleRows;
    st.TopLine = line - st.RowInPanel;
    m_s.grid->RedrawRows();
    ScrollBarSetUp();
    Transfer({"行区分", st.RowInPanel}, false);
}

bool FocusRules::EnterRow(int row, const std::string& field) {
    if (!HeaderComplete()) return false;
    ScreenState& st = m_s.state;
    Quotation& q = m_s.quotation;
    st.RowInPanel = row;
    st.CurrentLine = st.TopLine + row;
    if (st.CurrentLine == q.LastLine + 1 && st.CurrentLine < kMaxLinesInUse &&
        q.lines[static_cast<size_t>(st.CurrentLine)].行区分 > kLineUnset) {
        q.LastLine = st.CurrentLine;
        QuotationLine& line = q.lines[static_cast<size_t>(st.CurrentLine)];
        line.営業見積固有行No.clear();
        line.営業見積行No.clear();
        ScrollBarSetUp();
        m_s.grid->RedrawRows();
    }
    if (st.CurrentLine > q.LastLine + 1) {
        const int target = q.LastLine + 1 - st.TopLine;
        if (target >= 0 && target < kVisibleRows) Transfer({field, target}, false);
        return false;
    }
    return true;
}

bool FocusRules::EnterTail() {
    if (!HeaderComplete()) return false;
    const int line = LineWithoutKind();
    if (line < 0) return true;
    focusLineKind(line);
    return false;
}

// ---- tab stops, enabled states, row fields ----------------------------------

void FocusRules::SetTabStop(const Control& control, bool tabStop) {
    auto it = m_tabStop.find(control);
    if (it != m_tabStop.end() && it->second == tabStop) return;
    m_tabStop[control] = tabStop;
    if (m_s.view) m_s.view->SetTabStop(control, tabStop);
}

void FocusRules::SetEnabled(const Control& control, bool enabled) {
    auto it = m_enabled.find(control);
    if (it != m_enabled.end() && it->second == enabled) return;
    m_enabled[control] = enabled;
    if (m_s.view) m_s.view->SetEnabled(control, enabled);
}

bool FocusRules::CanTakeFocus(const Control& control) const {
    const EntryField* f = FindEntryField(control.name);
    if (!f || f->kind == EntryFieldKind::Display) return false;
    if (auto it = m_tabStop.find(control); it != m_tabStop.end() && !it->second) return false;
    if (auto it = m_enabled.find(control); it != m_enabled.end() && !it->second) return false;
    const ScreenState& st = m_s.state;
    if (f->region == EntryRegion::Row) {
        if (!st.DetailEnabled) return false;
        if (f->page == 1 && st.DetailPage != kPageSales) return false;
        if (f->page == 2 && st.DetailPage != kPagePurchase) return false;
        if (f->page == 2 && !st.SupplierColumns &&
            (f->name == "仕入先コード" || f->name == "仕入先名称A" || f->name == "chb_仕入先対応先"))
            return false;
    }
    if (f->region == EntryRegion::Memo && (!st.DetailEnabled || st.DetailPage != kPageMemo)) return false;
    return true;
}

Control FocusRules::FirstRowField(int row, int page) const {
    for (const std::string& name : RowInputs(page))
        if (CanTakeFocus({name, row})) return {name, row};
    return {};
}

Control FocusRules::LastRowField(int row, int page) const {
    const auto& names = RowInputs(page);
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        if (CanTakeFocus({*it, row})) return {*it, row};
    return {};
}

int FocusRules::RowPage() const { return m_s.state.DetailPage == kPagePurchase ? 2 : 1; }

// ---- scrolling ----------------------------------------------------------------

void FocusRules::ScrollTo(int topLine) {
    ScreenState& st = m_s.state;
    const int lines = m_s.LastLine() + 1;
    const int maximum = lines < kVisibleRows ? 0 : std::min(lines - (kVisibleRows - 1), 988);
    st.TopLine = std::clamp(topLine, 0, maximum);
    if (st.TopLine + st.RowInPanel > m_s.LastLine() + 1) st.RowInPanel = std::max(0, m_s.LastLine() - st.TopLine + 1);
    st.CurrentLine = st.TopLine + st.RowInPanel;
    m_s.grid->RedrawRows();
    ScrollBarSetUp();
}

void FocusRules::GoToLine(int line, const std::string& field) {
    ScreenState& st = m_s.state;
    if (line < st.TopLine || line >= st.TopLine + kVisibleRows) ScrollTo(line - st.RowInPanel);
    const int row = std::clamp(line - st.TopLine, 0, kVisibleRows - 1);
    const Control wanted{field, row};
    const Control to = CanTakeFocus(wanted) ? wanted : FirstRowField(row, RowPage());
    if (to.empty()) return;
    if (to == st.Focused) {
        // Scrolled under the field: the same row now stands for another line.
        st.CurrentLine = st.TopLine + row;
        if (m_s.view) m_s.view->FocusControl(to);
        return;
    }
    Transfer(to, false);
}

void FocusRules::ScrollBarSetUp() {
    if (!m_s.view) return;
    const int lines = m_s.LastLine() + 1;
    if (lines < kVisibleRows) {
        m_s.view->SetScrollBar(false, 0, 0);
        return;
    }
    const int maximum = lines >= kMaxLinesInUse ? 988 : lines - (kVisibleRows - 1);
    m_s.view->SetScrollBar(true, maximum, m_s.state.TopLine);
}

}  // namespace velmora
