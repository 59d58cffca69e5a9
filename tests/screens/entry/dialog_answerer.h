#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace velmora::test {

// Answers the modal dialogs a window test expects, in order, and any other
// dialog with its cancel, so that a test never waits for ever behind a dialog
// it did not foresee: the unforeseen one fails the test at once with its text.
class DialogAnswerer {
public:
    DialogAnswerer() {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    // The next dialog is expected to start with `text` and is answered with
    // the button whose caption is `button` (はい, いいえ, 登録のみ …).
    void expect(std::string text, std::string button) { m_expected.push_back({std::move(text), std::move(button), {}}); }
    // The next dialog is answered by `answer` (a lookup list's choice).
    void expect(std::string text, std::function<void(QDialog*)> answer) {
        m_expected.push_back({std::move(text), {}, std::move(answer)});
    }
    bool allAnswered() const { return m_expected.empty(); }

    // Every dialog's text, in the order they showed.
    std::vector<std::string> seen;

    static std::string TextOf(QWidget* dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) return box->text().toStdString();
        if (auto* label = dialog->findChild<QLabel*>("lab_msg")) return label->text().toStdString();
        return dialog->windowTitle().toStdString();
    }

private:
    struct Expected {
        std::string text, button;
        std::function<void(QDialog*)> answer;
    };

    void poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        // A dialog is answered once; a later one may be made at the same address.
        if (!dialog || !dialog->isVisible() || dialog->property(kAnswered).toBool()) return;
        dialog->setProperty(kAnswered, true);
        const std::string text = TextOf(dialog);
        seen.push_back(text);
        if (!m_expected.empty() && text.rfind(m_expected.front().text, 0) == 0) {
            const Expected expected = m_expected.front();
            m_expected.pop_front();
            if (expected.answer) return expected.answer(dialog);
            const std::string& button = expected.button;
            if (QAbstractButton* b = find(dialog, button)) {
                b->click();
                return;
            }
            ADD_FAILURE() << "no button " << button << " in the dialog: " << text;
        } else {
            ADD_FAILURE() << "unexpected dialog: " << text;
        }
        dialog->reject();
    }

    static QAbstractButton* find(QDialog* dialog, const std::string& caption) {
        for (auto* b : dialog->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->text().remove('&').toStdString() == caption) return b;
        // A message box without its translation still has its standard buttons.
        const std::pair<const char*, QMessageBox::StandardButton> standard[] = {
            {"はい", QMessageBox::Yes}, {"いいえ", QMessageBox::No}, {"OK", QMessageBox::Ok},
            {"キャンセル", QMessageBox::Cancel}};
        if (auto* box = qobject_cast<QMessageBox*>(dialog))
            for (const auto& [name, button] : standard)
                if (caption == name) return box->button(button);
        return nullptr;
    }

    static constexpr const char* kAnswered = "answeredByTest";

    QTimer m_timer;
    std::deque<Expected> m_expected;
};

}  // namespace velmora::test
