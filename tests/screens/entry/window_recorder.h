#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QWidget>
#include <QtTest/QTest>

#include "screens/entry/qt/entry_events.h"
#include "screens/entry/qt/entry_window.h"

namespace velmora::test {

// Shows a window and waits until it has the keyboard, as a desktop gives it.
inline bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

inline std::string Named(const Control& c) {
    return c.row < 0 ? c.name : c.name + "_" + std::to_string(c.row);
}

// Writes down what the window reports, one line per event ("focus 得意先コード",
// "button btn_商品コード_3"), so a test reads like the user's session.
class RecordingEvents : public EntryEvents {
public:
    std::vector<std::string> log;
    bool allowClose = true;
    int closeRequests = 0;
    int endsWithoutAsking = 0;

    void Load(EntryView&) override {}
    void FocusMoved(const Control& to, EntryPresenter::FocusBy) override { log.push_back("focus " + Named(to)); }
    void FieldEdited(const Control& field, const std::string& text) override {
        log.push_back("edited " + Named(field) + " " + text);
    }
    void FieldGesture(const Control& field) override { log.push_back("gesture " + Named(field)); }
    void ButtonPressed(const Control& button) override { log.push_back("button " + Named(button)); }
    void CheckToggled(const Control& box, bool checked) override {
        log.push_back("check " + Named(box) + (checked ? " on" : " off"));
    }
    void ListChosen(const Control& list, int index) override {
        log.push_back("list " + Named(list) + " " + std::to_string(index));
    }
    void PageChosen(int page) override { log.push_back("page " + std::to_string(page)); }
    void ListActivated(const std::string& list, int row) override {
        log.push_back("activated " + list + " " + std::to_string(row));
    }
    void Scrolled(int value) override { log.push_back("scroll " + std::to_string(value)); }
    void Wheel(int steps) override { log.push_back("wheel " + std::to_string(steps)); }
    void LineKey(EntryPresenter::LineMove move) override {
        log.push_back("linekey " + std::to_string(static_cast<int>(move)));
    }
    void PanelClicked(const Control& panel) override { log.push_back("panel " + Named(panel)); }
    bool CloseRequested() override {
        ++closeRequests;
        return allowClose;
    }
    void EndWithoutAsking() override { ++endsWithoutAsking; }

    // The events since the last call.
    std::vector<std::string> take() { return std::exchange(log, {}); }
};

// A window reporting to a recorder, shown and active so that focus moves
// and shortcuts behave as on a desktop.
class RecordedWindow {
public:
    RecordedWindow() : window(std::make_unique<EntryWindow>(events)) {
        active = ShowActive(*window);
    }
    template <class T = QWidget>
    T* find(const std::string& name) const {
        return window->findChild<T*>(QString::fromStdString(name));
    }
    std::string focused() const {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName().toStdString() : "";
    }

    RecordingEvents events;
    std::unique_ptr<EntryWindow> window;
    bool active = false;
};

}  // namespace velmora::test
