#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <QTreeWidget>

#include "real_window.h"

namespace velmora {
namespace {

// The real window on the demo installation, typed at as a salesperson does:
// keys only, every value through the field it belongs to. Every dialog is
// answered by the answerer; one the test did not expect fails it at once.
class AcceptanceTest : public test::RealWindowTest {
protected:
    // The save confirmation is answered 登録のみ as soon as it shows.
    void storeOnlyWhenAsked() { m_dialogs.expect("", "登録のみ"); }
    bool confirmed() { return m_dialogs.allAnswered() && !m_dialogs.seen.empty(); }
    std::string question() { return m_dialogs.seen.empty() ? "" : m_dialogs.seen.back(); }

    test::DialogAnswerer m_dialogs;
};

// A new quotation typed from the keyboard: customer by code, staff,
// department and section, one product line; Tab out of the remarks saves it
// through the confirmation dialog. Then it is opened by its number, the
// customer's tax setting is changed and F12 saves the change.
TEST_P(AcceptanceTest, AQuotationIsTypedSavedOpenedAndChangedByKeyboard) {
    ASSERT_EQ(focusedName(), "得意先コード");
    const std::string number = text("営業見積No");
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return confirmed(); }));
    EXPECT_EQ(question(), "登録します。よろしいですか？");
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
    type(number);
    key(Qt::Key_Tab);
    ASSERT_EQ(text("得意先コード"), "000001");
    tabTo("得意先消費税区分");
    type("2");
    key(Qt::Key_Tab);
    storeOnlyWhenAsked();
    key(Qt::Key_F12);
    ASSERT_TRUE(QTest::qWaitFor([&] { return confirmed(); }));
    EXPECT_EQ(question(), "修正します。よろしいですか？");
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
    m_dialogs.expect("", [&](QDialog* lookup) {
        auto* list = lookup->findChild<QTreeWidget*>();
        ASSERT_TRUE(list && QTest::qWaitFor([&] { return list->topLevelItemCount() > 1; }));
        shown = true;
        list->setFocus();
        list->setCurrentItem(list->topLevelItem(1));
        chosen = list->topLevelItem(1)->text(0).toStdString();
        QTest::keyClick(lookup->windowHandle(), Qt::Key_Return);
    });
    QTest::keyPress(window(), Qt::Key_Control);
    QTest::keyRelease(window(), Qt::Key_Control);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown; }));
    ASSERT_FALSE(chosen.empty());
    EXPECT_EQ(text("担当者コード"), chosen);
    EXPECT_EQ(m_presenter->screen().quotation.header.担当者コード, chosen) << "the choice was read as typed";
    EXPECT_FALSE(m_presenter->screen().quotation.header.担当者名.empty());
}

// A multi-line quotation in the real window: five product lines typed with
// their quantities, one inserted and one deleted with the line commands, a
// subtotal line, saved, opened again: the stored lines and totals are what
// the screen showed.
TEST_P(AcceptanceTest, LinesAreTypedInsertedDeletedSubtotalledAndStored) {
    const std::string number = text("営業見積No");
    type("1");
    tabTo("見積期限");
    key(Qt::Key_Tab);
    for (int i = 0; i < 5; ++i) {
        const std::string row = std::to_string(i);
        ASSERT_EQ(focusedName(), "商品コード_" + row) << notice();
        type("ST-0000" + std::to_string(i + 1));
        tabTo(("見積数量_" + row).c_str());
        type(std::to_string(i + 2));
        tabTo(("商品コード_" + std::to_string(i + 1)).c_str());
    }
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return confirmed(); }));
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
    type(number);
    key(Qt::Key_Tab);
    ASSERT_EQ(screen.quotation.LastLine, 5);
    EXPECT_EQ(screen.quotation.header.税抜見積金額合計, total);
    EXPECT_EQ(screen.quotation.lines[5].見積金額, total);
    EXPECT_EQ(text("商品コード_2"), "ST-00009");
    EXPECT_EQ(text("見積数量_2"), "7.00");
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
