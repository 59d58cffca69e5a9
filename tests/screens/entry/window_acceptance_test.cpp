#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "../presenter/screen_fixture.h"
#include <QTreeWidget>

#include "screens/entry/entry_presenter.h"
#include "screens/entry/qt/entry_window.h"
#include "screens/entry/session_bridge.h"
#include "screens/lookup/lookup_windows.h"
#include "screens/lookup/qt/qt_view_factory.h"

namespace velmora {
namespace {

// The real window on the demo installation, typed at as a salesperson does:
// keys only, every value through the field it belongs to.
class AcceptanceTest : public testing::TestWithParam<test::Engine> {
protected:
    void SetUp() override {
        m_install = std::make_unique<test::DemoInstallation>(GetParam());
        VELMORA_REQUIRE_DATABASE(*m_install);
        m_program = std::make_unique<Program>(m_install->environment(), m_host);
        ASSERT_TRUE(m_program->StartUp());
        m_lookupData = std::make_unique<DataAccessLookupData>(m_program->access());
        m_lookupSession = MakeLookupSession(m_program->session());
        m_lookups = std::make_unique<LookupWindows>(m_lookupSession, *m_lookupData, m_lookupViews);
        m_presenter = std::make_unique<EntryPresenter>(*m_program, m_lookups.get());
        m_window = std::make_unique<EntryWindow>(*m_presenter);
        m_window->show();
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }
    void TearDown() override {
        if (m_window) m_window->endSession();
        m_window.reset();
        m_presenter.reset();
        m_lookups.reset();
    }

    QWidget* focused() { return QApplication::focusWidget(); }
    std::string focusedName() { return focused() ? focused()->objectName().toStdString() : std::string(); }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focused() ? focused() : m_window.get(), k, modifiers);
    }
    // Types into the focused field (a field reached by Tab has its text selected).
    void type(const char* text) { QTest::keyClicks(focused(), QString::fromUtf8(text)); }
    // Japanese text arrives through the input method as a committed string.
    void typeThroughInputMethod(const char* text) {
        QInputMethodEvent event;
        event.setCommitString(QString::fromUtf8(text));
        QApplication::sendEvent(focused(), &event);
    }
    // Tab (or Shift+Tab) until the named control has the focus.
    void tabTo(const char* name, bool back = false) {
        for (int i = 0; i < 80 && focusedName() != name; ++i) key(Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
        ASSERT_EQ(focusedName(), name);
    }
    // Answers the save confirmation with the key of its focused first button
    // ("登録のみ") as soon as it shows.
    void storeOnlyWhenAsked() {
        m_confirmed = false;
        QTimer::singleShot(20, [this] { answerConfirmation(); });
    }
    // Polls for the confirmation; each poll schedules the next one itself, so
    // nothing holds on to the poll once the dialog is answered.
    void answerConfirmation() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == "msg印刷確認") {
            m_question = modal->findChild<QLabel*>("lab_msg")->text().toStdString();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            m_confirmed = true;
            return;
        }
        QTimer::singleShot(20, [this] { answerConfirmation(); });
    }
    std::string notice() { return m_window->findChild<QLabel*>("お知らせ")->text().toStdString(); }

    std::unique_ptr<test::DemoInstallation> m_install;
    test::RecordingHost m_host;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<DataAccessLookupData> m_lookupData;
    LookupSession m_lookupSession;
    QtLookupViewFactory m_lookupViews;
    std::unique_ptr<LookupWindows> m_lookups;
    std::unique_ptr<EntryPresenter> m_presenter;
    std::unique_ptr<EntryWindow> m_window;
    bool m_confirmed = false;
    std::string m_question;
};

