#include <gtest/gtest.h>

#include <QtTest/QTest>

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
// through the confirmation dialog.
TEST_P(AcceptanceTest, AQuotationIsTypedAndSavedByKeyboard) {
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
    EXPECT_EQ(
        m_install->value("SELECT 得意先コード || '|' || 担当者コード || '|' || 見積伝票備考A FROM T営業見積" + where),
        "000001|00101|よろしくお願いいたします。");
    EXPECT_EQ(m_install->count("T営業見積明細" + where + " AND 商品コード = 'ST-00002'"), 1);
    EXPECT_EQ(std::stod(m_install->value("SELECT 見積数量 FROM T営業見積明細" + where)), 4.0);
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
