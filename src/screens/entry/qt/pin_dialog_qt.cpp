#include "screens/entry/qt/pin_dialog_qt.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QRegularExpressionValidator>

namespace velmora {

PinDialogQt::PinDialogQt(PinDialog& dialog, QWidget* parent) : QDialog(parent), m_dialog(dialog) {
    setObjectName("msg暗証番号確認");
    auto* grid = new QGridLayout(this);
    m_codeLabel = new QLabel(QString::fromUtf8("コード"), this);
    m_nameLabel = new QLabel(QString::fromUtf8("担当者氏名"), this);
    m_pinLabel = new QLabel(QString::fromUtf8("暗証番号"), this);
    m_code = new QLineEdit(this);
    m_code->setObjectName("担当者コード");
    m_code->setMaxLength(5);
    m_code->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,5}"), m_code));
    m_name = new QLineEdit(this);
    m_name->setObjectName("担当者名");
    m_name->setReadOnly(true);
    m_name->setFocusPolicy(Qt::NoFocus);
    m_pin = new QLineEdit(this);
    m_pin->setObjectName("暗証番号");
    m_pin->setEchoMode(QLineEdit::Password);
    m_pin->setMaxLength(16);
    grid->addWidget(m_codeLabel, 0, 0);
    grid->addWidget(m_code, 0, 1);
    grid->addWidget(m_nameLabel, 1, 0);
    grid->addWidget(m_name, 1, 1);
    grid->addWidget(m_pinLabel, 2, 0);
    grid->addWidget(m_pin, 2, 1);
    auto* buttons = new QHBoxLayout();
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("btn_OK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("キャンセル"), this);
    cancel->setObjectName("btn_キャンセル");
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 3, 0, 1, 2);

    // A click on a caption moves to its field.
    for (QLabel* label : {m_codeLabel, m_nameLabel, m_pinLabel}) label->installEventFilter(this);
    connect(m_code, &QLineEdit::editingFinished, this, [this] {
        if (!m_closing) m_dialog.CodeLeft(m_code->text().toStdString());
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        if (m_code->isEnabled() && m_code->isModified()) {
            m_code->setModified(false);
            m_dialog.CodeLeft(m_code->text().toStdString());
        }
        m_dialog.Ok(m_pin->text().toStdString());
    });
    connect(cancel, &QPushButton::clicked, this, [this] { m_dialog.Cancel(); });
    m_dialog.Load(*this);
}

void PinDialogQt::SetCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }
void PinDialogQt::SetCode(const std::string& code) { m_code->setText(QString::fromStdString(code)); }
void PinDialogQt::SetName(const std::string& name) { m_name->setText(QString::fromStdString(name)); }
void PinDialogQt::SetPin(const std::string& pin) { m_pin->setText(QString::fromStdString(pin)); }
void PinDialogQt::SetCodeEditable(bool editable) { m_code->setEnabled(editable); }
void PinDialogQt::FocusCode() { m_code->setFocus(); }
void PinDialogQt::FocusPin() {
    m_pin->setFocus();
    m_pin->selectAll();
}

void PinDialogQt::ShowMessage(const std::string& text) {
    QMessageBox::information(this, "Velmora", QString::fromStdString(text));
}

void PinDialogQt::Close() {
    m_closing = true;
    accept();
}

void PinDialogQt::reject() {
    if (!m_closing) {
        m_closing = true;
        m_dialog.Cancel();
    }
    QDialog::reject();
}

bool PinDialogQt::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_codeLabel && m_code->isEnabled()) m_code->setFocus();
        if (watched == m_pinLabel) m_pin->setFocus();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace velmora
