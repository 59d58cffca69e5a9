#pragma once

#include <string>

#include "linking/linked_start.h"
#include "screens/entry/entry_view.h"

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
    // A row's panel (Lab_行No, bak_dtla, bak_dtlb, bak_dtlc with its row):
    // the row is entered through the region check, then the row's sibling
    // program starts for its line (the product's sales activities, the
    // product or the supplier registration), the row painted meanwhile.
    void StartRow(const Control& panel);

    void SetWindowEnabled(bool enabled) override;
    void SetWaiting(bool waiting) override;
    void Pause(int milliseconds) override;
    bool KeepWaiting() override;

private:
    void paintRow(int row, Colour colour);
    // After the wait: false when there is nothing more to do (the program is
    // missing, which is reported, or the run is ending). A program that ended
    // without replying leaves a notice for showNotice, once the screen has
    // been redrawn.
    bool finishedWaiting(const std::string& program, const LinkedResult& result);
    void showNotice();

    EntryScreen& m_s;
    std::string m_notice;
};

}  // namespace velmora
