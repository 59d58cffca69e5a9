// Opens the lookup windows on an installation so that they can be tried by
// hand before the entry screen exists:
//   velmora-lookup-try DIR [WINDOW] [--office CODE] [--condition TEXT]
// DIR is an installation made by velmora-admin init; WINDOW a window title
// such as 得意先一覧, opened at once.

#include <QApplication>
#include <QMessageBox>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/installation.h"
#include "data/connection_string.h"
#include "data/data_access.h"
#include "data/sql_text.h"
#include "screens/lookup/lookup_windows.h"
#include "screens/lookup/qt/qt_view_factory.h"
#include "try_window.h"

namespace {

using namespace velmora;

std::string Usage() {
    std::string text = "Usage: velmora-lookup-try DIR [WINDOW] [--office CODE] [--condition TEXT]\n\nWindows:\n";
    for (LookupWindowId id : AllLookupWindows()) text += "  " + DescribeWindow(id).title + "\n";
    return text;
}

// The installation's business database and the session values the lookups read.
bool OpenInstallation(const std::string& root, DataAccess& access, LookupSession& session, std::string& problem) {
    const std::filesystem::path conf = std::filesystem::path(root) / "conf";
    int kind = 0;
    std::string path;
    if (std::filesystem::exists(conf / "usrcnfg.accdb")) {
        kind = 1;
        path = (conf / "usrcnfg.accdb").string();
    } else if (std::filesystem::exists(conf / "usrcnfg.mdb")) {
        kind = 2;
        path = (conf / "usrcnfg.mdb").string();
    } else {
        problem = "no conf/usrcnfg.accdb under " + root;
        return false;
    }
    if (!access.OpenConfigConnection(ConfigConnectionString(kind, path))) {
        problem = "cannot open " + path;
        return false;
    }
    std::unique_ptr<Recordset> rs;
    if (!access.OpenConfigRecordset(rs, "SELECT * FROM データベース定義 WHERE 情報種類 = 'GNR'")) {
        problem = "the configuration database names no business database";
        return false;
    }
    DatabaseDefinition definition;
    definition.db = rs->text("db");
    definition.provider = TrimBlanks(rs->text("プロバイダ名"));
    definition.dataSource = TrimBlanks(rs->text("データソース名"));
    definition.serverName = TrimBlanks(rs->text("サーバー名"));
    definition.databaseName = TrimBlanks(rs->text("データベース名"));
    definition.userId = TrimBlanks(rs->text("ユーザーID"));
    definition.password = TrimBlanks(rs->text("パスワード"));
    rs->close();
    session.databaseKind = definition.db;
    if (access.OpenConfigRecordset(rs, "SELECT * FROM 動作環境定義 WHERE 動作環境定義ID = '001'") &&
        !rs->isNull("運用事業所コード"))
        session.operatingOfficeCode = rs->text("運用事業所コード");
    if (rs) rs->close();
    session.currentOfficeCode = session.operatingOfficeCode;

    DbError error;
    if (!access.OpenDataConnection(DataConnectionString(definition), &error)) {
        problem = "cannot open the business database: " + error.description;
        return false;
    }
    if (access.OpenDataRecordset(rs, "SELECT * FROM Mユーザ WHERE ID = '0001'")) {
        session.sellingUnitPriceDecimals = rs->code("売上単価少数以下桁数");
        session.purchaseUnitPriceDecimals = rs->code("仕入単価少数以下桁数");
    }
    if (rs) rs->close();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string root, window, office, condition;
    for (size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--office" || args[i] == "--condition") && i + 1 < args.size()) {
            (args[i] == "--office" ? office : condition) = args[i + 1];
            ++i;
        } else if (args[i] == "--help" || args[i] == "-h") {
            std::cout << Usage();
            return 0;
        } else if (root.empty()) {
            root = args[i];
        } else {
            window = args[i];
        }
    }
    if (root.empty() || (!window.empty() && !LookupWindowByTitle(window))) {
        std::cerr << Usage();
        return 2;
    }

    DataAccess access;
    LookupSession session;
    std::string problem;
    if (!OpenInstallation(root, access, session, problem)) {
        QMessageBox::critical(nullptr, "Velmora", QString::fromStdString(problem));
        return 1;
    }
    if (!office.empty()) session.currentOfficeCode = office;

    DataAccessLookupData data(access);
    QtLookupViewFactory views;
    LookupWindows windows(session, data, views);
    TryWindow host(windows);
    host.setControlText("条件", condition);
    host.show();
    if (!window.empty()) host.openWindow(window);
    const int result = app.exec();
    access.CloseConnections();
    return result;
}
