#pragma once

#include <QPointer>
#include <QWidget>

namespace velmora {

// A window whose dialog has closed is not active again where no window
// manager hands the keyboard back (a bare X display): the user goes on
// typing in it all the same.
void TakeKeyboardBack(QWidget& window);

// A window disabled while another one works on its behalf (a lookup list, a
// linked program) loses the keyboard focus, and enabled again would give it
// to its first field; this gives it back to the field the user was in.
class FocusKeeper {
public:
    void setEnabled(QWidget& window, bool enabled);

private:
    QPointer<QWidget> m_field;
};

}  // namespace velmora
