#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/session.h"
#include "app/startup_host.h"
#include "data/clock.h"
#include "data/data_access.h"
#include "platform/cipher.h"

namespace velmora {

// What the process gives the program at start.
struct ProgramEnvironment {
    std::string programFolder;  // the folder of the running executable
    std::string commandLine;    // the arguments joined by blanks
    std::string userName;
    std::string computerName;
    ClockSource clock = SystemNow;
};

// The messages of start-up, as the program shows them.
inline constexpr const char* kMessageDatabaseUnusable = "データベースが使用できません。";
inline constexpr const char* kMessageUserInfoUnusable = "ユーザ情報が使用できません。";
inline constexpr const char* kMessageNoPermission = "操作権限がありません。";
inline constexpr const char* kMessageConditionItems = "システムデータベースに問題があり登録できません";

// "データベースが使用できません。", and on a second line the database file that
// was refused (empty, not a database, another program's) and what to do.
std::string DatabaseUnusableMessage(const DbError& openError);

// The start and the end of a run: the checks of start-up, the session values
// they set, and the one end routine every exit takes.
class Program {
public:
    Program(ProgramEnvironment environment, StartUpHost& host);
    ~Program();

    // Runs every check in order. On a failure shows its one message, runs
    // EndProgram and returns false; the caller then ends the process.
    bool StartUp();
    bool CheckDatabases();
    bool LoadUserInfo();
    // Reply to the starter, end row, end of use, connections closed. Runs once.
    void EndProgram();
    bool ended() const { return m_ended; }
    // A termination signal or a logout asks the run to end: a wait for another
    // program stops, and the window then ends the run as any end does.
    void RequestEnd() { m_endRequested = true; }
    bool endRequested() const { return m_endRequested || m_ended; }

    // After a save whose notice went to the configuration database: the
    // session ends as at the end of the program and starts again.
    bool RestartSession();

    // The caption of the title panel.
    std::string TitleCaption();
    // "Velmora（会社名）": the window caption.
    std::string WindowCaption() const;

    Session& session() { return m_session; }
    const Session& session() const { return m_session; }
    DataAccess& access() { return m_access; }
    const Cipher* cipher() const { return m_cipher ? &*m_cipher : nullptr; }
    StartUpHost& host() { return m_host; }

private:
    void endSession();
    bool openData();

    ProgramEnvironment m_environment;
    StartUpHost& m_host;
    Session m_session;
    DataAccess m_access;
    std::optional<Cipher> m_cipher;
    bool m_ended = false;
    bool m_endRequested = false;
};

}  // namespace velmora
