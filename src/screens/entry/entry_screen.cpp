#include "screens/entry/entry_screen.h"

#include "app/program.h"
#include "app/sign_in.h"
#include "pricing/pricing_changes.h"
#include "screens/entry/draft_journal.h"
#include "screens/entry/focus_rules.h"
#include "screens/entry/grid_rows.h"
#include "screens/entry/header_entry.h"
#include "screens/entry/session_bridge.h"
#include "screens/lookup/lookup_session.h"

namespace velmora {

void ViewPrompts::ShowMessage(const std::string& text) {
    if (m_view) m_view->ShowMessage(text);
}

bool ViewPrompts::AskYesNo(const std::string& question) { return m_view && m_view->AskYesNo(question, true); }

EntryScreen::EntryScreen(Program& program_, LookupWindows* lookups_, LookupHost& host_)
    : program(program_), lookups(lookups_), host(host_), context(MakeQuotationContext(program_)) {
    scope = std::make_unique<DocumentScope>(program.access(), quotation, context, prompts);
}

void EntryScreen::Noted() {
    if (journal) journal->Noted();
}

bool EntryScreen::BeginAction() {
    if (busy()) return false;
    Noted();
    if (!state.Focused.empty()) focus->Commit(state.Focused);
    return !busy();
}

void EntryScreen::RunLater(int ms, std::function<void()> task) {
    if (!view) return;
    view->RunLater(ms, [this, task = std::move(task)]() mutable {
        // A linked program is being waited for: the task follows once it has answered.
        if (busy()) return RunLater(50, std::move(task));
        BeginAction();
        task();
    });
}

void EntryScreen::Notice(const std::string& text) {
    if (view) view->SetNotice(text);
}

QuotationPricing EntryScreen::pricing() const { return QuotationPricing(context.company, scope->rates); }

bool EntryScreen::Permitted(int operation) {
    Session& session = program.session();
    // With sign-in the PIN dialog may grant it; without, the permission texts
    // of the staff member on this computer decide (the sign-in check alone
    // would let every operation pass).
    if (session.SignInMode == 1)
        return CheckPermission(program.access(), session, program.host(), program.cipher(), "Velmora", "Carnelo",
                               operation) == PermissionResult::Allowed;
    if (ReadStartStaffCode(program.access(), session)) ReadStaff(program.access(), session, session.StartStaffCode);
    return CheckOperationPermission(program.access(), session, "Carnelo", "Velmora", operation);
}

void EntryScreen::FullRedraw() {
    if (lookupSession && !quotation.header.事業所コード.empty())
        lookupSession->currentOfficeCode = quotation.header.事業所コード;
    headerEntry->Redraw();
    grid->RedrawColumns();
    RedrawLines();
}

void EntryScreen::RedrawLines() {
    grid->RedrawRows();
    grid->RedrawTotals();
    focus->ScrollBarSetUp();
}

}  // namespace velmora
