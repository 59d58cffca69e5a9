#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "quotation/document_host.h"
#include "quotation/document_scope.h"
#include "quotation/quotation_context.h"
#include "quotation/quotation_model.h"
#include "screens/entry/entry_view.h"

namespace velmora {

class Program;
class LookupWindows;
class LookupHost;
class FocusRules;
class HeaderEntry;
class GridRows;
class DocumentCommands;
class DetailPages;
class LineUndo;
class QuotationPricing;
class DraftJournal;
struct LookupSession;

// The screen state of frmVelmora, one per run. LastLine lives with the
// quotation (quotation.LastLine); the rest is the screen's own.
struct ScreenState {
    bool NewEntry = true;
    bool Changed = false;
    bool Redrawing = false;
    bool LinkWaiting = false;
    bool ExitAfterSave = false;
    bool CreateFromCommand = false;
    int TopLine = 0;
    int RowInPanel = 0;
    int CurrentLine = 0;
    Control CurrentField{"得意先コード"};
    Control FirstField{"得意先コード"};
    // The field that holds the keyboard focus as the screen sees it.
    Control Focused;
    bool DetailEnabled = false;
    int DetailPage = 0;
    bool SupplierColumns = false;  // btn_仕入先表示
    int NumberingStyle = 0;        // btn_連番タイプ: 0 "1.", 1 "１．", 2 "Ⅰ．"
    bool Envelope = false;         // chb_Kasmeri: an envelope is printed with the quotation
    std::array<std::int16_t, 999> LineMark{};
    // The last key a quotation lookup handed over ("C" + office + base date + number).
    std::string PickedKey;
};

// The prompts of the document operations, answered through the view.
class ViewPrompts : public DocumentPrompts {
public:
    explicit ViewPrompts(EntryView*& view) : m_view(view) {}
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& question) override;

private:
    EntryView*& m_view;
};

// What every region of the screen works on: the program's session, the one
// quotation, the document operations' scope, the view and the state.
struct EntryScreen {
    EntryScreen(Program& program, LookupWindows* lookups, LookupHost& host);

    Program& program;
    LookupWindows* lookups;
    LookupHost& host;
    EntryView* view = nullptr;
    ScreenState state;
    Quotation quotation;
    QuotationContext context;
    ViewPrompts prompts{view};
    std::unique_ptr<DocumentScope> scope;

    // The regions, set by the presenter that owns them.
    FocusRules* focus = nullptr;
    HeaderEntry* headerEntry = nullptr;
    GridRows* grid = nullptr;
    DocumentCommands* commands = nullptr;
    DetailPages* pages = nullptr;
    // Undo and redo of the line actions; Reset() starts its history afresh.
    LineUndo* undo = nullptr;
    // The draft of unsaved changes; null when none is kept.
    DraftJournal* journal = nullptr;
    // The lookup windows' session values, kept in step with the quotation's office.
    LookupSession* lookupSession = nullptr;

    QuotationHeader& header() { return quotation.header; }
    int LastLine() const { return quotation.LastLine; }
    bool busy() const { return state.Redrawing || state.LinkWaiting; }
    // The one commit point: before any action that does not move the focus
    // through a field's exit, the field being typed in is left as Tab leaves
    // it. False while the screen is busy (the action is not taken).
    bool BeginAction();
    // Something was done: the draft of unsaved changes follows.
    void Noted();
    // A task for later (a timer), taken as any other action.
    void RunLater(int ms, std::function<void()> task);
    // Writes the notice bar (お知らせ).
    void Notice(const std::string& text);
    // The staff member may do the operation (Operation of app/sign_in.h).
    bool Permitted(int operation);
    // Pricing with the company's rules and the rates as loaded.
    QuotationPricing pricing() const;
    // Header, rows, tail and totals, then the scroll bar.
    void FullRedraw();
    // The rows and the totals after a change that touched lines.
    void RedrawLines();
};

// Sets Redrawing while the screen is written from the quotation.
class RedrawGuard {
public:
    explicit RedrawGuard(ScreenState& state) : m_state(state), m_was(state.Redrawing) { state.Redrawing = true; }
    ~RedrawGuard() { m_state.Redrawing = m_was; }
    RedrawGuard(const RedrawGuard&) = delete;
    RedrawGuard& operator=(const RedrawGuard&) = delete;

private:
    ScreenState& m_state;
    bool m_was;
};

}  // namespace velmora
