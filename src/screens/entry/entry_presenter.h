#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/draft_store.h"
#include "app/program.h"
#include "screens/entry/entry_view.h"
#include "screens/lookup/lookup_context.h"

namespace velmora {

class LookupWindows;
struct LookupSession;
struct EntryScreen;
class DraftJournal;

// The behaviour of the entry window (frmVelmora). The window forwards the
// user's actions here and renders what it is told; the regions (header,
// grid, tail and totals, command buttons) and the focus rules that tie them
// together live in their own objects behind this one.
class EntryPresenter : public LookupHost {
public:
    // lookups may be null: the lookup gestures then do nothing.
    EntryPresenter(Program& program, LookupWindows* lookups = nullptr);
    ~EntryPresenter() override;

    // The lookup windows search within the office of the quotation on screen.
    void KeepLookupsInStep(LookupSession& session);

    // Keeps drafts of unsaved changes in the store at storePath, under this
    // installation, office and staff member; a plain start then offers the
    // drafts left by programs that ended without saving. Before Load.
    void KeepDrafts(const std::string& storePath, DraftInstance self = DraftInstance::Current(),
                    std::function<std::chrono::steady_clock::time_point()> clock = std::chrono::steady_clock::now);
    DraftJournal* journal() { return m_journal.get(); }

    // Form load: captions, lists, the start mode from the command line, full redraw.
    void Load(EntryView& view);

    // The user moved the keyboard focus (Tab, Shift+Tab, Enter, a click):
    // the field that had it is left with its text, then `to` is entered.
    // How the focus got there: Tab and Shift+Tab pass by what takes no Tab.
    enum class FocusBy { Other, Tab, BackTab };
    void FocusMoved(const Control& to, FocusBy by = FocusBy::Other);
    // A text field's text while it is typed (the overflow notice).
    void FieldEdited(const Control& field, const std::string& text);
    // Double-click or a lone Ctrl press in a field: its lookup window.
    void FieldGesture(const Control& field);
    // Any button: lookups, commands, line commands (row -1 for non-row buttons).
    void ButtonPressed(const Control& button);
    void CheckToggled(const Control& box, bool checked);
    // A drop-down entry was chosen (a setting list or a row's 行区分名称).
    void ListChosen(const Control& list, int index);
    void PageChosen(int page);
    // Enter or a double-click on a row of a detail page's list (List営業活動,
    // List付属書類), the row by its index in the rows the list was given.
    void ListActivated(const std::string& list, int row);
    void Scrolled(int value);
    // Keys that move through the lines from a row field: ten lines down or
    // up, the first or the last line, in the same column; or the row's 行区分.
    enum class LineMove { PageDown, PageUp, First, Last, Kind };
    void LineKey(LineMove move);
    // Mouse wheel over the rows: positive steps scroll down.
    void Wheel(int steps);
    // Registration panels (bak_得意先, bak_御担当者, bak_納品先), the manual
    // panel (manualpanel), a caption panel (itm_ttl_<field>), a row panel.
    void PanelClicked(const Control& panel);

    // The window is asked to close (button or window frame). Pending input is
    // only discarded after a Yes; true when the program has ended.
    bool CloseRequested();
    // The session is ending (termination signal, logout): no question.
    void EndWithoutAsking();

    // LookupHost: the lookup windows hand their choice to this screen.
    void setHostEnabled(bool enabled) override;
    void setControlText(const std::string& control, const std::string& text) override;
    void focusControl(const std::string& control) override;
    std::optional<std::string> controlText(const std::string& control) const override;
    void resolveNextFocus(std::string& control) override;

    // Screen state, for the window and the tests.
    EntryScreen& screen();
    bool Changed() const;
    void SetChanged(bool changed);
    Program& program() { return m_program; }

private:
    struct Regions;
    bool beginAction();
    // The focus into a lookup button's field; false when it stayed out.
    bool enterForLookup(const Control& field);
    void scrolled(int topLine);
    void openManual();

    Program& m_program;
    std::unique_ptr<EntryScreen> m_screen;
    std::unique_ptr<Regions> m_regions;
    // Goes first at the end: its last draft is taken from the screen.
    std::unique_ptr<DraftJournal> m_journal;
};

}  // namespace velmora
