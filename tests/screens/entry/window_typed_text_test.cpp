#include <functional>

#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

#include "real_window.h"
#include "screens/entry/entry_fields.h"

namespace velmora::test {
namespace {

class TypedTextInWindowTest : public RealWindowTest {
protected:
    // A click on the scroll bar's lower arrow.
    void clickScrollArrow() {
        auto* bar = find<QScrollBar>("scl_行");
        ASSERT_TRUE(bar && bar->isEnabled());
        QTest::mouseClick(window(), Qt::LeftButton, Qt::NoModifier,
                          bar->mapTo(m_window.get(), QPoint(bar->width() / 2, bar->height() - 4)));
    }
    void clickTab(int page) {
        QTabBar* bar = find<QTabWidget>("tab_詳細")->tabBar();
        QTest::mouseClick(window(), Qt::LeftButton, Qt::NoModifier,
                          bar->mapTo(m_window.get(), bar->tabRect(page).center()));
    }
};

// Typed into a header, a row and a tail field and not left; then each action
// that does not go through the field's exit. What was typed is in the
// quotation afterwards, the line it was typed on and no other.
TEST_P(TypedTextInWindowTest, NothingTypedIsLostToAnAction) {
    const std::string number = storedWithLines(12);
    ASSERT_FALSE(number.empty());
    DialogAnswerer dialogs;
    struct Action {
        const char* name;
        std::function<void()> run;
        const char* question;  // answered No
    };
    const Action actions[] = {
        {"scroll bar", [&] { clickScrollArrow(); }, nullptr},
        {"mouse wheel", [&] { wheel("商品名_5", 1); }, nullptr},
        {"row number", [&] { click("Lab_行No_8"); }, nullptr},
        {"caption", [&] { click("itm_ttl_見積期限"); }, nullptr},
        {"line command", [&] { click("btn_指定行クリア"); }, nullptr},
        {"page", [&] { clickTab(kPagePurchase); }, nullptr},
        {"function key", [&] { key(Qt::Key_F5); }, "入力がありました"},
        {"window close", [&] { window()->close(); }, "入力がありました"},
    };
    struct Field {
        const char* name;
        const char* typed;
        std::function<std::string()> stored;
    };
    const Quotation& q = m_presenter->screen().quotation;
    const Field fields[] = {
        {"得意先名称A", "新規商事", [&] { return q.header.得意先名称A; }},
        {"見積単位_2", "箱", [&] { return q.lines[2].見積単位; }},
        {"見積伝票備考A", "至急", [&] { return q.header.見積伝票備考A; }},
    };
    for (const Field& field : fields) {
        for (const Action& action : actions) {
            SCOPED_TRACE(std::string(action.name) + " after typing into " + field.name);
            if (m_presenter->Changed()) dialogs.expect("入力がありました", "はい");
            key(Qt::Key_F5);
            // The window takes the keyboard back from the question.
            ASSERT_TRUE(QTest::qWaitFor([&] { return focusedName() == "得意先コード"; }, 3000)) << focusedName();
            open(number);
            const std::string unitOfLine4 = q.lines[3].見積単位;
            click(field.name);
            ASSERT_EQ(focusedName(), field.name);
            key(Qt::Key_A, Qt::ControlModifier);
            typeThroughInputMethod(field.typed);
            if (action.question) dialogs.expect(action.question, "いいえ");
            action.run();
            ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.allAnswered(); }, 3000));
            EXPECT_EQ(field.stored(), field.typed);
            EXPECT_EQ(q.lines[3].見積単位, unitOfLine4);
            EXPECT_TRUE(m_window->isVisible());
            EXPECT_TRUE(QTest::qWaitFor([&] { return m_window->isActiveWindow(); }, 2000))
                << "the keyboard is back in the window";
        }
    }
}

// The keys that move through a long quotation's lines, through the window.
TEST_P(TypedTextInWindowTest, PageKeysMoveTenLinesInTheSameColumn) {
    const std::string number = storedWithLines(12);
    ASSERT_FALSE(number.empty());
    open(number);
    click("見積数量_1");
    key(Qt::Key_PageDown);
    EXPECT_EQ(m_presenter->screen().state.CurrentLine, 11);
    EXPECT_EQ(focusedName().rfind("見積数量_", 0), 0u) << focusedName();
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(focusedName(), "見積数量_0");
    EXPECT_EQ(find<QLabel>("Lab_行No_0")->text().toStdString(), "1");
    key(Qt::Key_F6);
    EXPECT_EQ(focusedName(), "行区分_0");
}

// The four subtotal labels (set right by ideographic spaces) show whole in
// the name column: with the cursor at their end, their first character is
// still in view.
TEST_P(TypedTextInWindowTest, SubtotalLabelsShowWhole) {
    const std::string number = storedWithLines(12);
    ASSERT_FALSE(number.empty());
    open(number);
    for (int kind = 2; kind <= 5; ++kind) {
        const std::string row = std::to_string(kind - 2);
        click("商品コード_" + row);
        key(Qt::Key_F6);
        ASSERT_EQ(focusedName(), "行区分_" + row);
        key(Qt::Key_A, Qt::ControlModifier);
        type(std::to_string(kind));
        key(Qt::Key_Tab);
        auto* name = find<QLineEdit>("商品名_" + row);
        ASSERT_NE(name->text().indexOf(QString::fromUtf8("計")), -1) << name->text().toStdString();
        name->end(false);
        EXPECT_EQ(name->cursorPositionAt(QPoint(name->contentsRect().left() + 4, name->height() / 2)), 0)
            << name->text().toStdString() << " is cut in a field " << name->width() << " pixels wide";
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, TypedTextInWindowTest, testing::Values(Engine::SQLite), EngineName);

}  // namespace
}  // namespace velmora::test
