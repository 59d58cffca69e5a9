#pragma once

#include <functional>
#include <string>

namespace velmora {

// Starts a program detached (its own session, never waited for) with one
// argument, or none when the argument is empty. False when the file is
// missing or cannot be executed.
bool StartDetached(const std::string& program, const std::string& argument);

// A program started in its own session, like StartDetached, but as this
// process's own child, so the starter can tell when it has ended. A child
// still running when its watcher is destroyed is reaped once it ends, by a
// thread that waits for it; it is never killed.
class StartedProgram {
public:
    StartedProgram() = default;
    ~StartedProgram();
    StartedProgram(StartedProgram&& other) noexcept;
    StartedProgram& operator=(StartedProgram&& other) noexcept;
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    // False when the file is missing or cannot be executed.
    bool Start(const std::string& program, const std::string& argument);
    bool started() const { return m_pid > 0; }
    // Whether the program has ended (it is reaped then); false while it runs.
    bool Ended();
    int pid() const { return m_pid; }

private:
    void release();

    int m_pid = -1;
    bool m_ended = false;
};

// Opens a document or folder with the desktop's associated application.
// Tests put their own opener in place.
using ShellOpener = std::function<bool(const std::string& path)>;
bool ShellOpen(const std::string& path);
void SetShellOpener(ShellOpener opener);

}  // namespace velmora
