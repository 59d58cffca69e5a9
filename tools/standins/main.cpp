// Stand-in for the suite's sibling programs (registration programs, the
// issuing, order, envelope, inquiry, activity and update programs), installed
// into prgbin under each of their names. It does what the real programs do
// towards this one: it records the command line it was started with, takes
// over a start message addressed to it and answers with a reply. The reply's
// end information is the content of prgbin/<name>.reply when that file exists.
//
// A program that ends without answering (it crashed, or was closed by force)
// is played with prgbin/<name>.noreply: the stand-in takes the start message
// and ends without a reply. When that file holds a number, it first stays
// that many seconds, as a registration window left open would (less when
// the file is taken away meanwhile).
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "app/installation.h"
#include "data/connection_string.h"
#include "data/data_access.h"
#include "linking/link_messages.h"
#include "platform/identity.h"
#include "platform/program_options.h"

int main(int argc, char** argv) {
    using namespace velmora;
    if (AnswerVersionOrHelp(argc, argv,
                            "Usage: NAME [ARGUMENT]\n"
                            "\n"
                            "Stand-in for a sibling program of the suite, installed into an\n"
                            "installation's prgbin/ under the program's name: it records each start in\n"
                            "prgbin/standin-calls.log and answers the linking message, with the contents\n"
                            "of prgbin/NAME.reply as its answer when that file exists.\n"
                            "\n"
                            "  --version   show the version\n"
                            "  --help      show this text\n"))
        return 0;
    std::string name = std::filesystem::path(argv[0]).filename().string();
    std::string argument = JoinArguments(argc, argv);
    std::string root = FindRootFolder(ExecutableFolder());
    if (root.empty()) {
        std::cerr << name << ": not started from an installation\n";
        return 1;
    }
    std::string prgbin = root + "prgbin/";
    DataAccess access;
    access.identity().programId = name;
    access.identity().userId = ReadUserName();
    access.identity().computerId = ReadComputerName();
    // One line per start, and one when the database cannot be opened to
    // answer; each appended whole so parallel starts do not mix.
    auto record = [&](const std::string& what) {
        std::string line = access.NowText() + "\t" + name + "\t" + what + "\n";
        int fd = open((prgbin + "standin-calls.log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ssize_t ignored = write(fd, line.data(), line.size());
            (void)ignored;
            close(fd);
        }
    };
    record(argument);

    std::string config = root + "conf/usrcnfg.accdb";
    // The starting program reopens the database while it waits; an open that
    // meets its close is tried again for a while before the start goes
    // unanswered.
    DbError error;
    bool opened = false;
    for (int attempt = 0; attempt < 50 && !opened; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        opened = access.OpenConfigConnection(ConfigConnectionString(1, config + ";"), &error);
    }
    if (!opened) {
        record("! the configuration database cannot be opened: " + error.description);
        return 0;
    }
    LinkingState state;
    // Programs started without a start message (not linked) answer nobody.
    if (!TakeStartMessage(access, state, argument, FormatTimestamp(access.Now() - std::chrono::minutes(1)))) return 0;
    std::ifstream silent(prgbin + name + ".noreply");
    if (silent) {
        int seconds = 0;
        silent >> seconds;
        record("! ends without a reply");
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < until && std::filesystem::exists(prgbin + name + ".noreply"))
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return 0;
    }
    std::ifstream replyFile(prgbin + name + ".reply");
    if (replyFile) {
        std::stringstream content;
        content << replyFile.rdbuf();
        state.endInfo = content.str();
        while (!state.endInfo.empty() && (state.endInfo.back() == '\n' || state.endInfo.back() == '\r'))
            state.endInfo.pop_back();
    }
    SendReply(access, state);
    return 0;
}
