#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>

#include "app/program.h"
#include "platform/identity.h"
#include "screens/entry/entry_presenter.h"
#include "screens/entry/qt/entry_window.h"
#include "screens/entry/qt/startup_host_qt.h"

namespace {

// A termination signal is turned into an event of the main loop, so the end
// routine runs on the GUI thread like any other close.
int g_signalPipe[2] = {-1, -1};

void onTerminate(int) {
    char byte = 1;
    ssize_t ignored = write(g_signalPipe[1], &byte, 1);
    (void)ignored;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora;
    // The suite's command line is read before Qt takes its own options out.
    ProgramEnvironment environment{ExecutableFolder(), JoinArguments(argc, argv), ReadUserName(), ReadComputerName(),
                                   SystemNow};
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velmora");

    StartUpHostQt host;
    Program program(environment, host);
    if (!program.StartUp()) return 1;

    EntryPresenter presenter(program);
    EntryWindow window(presenter);

    socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe);
    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &window, [&] {
        char byte;
        ssize_t ignored = read(g_signalPipe[0], &byte, 1);
        (void)ignored;
        window.endSession();
    });
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // Logging out of the desktop ends the run without questions.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&](QSessionManager&) { window.endSession(); });

    window.show();
    int result = app.exec();
    program.EndProgram();
    return result;
}
