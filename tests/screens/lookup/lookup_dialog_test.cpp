#include "screens/lookup/qt/lookup_dialog.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "data/data_access.h"
#include "lookup_fakes.h"
#include "lookup_rows.h"
#include "screens/lookup/qt/qt_view_factory.h"
#include "support/test_env.h"
#include "while_modal.h"

namespace velmora {
namespace {

using test::CentreInWindow;
using test::TabTo;
using test::WhileModal;

// The real windows on a database with the lookup rows, opened for an entry
// screen's customer code.
class LookupWindowsOnADatabase : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(connection);
        ASSERT_EQ(test::InsertLookupRows(*connection), "");
        ASSERT_TRUE(access.OpenDataConnection(db.connectionString()));
        entry.controls["得意先コード"] = "";
    }
    test::ScratchDatabase db{test::Engine::SQLite, true};
    std::unique_ptr<Connection> connection = db.connect();
    DataAccess access;
    DataAccessLookupData data{access};
    LookupSession session;
    QtLookupViewFactory views;
    LookupWindows windows{session, data, views};
    test::FakeHost entry;
};

TEST_F(LookupWindowsOnADatabase, KanaSearchAndEnterHandTheCustomerCodeToTheTarget) {
    int listed = -1;
    bool noticeShown = true;
    WhileModal([&](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLabel*>("wnd_ttl")->text(), QString("得意先一覧"));
        auto* kana = dialog.findChild<QLineEdit*>("カナ");
        auto* button = dialog.findChild<QPushButton*>("btn_カナ検索");
        ASSERT_TRUE(kana && button);
        EXPECT_FALSE(button->isEnabled());
        kana->setFocus();
        QInputMethodEvent typing;
        typing.setCommitString("ﾔﾏﾀﾞ");
        QApplication::sendEvent(kana, &typing);
        EXPECT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        auto* list = dialog.findChild<QTreeWidget*>("List得意先");
        listed = list->topLevelItemCount();
        noticeShown = dialog.findChild<QLabel*>("lab_注意")->isVisible();
        EXPECT_TRUE(list->hasFocus());
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
    });
    windows.open(LookupWindowId::得意先一覧, entry, "", "得意先コード", "得意先名称A");
    EXPECT_EQ(listed, 2);
    EXPECT_FALSE(noticeShown);
    EXPECT_EQ(entry.controls["得意先コード"], "000002");
    EXPECT_TRUE(entry.enabled);
    EXPECT_EQ(entry.focus, (std::vector<std::string>{"得意先コード", "得意先名称A"}));

    // The window was hidden, not destroyed: it comes back as it was (where
    // Escape returns to is the presenter's and the entry window's to check).
    WhileModal([&](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>("カナ")->text(), QString("ﾔﾏﾀﾞ"));
        EXPECT_EQ(dialog.findChild<QTreeWidget*>("List得意先")->topLevelItemCount(), 2);
        QTest::keyClick(dialog.findChild<QLineEdit*>("コード"), Qt::Key_Escape);
    });
    windows.open(LookupWindowId::得意先一覧, entry, "", "得意先コード", "得意先名称A");
}

// Keys and clicks as the window system delivers them: to the dialog's
// window, which hands them to the focused field or the widget under the
// mouse. Only a lone Ctrl in the staff code opens the staff list nested.
TEST_F(LookupWindowsOnADatabase, ALoneCtrlThroughTheWindowOpensTheNestedList) {
    using Gesture = std::function<void(QDialog&)>;
    const Gesture alone = [](QDialog& d) {
        QTest::keyPress(d.windowHandle(), Qt::Key_Control);
        QTest::keyRelease(d.windowHandle(), Qt::Key_Control);
    };
    // Which chords are no gesture is tried on the entry window, which watches its fields the same way.
    const Gesture copy = [](QDialog& d) { QTest::keyClick(d.windowHandle(), Qt::Key_C, Qt::ControlModifier); };
    const struct {
        const char* what;
        Gesture gesture;
        std::string opened;
    } cases[] = {
        {"alone", alone, "担当者一覧"},
        {"Ctrl+C", copy, ""},
        {"alone again", alone, "担当者一覧"},
    };
    for (const auto& c : cases) {
        std::string opened;
        WhileModal([&](QDialog& dialog) {
            QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {},
                              CentreInWindow(dialog.findChild<QLineEdit*>("担当者コード")));
            ASSERT_EQ(QApplication::focusWidget()->objectName(), QString("担当者コード"));
            // Looks for a nested window until the gesture is over; one that
            // opens keeps the gesture running until it is closed.
            bool over = false;
            std::function<void()> poll = [&] {
                auto* nested = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (nested && nested != &dialog) {
                    opened = nested->windowTitle().toStdString();
                    QTest::keyClick(nested->windowHandle(), Qt::Key_Escape);
                } else if (!over) {
                    QTimer::singleShot(5, poll);
                }
            };
            QTimer::singleShot(5, poll);
            c.gesture(dialog);
            over = true;
            QTest::qWait(20);
            QTest::keyClick(dialog.windowHandle(), Qt::Key_Escape);
        });
        windows.open(LookupWindowId::得意先一覧, entry, "", "得意先コード", "得意先名称A");
        EXPECT_EQ(opened, c.opened) << c.what;
    }
}

