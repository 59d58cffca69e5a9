#include "screens/entry/document_commands.h"

#include "app/program.h"
#include "app/sign_in.h"
#include "data/clock.h"
#include "data/data_access.h"
#include "quotation/browse.h"
#include "quotation/closing_dates.h"
#include "quotation/delete.h"
#include "quotation/follow_up.h"
#include "quotation/load.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"
#include "quotation/save_status.h"
#include "screens/entry/detail_pages.h"
#include "screens/entry/draft_journal.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/focus_rules.h"
#include "screens/entry/grid_rows.h"
#include "screens/entry/header_entry.h"
#include "screens/entry/line_undo.h"
#include "screens/entry/session_bridge.h"

namespace velmora {

namespace {

constexpr const char* kQuestionNew = "登録します。よろしいですか？";
constexpr const char* kQuestionLoaded = "修正します。よろしいですか？";
constexpr const char* kDiscardPrefix = "入力がありました。\n";

std::string Today(DataAccess& access) { return FormatDate(access.Now()); }

}  // namespace

void DocumentCommands::newQuotation() {
    Session& session = m_s.program.session();
    StartNewQuotation(*m_s.scope, Today(m_s.program.access()));
    QuotationHeader& h = m_s.header();
    // A run started for another office's quotation numbers in that office.
    if (!session.currentOfficeCode.empty() && session.currentOfficeCode != h.事業所コード) {
        h.事業所コード = session.currentOfficeCode;
        h.営業見積No = m_s.scope->numbering.PeekNumber(kQuotationNumberId, h.番号基準日付, h.事業所コード);
    }
    h.見積納期日付 = h.営業見積日付;
    SplitDate(h.見積納期日付, h.見積納期日付年, h.見積納期日付月, h.見積納期日付日);
    ScreenState& st = m_s.state;
    st.NewEntry = true;
    st.Changed = false;
    if (m_s.journal) m_s.journal->Discard();
    st.TopLine = st.RowInPanel = st.CurrentLine = 0;
    st.LineMark.fill(0);
    st.NumberingStyle = 0;
    st.Envelope = false;
    st.PickedKey.clear();
    m_s.pages->Redraw();
    if (m_s.undo) m_s.undo->Reset();
}

void DocumentCommands::resetDetailArea() {
    ScreenState& st = m_s.state;
    st.DetailEnabled = false;
    st.DetailPage = kPageSales;
    if (!m_s.view) return;
    m_s.view->SetScrollBar(false, 0, 0);
    m_s.view->SetScrollBarVisible(true);
    m_s.view->SetDetailPage(kPageSales);
    m_s.view->SetDetailEnabled(false);
    m_s.view->SetNotice("");
}

void DocumentCommands::Start() {
    Session& session = m_s.program.session();
    ScreenState& st = m_s.state;
    st.ExitAfterSave = session.ExitAfterSave;
    st.CreateFromCommand = session.CreateFromCommand;
    m_s.headerEntry->FillLists();
    m_s.grid->FillLists();
    bool loaded = false;
    if (!session.NewEntry) {
        const CommandKey& key = session.command.document;
        QuotationLoader loader(*m_s.scope);
        loaded = loader.OpenStored(key.officeCode, key.baseDate, key.number);
    }
    if (loaded) {
        ShowLoaded();
    } else {
        newQuotation();
        if (session.NewEntry && st.CreateFromCommand) m_s.headerEntry->ApplyPresets(session.command);
        m_s.FullRedraw();
        if (m_s.undo) m_s.undo->Reset();
    }
    resetDetailArea();
    m_s.focus->MoveFocus(st.FirstField);
}

void DocumentCommands::ShowLoaded() {
    ScreenState& st = m_s.state;
    st.NewEntry = m_s.quotation.NewEntry;
    st.Changed = false;
    if (m_s.journal) m_s.journal->Discard();
    st.TopLine = st.RowInPanel = st.CurrentLine = 0;
    st.LineMark.fill(0);
    st.PickedKey.clear();
    m_s.FullRedraw();
    if (m_s.undo) m_s.undo->Reset();
    m_s.pages->Redraw();
    m_s.Notice("");
}

void DocumentCommands::ClearToNew(bool ask) {
    ScreenState& st = m_s.state;
    if (ask && st.Changed && m_s.view && !m_s.view->AskYesNo(std::string(kDiscardPrefix) + "クリアしますか？", false)) {
        m_s.focus->FocusCurrentField();
        return;
    }
    newQuotation();
    m_s.FullRedraw();
    resetDetailArea();
    st.CurrentField = st.FirstField;
    m_s.focus->MoveFocus(st.FirstField);
}

bool DocumentCommands::PeriodLockPasses() const {
    const Quotation& q = m_s.quotation;
    const CompanySettings& company = m_s.context.company;
    const std::string today = Today(m_s.program.access());
    bool open = InOpenPeriod(q.header.営業見積日付, today, company);
    if (q.loaded()) open = open && InOpenPeriod(q.loadedKey.営業見積日付, today, company);
    return open || m_s.program.session().staff.アクセス権限 == 6;
}

void DocumentCommands::dropTrailingBlankLines() {
    Quotation& q = m_s.quotation;
    while (q.LastLine >= 0 && m_s.grid->IsBlankLine(q.LastLine)) q.ClearLine(static_cast<size_t>(q.LastLine--));
}

void DocumentCommands::Save() {
    ScreenState& st = m_s.state;
    Quotation& q = m_s.quotation;
    EntryView* view = m_s.view;
    if (!view) return;
    const bool loaded = !st.NewEntry;
    if (!m_s.Permitted(loaded ? static_cast<int>(Operation::Change) : static_cast<int>(Operation::Input)) ||
        !PeriodLockPasses()) {
        view->ShowMessage(kMessageNoPermission);
        m_s.focus->FocusCurrentField();
        return;
    }
    if (!m_s.focus->RequiredFieldsComplete()) return;
    std::string warning;
    if (loaded)
        warning = FollowUpText(FollowUpStatus(m_s.program.access(), q.loadedKey.事業所コード,
                                              q.loadedKey.番号基準日付, q.loadedKey.営業見積No));
    const int answer = view->AskSaveConfirmation(loaded ? kQuestionLoaded : kQuestionNew, loaded, warning);
    if (answer != kConfirmStoreOnly && answer != kConfirmStoreAndPrint) {
        m_s.focus->FocusCurrentField();
        return;
    }
    view->ShowWait(true);
    const int lastBefore = q.LastLine;
    dropTrailingBlankLines();
    ProgramDocumentSession session(m_s.program);
    const SaveOutcome outcome = QuotationSaver(*m_s.scope, &session).Save();
    if (!outcome.stored) {
        q.LastLine = std::max(q.LastLine, lastBefore);
        view->ShowWait(false);
        m_s.RedrawLines();
        // The quotation stays on the screen to be stored again once the
        // database can take it; a database fault is worth a message box.
        if (q.SaveStatus == kStatusDatabaseFault) view->ShowMessage(q.SaveMessage);
        m_s.Notice(q.SaveMessage);
        m_s.focus->FocusCurrentField();
        return;
    }
    const std::string saved = q.header.営業見積No;
    if (answer == kConfirmStoreAndPrint && PrintAfterSave && m_s.Permitted(static_cast<int>(Operation::Print)))
        PrintAfterSave();
    const std::string message = q.SaveMessage.empty() ? "見積No " + saved + " を登録しました。" : q.SaveMessage;
    newQuotation();
    m_s.FullRedraw();
    resetDetailArea();
    view->ShowWait(false);
    m_s.Notice(message);
    st.CurrentField = st.FirstField;
    if (st.ExitAfterSave) {
        m_s.program.EndProgram();
        view->CloseWindow();
        return;
    }
    m_s.focus->MoveFocus(st.FirstField);
}

void DocumentCommands::Delete() {
    ScreenState& st = m_s.state;
    Quotation& q = m_s.quotation;
    EntryView* view = m_s.view;
    if (!view) return;
    if (st.NewEntry || !q.loaded()) return m_s.focus->FocusCurrentField();
    if (!m_s.Permitted(static_cast<int>(Operation::Delete)) || !PeriodLockPasses()) {
        view->ShowMessage(kMessageNoPermission);
        return m_s.focus->FocusCurrentField();
    }
    ProgramDocumentSession session(m_s.program);
    SaveOutcome outcome;
    const std::string number = q.loadedKey.営業見積No;
    // The questions come first; the wait dialog only covers the writing.
    QuotationDeleter deleter(*m_s.scope, &session);
    const QuotationDeleter::Result result = deleter.Delete(&outcome);
    if (result != QuotationDeleter::Result::Deleted) {
        if (result == QuotationDeleter::Result::Failed && q.SaveStatus == kStatusDatabaseFault)
            view->ShowMessage(q.SaveMessage);
        if (result == QuotationDeleter::Result::Failed) m_s.Notice(q.SaveMessage);
        return m_s.focus->FocusCurrentField();
    }
    const std::string message = q.SaveMessage.empty() ? "見積No " + number + " を削除しました。" : q.SaveMessage;
    newQuotation();
    m_s.FullRedraw();
    resetDetailArea();
    m_s.Notice(message);
    st.CurrentField = st.FirstField;
    m_s.focus->MoveFocus(st.FirstField);
}

void DocumentCommands::Browse(bool previous) {
    ScreenState& st = m_s.state;
    QuotationBrowser browser(*m_s.scope);
    std::string baseDate, number;
    DataAccess& access = m_s.program.access();
    access.ClearDataFault();
    if (!(previous ? browser.FindPrevious(baseDate, number) : browser.FindNext(baseDate, number))) {
        // No neighbour, or no answer from the database: only the second is worth a word.
        if (access.DataFault() != DbFault::None && m_s.view)
            m_s.view->ShowMessage(DatabaseFaultMessage(access.DataFault(), "表示"));
        return m_s.focus->FocusCurrentField();
    }
    if (st.Changed && m_s.view &&
        !m_s.view->AskYesNo(std::string(kDiscardPrefix) + (previous ? "クリアし前Noを表示しますか？" : "クリアし次Noを表示しますか？"),
                            false))
        return m_s.focus->FocusCurrentField();
    switch (previous ? browser.GoToPrevious() : browser.GoToNext()) {
        case QuotationBrowser::Moved::None:
            return m_s.focus->FocusCurrentField();
        case QuotationBrowser::Moved::Loaded:
            ShowLoaded();
            break;
        case QuotationBrowser::Moved::Vanished:
            // The neighbour was deleted meanwhile: what is left of the one shown
            // before must not be saved over it, so the screen starts anew.
            newQuotation();
            m_s.FullRedraw();
            resetDetailArea();
            m_s.Notice(kNoticeNotFound);
            break;
    }
    st.CurrentField = st.FirstField;
    m_s.focus->MoveFocus(st.FirstField);
}

bool DocumentCommands::End() {
    ScreenState& st = m_s.state;
    if (!st.NewEntry && !m_s.focus->RequiredFieldsComplete()) return false;
    if (st.Changed && m_s.view && !m_s.view->AskYesNo(std::string(kDiscardPrefix) + "終了しますか？", false)) {
        m_s.focus->FocusCurrentField();
        return false;
    }
    // What was not saved is given up: no draft is kept for the next start.
    st.Changed = false;
    m_s.program.EndProgram();
    return true;
}

}  // namespace velmora
