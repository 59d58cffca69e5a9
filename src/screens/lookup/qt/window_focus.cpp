#include "screens/lookup/qt/window_focus.h"

#include <QApplication>

namespace velmora {

void TakeKeyboardBack(QWidget& window) {
    // Not while another modal window is still open above it.
    const QWidget* modal = QApplication::activeModalWidget();
    if (window.isVisible() && !window.isActiveWindow() && (!modal || modal == &window)) window.activateWindow();
}

void FocusKeeper::setEnabled(QWidget& window, bool enabled) {
    if (!enabled && window.isEnabled()) m_field = window.focusWidget();
    window.setEnabled(enabled);
    if (!enabled) return;
    const QPointer<QWidget> field = m_field;
    m_field = nullptr;
    if (field && field->isEnabled() && field->isVisible()) field->setFocus(Qt::OtherFocusReason);
    TakeKeyboardBack(window);
}

}  // namespace velmora