// A new quotation typed from the keyboard: customer by code, staff,
// department and section, one product line; Tab out of the remarks saves it
// through the confirmation dialog. Then it is opened by its number, the
// customer's tax setting is changed and F12 saves the change.
TEST_P(AcceptanceTest, AQuotationIsTypedSavedOpenedAndChangedByKeyboard) {
    ASSERT_EQ(focusedName(), "得意先コード");
    const std::string number = m_window->findChild<QLineEdit*>("営業見積No")->text().toStdString();
    type("1");
    tabTo("担当者コード");
    type("101");
    key(Qt::Key_Return);  // Enter moves on like Tab
    ASSERT_EQ(focusedName(), "部門コード");
    type("2");
    key(Qt::Key_Tab);
    type("21");
    key(Qt::Key_Tab);
    tabTo("見積期限");
    key(Qt::Key_Tab);
    ASSERT_EQ(focusedName(), "商品コード_0") << notice();
    type("ST-00002");
    tabTo("見積数量_0");
    type("4");
    tabTo("見積伝票備考A");
    typeThroughInputMethod("よろしくお願いいたします。");
    key(Qt::Key_Tab);
    storeOnlyWhenAsked();
    key(Qt::Key_Tab);  // 見積伝票備考B, then the tail's end asks to save
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_confirmed; }));
    EXPECT_EQ(m_question, "登録します。よろしいですか？");
    EXPECT_TRUE(QTest::qWaitFor([&] { return focusedName() == "得意先コード"; }, 2000)) << focusedName();

    const std::string where = " WHERE 事業所コード = '001' AND 番号基準日付 = '20270331' AND 営業見積No = '" + number + "'";
    ASSERT_EQ(m_install->count("T営業見積" + where), 1) << notice();
    EXPECT_EQ(m_install->value("SELECT 得意先コード FROM T営業見積" + where), "000001");
    EXPECT_EQ(m_install->value("SELECT 担当者コード FROM T営業見積" + where), "00101");
    EXPECT_EQ(m_install->value("SELECT 部門コード FROM T営業見積" + where), "002");
    EXPECT_EQ(m_install->value("SELECT セクションコード FROM T営業見積" + where), "021");
    EXPECT_EQ(m_install->value("SELECT 見積伝票備考A FROM T営業見積" + where), "よろしくお願いいたします。");
    EXPECT_EQ(m_install->count("T営業見積明細" + where + " AND 商品コード = 'ST-00002'"), 1);
    EXPECT_EQ(std::stod(m_install->value("SELECT 見積数量 FROM T営業見積明細" + where)), 4.0);

    // Opened again by its number, typed into 見積No.
    tabTo("営業見積No", true);
    type(number.c_str());
    key(Qt::Key_Tab);
    ASSERT_EQ(m_window->findChild<QLineEdit*>("得意先コード")->text().toStdString(), "000001");
    tabTo("得意先消費税区分");
    type("2");
    key(Qt::Key_Tab);
    storeOnlyWhenAsked();
    key(Qt::Key_F12);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_confirmed; }));
    EXPECT_EQ(m_question, "修正します。よろしいですか？");
    EXPECT_EQ(m_install->value("SELECT 得意先消費税区分 FROM T営業見積" + where), "2");
    EXPECT_EQ(m_install->count("R営業見積" + where + " AND 赤黒区分 = '0'"), 1);
    EXPECT_EQ(m_install->count("R営業見積" + where + " AND 赤黒区分 = '1'"), 2);
    EXPECT_EQ(m_install->count("R営業見積明細" + where + " AND 赤黒区分 = '1'"), 2);
}

// A lone Ctrl in a code field opens its lookup window; Enter on a row hands
// the code back, which is read like a typed one. Ctrl+A in the same field
// selects its text and opens nothing.
TEST_P(AcceptanceTest, ALoneCtrlOpensTheLookupAndItsChoiceIsRead) {
    tabTo("担当者コード");
    key(Qt::Key_A, Qt::ControlModifier);
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    std::string chosen;
    bool shown = false;
    std::function<void()> poll = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* list = modal ? modal->findChild<QTreeWidget*>() : nullptr;
        if (list && list->topLevelItemCount() > 0) {
            shown = true;
            list->setFocus();
            list->setCurrentItem(list->topLevelItem(1));
            chosen = list->topLevelItem(1)->text(0).toStdString();
            QTest::keyClick(list, Qt::Key_Return);
            return;
        }
        QTimer::singleShot(20, poll);
    };
    QTimer::singleShot(20, poll);
    QTest::keyPress(focused(), Qt::Key_Control);
    QTest::keyRelease(focused(), Qt::Key_Control);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown; }));
    ASSERT_FALSE(chosen.empty());
    EXPECT_EQ(m_window->findChild<QLineEdit*>("担当者コード")->text().toStdString(), chosen);
    EXPECT_EQ(m_presenter->screen().quotation.header.担当者コード, chosen) << "the choice was read as typed";
    EXPECT_FALSE(m_presenter->screen().quotation.header.担当者名.empty());
}

