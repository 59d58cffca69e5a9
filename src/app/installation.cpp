#include "app/installation.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "data/connection_string.h"
#include "data/sql_text.h"
#include "platform/files.h"

namespace velmora {

namespace {

std::string lowerAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return s;
}

std::string configFileName(int kind) { return kind == 2 ? "usrcnfg.mdb" : "usrcnfg.accdb"; }

void readDatabaseDefinition(DataAccess& access, DatabaseDefinition& def) {
    std::unique_ptr<Recordset> rs;
    if (access.OpenConfigRecordset(rs, "SELECT * FROM データベース定義 WHERE 情報種類 = 'GNR'"))
        ReadDatabaseDefinition(*rs, def);
}

void readEnvironment(DataAccess& access, Session& session, bool withInstallKind) {
    std::unique_ptr<Recordset> rs;
    if (!access.OpenConfigRecordset(rs, std::string("SELECT * FROM 動作環境定義") + " WHERE 動作環境定義ID = '001'"))
        return;
    session.運用事業所コード = rs->isNull("運用事業所コード") ? "000" : rs->text("運用事業所コード");
    if (withInstallKind) session.layout.InstallKind = rs->isNull("インストール区分") ? 0 : rs->code("インストール区分");
    if (!rs->isNull("起動担当者コード")) session.StartStaffCode = rs->text("起動担当者コード");
}

}  // namespace

const std::vector<std::string>& ConfigDatabaseTables() {
    static const std::vector<std::string> tables = {"データベース定義", "動作環境定義", "プログラム稼動履歴"};
    return tables;
}

const std::vector<std::string>& BusinessDatabaseTables() {
    static const std::vector<std::string> tables = {"Mユーザ", "使用状況", "T営業見積"};
    return tables;
}

void ReadDatabaseDefinition(const Recordset& rs, DatabaseDefinition& def) {
    auto take = [&](const char* column, std::string& target, bool trim) {
        if (!rs.isNull(column)) target = trim ? TrimBlanks(rs.text(column)) : rs.text(column);
    };
    take("db", def.db, false);
    take("プロバイダ名", def.provider, true);
    take("データソース名", def.dataSource, true);
    take("サーバー名", def.serverName, true);
    take("データベース名", def.databaseName, true);
    take("ユーザーID", def.userId, true);
    take("パスワード", def.password, true);
}

bool OpenInstallationDatabases(DataAccess& access, const std::string& root, DatabaseDefinition& def,
                               std::string& problem) {
    std::string base = root.empty() || root.back() == '/' ? root : root + "/";
    int kind = FileExists(base + "conf/usrcnfg.accdb") ? 1 : FileExists(base + "conf/usrcnfg.mdb") ? 2 : 0;
    if (kind == 0) {
        problem = "no configuration database in " + base + "conf";
        return false;
    }
    std::string path = base + "conf/" + configFileName(kind);
    DbError error;
    if (!access.OpenConfigConnection(ConfigConnectionString(kind, path), &error, ConfigDatabaseTables())) {
        problem = "cannot open " + path + ": " + error.description;
        return false;
    }
    std::unique_ptr<Recordset> rs;
    if (!access.OpenConfigRecordset(rs, "SELECT * FROM データベース定義 WHERE 情報種類 = 'GNR'")) {
        problem = "the configuration database names no business database";
        return false;
    }
    ReadDatabaseDefinition(*rs, def);
    std::string connection = DataConnectionString(def);
    if (connection.empty() || def.db == "O") {
        problem = "database kind '" + def.db + "' cannot be used on this computer";
        return false;
    }
    if (!access.OpenDataConnection(connection, &error, BusinessDatabaseTables())) {
        problem = "cannot open the business database: " + error.description;
        return false;
    }
    return true;
}

std::string FindRootFolder(const std::string& programFolder) {
    std::string lower = lowerAscii(programFolder);
    size_t at = lower.find("prgbin");
    if (at == std::string::npos) at = lower.find("prgsrc");
    if (at == std::string::npos) return {};
    std::string root = programFolder.substr(0, at);
    if (root.empty() || root.back() != '/') root.push_back('/');
    return root;
}

std::string DataConnectionString(const DatabaseDefinition& d) {
    if (d.db == "A" || d.db == "O") return FileConnectionString(d.provider, d.userId, d.password, d.dataSource);
    if (d.db == "S") return ServerConnectionString(d.provider, d.userId, d.password, d.serverName, d.databaseName);
    return {};
}

