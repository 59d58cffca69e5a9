// velmora: the command and the desktop menu entry. It starts the Velmora of
// the installation the user chose (velmora-admin init or use), with the
// arguments it was given; with none chosen, or a folder that is no longer an
// installation, it says how to make or choose one instead of ending silently.
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMessageBox>

#include "platform/chosen_installation.h"
#include "platform/program_options.h"
#include "screens/lookup/qt/japanese_translation.h"

namespace {

using namespace velmora;

constexpr const char* kUsage =
    "Usage: velmora [QUOTATION]\n"
    "\n"
    "Starts Velmora in the installation chosen for this user (velmora-admin init DIR\n"
    "or velmora-admin use DIR; the choice is kept in $XDG_CONFIG_HOME/velmora/installation).\n"
    "The arguments go to the program.\n"
    "\n"
    "  --version   show the version\n"
    "  --help      show this text\n";

std::string Explanation(const ChosenInstallation& chosen) {
    std::string why;
    switch (chosen.choice) {
        case InstallationChoice::Missing:
            why = "選ばれているインストール先 " + chosen.root.string() + " が見つかりません。";
            break;
        case InstallationChoice::NotAnInstallation:
            why = chosen.root.string() + " は Velmora のインストール先ではありません。";
            break;
        default:
            why = "Velmora のインストール先が選ばれていません。";
            break;
    }
    return why +
           "\n\n新しく作るには、端末で次のコマンドを実行してください。\n"
           "    velmora-admin init ~/velmora\n\n"
           "作成済みのインストール先を使うには、次のコマンドで選んでください。\n"
           "    velmora-admin use フォルダ";
}

bool HasDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal");
}

}  // namespace

int main(int argc, char** argv) {
    if (AnswerVersionOrHelp(argc, argv, kUsage)) return 0;
    const ChosenInstallation chosen = CheckChosenInstallation();
    if (chosen.choice == InstallationChoice::Ready) {
        argv[0] = const_cast<char*>(chosen.program.c_str());
        execv(chosen.program.c_str(), argv);
        std::cerr << "velmora: cannot start " << chosen.program.string() << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    const std::string text = Explanation(chosen);
    std::cerr << "velmora: " << text << "\n";
    // Started from the menu there is no terminal to read this: it shows.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool wanted = (platform && *platform) || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!wanted) return 1;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    if (!HasDisplay()) return 1;
    UseJapaneseTranslation();
    const QString cjk = QStringLiteral("Noto Sans CJK JP");
    if (QFontDatabase::families().contains(cjk)) {
        QFont font = QApplication::font();
        font.setFamily(cjk);
        QApplication::setFont(font);
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Velmora 営業見積"), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
    return 1;
}
