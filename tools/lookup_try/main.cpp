// Opens the lookup windows on an installation so that they can be tried by
// hand before the entry screen exists:
//   velmora-lookup-try DIR [WINDOW] [--office CODE] [--condition TEXT] [--screenshot FILE]
// DIR is an installation made by velmora-admin init; WINDOW a window title
// such as 得意先一覧, opened at once. --screenshot saves the opened window
// as a PNG image and ends, for looking at layouts without a display.

#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/installation.h"
#include "data/data_access.h"
#include "screens/lookup/lookup_windows.h"
#include "screens/lookup/qt/japanese_translation.h"
#include "screens/lookup/qt/qt_view_factory.h"
#include "platform/program_options.h"
#include "try_window.h"

namespace {

using namespace velmora;

std::string Usage() {
    std::string text = "Usage: velmora-lookup-try DIR [WINDOW] [--office CODE] [--condition TEXT] [--screenshot FILE]\n\nWindows:\n";
    for (LookupWindowId id : AllLookupWindows()) text += "  " + DescribeWindow(id).title + "\n";
    return text;
}

// The installation's databases and the session values the lookups read; the
// start-up of the program fills the same values.
bool OpenInstallation(const std::string& root, DataAccess& access, LookupSession& session, std::string& problem) {
    DatabaseDefinition definition;
    if (!OpenInstallationDatabases(access, root, definition, problem)) return false;
    session.databaseKind = definition.db;
    std::unique_ptr<Recordset> rs;
    if (access.OpenConfigRecordset(rs, "SELECT * FROM 動作環境定義 WHERE 動作環境定義ID = '001'") &&
        !rs->isNull("運用事業所コード"))
        session.operatingOfficeCode = rs->text("運用事業所コード");
    if (rs) rs->close();
    session.currentOfficeCode = session.operatingOfficeCode;
    if (access.OpenDataRecordset(rs, "SELECT * FROM Mユーザ WHERE ID = '0001'")) {
        session.sellingUnitPriceDecimals = rs->code("売上単価少数以下桁数");
        session.purchaseUnitPriceDecimals = rs->code("仕入単価少数以下桁数");
    }
    if (rs) rs->close();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (AnswerVersionOrHelp(argc, argv, Usage())) return 0;
    QApplication app(argc, argv);
    UseJapaneseTranslation();
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string root, window, office, condition, screenshot;
    for (size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--office" || args[i] == "--condition" || args[i] == "--screenshot") && i + 1 < args.size()) {
            (args[i] == "--office" ? office : args[i] == "--condition" ? condition : screenshot) = args[i + 1];
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
    if (!screenshot.empty()) {
        QTimer::singleShot(300, [&] {
            if (QWidget* shown = QApplication::activeModalWidget()) {
                shown->grab().save(QString::fromStdString(screenshot));
                shown->close();
            }
            QTimer::singleShot(0, &app, &QApplication::quit);
        });
    }
    if (!window.empty()) host.openWindow(window);
    if (!screenshot.empty()) return 0;
    const int result = app.exec();
    access.CloseConnections();
    return result;
}
