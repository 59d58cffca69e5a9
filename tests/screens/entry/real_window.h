#pragma once

#include <memory>
#include <string>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "../presenter/screen_fixture.h"
#include "data/clock.h"
#include "dialog_answerer.h"
#include "window_recorder.h"
#include "screens/entry/entry_presenter.h"
#include "screens/entry/qt/entry_window.h"
#include "screens/entry/session_bridge.h"
#include "screens/lookup/lookup_windows.h"
#include "screens/lookup/qt/qt_view_factory.h"

namespace velmora::test {

// The real window of a started program on the demo installation, driven as
// the window system drives it: keys and clicks go to the window, so the
// application's filters, shortcuts and the focus chain take part.
class RealWindowTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        m_install = std::make_unique<DemoInstallation>(GetParam());
        VELMORA_REQUIRE_DATABASE(*m_install);
        m_program = std::make_unique<Program>(m_install->environment(), m_host);
        ASSERT_TRUE(m_program->StartUp());
        m_lookupData = std::make_unique<DataAccessLookupData>(m_program->access());
        m_lookupSession = MakeLookupSession(m_program->session());
        m_lookups = std::make_unique<LookupWindows>(m_lookupSession, *m_lookupData, m_lookupViews,
                                                    [this] { return FormatDate(m_program->access().Now()); });
        m_presenter = std::make_unique<EntryPresenter>(*m_program, m_lookups.get());
        m_window = makeWindow(*m_presenter);
        ASSERT_TRUE(ShowActive(*m_window));
    }
    // The window the test drives; a test may answer some of its dialogs itself.
    virtual std::unique_ptr<EntryWindow> makeWindow(EntryPresenter& presenter) {
        return std::make_unique<EntryWindow>(presenter);
    }
    void TearDown() override {
        if (m_window) m_window->endSession();
        m_window.reset();
        m_presenter.reset();
        m_lookups.reset();
    }

    QWindow* window() { return m_window->windowHandle(); }
    QWidget* focused() { return QApplication::focusWidget(); }
    std::string focusedName() { return focused() ? focused()->objectName().toStdString() : std::string(); }
    // The control of that name; of a row control on both row pages, the one shown.
    template <class T = QWidget>
    T* find(const std::string& name) {
        const auto all = m_window->findChildren<T*>(QString::fromStdString(name));
        for (T* widget : all)
            if (widget->isVisible()) return widget;
        return all.isEmpty() ? nullptr : all.front();
    }
    std::string text(const std::string& name) {
        auto* edit = find<QLineEdit>(name);
        return edit ? edit->text().toStdString() : std::string("(no field " + name + ")");
    }
    std::string notice() { return find<QLabel>("お知らせ")->text().toStdString(); }

    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(window(), k, modifiers); }
    // Latin text key by key, through the window.
    void type(const std::string& latin) {
        for (char c : latin) QTest::keyClick(window(), c);
    }
    // Japanese text arrives from the input method as a committed string.
    void typeThroughInputMethod(const char* text) {
        QInputMethodEvent event;
        event.setCommitString(QString::fromUtf8(text));
        QApplication::sendEvent(focused(), &event);
    }
    // Tab (or Shift+Tab) until the named control has the focus.
    void tabTo(const std::string& name, bool back = false) {
        for (int i = 0; i < 80 && focusedName() != name; ++i) key(Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
        ASSERT_EQ(focusedName(), name) << notice();
    }
    QPoint centreOf(QWidget* widget) { return widget->mapTo(m_window.get(), widget->rect().center()); }
    // A left click on the named control where it shows.
    void click(const std::string& name) {
        QWidget* widget = find(name);
        ASSERT_NE(widget, nullptr) << name;
        ASSERT_TRUE(widget->isVisible()) << name;
        QTest::mouseClick(window(), Qt::LeftButton, Qt::NoModifier, centreOf(widget));
    }
    // Wheel notches over the named control (positive: down).
    void wheel(const std::string& name, int notches) {
        QWidget* widget = find(name);
        ASSERT_NE(widget, nullptr) << name;
        const QPointF at = centreOf(widget);
        QWheelEvent event(at, m_window->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window(), &event);
    }
    // The number of an office-001 quotation of the demo with at least `lines` lines.
    std::string storedWithLines(int lines) {
        const std::string key = "事業所コード = '001' AND 番号基準日付 = '" +
                                m_presenter->screen().quotation.header.番号基準日付 + "'";
        return m_install->value("SELECT MIN(営業見積No) FROM T営業見積明細 WHERE " + key +
                                " GROUP BY 営業見積No HAVING COUNT(*) >= " + std::to_string(lines) +
                                " ORDER BY 1 LIMIT 1");
    }
    // Opens a stored quotation by typing its number.
    void open(const std::string& number) {
        tabTo("営業見積No", true);
        key(Qt::Key_A, Qt::ControlModifier);
        type(number);
        key(Qt::Key_Tab);
        ASSERT_EQ(text("営業見積No"), number) << notice();
        ASSERT_GE(m_presenter->screen().LastLine(), 0) << "quotation " << number << " opened: " << notice();
        // Through the header into the lines, which opens the detail area.
        tabTo("見積期限");
        key(Qt::Key_Tab);
    }

    std::unique_ptr<DemoInstallation> m_install;
    RecordingHost m_host;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<DataAccessLookupData> m_lookupData;
    LookupSession m_lookupSession;
    QtLookupViewFactory m_lookupViews;
    std::unique_ptr<LookupWindows> m_lookups;
    std::unique_ptr<EntryPresenter> m_presenter;
    std::unique_ptr<EntryWindow> m_window;
};

}  // namespace velmora::test
