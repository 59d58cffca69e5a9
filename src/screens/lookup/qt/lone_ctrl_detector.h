#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace velmora {

// Tells when the Ctrl key is pressed and released in a watched field with
// nothing else in between: no other key and no mouse button. Ctrl+C and the
// other editing chords therefore never count; the field keeps them.
class LoneCtrlDetector : public QObject {
    Q_OBJECT
public:
    explicit LoneCtrlDetector(QObject* parent = nullptr) : QObject(parent) {}
    void watch(QWidget* field);

Q_SIGNALS:
    void loneCtrl(QWidget* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void arm(QWidget* field);
    void disarm();

    // The field in which Ctrl went down; null while nothing is pending.
    QPointer<QWidget> m_armed;
};

}  // namespace velmora
