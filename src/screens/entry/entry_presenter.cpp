#include "screens/entry/entry_presenter.h"

#include <algorithm>

#include "app/program.h"
#include "platform/files.h"
#include "platform/process.h"
#include "data/sql_text.h"
#include "screens/entry/document_commands.h"
#include "screens/entry/draft_journal.h"
#include "screens/entry/entry_fields.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/focus_rules.h"
#include "screens/entry/grid_rows.h"
#include "screens/entry/header_entry.h"
#include "screens/entry/line_commands.h"
#include "screens/entry/line_undo.h"
#include "screens/entry/detail_pages.h"
#include "screens/entry/print_commands.h"
#include "screens/entry/lookup_opening.h"
#include "screens/entry/panel_starts.h"
#include "screens/lookup/lookup_windows.h"
#include "text/full_width.h"

namespace velmora {

namespace {

bool IsDocumentNumberField(const std::string& name) {
    return name == "営業見積No" || name == "参照営業見積No" || name == "参照営業引合No";
}

// A row's check box or line kind list is a line action, undone with the
// focus in the row's field the user was in (its 行区分 when the focus was
// elsewhere or the kind was chosen).
LineUndo::Action RowAction(EntryScreen& s, const Control& control) {
    const Control& current = s.state.CurrentField;
    const Control field = current.row >= 0 && control.name != "行区分名称" ? current : Control{"行区分", control.row};
    return LineUndo::Action(s.undo, LineUndo::Kind::Command, field, s.state.TopLine + control.row);
}

}  // namespace

struct EntryPresenter::Regions {
    explicit Regions(EntryScreen& s)
        : focus(s), header(s), grid(s), commands(s), starts(s), lines(s), pages(s), printing(s), undo(s) {
        s.focus = &focus;
        s.undo = &undo;
        s.headerEntry = &header;
        s.grid = &grid;
        s.commands = &commands;
        s.pages = &pages;
        commands.PrintAfterSave = [this] { printing.PrintSaved(); };
    }
    FocusRules focus;
    HeaderEntry header;
    GridRows grid;
    DocumentCommands commands;
    PanelStarts starts;
    LineCommands lines;
    DetailPages pages;
    PrintCommands printing;
    LineUndo undo;
};

EntryPresenter::EntryPresenter(Program& program, LookupWindows* lookups)
    : m_program(program),
      m_screen(std::make_unique<EntryScreen>(program, lookups, *this)),
      m_regions(std::make_unique<Regions>(*m_screen)) {}

EntryPresenter::~EntryPresenter() = default;

EntryScreen& EntryPresenter::screen() { return *m_screen; }
bool EntryPresenter::Changed() const { return m_screen->state.Changed; }
void EntryPresenter::SetChanged(bool changed) { m_screen->state.Changed = changed; }

void EntryPresenter::KeepDrafts(const std::string& storePath, DraftInstance self,
                                std::function<std::chrono::steady_clock::time_point()> clock) {
    const Session& session = m_program.session();
    m_journal = std::make_unique<DraftJournal>(
        *m_screen, storePath, DraftOwner{session.layout.RootFolder, session.運用事業所コード, session.StartStaffCode},
        std::move(self), std::move(clock));
    m_screen->journal = m_journal.get();
}

void EntryPresenter::KeepLookupsInStep(LookupSession& session) { m_screen->lookupSession = &session; }

void EntryPresenter::Load(EntryView& view) {
    m_screen->view = &view;
    view.SetWindowCaption(m_program.WindowCaption());
    view.SetTitlePanel(m_program.TitleCaption());
    view.SetNotice("");
    // Controls that Tab passes by: the drop-downs follow their code fields,
    // the envelope box and the names are reached by the mouse.
    for (const auto& f : HeaderFields())
        if (f.kind == EntryFieldKind::List || f.kind == EntryFieldKind::Display) m_regions->focus.SetTabStop({f.name}, false);
    m_regions->focus.SetTabStop({"chb_Kasmeri"}, false);
    for (int row = 0; row < kVisibleRows; ++row)
        for (const auto& f : RowFields())
            if (f.kind == EntryFieldKind::List || f.kind == EntryFieldKind::Check || f.kind == EntryFieldKind::Display)
                m_regions->focus.SetTabStop({f.name, row}, false);
    m_regions->commands.Start();
    // A run started for a given quotation or with presets shows what it was
    // started for; the drafts wait for a plain start.
    if (m_journal && TrimBlanks(m_program.session().rawCommandLine).empty())
        view.RunQuietly(0, [this] { m_journal->OfferRestore(); });
}

// Everything the user does that does not move the focus through a field's
// exit comes in here: scroll bar, wheel, clicks on panels, row numbers and
// buttons, pages, lists, function keys, the window's close (timers through
// EntryScreen::RunLater). The field being typed in is left first, as Tab
// leaves it (taken in, or put back with its message), so its text is never
// drawn over or read stale.
bool EntryPresenter::beginAction() { return m_screen->BeginAction(); }

// ---- what the window reports ------------------------------------------------

void EntryPresenter::FocusMoved(const Control& to, FocusBy by) {
    if (m_screen->busy()) return;
    m_screen->Noted();
    FocusRules& focus = m_regions->focus;
    const Control from = m_screen->state.Focused;
    focus.Transfer(to, true);
    // Tab picked the next field of the row before the field left changed
    // what takes Tab (a line kind that makes a subtotal line or a product
    // line again, a price that makes the amount worked out): the focus goes
    // where Tab leads now.
    if (by != FocusBy::Other && m_screen->state.Focused == to && from.row >= 0 && from.row == to.row &&
        RegionOf(from) == EntryRegion::Row)
        focus.TabOn(from, by == FocusBy::Tab);
}

void EntryPresenter::FieldEdited(const Control& field, const std::string& text) {
    if (m_screen->busy()) return;
    if (field.row >= 0)
        m_regions->grid.Edited(field, text);
    else
        m_regions->header.Edited(field.name, text);
}

void EntryPresenter::FieldGesture(const Control& field) {
    if (m_screen->busy()) return;
    if (field.row >= 0)
        m_regions->grid.OpenLookup(field, false);
    else
        m_regions->header.OpenLookup(field.name);
}

bool EntryPresenter::enterForLookup(const Control& field) {
    ScreenState& st = m_screen->state;
    if (st.Focused == field) return true;
    // Into the field as a click would: the field typed in is left, the
    // region check runs (the empty line after the last becomes a line).
    m_regions->focus.Transfer(field, false);
    return st.Focused == field;
}

void EntryPresenter::ButtonPressed(const Control& button) {
    if (m_screen->busy()) return;
    const std::string& name = button.name;
    // A lookup button searches from what its field holds, typed or not; the
    // field is entered first when the focus is elsewhere.
    const auto& fields = button.row >= 0 ? RowFields() : HeaderFields();
    for (const auto& f : fields) {
        if (f.button != name) continue;
        const Control field{f.name, button.row};
        if (!enterForLookup(field)) return;
        if (button.row >= 0)
            m_regions->grid.OpenLookup(field, true);
        else
            m_regions->header.OpenLookup(f.name);
        return;
    }
    if (button.row >= 0) return;
    if (!beginAction()) return;
    ScreenState& st = m_screen->state;
    DocumentCommands& commands = m_regions->commands;
    if (name == "btn_画面クリア") return commands.ClearToNew(true);
    if (name == "btn_登録") return commands.Save();
    if (name == "btn_削除") return commands.Delete();
    if (name == "btn_前No") return commands.Browse(true);
    if (name == "btn_次No") return commands.Browse(false);
    if (name == "btn_元に戻す") return m_regions->undo.Undo();
    if (name == "btn_やり直し") return m_regions->undo.Redo();
    if (name == "btn_終了") {
        if (commands.End() && m_screen->view) m_screen->view->CloseWindow();
        return;
    }
    PrintCommands& printing = m_regions->printing;
    const std::pair<const char*, void (PrintCommands::*)()> printCommands[] = {
        {"btn_印刷", &PrintCommands::Print},           {"btn_プレビュ", &PrintCommands::Preview},
        {"btn_帳票イメージ出力", &PrintCommands::ImageOutput}, {"btn_Talmire", &PrintCommands::CustomerOrder},
        {"btn_参照営業見積", &PrintCommands::CopyToNew},   {"btn_参照元No", &PrintCommands::OpenSource},
    };
    for (const auto& [command, run] : printCommands)
        if (name == command) return (printing.*run)();
    DetailPages& pages = m_regions->pages;
    const std::pair<const char*, void (DetailPages::*)()> attachmentCommands[] = {
        {"btn_付属書類追加", &DetailPages::AddFile},
        {"btn_フォルダ追加", &DetailPages::AddFolder},
        {"btn_付属書類削除", &DetailPages::DeleteAttachment},
    };
    for (const auto& [command, run] : attachmentCommands)
        if (name == command) return (pages.*run)();
    LineCommands& lines = m_regions->lines;
    const std::pair<const char*, void (LineCommands::*)()> lineCommands[] = {
        {"btn_行クリア", &LineCommands::ClearLine},          {"btn_行挿入", &LineCommands::InsertLine},
        {"btn_行複写", &LineCommands::CopyPrevious},         {"btn_指定行複写", &LineCommands::CopyMarked},
        {"btn_指定行コピー", &LineCommands::CopyToClipboard}, {"btn_指定行ペースト", &LineCommands::Paste},
        {"btn_指定行クリア", &LineCommands::ClearMarks},      {"btn_指定行連番", &LineCommands::Number},
        {"btn_連番タイプ", &LineCommands::NextNumberingStyle},
    };
    for (const auto& [command, run] : lineCommands)
        if (name == command) {
            const LineUndo::Action action = LineUndo::CommandAt(*m_screen);
            return (lines.*run)();
        }
    if (name == "btn_仕入先表示") {
        st.SupplierColumns = !st.SupplierColumns;
        m_regions->grid.RedrawColumns();
        m_regions->grid.RedrawRows();
        return m_regions->focus.FocusCurrentField();
    }
}

void EntryPresenter::CheckToggled(const Control& box, bool checked) {
    if (!beginAction()) return;
    if (box.row >= 0) {
        const LineUndo::Action action = RowAction(*m_screen, box);
        m_regions->grid.CheckToggled(box, checked);
    } else {
        m_regions->header.CheckToggled(box.name, checked);
    }
}

void EntryPresenter::ListChosen(const Control& list, int index) {
    if (!beginAction()) return;
    if (list.row >= 0) {
        const LineUndo::Action action = RowAction(*m_screen, list);
        m_regions->grid.ListChosen(list, index);
    } else {
        m_regions->header.ListChosen(list.name, index);
    }
}

void EntryPresenter::PageChosen(int page) {
    if (!beginAction()) return;
    ScreenState& st = m_screen->state;
    EntryView* view = m_screen->view;
    if (!st.DetailEnabled) {
        if (view) view->SetDetailPage(st.DetailPage);
        return;
    }
    st.DetailPage = page;
    if (view) view->SetScrollBarVisible(page == kPageSales || page == kPagePurchase);
    FocusRules& focus = m_regions->focus;
    if (page == kPageSales) focus.MoveFocus(focus.FirstRowField(0, 1));
    else if (page == kPagePurchase) focus.MoveFocus(focus.FirstRowField(0, 2));
    else if (page == kPageMemo) focus.MoveFocus({"営業見積メモ"});
}

void EntryPresenter::ListActivated(const std::string& list, int row) {
    if (!beginAction()) return;
    m_regions->pages.Activated(list, row);
}

void EntryPresenter::scrolled(int topLine) {
    ScreenState& st = m_screen->state;
    m_regions->focus.ScrollTo(topLine);
    if (st.CurrentField.row >= 0)
        m_regions->focus.Transfer({st.CurrentField.name, st.RowInPanel}, false);
    else
        m_regions->focus.FocusCurrentField();
}

void EntryPresenter::Scrolled(int value) {
    if (!beginAction()) return;
    scrolled(value);
}

void EntryPresenter::Wheel(int steps) {
    if (m_screen->busy() || m_screen->LastLine() + 1 < kVisibleRows) return;
    if (!beginAction()) return;
    scrolled(m_screen->state.TopLine + steps);
}

void EntryPresenter::LineKey(LineMove move) {
    if (m_screen->busy()) return;
    ScreenState& st = m_screen->state;
    const Control from = st.Focused;
    if (from.row < 0 || RegionOf(from) != EntryRegion::Row) return;
    if (!beginAction()) return;
    // The field left may have moved the focus (a line kind of 0 at the end).
    if (st.Focused != from) return;
    if (move == LineMove::Kind) return m_regions->focus.Transfer({"行区分", from.row}, false);
    const int last = m_screen->LastLine();
    int line = st.CurrentLine;
    switch (move) {
        case LineMove::PageDown: line += kVisibleRows; break;
        case LineMove::PageUp: line -= kVisibleRows; break;
        case LineMove::First: line = 0; break;
        case LineMove::Last: line = last; break;
        case LineMove::Kind: break;
    }
    m_regions->focus.GoToLine(std::clamp(line, 0, std::max(last, 0)), from.name);
}

void EntryPresenter::PanelClicked(const Control& panel) {
    if (!beginAction()) return;
    const std::string& name = panel.name;
    if (name == "manualpanel") return openManual();
    if (m_regions->starts.Start(name)) return;
    if (name.rfind("itm_ttl_", 0) == 0) {
        m_regions->focus.MoveFocus({name.substr(8)});
        return;
    }
    if (panel.row >= 0) {
        // A registration program may give the line a product or supplier.
        const LineUndo::Action action = RowAction(*m_screen, panel);
        m_regions->starts.StartRow(panel);
    }
}

void EntryPresenter::openManual() {
    const std::string folder = m_program.session().layout.ManualFolder + "/";
    // The manual is named after the program in full-width letters; a plain
    // name is taken too.
    for (const std::string& file : {ToFullWidth("Velmora") + ".doc", std::string("Velmora.doc")}) {
        if (FileExists(folder + file)) {
            if (!ShellOpen(folder + file) && m_screen->view)
                m_screen->view->ShowMessage("マニュアルを開けませんでした。\n" + folder + file);
            return;
        }
    }
    if (m_screen->view) m_screen->view->ShowMessage("マニュアルがありません。\n" + folder + "Velmora.doc");
}

bool EntryPresenter::CloseRequested() {
    if (m_program.ended()) return true;
    if (!beginAction()) return false;
    return m_regions->commands.End();
}

void EntryPresenter::EndWithoutAsking() { m_program.EndProgram(); }

// ---- lookup windows handing their choice back -------------------------------

void EntryPresenter::setHostEnabled(bool enabled) {
    if (m_screen->view) m_screen->view->SetWindowEnabled(enabled);
}

void EntryPresenter::setControlText(const std::string& control, const std::string& text) {
    const Control c = ControlFromLookupName(control);
    if ((IsDocumentNumberField(c.name) || (c.name == "商品名" && c.row >= 0)) && m_screen->lookups)
        m_screen->state.PickedKey = m_screen->lookups->context().LookupCondition;
    if (m_screen->view) m_screen->view->SetText(c, text);
}

void EntryPresenter::focusControl(const std::string& control) {
    const Control c = ControlFromLookupName(control);
    m_screen->Noted();
    if (!FindEntryField(c.name)) return;
    // The lookup was opened from the field it fills: the choice is read at
    // once, as leaving the field would read it.
    if (c == m_screen->state.Focused) return m_regions->focus.Commit(c);
    m_regions->focus.Transfer(c, false);
}

std::optional<std::string> EntryPresenter::controlText(const std::string& control) const {
    const Control c = ControlFromLookupName(control);
    if (!FindEntryField(c.name) || !m_screen->view) return std::nullopt;
    return m_screen->view->Text(c);
}

void EntryPresenter::resolveNextFocus(std::string& control) {
    const Control wanted = ControlFromLookupName(control);
    static const std::vector<Control> order = EntryTabOrder();
    auto it = std::find(order.begin(), order.end(), wanted);
    if (it == order.end()) return;
    for (auto back = std::make_reverse_iterator(it + 1); back != order.rend(); ++back)
        if (m_regions->focus.CanTakeFocus(*back) && !IsSentinel(*back)) {
            control = LookupControlName(*back);
            return;
        }
}

}  // namespace velmora
