#pragma once

#include <map>
#include <string>

#include "screens/entry/entry_fields.h"
#include "screens/entry/entry_view.h"

namespace velmora {

struct EntryScreen;

// The rules that hold the regions together: where the focus goes when it
// reaches a sentinel (ヘッド終了, 頁1終了, 頁2終了, テイル終了), whether it may enter
// a region, the required fields, and the focus moves themselves. Every move
// of the focus, the user's or the screen's, passes through Transfer, so the
// field that is left is validated once and the one entered is checked once.
class FocusRules {
public:
    explicit FocusRules(EntryScreen& screen) : m_s(screen) {}

    // The focus moves to `to`: the field that had it is left (validated),
    // then `to` is entered (sentinel rules, region check). byUser: the window
    // has already moved it.
    void Transfer(const Control& to, bool byUser);
    // The screen moves the focus; a control that is not a tab stop, or is
    // disabled, does not take it.
    void MoveFocus(const Control& to);
    // Validates the field being edited without moving the focus (before a
    // command button acts on the quotation).
    void Commit(const Control& field);
    // The focus to the control after `from` in tab order that takes it
    // (backwards: the one before); nothing when it is there already.
    void TabOn(const Control& from, bool forward);
    // Back to the field that had the focus last.
    void FocusCurrentField();

    // What the screen has set: tab stops and enabled states of controls.
    void SetTabStop(const Control& control, bool tabStop);
    void SetEnabled(const Control& control, bool enabled);
    bool CanTakeFocus(const Control& control) const;

    // Required fields: the first missing header field ("" when complete) and
    // the first line of kind 0 (-1 when none).
    std::string MissingHeaderField() const;
    int LineWithoutKind() const;
    // The check of save and end: on a failure the notice bar says so and the
    // focus goes to the field. True when complete.
    bool RequiredFieldsComplete();
    // The header check alone, as the row and tail regions ask it.
    bool HeaderComplete();

    // Region checks; false when the focus was sent elsewhere.
    bool EnterRow(int row, const std::string& field);
    bool EnterTail();

    // The first and the last field of a row on page 1 or 2 that can take
    // the focus.
    Control FirstRowField(int row, int page) const;
    Control LastRowField(int row, int page) const;

    // Keyboard paging: the line brought into view at the same row where it
    // can be, and the focus into its field of that name (the row's first
    // field where that one takes no focus on this line).
    void GoToLine(int line, const std::string& field);

    // Scrolling: TopLine moves, rows are redrawn, the bar follows.
    void ScrollTo(int topLine);
    void ScrollBarSetUp();
    // The page of tab_詳細 the rows are drawn for (1 or 2).
    int RowPage() const;

private:
    void enter(const Control& from, const Control& to);
    void leave(const Control& from);
    void headerEnd(const Control& from);
    void rowEnd(const Control& from, const Control& sentinel);
    void tailEnd(const Control& from);
    void goToTail();
    void moveUpFrom(int row, int page);
    // The line's row brought into view and its 行区分 focused.
    void focusLineKind(int line);
    // Shift+Tab from the tail: the last line's last field.
    void backFromTail(int page);

    EntryScreen& m_s;
    std::map<Control, bool> m_tabStop;
    std::map<Control, bool> m_enabled;
};

// The field's region; sentinels belong to the region they close.
EntryRegion RegionOf(const Control& control);
bool IsSentinel(const Control& control);

}  // namespace velmora
