#pragma once

#include "app/program.h"
#include "screens/entry/entry_view.h"

namespace velmora {

// The behaviour of the entry window (frmVelmora). The window forwards its
// events here and renders what it is told.
class EntryPresenter {
public:
    explicit EntryPresenter(Program& program);

    // Form load: captions and the notice bar.
    void Load(EntryView& view);

    // The window is asked to close (button or window frame). Pending input is
    // only discarded after a Yes; true when the program has ended.
    bool CloseRequested();
    // The session is ending (termination signal, logout): no question.
    void EndWithoutAsking();

    bool Changed() const { return m_changed; }
    void SetChanged(bool changed) { m_changed = changed; }
    Program& program() { return m_program; }

private:
    Program& m_program;
    EntryView* m_view = nullptr;
    bool m_changed = false;
};

}  // namespace velmora
