#include "screens/entry/entry_screen.h"

#include "app/program.h"
#include "pricing/pricing_changes.h"
#include "screens/entry/focus_rules.h"
#include "screens/entry/grid_rows.h"
#include "screens/entry/header_entry.h"
#include "screens/entry/session_bridge.h"

namespace velmora {

void ViewPrompts::ShowMessage(const std::string& text) {
    if (m_view) m_view->ShowMessage(text);
}

bool ViewPrompts::AskYesNo(const std::string& question) { return m_view && m_view->AskYesNo(question, true); }

EntryScreen::EntryScreen(Program& program_, LookupWindows* lookups_, LookupHost& host_)
    : program(program_), lookups(lookups_), host(host_), context(MakeQuotationContext(program_)) {
    scope = std::make_unique<DocumentScope>(program.access(), quotation, context, prompts);
}

void EntryScreen::Notice(const std::string& text) {
    if (view) view->SetNotice(text);
}

QuotationPricing EntryScreen::pricing() const { return QuotationPricing(context.company, scope->rates); }

void EntryScreen::FullRedraw() {
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
