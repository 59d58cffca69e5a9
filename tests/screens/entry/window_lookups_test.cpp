#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QtTest/QTest>

#include "../presenter/screen_fixture.h"
#include "app/pin_dialog.h"
#include "screens/entry/entry_presenter.h"
#include "screens/entry/qt/entry_window.h"
#include "screens/entry/qt/pin_dialog_qt.h"
#include "screens/entry/session_bridge.h"
#include "screens/lookup/lookup_windows.h"
#include "screens/lookup/qt/qt_view_factory.h"
#include "../lookup/while_modal.h"
#include "real_window.h"
#include "window_recorder.h"

namespace velmora {
namespace {

using test::CentreInWindow;
using test::FocusedName;
using test::TabTo;
using test::WhileModal;

using Log = std::vector<std::string>;

// ---- the lone Ctrl as the window system delivers it ---------------------------

// Keys, clicks and the wheel sent to the window, which hands them on to the
// focused field or the widget under the mouse, as on a desktop.
TEST(LoneCtrlThroughTheWindow, OnlyCtrlAloneInTheFieldIsAGesture) {
    test::RecordedWindow w;
    ASSERT_TRUE(w.active);
    QWindow* window = w.window->windowHandle();
    using Step = std::function<void()>;
    const Step press = [&] { QTest::keyPress(window, Qt::Key_Control); };
    const Step release = [&] { QTest::keyRelease(window, Qt::Key_Control); };
    auto chord = [&](Qt::Key key) -> Step {
        return [&, key] { QTest::keyClick(window, key, Qt::ControlModifier); };
    };
    const Step shiftCtrl = [&] { QTest::keyPress(window, Qt::Key_Control, Qt::ShiftModifier); };
    const Step shiftUp = [&] { QTest::keyRelease(window, Qt::Key_Shift); };
    const Step click = [&] {
        QTest::mouseClick(window, Qt::LeftButton, Qt::ControlModifier, CentreInWindow(w.find("得意先コード")));
    };
    const Step wheel = [&] {
        const QPointF at = CentreInWindow(w.find("得意先コード"));
        QWheelEvent event(at, w.window->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window, &event);
    };
    const Step focusElsewhere = [&] { w.window->FocusControl({"タイトル"}); };
    const Step repeat = [&] {
        QKeyEvent again(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, QString(), true);
        QApplication::sendEvent(window, &again);
    };
    struct Case {
        const char* what;
        Control field;
        std::vector<Step> steps;
        Log reported;
    };
    const std::vector<Case> cases = {
        {"alone", {"得意先コード"}, {press, release}, {"gesture 得意先コード"}},
        {"twice",
         {"得意先コード"},
         {press, release, press, release},
         {"gesture 得意先コード", "gesture 得意先コード"}},
        {"held down", {"得意先コード"}, {press, repeat, repeat, release}, {"gesture 得意先コード"}},
        {"in a row field", {"商品コード", 3}, {press, release}, {"gesture 商品コード_3"}},
        {"in a text field", {"タイトル"}, {press, release}, {"gesture タイトル"}},
        {"Ctrl+A", {"得意先コード"}, {chord(Qt::Key_A)}, {}},
        {"Ctrl+C", {"得意先コード"}, {chord(Qt::Key_C)}, {}},
        {"Ctrl+V", {"得意先コード"}, {chord(Qt::Key_V)}, {}},
        {"Ctrl+click", {"得意先コード"}, {press, click, release}, {}},
        {"Ctrl+wheel", {"得意先コード"}, {press, wheel, release}, {}},
        {"with Shift", {"得意先コード"}, {shiftCtrl, release, shiftUp}, {}},
        {"focus moved before the release", {"得意先コード"}, {press, focusElsewhere, release}, {}},
        {"a release only", {"得意先コード"}, {release}, {}},
    };
    for (const auto& c : cases) {
        w.window->FocusControl(c.field);
        w.events.take();
        for (const Step& step : c.steps) step();
        EXPECT_EQ(w.events.take(), c.reported) << c.what;
    }
}

TEST(LoneCtrlThroughTheWindow, CtrlChordsStillSelectCopyAndPaste) {
    test::RecordedWindow w;
    ASSERT_TRUE(w.active);
    QWindow* window = w.window->windowHandle();
    w.window->SetText({"タイトル"}, "abc");
    w.window->FocusControl({"タイトル"});
    QTest::keyClick(window, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w.find<QLineEdit>("タイトル")->selectedText().toStdString(), "abc");
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "abc");
    w.window->FocusControl({"見積条件"});
    QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.window->Text({"見積条件"}), "abc");
    EXPECT_EQ(w.events.take(), Log{"edited 見積条件 abc"});
}

