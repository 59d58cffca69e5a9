#pragma once

#include <string>

#include "screens/entry/entry_presenter.h"
#include "screens/entry/entry_view.h"

namespace velmora {

// What the entry window reports about the user's actions. The program hands
// them to the presenter; the window tests record them, so the wiring of the
// widgets is proven without a screen behind it.
class EntryEvents {
public:
    virtual ~EntryEvents() = default;
    virtual void Load(EntryView& view) = 0;
    virtual void FocusMoved(const Control& to, EntryPresenter::FocusBy by) = 0;
    virtual void FieldEdited(const Control& field, const std::string& text) = 0;
    virtual void FieldGesture(const Control& field) = 0;
    virtual void ButtonPressed(const Control& button) = 0;
    virtual void CheckToggled(const Control& box, bool checked) = 0;
    virtual void ListChosen(const Control& list, int index) = 0;
    virtual void PageChosen(int page) = 0;
    // Enter or a double-click on a row of a detail page's list.
    virtual void ListActivated(const std::string& list, int row) = 0;
    virtual void Scrolled(int value) = 0;
    virtual void Wheel(int steps) = 0;
    // PageDown, PageUp, Ctrl+Home, Ctrl+End or F6 in a row field.
    virtual void LineKey(EntryPresenter::LineMove move) = 0;
    virtual void PanelClicked(const Control& panel) = 0;
    // True when the program has ended and the window may close.
    virtual bool CloseRequested() = 0;
    virtual void EndWithoutAsking() = 0;
};

// The events as the presenter takes them.
class PresenterEvents : public EntryEvents {
public:
    explicit PresenterEvents(EntryPresenter& presenter) : m_p(presenter) {}
    void Load(EntryView& view) override { m_p.Load(view); }
    void FocusMoved(const Control& to, EntryPresenter::FocusBy by) override { m_p.FocusMoved(to, by); }
    void FieldEdited(const Control& field, const std::string& text) override { m_p.FieldEdited(field, text); }
    void FieldGesture(const Control& field) override { m_p.FieldGesture(field); }
    void ButtonPressed(const Control& button) override { m_p.ButtonPressed(button); }
    void CheckToggled(const Control& box, bool checked) override { m_p.CheckToggled(box, checked); }
    void ListChosen(const Control& list, int index) override { m_p.ListChosen(list, index); }
    void PageChosen(int page) override { m_p.PageChosen(page); }
    void ListActivated(const std::string& list, int row) override { m_p.ListActivated(list, row); }
    void Scrolled(int value) override { m_p.Scrolled(value); }
    void Wheel(int steps) override { m_p.Wheel(steps); }
    void LineKey(EntryPresenter::LineMove move) override { m_p.LineKey(move); }
    void PanelClicked(const Control& panel) override { m_p.PanelClicked(panel); }
    bool CloseRequested() override { return m_p.CloseRequested(); }
    void EndWithoutAsking() override { m_p.EndWithoutAsking(); }

private:
    EntryPresenter& m_p;
};

}  // namespace velmora
