#include "screens/lookup/qt/lone_ctrl_detector.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace velmora {

void LoneCtrlDetector::watch(QWidget* field) {
    field->installEventFilter(this);
}

void LoneCtrlDetector::arm(QWidget* field) {
    if (!m_armed) {
        // A mouse button anywhere, not only in the field, spoils the gesture
        // (Ctrl+click), so the whole application is watched while it is pending.
        QCoreApplication::instance()->installEventFilter(this);
    }
    m_armed = field;
}

void LoneCtrlDetector::disarm() {
    if (m_armed) QCoreApplication::instance()->removeEventFilter(this);
    m_armed = nullptr;
}

bool LoneCtrlDetector::eventFilter(QObject* watched, QEvent* event) {
    // Keys, buttons and the wheel from the window system reach the top-level
    // QWindow first and are then handed on to the focused widget or the one
    // under the mouse; only that second delivery says where they went.
    if (watched->isWindowType()) return false;
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Control) {
                if (key->isAutoRepeat()) break;
                const auto others = key->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier);
                auto* field = qobject_cast<QWidget*>(watched);
                if (others == Qt::NoModifier && field && !m_armed)
                    arm(field);
                else if (others != Qt::NoModifier)
                    disarm();
            } else {
                disarm();
            }
            break;
        }
        case QEvent::ShortcutOverride:
            // A chord taken by a shortcut never arrives as a key press.
            if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Control) disarm();
            break;
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_Control || key->isAutoRepeat()) break;
            QPointer<QWidget> field = m_armed;
            disarm();
            // While armed the release passes the application filter too; it
            // completes the gesture only when it is addressed to the armed
            // field, that is when the focus stayed there.
            if (field && field == watched) Q_EMIT loneCtrl(field);
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::FocusOut:
        case QEvent::Wheel:
            if (m_armed && (event->type() != QEvent::FocusOut || watched == m_armed)) disarm();
            break;
        default:
            break;
    }
    return false;
}

}  // namespace velmora
