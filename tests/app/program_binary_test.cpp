#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app_fixture.h"

namespace velmora {
namespace {

// The real program, started from an installation's prgbin without a display,
// shows its window and, ended by the session's termination signal, leaves the
// end rows behind.
TEST(ProgramBinary, StartsFromAnInstallationAndEndsCleanlyOnTermination) {
    std::string built = test::BinaryFolder() + "/Velmora";
    ASSERT_TRUE(std::filesystem::exists(built)) << built;

    test::TestInstallation inst(test::Engine::SQLite);
    std::string program = inst.programFolder() + "/Velmora";
    std::filesystem::copy_file(built, program);

    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(program.c_str(), program.c_str(), "001", static_cast<char*>(nullptr));
        _exit(127);
    }
    bool running = false;
    for (int i = 0; i < 400 && !running; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        running = inst.countBusiness("使用状況 WHERE 開始日時 <> '' AND 終了日時 = ''") == 1;
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, WNOHANG), 0) << "the program ended on its own";
    }
    ASSERT_TRUE(running) << "the program did not start";
    // Give the window a moment to show, then end the session.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGTERM);
    int status = 0;
    pid_t ended = 0;
    for (int i = 0; i < 200 && ended == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ended = waitpid(pid, &status, WNOHANG);
    }
    if (ended == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "the program did not end on SIGTERM";
    }
    EXPECT_TRUE(WIFEXITED(status));
    auto log = inst.logRows();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.front().first, "000000000001");
    EXPECT_EQ(log.front().second, "開始 001");
    EXPECT_EQ(log.back().second, "終了");
    EXPECT_EQ(inst.countBusiness("使用状況 WHERE 開始日時 <> '' AND 終了日時 <> ''"), 1);
}

}  // namespace
}  // namespace velmora
