// velmora-issue, installed as the suite's quotation issuing program Orvessa:
// started by the entry screen with one fixed-width argument, it prints,
// previews or files as a PDF the stored quotations the argument names.
#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMessageBox>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "data/data_access.h"
#include "issue/issue_run.h"
#include "issue/qt/issue_output.h"
#include "issue/qt/sheet_painter.h"
#include "platform/identity.h"
#include "platform/program_options.h"
#include "screens/lookup/qt/japanese_translation.h"

namespace {

using namespace velmora;

// Without a display the program still prints and writes PDFs; the platform
// that needs none is chosen before Qt would fail to find one.
void chooseDisplayPlatform() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (!set("QT_QPA_PLATFORM") && !set("DISPLAY") && !set("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

bool hasDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal");
}

// Said on stderr, and in a message box for the user at the screen.
int fail(const std::string& program, const IssueFailure& failure) {
    std::cerr << program << ": " << failure.message << std::endl;
    if (hasDisplay())
        QMessageBox::critical(nullptr, QStringLiteral("Velmora"), QString::fromStdString(failure.message));
    return failure.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    if (AnswerVersionOrHelp(argc, argv,
                            "Usage: velmora-issue ARGUMENT\n"
                            "\n"
                            "Prints, previews or writes as PDF the stored quotations the suite's\n"
                            "51-character argument names: office (3), mode (0 print, 1 preview,\n"
                            "3 PDF), date from and to (8 + 8), number from and to (8 + 8), customer\n"
                            "from and to (6 + 6), 21 and the view (0, or 1 for the purchase side).\n"
                            "It runs from an installation's prgbin/ folder, installed there as Orvessa.\n"
                            "\n"
                            "  --version   show the version\n"
                            "  --help      show this text\n"))
        return 0;
    const std::string program =
        argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "velmora-issue";
    const std::string argument = JoinArguments(argc, argv);
    chooseDisplayPlatform();
    // Qt sees only the program name: the argument is ours, blanks and all.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    // The preview window and the messages speak Japanese like the program.
    UseJapaneseTranslation();

    DataAccess access;
    IssueJob job;
    if (std::optional<IssueFailure> failure = PrepareIssue(access, ExecutableFolder(), argument, job))
        return fail(program, *failure);

    // Without it the form falls back to a font that may lack Japanese glyphs.
    if (!QFontDatabase::families().contains(QString::fromUtf8(kFormFontFamily)))
        std::cerr << program << ": " << kFormFontFamily << " がインストールされていません（fonts-noto-cjk）。"
                  << std::endl;

    std::string problem;
    switch (job.request.mode) {
        case IssueMode::Print:
            if (!PrintDocuments(job.documents, problem)) return fail(program, {kExitOutput, problem});
            break;
        case IssueMode::Preview:
            if (!hasDisplay()) return fail(program, {kExitOutput, "プレビューを表示する画面がありません。"});
            if (!PreviewDocuments(job.documents, problem)) return fail(program, {kExitOutput, problem});
            break;
        case IssueMode::FormImage: {
            std::vector<std::string> files;
            if (!IssueFormImages(access, job, files, problem)) return fail(program, {kExitOutput, problem});
            for (const std::string& file : files) std::cout << file << "\n";
            break;
        }
    }
    access.CloseConnections();
    return kExitIssued;
}
