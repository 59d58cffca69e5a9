#pragma once

#include <QDialog>

namespace velmora {

// msgお待ち: shown while a save, a copy or a start-up step holds the event
// loop. It is painted before the work starts, since nothing repaints it
// until the work is done.
class WaitDialog : public QDialog {
    Q_OBJECT
public:
    explicit WaitDialog(QWidget* parent = nullptr);
    // Shows the dialog and returns once it is on the screen.
    void showPainted();
};

}  // namespace velmora