void PreparePerUserFolders(const InstallationLayout& layout, StartUpHost& host) {
    // Failures are not reported here: a missing copy shows itself when the
    // per-user configuration database cannot be opened.
    CreateFolders(layout.ConfigFolder);
    std::string config = layout.ConfigFolder + "/" + configFileName(layout.ConfigKind);
    if (!FileExists(config)) CopyFileOver(layout.SharedConfigPath, config);

    if (layout.ReportKind == 1 || layout.ReportKind == 2) {
        std::string ext = layout.ReportKind == 1 ? ".accdb" : ".mdb";
        CreateFolders(layout.ReportFolder);
        if (!FileExists(layout.ReportFolder + "/repdb" + ext)) {
            host.ShowWait(true);
            std::vector<std::string> files = {"repdb" + ext, "repfrmdb" + ext};
            if (layout.ReportKind == 2) files.push_back("repfrmdb.accdb");
            for (const std::string& file : files)
                CopyFileOver(layout.SharedReportFolder + "/" + file, layout.ReportFolder + "/" + file);
            // The report-form links are refreshed only where the desktop
            // database program is installed, which it never is here.
            host.ShowWait(false);
        }
    }
}

bool OpenConfiguration(DataAccess& access, Session& session, StartUpHost& host, const std::string& programFolder) {
    InstallationLayout& layout = session.layout;
    layout.RootFolder = FindRootFolder(programFolder);
    // The message box says only that there is no database; where the
    // program looked goes to standard error for whoever installs it.
    if (layout.RootFolder.empty()) {
        std::fprintf(stderr, "Velmora: %s is not the prgbin folder of an installation\n", programFolder.c_str());
        return false;
    }
    const std::string& root = layout.RootFolder;
    layout.ProgramFolder = root + "prgbin";

    if (FileExists(root + "conf/usrcnfg.accdb")) {
        layout.ConfigKind = 1;
        layout.SharedConfigPath = root + "conf/usrcnfg.accdb";
    } else if (FileExists(root + "conf/usrcnfg.mdb")) {
        layout.ConfigKind = 2;
        layout.SharedConfigPath = root + "conf/usrcnfg.mdb";
    } else {
        layout.ConfigKind = 0;
        layout.SharedConfigPath.clear();
    }
    layout.SharedConfigFolder = root + "conf";
    layout.SharedReportFolder = root + "report";
    layout.ManualFolder = root + "manual";
    if (FileExists(layout.SharedReportFolder + "/repdb.accdb")) layout.ReportKind = 1;
    else if (FileExists(layout.SharedReportFolder + "/repdb.mdb")) layout.ReportKind = 2;
    else layout.ReportKind = 0;
    if (layout.ConfigKind == 0) {
        std::fprintf(stderr, "Velmora: no configuration database %sconf/usrcnfg.accdb (nor usrcnfg.mdb)\n", root.c_str());
        return false;
    }

    DbError error;
    if (!access.OpenConfigConnection(ConfigConnectionString(layout.ConfigKind, layout.SharedConfigPath), &error,
                                     ConfigDatabaseTables())) {
        host.ShowMessage("SYB_OPEN ERROR" + std::to_string(error.number) + " " + error.description + "\n" +
                         "sysopen error");
        return false;
    }
    readDatabaseDefinition(access, session.database);
    readEnvironment(access, session, true);
    access.CloseConnections();

    if (layout.InstallKind == 1) {
        layout.ConfigFolder = root + "users/" + session.userId + "/conf";
        layout.ReportFolder = root + "users/" + session.userId + "/report";
        PreparePerUserFolders(layout, host);
    } else {
        layout.ConfigFolder = root + "conf";
        layout.ReportFolder = root + "report";
    }

    if (!access.OpenConfigConnection(
            ConfigConnectionString(layout.ConfigKind, layout.ConfigFolder + "/" + configFileName(layout.ConfigKind) + ";"),
            nullptr, ConfigDatabaseTables()))
        return false;
    readEnvironment(access, session, false);
    session.currentOfficeCode = session.運用事業所コード;
    access.identity().officeCode = session.運用事業所コード;
    return access.ConfigOpen();
}

}  // namespace velmora
