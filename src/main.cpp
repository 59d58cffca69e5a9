#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include <QApplication>
#include <QEvent>
#include <QPixmap>
#include <QSocketNotifier>
#include <QTimer>

#include "app/program.h"
#include "data/clock.h"
#include "platform/identity.h"
#include "platform/program_options.h"
#include "screens/entry/entry_presenter.h"
#include "screens/entry/qt/entry_window.h"
#include "screens/entry/qt/startup_host_qt.h"
#include "screens/entry/session_bridge.h"
#include "screens/lookup/lookup_data.h"
#include "screens/lookup/lookup_windows.h"
#include "screens/lookup/qt/japanese_translation.h"
#include "screens/lookup/qt/qt_view_factory.h"

namespace {

// A termination signal is turned into an event of the main loop, so the end
// routine runs on the GUI thread like any other close.
int g_signalPipe[2] = {-1, -1};

void onTerminate(int) {
    char byte = 1;
    ssize_t ignored = write(g_signalPipe[1], &byte, 1);
    (void)ignored;
}

// "--screenshot FILE" saves a picture of the window once it is drawn and
// ends the run. It is taken out of the arguments, so the suite's command
// line never sees it.
std::string TakeScreenshotOption(int& argc, char** argv) {
    std::string file;
    if (argc < 1) return file;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--screenshot" && i + 1 < argc)
            file = argv[++i];
        else if (arg.rfind("--screenshot=", 0) == 0)
            file = arg.substr(13);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return file;
}

// Calls a task once, right after the first paint of a widget has been done.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget& widget, std::function<void()> task) : m_task(std::move(task)) {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_task) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, std::exchange(m_task, nullptr));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_task;
};

constexpr const char* kUsage =
    "Usage: Velmora [QUOTATION]\n"
    "\n"
    "The sales-quotation program. It runs from an installation's prgbin/ folder\n"
    "(made by velmora-admin init); the desktop menu and the command velmora start\n"
    "the installation chosen with velmora-admin use.\n"
    "\n"
    "  QUOTATION           the suite's fixed-position command line: office (3), number\n"
    "                      base date (8) and quotation number (8) open that quotation\n"
    "  --screenshot FILE   save a picture of the window once drawn and end\n"
    "  --version           show the version\n"
    "  --help              show this text\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora;
    if (AnswerVersionOrHelp(argc, argv, kUsage)) return 0;
    const std::string screenshot = TakeScreenshotOption(argc, argv);
    // The suite's command line is read before Qt takes its own options out.
    ProgramEnvironment environment{ExecutableFolder(), JoinArguments(argc, argv), ReadUserName(), ReadComputerName(),
                                   SystemNow};
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velmora");
    UseJapaneseFont();
    if (!UseJapaneseTranslation())
        std::fprintf(stderr, "Velmora: Qt's Japanese translation (qt6-translations-l10n) is not installed\n");

    StartUpHostQt host;
    Program program(environment, host);
    if (!program.StartUp()) return 1;

    DataAccessLookupData lookupData(program.access());
    QtLookupViewFactory lookupViews;
    LookupSession lookupSession = MakeLookupSession(program.session());
    // The history lists count their months back from the run's own today (--today included).
    LookupWindows lookups(lookupSession, lookupData, lookupViews,
                          [&program] { return FormatDate(program.access().Now()); });
    EntryPresenter presenter(program, &lookups);
    presenter.KeepLookupsInStep(lookupSession);
    // Unsaved changes are kept in the user's state folder while they last.
    presenter.KeepDrafts(DraftStore::DefaultPath());

    // Signals are taken from here on: a message box shown while the window
    // loads its first quotation runs its own event loop, and a termination
    // then closes it and ends the run once the window exists.
    EntryWindow* shown = nullptr;
    bool endRequested = false;
    socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe);
    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&] {
        char byte;
        ssize_t ignored = read(g_signalPipe[0], &byte, 1);
        (void)ignored;
        program.RequestEnd();
        if (shown) return shown->endSession();
        endRequested = true;
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    EntryWindow window(presenter);
    shown = &window;
    if (endRequested) {
        presenter.EndWithoutAsking();
        return 0;
    }
    // Logging out of the desktop ends the run without questions.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&](QSessionManager&) {
        program.RequestEnd();
        window.endSession();
    });

    bool shotFailed = false;
    auto takeShot = [&] {
        if (!screenshot.empty() && !window.grab().save(QString::fromStdString(screenshot))) {
            std::fprintf(stderr, "Velmora: cannot save %s\n", screenshot.c_str());
            shotFailed = true;
        }
        window.endSession();
    };
    // The start-up benchmark ends the run as soon as the window is first
    // drawn (with its picture if one is asked for); a picture alone waits
    // for the window to settle.
    std::unique_ptr<AfterFirstPaint> firstPaint;
    if (qEnvironmentVariableIsSet("VELMORA_END_AT_FIRST_PAINT"))
        firstPaint = std::make_unique<AfterFirstPaint>(window, takeShot);
    else if (!screenshot.empty())
        QTimer::singleShot(300, &window, takeShot);
    window.show();
    int result = app.exec();
    if (shotFailed) result = 1;
    program.EndProgram();
    return result;
}
