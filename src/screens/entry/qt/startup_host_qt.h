#pragma once

#include <memory>

#include "app/startup_host.h"

namespace velmora {

class WaitDialog;

// Start-up's desktop side: message boxes titled "Velmora", the PIN dialog,
// the wait dialog msgお待ち and the screen size.
class StartUpHostQt : public StartUpHost {
public:
    StartUpHostQt();
    ~StartUpHostQt() override;
    void ShowMessage(const std::string& text) override;
    void RunPinDialog(PinDialog& dialog) override;
    void ShowWait(bool visible) override;
    void ScreenSize(int& width, int& height) override;

private:
    std::unique_ptr<WaitDialog> m_wait;
};

}  // namespace velmora
