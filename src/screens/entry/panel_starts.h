#pragma once

#include <string>

#include "linking/linked_start.h"

namespace velmora {

struct EntryScreen;

// The header panels' registration programs: the customer (or counterparty),
// contact and delivery panels start their master's registration program,
// wait for its reply without freezing the window, take a code it returns
// into an empty code field and read the master again.
class PanelStarts : public LinkWait {
public:
    explicit PanelStarts(EntryScreen& screen) : m_s(screen) {}

    // bak_得意先, bak_御担当者 or bak_納品先; false for any other panel.
    bool Start(const std::string& panel);

    void SetWindowEnabled(bool enabled) override;
    void SetWaiting(bool waiting) override;
    void Pause(int milliseconds) override;
    bool KeepWaiting() override;

private:
    EntryScreen& m_s;
};

}  // namespace velmora
