#pragma once

#include <string>

namespace velmora {

class PinDialog;

// What the start-up and end of the program need from the desktop: message
// boxes (OK only, title "Velmora"), the modal PIN dialog, the wait dialog and
// the screen size. The Qt program and the tests each provide one.
class StartUpHost {
public:
    virtual ~StartUpHost() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    // Shows the dialog modally; returns when it has closed.
    virtual void RunPinDialog(PinDialog& dialog) = 0;
    virtual void ShowWait(bool visible) = 0;
    virtual void ScreenSize(int& width, int& height) = 0;
};

}  // namespace velmora
