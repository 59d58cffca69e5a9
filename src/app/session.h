#pragma once

#include <array>
#include <map>
#include <string>

#include "app/command_line.h"
#include "linking/linking_state.h"
#include "pricing/company_settings.h"

namespace velmora {

// Text columns of a record, by column name (Null columns are absent).
using TextColumns = std::map<std::string, std::string>;
std::string ColumnText(const TextColumns& columns, const std::string& name);

// Where the installation's files are. Folders carry no trailing slash except
// RootFolder, which ends with "/".
struct InstallationLayout {
    std::string RootFolder;
    std::string ProgramFolder;
    std::string SharedConfigFolder;
    std::string SharedReportFolder;
    std::string ManualFolder;
    std::string ConfigFolder;
    std::string ReportFolder;
    std::string SharedConfigPath;  // the shared usrcnfg file, empty when none
    int ConfigKind = 0;            // 1 .accdb, 2 .mdb, 0 none
    int ReportKind = 0;
    int InstallKind = 0;           // 1: per-user configuration and report copies
};

// The 'GNR' row of データベース定義: where the business data lives.
struct DatabaseDefinition {
    std::string db;  // "A", "S" or "O"
    std::string provider;
    std::string dataSource;
    std::string serverName;
    std::string databaseName;
    std::string userId;
    std::string password;
};

// The signed-in (or start-up) staff member.
struct StaffRecord {
    std::string コード;
    std::string 氏名;
    std::string 事業所コード;
    std::string 部門コード;
    std::string セクションコード;
    std::string 役職コード;
    std::int16_t 社員区分 = 0;
    std::int16_t アクセス権限 = 0;
};

// Permission texts: ten processing categories, then the program's eight
// operations (run, input, change, delete, print, preview, text, image).
inline constexpr int kCategoryPermissions = 10;
using PermissionValues = std::array<std::string, 18>;

// The session values set at start-up and read by every part of the program.
struct Session {
    // Who and where.
    std::string programId = "Velmora";
    std::string computerId;
    std::string userId;
    std::string rawCommandLine;

    InstallationLayout layout;
    DatabaseDefinition database;

    // Operating environment.
    std::string 運用事業所コード = "000";
    std::string StartStaffCode;

    // Company, office and other-business settings.
    CompanySettings company;
    TextColumns companyTexts;
    TextColumns officeTexts;
    std::string officeName;
    std::string privilegePin;  // of the operating office, deciphered
    std::string companyPrivilegePin;        // Mユーザ, deciphered
    std::string companySystemPrivilegePin;  // Mユーザ, deciphered
    int 事業所件数 = 0;
    std::map<std::string, TextColumns> otherBusiness;  // by コード
    int SignInMode = 0;
    int UpdateRunFlag = 0;

    // Staff and permissions.
    StaffRecord staff;
    PermissionValues permissions{};
    bool SignInGranted = false;

    // Command line and screen flags.
    CommandLine command;
    bool NewEntry = true;
    bool ExitAfterSave = false;
    bool CreateFromCommand = false;
    std::string currentOfficeCode;  // office of the document on screen
    std::string todayYear, todayMonth, todayDay, today;
    int screenWidth = 0;
    int screenHeight = 0;

    LinkingState linking;
};

}  // namespace velmora