// Enter on a focused button presses it.
TEST_F(LookupWindowsOnADatabase, EnterPressesTheFocusedButton) {
    int listed = -1;
    bool listFocused = false;
    WhileModal([&](QDialog& dialog) {
        auto* kana = dialog.findChild<QLineEdit*>("カナ");
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, CentreInWindow(kana));
        QInputMethodEvent typing;
        typing.setCommitString("ｺｳｷﾞｮｳ");
        QApplication::sendEvent(kana, &typing);
        ASSERT_TRUE(TabTo(dialog, "btn_カナ検索"));
        QTest::keyClick(dialog.windowHandle(), Qt::Key_Return);
        listed = dialog.findChild<QTreeWidget*>("List得意先")->topLevelItemCount();
        listFocused = QApplication::focusWidget() == dialog.findChild<QTreeWidget*>("List得意先");
        ASSERT_TRUE(TabTo(dialog, "btn_戻る"));
        QTest::keyClick(dialog.windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
    });
    windows.open(LookupWindowId::得意先一覧, entry, "", "得意先コード", "得意先名称A");
    EXPECT_EQ(listed, 1) << "both customers in trade are listed before the search";
    EXPECT_TRUE(listFocused);
    EXPECT_EQ(entry.focus, std::vector<std::string>{"得意先コード"});
    EXPECT_TRUE(entry.enabled);
}

// Every caption shows whole beside its sort arrow, in the font of the day.
TEST(LookupDialogLayout, NoColumnCaptionIsCut) {
    test::FakeLookupData data;
    LookupSession session;
    LookupContext context;
    for (LookupWindowId id : AllLookupWindows()) {
        const WindowDescription& window = DescribeWindow(id);
        LookupPresenter presenter(window, session, data, context, nullptr);
        LookupDialog dialog(window, presenter);
        QHeaderView* header = dialog.list()->header();
        for (int i = 0; i < header->count(); ++i)
            EXPECT_GE(header->sectionSize(i), header->sectionSizeHint(i)) << window.title << " " << i;
    }
}

// Long but ordinary values show whole: kana names as long as the field
// takes them (40 half-width characters), full names, prices, e-mail.
TEST(LookupDialogLayout, LongOrdinaryValuesAreNotCut) {
    const QString customerKana = "ﾆﾎﾝﾊﾞｼｾｲｷｾｲｻｸｼｮｶﾌﾞｼｷｶﾞｲｼｬﾄｳｷｮｳｼﾃﾝｴｲｷﾞｮｳｶ";
    const QString productKana = "ｷﾞｮｳﾑﾖｳﾄｲﾚｯﾄﾍﾟｰﾊﾟｰｼﾝｸﾞﾙﾌｧﾐﾘｰﾊﾟｯｸﾆｼﾞｭｳﾛｰﾙ";
    ASSERT_EQ(customerKana.size(), 40);
    ASSERT_EQ(productKana.size(), 40);
    const struct {
        LookupWindowId window;
        std::vector<std::string> cells;
    } cases[] = {
        {LookupWindowId::商品一覧,
         {"CL-00001", "業務用トイレットペーパーシングル１２Ｒ入", "１２ロール×８", productKana.toStdString(), "非売品",
          "99,999,999.99", "9,999,999.99", "12,345,678.50", "A100", "清掃・衛生用品"}},
        {LookupWindowId::得意先一覧,
         {"000001", "日本橋精機製作所", "佐々木 真由美", "011-777-8888", customerKana.toStdString(), "100-0001",
          "神奈川県横浜市西区みなとみらい", "みなとみらい二丁目３番１号"}},
        {LookupWindowId::得意先御担当者一覧,
         {"00001", "佐々木 真由美", "ｻｻｷ ﾏﾕﾐ", "090-1234-5678", "hashimoto.takashi@nihonbashi-seiki.example.co.jp"}},
        {LookupWindowId::担当者一覧, {"00101", "佐々木 真由美", "大阪支店", "第二営業部", "営業二課"}},
        {LookupWindowId::営業見積No一覧,
         {"00000030", "20261204", "000003", "株式会社日本橋精機製作所東京支店", "事務用品一式のお見積り（年間契約分）",
          "  123,456,789"}},
    };
    test::FakeLookupData data;
    LookupSession session;
    LookupContext context;
    for (const auto& c : cases) {
        const WindowDescription& window = DescribeWindow(c.window);
        ASSERT_EQ(c.cells.size(), window.columns.size()) << window.title;
        LookupPresenter presenter(window, session, data, context, nullptr);
        LookupDialog dialog(window, presenter);
        LookupRow row;
        row.cells = c.cells;
        dialog.showRows({row});
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTreeWidget* list = dialog.list();
        QStyleOptionViewItem option;
        option.initFrom(list->viewport());
        option.font = list->font();
        option.fontMetrics = list->fontMetrics();
        for (int i = 0; i < list->columnCount(); ++i) {
            // The width the list's own delegate asks for the cell.
            const QModelIndex cell = list->model()->index(0, i);
            EXPECT_GE(list->columnWidth(i), list->itemDelegate()->sizeHint(option, cell).width())
                << window.title << " " << window.columns[static_cast<size_t>(i)].header << ": " << c.cells[static_cast<size_t>(i)];
        }
    }
}

}  // namespace
}  // namespace velmora