// ---- Enter on a focused button of the window's own dialogs --------------------

// Enter answers with the default the question asks for, or the button tabbed to.
TEST(DialogButtonsThroughTheWindow, EnterPressesTheFocusedButtonOfAQuestion) {
    test::RecordedWindow w;
    ASSERT_TRUE(w.active);
    const struct {
        bool defaultNo;
        QMessageBox::StandardButton focus;  // NoButton: as shown
        bool answer;
    } cases[] = {
        {false, QMessageBox::NoButton, true},
        {true, QMessageBox::NoButton, false},
        {false, QMessageBox::No, false},
        {true, QMessageBox::Yes, true},
    };
    for (const auto& c : cases) {
        std::string title;
        WhileModal([&](QDialog& dialog) {
            title = dialog.windowTitle().toStdString();
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            ASSERT_TRUE(box);
            if (QAbstractButton* button = box->button(c.focus)) {
                button->setObjectName("wanted");
                ASSERT_TRUE(TabTo(dialog, "wanted"));
            }
            QTest::keyClick(dialog.windowHandle(), Qt::Key_Return);
        });
        EXPECT_EQ(w.window->AskYesNo("入力がありました。\nクリアしますか？", c.defaultNo), c.answer)
            << c.defaultNo << " " << c.focus;
        EXPECT_EQ(title, "Velmora");
    }
}

