#include "screens/entry/qt/wait_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QVBoxLayout>
#include <QWindow>

namespace velmora {

WaitDialog::WaitDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("msgお待ち");
    setWindowTitle("Velmora");
    setModal(false);
    // It only shows that work is going on; the keyboard stays with the window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(new QLabel(QString::fromUtf8("しばらくお待ちください。"), this));
}

void WaitDialog::showPainted() {
    show();
    raise();
    // The window system maps the dialog asynchronously; wait (briefly) until
    // it is exposed, then paint it at once. User input stays queued.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < 500)
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace velmora
