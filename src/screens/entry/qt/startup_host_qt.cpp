#include "screens/entry/qt/startup_host_qt.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QVBoxLayout>

#include "screens/entry/qt/pin_dialog_qt.h"

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
        if (!m_wait) {
            m_wait = std::make_unique<QDialog>(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                                                            Qt::WindowTitleHint);
            m_wait->setObjectName("msgお待ち");
            m_wait->setWindowTitle("Velmora");
            auto* layout = new QVBoxLayout(m_wait.get());
            layout->addWidget(new QLabel(QString::fromUtf8("しばらくお待ちください。"), m_wait.get()));
        }
        m_wait->show();
        // Let the dialog paint before the work starts.
        QApplication::processEvents();
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