TEST(DialogButtonsThroughTheWindow, EnterPressesTheFocusedButtonOfTheSaveConfirmation) {
    test::RecordedWindow w;
    ASSERT_TRUE(w.active);
    const std::pair<const char*, int> cases[] = {
        {"btn_登録", kConfirmStoreOnly},
        {"btn_いいえ", kConfirmCancel},
        {"btn_登録印刷", kConfirmStoreAndPrint},
    };
    for (const auto& [button, result] : cases) {
        WhileModal([&](QDialog& dialog) {
            ASSERT_TRUE(TabTo(dialog, button));
            QTest::keyClick(dialog.windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
        });
        EXPECT_EQ(w.window->AskSaveConfirmation("登録します。よろしいですか？", false, ""), result) << button;
    }
}

TEST(DialogButtonsThroughTheWindow, EnterOnCancelOfTheSignInCancelsIt) {
    DataAccess access;
    Session session;
    PinDialog pin(access, session, nullptr);
    PinDialogQt dialog(pin);
    WhileModal([&](QDialog& shown) {
        ASSERT_TRUE(TabTo(shown, "btn_キャンセル"));
        QTest::keyClick(shown.windowHandle(), Qt::Key_Return);
    });
    dialog.exec();
    EXPECT_TRUE(pin.closed());
    EXPECT_FALSE(session.SignInGranted);
}

// ---- lookups opened from the real window --------------------------------------

// The window on the demo installation with its lookup windows, as the
// program runs it.
class WindowLookups : public test::RealWindowTest {
protected:
    void loneCtrl() {
        QTest::keyPress(window(), Qt::Key_Control);
        QTest::keyRelease(window(), Qt::Key_Control);
    }
    // Once the lookup has closed, the window is activated again, as a window
    // manager does (the offscreen platform leaves that to the program), and
    // its focus is where Qt puts it then.
    std::string focusAfterLookup() {
        if (!m_window->isActiveWindow()) m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        QTest::qWait(20);
        return FocusedName();
    }
    Control presenterFocus() { return m_presenter->screen().state.Focused; }

    // A customer read from its code completes the header; the quotation then
    // gets 998 lines and the rows are scrolled to line 501.
    void withScrolled998Lines() {
        ASSERT_EQ(FocusedName(), "得意先コード");
        QTest::keyClicks(QApplication::focusWidget(), "1");
        tabTo("見積期限");
        key(Qt::Key_Tab);
        ASSERT_EQ(FocusedName(), "商品コード_0");
        EntryScreen& screen = m_presenter->screen();
        for (int i = 0; i < 998; ++i) screen.quotation.lines[static_cast<size_t>(i)].商品名 = "品目" + std::to_string(i + 1);
        screen.quotation.LastLine = 997;
        screen.FullRedraw();
        find<QScrollBar>("scl_行")->setValue(500);
        ASSERT_EQ(screen.state.TopLine, 500);
        QTest::mouseClick(window(), Qt::LeftButton, {}, CentreInWindow(find("商品コード_3")));
        ASSERT_EQ(FocusedName(), "商品コード_3");
        ASSERT_EQ(screen.state.CurrentLine, 503);
    }

};

// Escape in the list hands the focus back to the field that opened it,
// whichever gesture opened it.
TEST_P(WindowLookups, EscapeReturnsToTheFieldThatOpenedTheLookup) {
    const struct {
        const char* field;
        const char* title;
        std::function<void()> open;
    } cases[] = {
        {"得意先コード", "得意先一覧", [this] { loneCtrl(); }},
        {"担当者コード", "担当者一覧", [this] { key(Qt::Key_F2); }},
        {"タイトル", "営業見積タイトル一覧", [this] { loneCtrl(); }},
    };
    for (const auto& c : cases) {
        QTest::mouseClick(window(), Qt::LeftButton, {}, CentreInWindow(find(c.field)));
        ASSERT_EQ(FocusedName(), c.field);
        std::string title;
        WhileModal([&](QDialog& dialog) {
            title = dialog.findChild<QLabel*>("wnd_ttl")->text().toStdString();
            QTest::keyClick(dialog.windowHandle(), Qt::Key_Escape);
        });
        c.open();
        EXPECT_EQ(title, c.title) << c.field;
        EXPECT_EQ(focusAfterLookup(), c.field);
        EXPECT_EQ(presenterFocus(), Control{c.field});
    }
}

// In a long quotation scrolled down, the product list opened from a row's
// code returns to that row: Escape to its code, a choice to its name.
TEST_P(WindowLookups, TheProductListReturnsToItsRowOfAScrolledQuotation) {
    withScrolled998Lines();
    WhileModal([&](QDialog& dialog) { QTest::keyClick(dialog.windowHandle(), Qt::Key_Escape); });
    key(Qt::Key_F2);
    EXPECT_EQ(focusAfterLookup(), "商品コード_3");
    EXPECT_EQ(presenterFocus(), (Control{"商品コード", 3}));
    EXPECT_EQ(m_presenter->screen().state.TopLine, 500);

    std::string chosen;
    WhileModal([&](QDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>("List商品");
        ASSERT_TRUE(list && list->topLevelItemCount() > 2);
        list->setFocus();
        list->setCurrentItem(list->topLevelItem(2));
        chosen = list->topLevelItem(2)->text(0).toStdString();
        QTest::keyClick(dialog.windowHandle(), Qt::Key_Return);
    });
    loneCtrl();
    EXPECT_EQ(focusAfterLookup(), "商品名_3");
    EXPECT_EQ(presenterFocus(), (Control{"商品名", 3}));
    EXPECT_EQ(m_presenter->screen().state.TopLine, 500);
    EXPECT_EQ(m_presenter->screen().quotation.lines[503].商品コード, chosen);
    EXPECT_EQ(m_window->Text({"商品コード", 3}), chosen);
}

INSTANTIATE_TEST_SUITE_P(Engines, WindowLookups, testing::Values(test::Engine::SQLite), test::EngineName);

}  // namespace
}  // namespace velmora
