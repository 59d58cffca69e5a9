#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "../presenter/screen_fixture.h"
#include "quotation/attachment_files.h"
#include "screens/entry/entry_presenter.h"
#include "screens/entry/qt/entry_window.h"
#include "window_recorder.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// The real window's long waits on the demo installation: an attachment copy
// with its progress dialog, and a registration program that is waited for
// when the session ends.
class WindowWaitsTest : public testing::TestWithParam<test::Engine> {
protected:
    void SetUp() override {
        m_install = std::make_unique<test::DemoInstallation>(GetParam());
        VELMORA_REQUIRE_DATABASE(*m_install);
    }
    // The program started as the suite's launcher starts it: with a command
    // line, and a start message that the program answers when it ends.
    void Start(const std::string& commandLine) {
        auto access = m_install->open();
        access->identity() = {"Carnelo", "001", "00101", "sato", "PC-EIGYO01"};
        ASSERT_TRUE(access->ExecuteConfig(
            "INSERT INTO プログラム連携情報 (発信日時,発信プログラムID,受信プログラムID,受信期限,連携区分,"
            "起動連携情報,終了連携情報,運用事業所コード,起動担当者コード,ユーザID) VALUES ('" +
            access->NowText() + "','Carnelo','Velmora','" + access->NowText() + "','00','" + commandLine +
            "','','001','00101','sato')"));
        m_program = std::make_unique<Program>(m_install->environment(commandLine, true), m_host);
        ASSERT_TRUE(m_program->StartUp());
        m_presenter = std::make_unique<EntryPresenter>(*m_program);
        m_window = std::make_unique<EntryWindow>(*m_presenter);
        ASSERT_TRUE(test::ShowActive(*m_window));
    }
    void TearDown() override {
        if (m_window) m_window->endSession();
        m_window.reset();
        m_presenter.reset();
    }

    test::TempDir m_sources;
    std::unique_ptr<test::DemoInstallation> m_install;
    test::RecordingHost m_host;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<EntryPresenter> m_presenter;
    std::unique_ptr<EntryWindow> m_window;
};

// A copy that takes a while shows its progress in a modal dialog after a
// moment; the window's events keep running, and the dialog's cancel takes
// the half copy away again. A quick copy shows nothing.
TEST_P(WindowWaitsTest, ALongCopyShowsItsProgressAndCanBeCancelled) {
    Start("");
    const fs::path source = m_sources.path() / "図面";
    fs::create_directories(source);
    for (int i = 0; i < 60; ++i) std::ofstream(source / (std::to_string(i) + ".txt")) << std::string(4096, 'x');
    const fs::path target = m_sources.path() / "documents" / "Velmora_x_001_図面";

    int ticks = 0;
    QTimer ticking;
    QObject::connect(&ticking, &QTimer::timeout, [&] { ++ticks; });
    ticking.start(20);

    CopyJob job(source.string(), target.string());
    // Slowed down on the copying thread so that it surely takes its time.
    job.OnFileCopied([] { std::this_thread::sleep_for(std::chrono::milliseconds(25)); });
    QElapsedTimer clock;
    clock.start();
    qint64 shownAfter = -1;
    QString label, cancelText;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || shownAfter >= 0) return;
        shownAfter = clock.elapsed();
        label = dialog->labelText();
        QPushButton* cancel = dialog->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        cancelText = cancel->text();
        // A few more files, then the user cancels.
        QTimer::singleShot(150, cancel, [cancel] { QTest::mouseClick(cancel, Qt::LeftButton); });
    });
    watch.start(10);
    m_window->RunCopy(job);
    watch.stop();

    EXPECT_GE(shownAfter, 250) << "not for a moment's copy";
    EXPECT_TRUE(label.startsWith(QString::fromUtf8("付属書類をコピーしています…"))) << label.toStdString();
    EXPECT_TRUE(label.contains(QString::fromUtf8("/ 60 ファイル"))) << label.toStdString();
    EXPECT_EQ(cancelText.toStdString(), "キャンセル");
    EXPECT_EQ((std::vector<bool>{job.finished(), job.cancelled(), job.succeeded()}),
              (std::vector<bool>{true, true, false}));
    EXPECT_GT(job.filesDone(), 0u);
    EXPECT_LT(job.filesDone(), 60u);
    EXPECT_FALSE(fs::exists(target)) << "the half copy is gone";
    EXPECT_GT(ticks, 10) << "the event loop ran meanwhile";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    CopyJob quick(source.string(), target.string());
    bool dialogSeen = false;
    QObject::connect(&watch, &QTimer::timeout, [&] { dialogSeen = dialogSeen || QApplication::activeModalWidget(); });
    watch.start(10);
    m_window->RunCopy(quick);
    EXPECT_TRUE(quick.succeeded());
    EXPECT_FALSE(dialogSeen);
    EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 60);
}

// The end of the session while a registration program is open and has not
// answered ends the run: the wait stops and the program ends.
TEST_P(WindowWaitsTest, TheEndOfTheSessionDuringALinkedWaitEndsTheRun) {
    Start("001");
    const std::string open = m_install->root() + "prgbin/Dunvale.noreply";
    std::ofstream(open) << "30";
    QWidget* panel = m_window->findChild<QWidget*>("bak_得意先");
    ASSERT_NE(panel, nullptr);
    bool waiting = false;
    // What main does with a termination signal.
    QTimer::singleShot(700, m_window.get(), [&] {
        waiting = m_presenter->screen().state.LinkWaiting && !m_window->isEnabled();
        m_program->RequestEnd();
        m_window->endSession();
    });
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_LT(clock.elapsed(), 10000) << "the wait ran on after the end";
    EXPECT_TRUE(waiting) << "the click started the linked wait";
    for (int i = 0; i < 100 && !m_program->ended(); ++i) QTest::qWait(20);
    fs::remove(open);
    // The rows the end writes are the program's own, whatever ends it.
    EXPECT_TRUE(m_program->ended());
    EXPECT_FALSE(m_window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Engines, WindowWaitsTest, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
