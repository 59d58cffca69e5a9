#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest/QTest>

#include "platform/process.h"
#include "real_window.h"
#include "screens/entry/entry_fields.h"

namespace velmora {
namespace {

// The real window whose file dialog is answered by the test.
class ScriptedDialogsWindow : public EntryWindow {
public:
    using EntryWindow::EntryWindow;
    std::string ChooseFile(const std::string&, const std::vector<FileFilter>&) override {
        return std::exchange(chosen, {});
    }
    std::string chosen;
};

// The activity and attachment pages of the real window on the demo
// installation, reached by the keyboard and the mouse as a user does.
class WindowPagesTest : public test::RealWindowTest {
  protected:
    std::unique_ptr<EntryWindow> makeWindow(EntryPresenter& presenter) override {
        auto window = std::make_unique<ScriptedDialogsWindow>(presenter);
        m_scripted = window.get();
        return window;
    }
    // F3 opens the newest stored quotation; Tab through its header opens the
    // detail area, whose page is then chosen by a click on its tab.
    void OpenNewestOnPage(int page) {
        key(Qt::Key_F3);
        tabTo("商品コード_0");
        QTabBar* tabs = find<QTabWidget>("tab_詳細")->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
        ASSERT_EQ(m_presenter->screen().state.DetailPage, page);
    }
    QTreeWidget* list(const char* name) { return find<QTreeWidget>(name); }
    void ClickRow(QTreeWidget* tree, int row) {
        QTreeWidgetItem* item = tree->topLevelItem(row);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }
    std::vector<std::string> TovarekStarts() {
        return test::StandinStarts(m_install->root() + "prgbin", "Tovarek");
    }

    ScriptedDialogsWindow* m_scripted = nullptr;
};

// Enter on an activity row starts the schedule report program with that
// activity's key, also after the list was sorted by a column.
TEST_P(WindowPagesTest, EnterOnAnActivityStartsTheScheduleReport) {
    OpenNewestOnPage(kPageActivities);
    QTreeWidget* activities = list(kActivityList);
    ASSERT_GE(activities->topLevelItemCount(), 2);
    const std::string number = m_presenter->screen().quotation.loadedKey.営業見積No;

    // Sorted by the note; the first and the last row as shown are opened.
    QHeaderView* header = activities->header();
    const int noteColumn = activities->columnCount() - 1;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(noteColumn) + 5, header->height() / 2));
    std::vector<std::string> expected;
    for (int row : {0, activities->topLevelItemCount() - 1}) {
        QTreeWidgetItem* shown = activities->topLevelItem(row);
        ClickRow(activities, row);
        ASSERT_EQ(focusedName(), kActivityList);
        key(Qt::Key_Return);
        // The key: office, day, start and end time, staff member.
        expected.push_back(m_install->value(
            "SELECT '001' || 日付 || 開始時刻 || 終了時刻 || 担当者コード FROM T営業活動明細 WHERE 営業見積No = '" +
            number + "' AND 日付 = '" + shown->text(0).remove('/').toStdString() + "' AND 開始時刻 = '" +
            shown->text(1).toStdString() + "' AND 営業活動摘要 = '" + shown->text(noteColumn).toStdString() + "'"));
    }
    std::vector<std::string> starts;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (starts = TovarekStarts()).size() >= 2; }, 5000));
    std::sort(starts.begin(), starts.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(starts, expected);
    EXPECT_NE(expected[0], expected[1]);
}

// The attachment buttons are enabled for the stored quotation; a file chosen
// through 付属書類追加 shows as a row of the list.
TEST_P(WindowPagesTest, AnAddedFileShowsInTheAttachmentList) {
    OpenNewestOnPage(kPageAttachments);
    auto* add = find<QPushButton>("btn_付属書類追加");
    ASSERT_TRUE(add->isEnabled());

    test::TempDir sources;
    const std::string source = sources.file("打合せ記録.txt");
    std::ofstream(source) << std::string(2048, 'x');
    m_scripted->chosen = source;
    QTest::mouseClick(add, Qt::LeftButton);
    QTreeWidget* attachments = list(kAttachmentList);
    ASSERT_EQ(attachments->topLevelItemCount(), 1);
    EXPECT_EQ(attachments->topLevelItem(0)->text(0).toStdString(), "打合せ記録");

    // A double-click opens the copy with the desktop's application. QTest's
    // double-click on a widget sends only the second press; the first click
    // comes before it as from a mouse.
    std::vector<std::string> opened;
    SetShellOpener([&](const std::string& path) {
        opened.push_back(path);
        return true;
    });
    const QPoint at = attachments->visualItemRect(attachments->topLevelItem(0)).center();
    QTest::mouseClick(attachments->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(attachments->viewport(), Qt::LeftButton, {}, at);
    SetShellOpener(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].substr(opened[0].size() - std::string("_001_打合せ記録.txt").size()), "_001_打合せ記録.txt");
}

INSTANTIATE_TEST_SUITE_P(Engines, WindowPagesTest, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
