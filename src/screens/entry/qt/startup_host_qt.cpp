#include "screens/entry/qt/startup_host_qt.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include "screens/entry/qt/pin_dialog_qt.h"
#include "screens/entry/qt/wait_dialog.h"

namespace velmora {

StartUpHostQt::StartUpHostQt() = default;
StartUpHostQt::~StartUpHostQt() = default;

void StartUpHostQt::ShowMessage(const std::string& text) {
    QMessageBox::information(nullptr, "Velmora", QString::fromStdString(text));
}

void StartUpHostQt::RunPinDialog(PinDialog& dialog) {
    PinDialogQt window(dialog);
    window.exec();
}

void StartUpHostQt::ShowWait(bool visible) {
    if (visible) {
        if (!m_wait) m_wait = std::make_unique<WaitDialog>();
        m_wait->showPainted();
    } else if (m_wait) {
        m_wait->hide();
    }
}

void StartUpHostQt::ScreenSize(int& width, int& height) {
    QScreen* screen = QGuiApplication::primaryScreen();
    width = screen ? screen->geometry().width() : 0;
    height = screen ? screen->geometry().height() : 0;
}

}  // namespace velmora
