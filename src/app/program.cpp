#include "app/program.h"

#include <filesystem>

#include "app/environment.h"
#include "app/installation.h"
#include "app/sign_in.h"
#include "app/usage.h"
#include "data/sql_text.h"
#include "linking/link_messages.h"

namespace velmora {

Program::Program(ProgramEnvironment environment, StartUpHost& host)
    : m_environment(std::move(environment)), m_host(host), m_access(m_environment.clock) {
    m_session.userId = m_environment.userName;
    m_session.computerId = m_environment.computerName;
    m_session.rawCommandLine = m_environment.commandLine;
    LogIdentity& id = m_access.identity();
    id.programId = m_session.programId;
    id.userId = m_session.userId;
    id.computerId = m_session.computerId;
}

Program::~Program() = default;

namespace {

// A database file that is refused is named, with what is wrong with it.
std::string refusedFileText(const DbError& error) {
    if (error.file.empty()) return {};
    const std::string file = "「" + error.file + "」";
    const std::string advice = "正しいデータベースに置き換えてから起動してください。";
    switch (error.fault) {
        case DbFault::EmptyFile: return file + "は空のファイルです。" + advice;
        case DbFault::NotADatabase: return file + "はデータベースではないか、壊れています。" + advice;
        case DbFault::ForeignDatabase: return file + "はこのシステムのデータベースではありません。" + advice;
        default: return {};
    }
}

}  // namespace

std::string DatabaseUnusableMessage(const DbError& openError) {
    std::string detail = refusedFileText(openError);
    return detail.empty() ? std::string(kMessageDatabaseUnusable) : std::string(kMessageDatabaseUnusable) + "\n" + detail;
}

bool Program::StartUp() {
    if (!CheckDatabases()) {
        m_host.ShowMessage(DatabaseUnusableMessage(m_access.LastOpenError()));
        EndProgram();
        return false;
    }
    if (!LoadUserInfo()) {
        m_host.ShowMessage(kMessageUserInfoUnusable);
        EndProgram();
        return false;
    }
    std::array<std::string, 26> names{"事業所コード", "番号基準日付", "営業見積No"};
    if (!RegisterConditionItems(m_access, "Carnelo", m_session.programId, names))
        m_host.ShowMessage(kMessageConditionItems);
    if (CheckPermission(m_access, m_session, m_host, cipher(), m_session.programId, "Carnelo",
                        static_cast<int>(Operation::Run)) != PermissionResult::Allowed) {
        m_host.ShowMessage(kMessageNoPermission);
        EndProgram();
        return false;
    }

    m_session.command = ParseCommandLine(m_session.rawCommandLine);
    const CommandLine& command = m_session.command;
    m_session.ExitAfterSave = command.exitAfterSave;
    m_session.NewEntry = command.newEntry;
    m_session.CreateFromCommand = command.createFromCommand;
    if (command.exitAfterSave) m_session.currentOfficeCode = command.document.officeCode;
    return true;
}

bool Program::CheckDatabases() {
    m_host.ScreenSize(m_session.screenWidth, m_session.screenHeight);
    m_access.ResetOperationCounter();
    if (!OpenConfiguration(m_access, m_session, m_host, m_environment.programFolder)) return false;
    // Without a usable key the stored PINs cannot be read and never match;
    // a key file that is there but unusable is named in the log.
    std::string keyProblem;
    const std::string keyPath = m_session.layout.SharedConfigFolder + "/cipher.key";
    m_cipher = Cipher::FromKeyFile(keyPath, &keyProblem);
    std::error_code noFile;
    if (!m_cipher && std::filesystem::exists(keyPath, noFile)) m_access.WriteErrorLog("暗号鍵を使用できません " + keyProblem);

    ReadStartStaffCode(m_access, m_session);
    m_access.WriteStartLog(m_session.rawCommandLine);
    TakeStartMessage(m_access, m_session.linking, m_session.rawCommandLine,
                     FormatTimestamp(m_access.Now() - std::chrono::minutes(1)));
    return openData();
}

bool Program::openData() {
    const DatabaseDefinition& def = m_session.database;
    std::string connection = DataConnectionString(def);
    if (def.db == "O" || connection.empty()) {
        // No client for this kind here: refused at once rather than failing
        // on every statement later.
        m_access.WriteErrorLog("DB_OPEN ERROR0 database kind '" + def.db + "' cannot be used on this computer");
        return false;
    }
    if (!m_access.OpenDataConnection(connection, nullptr, BusinessDatabaseTables())) return false;
    PurgeUsage(m_access);
    RecordUsageStart(m_access, m_session.computerId, m_session.userId);
    if (ReadStartStaffCode(m_access, m_session)) ReadStaff(m_access, m_session, m_session.StartStaffCode);
    return m_access.DataOpen();
}

bool Program::LoadUserInfo() {
    m_session.NewEntry = true;
    std::string today = FormatDate(m_access.Now());
    m_session.today = today;
    m_session.todayYear = today.substr(0, 4);
    m_session.todayMonth = today.substr(4, 2);
    m_session.todayDay = today.substr(6, 2);
    return LoadCompanyAndOffices(m_access, m_session, cipher());
}

void Program::endSession() {
    SendReply(m_access, m_session.linking);
    m_access.WriteEndLog();
    if (m_access.DataOpen()) RecordUsageEnd(m_access, m_session.computerId, m_session.userId);
    m_access.CloseConnections();
}

void Program::EndProgram() {
    if (m_ended) return;
    m_ended = true;
    endSession();
}

bool Program::RestartSession() {
    endSession();
    // The reply has been given; a new session does not answer again.
    m_session.linking.sender.clear();
    return CheckDatabases();
}

std::string Program::TitleCaption() { return SetTitlePanel(m_access, m_session); }

std::string Program::WindowCaption() const {
    return m_session.programId + "（" + m_session.company.名称 + "）";
}

}  // namespace velmora
