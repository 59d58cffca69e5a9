#include "real_window.h"

namespace velmora::test {
namespace {

using WindowUndoTest = RealWindowTest;

// Ctrl+Z takes back what was typed into the field first, as a spreadsheet
// does; with nothing typed left it undoes the line command before; Ctrl+Y
// and Ctrl+Shift+Z redo. No Ctrl of these chords opens the field's lookup.
TEST_P(WindowUndoTest, TheFieldsOwnTextIsUndoneBeforeTheLines) {
    const std::string number = storedWithLines(3);
    ASSERT_FALSE(number.empty());
    open(number);
    DialogAnswerer dialogs;
    const Quotation& q = m_presenter->screen().quotation;
    const int lines = q.LastLine + 1;
    const std::string firstName = q.lines[0].商品名;
    ASSERT_EQ(focusedName(), "商品コード_0");
    click("btn_行挿入");
    ASSERT_EQ(q.LastLine + 1, lines + 1);
    click("商品名_0");
    ASSERT_EQ(focusedName(), "商品名_0");
    type("abc");
    ASSERT_EQ(text("商品名_0"), "abc");

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text("商品名_0"), "");
    EXPECT_EQ(q.LastLine + 1, lines + 1) << "the field's text went first";

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(q.LastLine + 1, lines);
    EXPECT_EQ(text("商品名_0"), firstName);

    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(q.LastLine + 1, lines + 1);
    EXPECT_EQ(text("商品名_0"), "");
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(q.LastLine + 1, lines + 1);
    EXPECT_EQ(q.lines[1].商品名, firstName);
    EXPECT_TRUE(dialogs.seen.empty()) << dialogs.seen.front();
}

INSTANTIATE_TEST_SUITE_P(Engines, WindowUndoTest, testing::Values(Engine::SQLite), EngineName);

}  // namespace
}  // namespace velmora::test
