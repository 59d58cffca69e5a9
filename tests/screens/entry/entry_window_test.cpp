#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "dialog_answerer.h"

#include "../../app/app_fixture.h"
#include "screens/entry/entry_presenter.h"
#include "screens/entry/qt/entry_window.h"

namespace velmora {
namespace {

class EntryWindowTest : public testing::Test {
protected:
    void SetUp() override {
        m_inst = std::make_unique<test::TestInstallation>(test::Engine::SQLite);
        // A new quotation is proposed its number when the window opens.
        m_inst->business(
            "INSERT INTO A番号情報 (番号ID, 連番種類, 連番, 履歴連番, 更新プログラム) "
            "VALUES ('16210', '1', '00000000', '00000000', 'Nelvaro')");
        m_program = std::make_unique<Program>(m_inst->environment("001"), m_host);
        ASSERT_TRUE(m_program->StartUp());
        m_presenter = std::make_unique<EntryPresenter>(*m_program);
        m_window = std::make_unique<EntryWindow>(*m_presenter);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }
    QPushButton* exitButton() { return m_window->findChild<QPushButton*>("btn_終了"); }
    std::unique_ptr<test::TestInstallation> m_inst;
    test::RecordingHost m_host;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<EntryPresenter> m_presenter;
    std::unique_ptr<EntryWindow> m_window;
};

TEST_F(EntryWindowTest, ShowsTheCompanyAndOfficeAndEndsThroughTheExitButton) {
    EXPECT_EQ(m_window->windowTitle().toStdString(), "Velmora（株式会社ベルモラ商事）");
    auto* title = m_window->findChild<QLabel*>("prg_ttl");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text().toStdString(), "Velmora(東京営業所)「佐藤 一郎」");
    ASSERT_NE(m_window->findChild<QLabel*>("お知らせ"), nullptr);

    QTest::mouseClick(exitButton(), Qt::LeftButton);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_program->ended());
}

// No to the question is tried on the presenter and on a typing window; Yes
// lets the window close.
TEST_F(EntryWindowTest, ClosingWithPendingInputEndsTheRunAfterYes) {
    m_presenter->SetChanged(true);
    test::DialogAnswerer dialogs;
    dialogs.expect("入力がありました。\n終了しますか？", "はい");
    m_window->windowHandle()->close();
    EXPECT_TRUE(dialogs.allAnswered());
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_program->ended());
}

// The window and the presenter together: the field left by Tab is validated.
TEST_F(EntryWindowTest, AnUnknownCustomerLeftByTabIsRefused) {
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    auto* customer = m_window->findChild<QLineEdit*>("得意先コード");
    ASSERT_EQ(QApplication::focusWidget(), customer);
    QTest::keyClicks(customer, "999999");
    QTest::keyClick(customer, Qt::Key_Tab);
    EXPECT_EQ(m_window->findChild<QLabel*>("お知らせ")->text().toStdString(), "該当情報がありません。");
    EXPECT_EQ(customer->text().toStdString(), "");
}

}  // namespace
}  // namespace velmora