// A multi-line quotation in the real window: five product lines typed with
// their quantities, one inserted and one deleted with the line commands, a
// subtotal line, saved, opened again: the stored lines and totals are what
// the screen showed.
TEST_P(AcceptanceTest, LinesAreTypedInsertedDeletedSubtotalledAndStored) {
    const std::string number = m_window->findChild<QLineEdit*>("営業見積No")->text().toStdString();
    type("1");
    tabTo("見積期限");
    key(Qt::Key_Tab);
    for (int i = 0; i < 5; ++i) {
        const std::string row = std::to_string(i);
        ASSERT_EQ(focusedName(), "商品コード_" + row) << notice();
        type(("ST-0000" + std::to_string(i + 1)).c_str());
        tabTo(("見積数量_" + row).c_str());
        type(std::to_string(i + 2).c_str());
        tabTo(("商品コード_" + std::to_string(i + 1)).c_str());
    }
    auto click = [&](const char* name) {
        QWidget* widget = m_window->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name;
        QTest::mouseClick(widget, Qt::LeftButton);
    };
    // A line inserted before the third, typed; the fifth (ST-00004) deleted.
    click("商品コード_2");
    click("btn_行挿入");
    ASSERT_EQ(focusedName(), "行区分_2");
    tabTo("商品コード_2");
    type("ST-00009");
    tabTo("見積数量_2");
    type("7");
    key(Qt::Key_Tab);
    click("商品コード_4");
    click("btn_行クリア");
    // A subtotal on the empty line after the last product.
    click("行区分_5");
    key(Qt::Key_A, Qt::ControlModifier);
    type("2");
    key(Qt::Key_Tab);
    EntryScreen& screen = m_presenter->screen();
    ASSERT_EQ(screen.quotation.LastLine, 5) << notice();
    const Currency total = screen.quotation.header.税抜見積金額合計;
    EXPECT_EQ(screen.quotation.lines[5].見積金額, total) << "the subtotal sums the five lines";

    storeOnlyWhenAsked();
    key(Qt::Key_F12);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_confirmed; }));
    const std::string where = " WHERE 事業所コード = '001' AND 番号基準日付 = '20270331' AND 営業見積No = '" + number + "'";
    ASSERT_EQ(m_install->count("T営業見積明細" + where), 6) << notice();
    const char* stored[] = {"ST-00001", "ST-00002", "ST-00009", "ST-00003", "ST-00005", ""};
    for (int i = 0; i < 6; ++i) {
        const std::string line = " AND 営業見積行No = '00" + std::to_string(i + 1) + "'";
        EXPECT_EQ(m_install->value("SELECT 商品コード FROM T営業見積明細" + where + line), stored[i]) << i;
    }
    EXPECT_EQ(m_install->value("SELECT 行区分 FROM T営業見積明細" + where + " AND 営業見積行No = '006'"), "2");

    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedName() == "得意先コード"; }, 2000)) << focusedName();
    tabTo("営業見積No", true);
    type(number.c_str());
    key(Qt::Key_Tab);
    ASSERT_EQ(screen.quotation.LastLine, 5);
    EXPECT_EQ(screen.quotation.header.税抜見積金額合計, total);
    EXPECT_EQ(screen.quotation.lines[5].見積金額, total);
    EXPECT_EQ(m_window->findChild<QLineEdit*>("商品コード_2")->text().toStdString(), "ST-00009");
    EXPECT_EQ(m_window->findChild<QLineEdit*>("見積数量_2")->text().toStdString(), "7.00");
}

// This file includes Qt before the domain headers: the lines pricing sees are
// still the quotation's own (Qt's keyword macros once emptied a parameter).
TEST(QtAndDomainHeaders, PricingSeesTheQuotationsLines) {
    Quotation q;
    q.LastLine = 1;
    const PricedLines lines = q.linesInUse();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(&lines[1], static_cast<PricedLine*>(&q.lines[1]));
}

INSTANTIATE_TEST_SUITE_P(Engines, AcceptanceTest, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
