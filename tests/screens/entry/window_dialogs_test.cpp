#include <gtest/gtest.h>

#include <functional>

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "screens/entry/qt/save_confirm_dialog.h"
#include "window_recorder.h"

namespace velmora {
namespace {

// Runs `answer` on the modal dialog once it is shown and has the focus.
void WhenModal(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(5, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || QApplication::activeWindow() != modal) return WhenModal(answer);
        answer(modal);
    });
}

std::string FocusedName() {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName().toStdString() : "";
}

class SaveConfirmation : public testing::Test {
protected:
    int ask(bool loaded, std::function<void(QWidget*)> answer) {
        WhenModal([this, answer](QWidget* dialog) {
            dialogName = dialog->objectName().toStdString();
            auto* question = dialog->findChild<QLabel*>("lab_msg");
            questionColour = question->palette().color(QPalette::WindowText);
            warning = dialog->findChild<QLabel*>("lab_inpmsg")->text().toStdString();
            focused = FocusedName();
            answer(dialog);
        });
        return w.window->AskSaveConfirmation("修正します。よろしいですか？", loaded, "納品済です。");
    }
    static std::function<void(QWidget*)> click(const char* button) {
        return [button](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
        };
    }

    test::RecordedWindow w;
    std::string dialogName, warning, focused;
    QColor questionColour;
};

TEST_F(SaveConfirmation, AnythingButTheStoreButtonsCancels) {
    const struct {
        const char* what;
        std::function<void(QWidget*)> answer;
        int result;
    } cases[] = {
        {"いいえ", click("btn_いいえ"), kConfirmCancel},
        {"Escape", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }, kConfirmCancel},
        {"the close box", [](QWidget* d) { d->close(); }, kConfirmCancel},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ask(false, c.answer), c.result) << c.what;
        EXPECT_EQ(dialogName + "|" + focused + "|" + warning, "msg印刷確認|btn_登録|納品済です。") << c.what;
    }
    EXPECT_EQ(w.events.take(), std::vector<std::string>{});
}

TEST_F(SaveConfirmation, AStoredQuotationIsAskedInRed) {
    ask(true, click("btn_いいえ"));
    EXPECT_EQ(questionColour, QColor(192, 0, 0));
    ask(false, click("btn_いいえ"));
    EXPECT_EQ(questionColour, QApplication::palette().color(QPalette::WindowText));
}

TEST_F(SaveConfirmation, TabGoesFromStoreOnlyToNoToStoreAndPrint) {
    std::vector<std::string> order;
    ask(false, [&](QWidget* dialog) {
        order.push_back(FocusedName());
        for (int i = 0; i < 2; ++i) {
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
            order.push_back(FocusedName());
        }
        dialog->close();
    });
    EXPECT_EQ(order, (std::vector<std::string>{"btn_登録", "btn_いいえ", "btn_登録印刷"}));
}

TEST(WindowQuestions, TheWaitDialogIsOnTheScreenWhenShowWaitReturns) {
    test::RecordedWindow w;
    w.window->ShowWait(true);
    auto* wait = w.window->findChild<QWidget*>("msgお待ち");
    ASSERT_NE(wait, nullptr);
    EXPECT_TRUE(wait->isVisible());
    w.window->ShowWait(false);
    EXPECT_FALSE(wait->isVisible());
    // The next long task shows the same dialog again.
    w.window->ShowWait(true);
    EXPECT_EQ(w.window->findChildren<QWidget*>("msgお待ち"), QList<QWidget*>{wait});
    EXPECT_TRUE(wait->isVisible());
    w.window->ShowWait(false);
}

}  // namespace
}  // namespace velmora
