#include "try_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "screens/lookup/lookup_windows.h"
#include "screens/lookup/qt/lookup_dialog.h"

namespace velmora {

TryWindow::TryWindow(LookupWindows& windows) : m_windows(windows) {
    setWindowTitle("velmora-lookup-try");
    auto* form = new QFormLayout(this);
    m_choice = new QComboBox(this);
    for (LookupWindowId id : AllLookupWindows()) m_choice->addItem(Q(DescribeWindow(id).title));
    form->addRow("一覧", m_choice);
    addField("条件", "LookupCondition");
    addField("担当者コード", "担当者コード");
    addField("得意先コード", "得意先コード");
    addField("結果", "LookupTarget");
    addField("次", "LookupNextFocus");
    m_returned = new QLabel(this);
    m_returned->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow("戻り条件", m_returned);
    auto* open = new QPushButton("開く", this);
    connect(open, &QPushButton::clicked, this, [this] { openChosen(); });
    form->addRow(open);
}

QLineEdit* TryWindow::addField(const std::string& name, const std::string& caption) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(Q(name));
    m_fields[name] = edit;
    static_cast<QFormLayout*>(layout())->addRow(Q(caption), edit);
    return edit;
}

void TryWindow::openWindow(const std::string& title) {
    const int index = m_choice->findText(Q(title));
    if (index >= 0) m_choice->setCurrentIndex(index);
    openChosen();
}

void TryWindow::openChosen() {
    const auto id = LookupWindowByTitle(m_choice->currentText().toStdString());
    if (!id) return;
    m_windows.open(*id, *this, m_fields["条件"]->text().toStdString(), "結果", "次");
    m_returned->setText(Q(m_windows.context().LookupCondition));
}

void TryWindow::setHostEnabled(bool enabled) { setEnabled(enabled); }

void TryWindow::setControlText(const std::string& control, const std::string& text) {
    auto it = m_fields.find(control);
    if (it != m_fields.end()) it->second->setText(Q(text));
}

void TryWindow::focusControl(const std::string& control) {
    auto it = m_fields.find(control);
    if (it != m_fields.end()) it->second->setFocus();
}

std::optional<std::string> TryWindow::controlText(const std::string& control) const {
    auto it = m_fields.find(control);
    if (it == m_fields.end()) return std::nullopt;
    return it->second->text().toStdString();
}

}  // namespace velmora
