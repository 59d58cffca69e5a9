#include "platform/process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <utility>
#include <vector>

namespace velmora {

namespace {

ShellOpener& opener() {
    static ShellOpener current;
    return current;
}

// Everything exec needs, made before the fork.
std::vector<char*> ArgumentsOf(const std::string& program, const std::string& argument) {
    std::vector<char*> args;
    args.push_back(const_cast<char*>(program.c_str()));
    if (!argument.empty()) args.push_back(const_cast<char*>(argument.c_str()));
    args.push_back(nullptr);
    return args;
}

// In the child: standard input from /dev/null, then the program. A failed
// exec is reported through the pipe; a successful one closes it (close-on-exec).
[[noreturn]] void ExecReporting(const std::string& program, std::vector<char*>& args, int report) {
    int devnull = open("/dev/null", O_RDWR);
    if (devnull >= 0) dup2(devnull, STDIN_FILENO);
    execv(program.c_str(), args.data());
    int err = errno;
    ssize_t ignored = write(report, &err, sizeof err);
    (void)ignored;
    _exit(127);
}

// The parent's end of the report: true when the pipe closed with nothing in it.
bool ExecSucceeded(int report) {
    int err = 0;
    ssize_t got;
    while ((got = read(report, &err, sizeof err)) < 0 && errno == EINTR) {
    }
    close(report);
    return got == 0;
}

}  // namespace

bool StartDetached(const std::string& program, const std::string& argument) {
    if (access(program.c_str(), X_OK) != 0) return false;
    // The grandchild reports a failed exec through the pipe.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;
    std::vector<char*> args = ArgumentsOf(program, argument);
    pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        close(report[0]);
        setsid();
        pid_t grandchild = fork();
        if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
        ExecReporting(program, args, report[1]);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    const bool started = ExecSucceeded(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && started;
}

bool StartedProgram::Start(const std::string& program, const std::string& argument) {
    release();
    if (access(program.c_str(), X_OK) != 0) return false;
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;
    std::vector<char*> args = ArgumentsOf(program, argument);
    pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        close(report[0]);
        // Its own session, as a detached start: a terminal's hang-up or this
        // program's end does not reach it.
        setsid();
        ExecReporting(program, args, report[1]);
    }
    close(report[1]);
    m_pid = child;
    m_ended = false;
    if (!ExecSucceeded(report[0])) {
        // The exec failed: the child has ended already.
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        return false;
    }
    return true;
}

bool StartedProgram::Ended() {
    if (m_pid <= 0 || m_ended) return true;
    int status = 0;
    pid_t done = waitpid(m_pid, &status, WNOHANG);
    // ECHILD: someone else reaped it; it is gone all the same.
    if (done == m_pid || (done < 0 && errno == ECHILD)) m_ended = true;
    return m_ended;
}

void StartedProgram::release() {
    if (m_pid > 0 && !Ended()) {
        const pid_t pid = m_pid;
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }
    m_pid = -1;
    m_ended = false;
}

StartedProgram::~StartedProgram() { release(); }

StartedProgram::StartedProgram(StartedProgram&& other) noexcept
    : m_pid(std::exchange(other.m_pid, -1)), m_ended(std::exchange(other.m_ended, false)) {}

StartedProgram& StartedProgram::operator=(StartedProgram&& other) noexcept {
    if (this != &other) {
        release();
        m_pid = std::exchange(other.m_pid, -1);
        m_ended = std::exchange(other.m_ended, false);
    }
    return *this;
}

bool ShellOpen(const std::string& path) {
    if (opener()) return opener()(path);
    return StartDetached("/usr/bin/xdg-open", path);
}

void SetShellOpener(ShellOpener newOpener) { opener() = std::move(newOpener); }

}  // namespace velmora
