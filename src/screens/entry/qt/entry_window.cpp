#include "screens/entry/qt/entry_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QVBoxLayout>

namespace velmora {

EntryWindow::EntryWindow(EntryPresenter& presenter, QWidget* parent) : QMainWindow(parent), m_presenter(presenter) {
    setObjectName("frmVelmora");
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    m_title = new QLabel(central);
    m_title->setObjectName("prg_ttl");
    m_title->setFrameShape(QFrame::Panel);
    m_title->setFrameShadow(QFrame::Raised);
    QFont titleFont = m_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_title->setMargin(6);
    layout->addWidget(m_title);

    layout->addStretch(1);

    auto* bottom = new QHBoxLayout();
    m_notice = new QLabel(central);
    m_notice->setObjectName("お知らせ");
    m_notice->setFrameShape(QFrame::StyledPanel);
    m_notice->setMinimumHeight(m_notice->fontMetrics().height() + 8);
    bottom->addWidget(m_notice, 1);
    m_exit = new QPushButton(QString::fromUtf8("終了"), central);
    m_exit->setObjectName("btn_終了");
    bottom->addWidget(m_exit);
    layout->addLayout(bottom);

    setCentralWidget(central);
    resize(1024, 720);
    connect(m_exit, &QPushButton::clicked, this, &QWidget::close);
    m_presenter.Load(*this);
}

void EntryWindow::SetWindowCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }
void EntryWindow::SetTitlePanel(const std::string& caption) { m_title->setText(QString::fromStdString(caption)); }
void EntryWindow::SetNotice(const std::string& text) { m_notice->setText(QString::fromStdString(text)); }

bool EntryWindow::AskYesNo(const std::string& text, bool defaultNo) {
    return QMessageBox::question(this, "Velmora", QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                                 defaultNo ? QMessageBox::No : QMessageBox::Yes) == QMessageBox::Yes;
}

void EntryWindow::ShowMessage(const std::string& text) {
    QMessageBox::information(this, "Velmora", QString::fromStdString(text));
}

void EntryWindow::endSession() {
    m_ending = true;
    m_presenter.EndWithoutAsking();
    close();
}

void EntryWindow::closeEvent(QCloseEvent* event) {
    if (m_ending || m_presenter.CloseRequested()) {
        m_ending = true;
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace velmora
