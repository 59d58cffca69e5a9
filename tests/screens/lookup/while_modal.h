#pragma once

#include <functional>
#include <string>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace velmora::test {

// Runs the steps on the next modal dialog once its own loop runs; a dialog
// the steps leave open is closed after a while so that no test hangs. The
// dialog is looked for until it shows: QTest lets events run between the
// press and the release of a key, before the release opens it.
inline void WhileModal(std::function<void(QDialog&)> steps, int triesLeft = 500) {
    QTimer::singleShot(10, [steps, triesLeft] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (triesLeft > 0) return WhileModal(steps, triesLeft - 1);
            ADD_FAILURE() << "no modal dialog is showing";
            return;
        }
        QPointer<QDialog> guard(dialog);
        QTimer::singleShot(10000, [guard] {
            if (guard && guard->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                guard->done(QDialog::Rejected);
            }
        });
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog)) ADD_FAILURE() << "the dialog did not become active";
        steps(*dialog);
    });
}

// The object name of the widget with the keyboard focus, empty when none.
inline std::string FocusedName() {
    QWidget* focused = QApplication::focusWidget();
    return focused ? focused->objectName().toStdString() : std::string();
}

// Tab through the dialog's window until the named control has the focus.
inline bool TabTo(QDialog& dialog, const std::string& name) {
    for (int i = 0; i < 30 && QApplication::focusWidget() && FocusedName() != name; ++i)
        QTest::keyClick(dialog.windowHandle(), Qt::Key_Tab);
    return FocusedName() == name;
}

inline QPoint CentreInWindow(QWidget* widget) {
    return widget->mapTo(widget->window(), widget->rect().center());
}

}  // namespace velmora::test
