#pragma once

#include <functional>
#include <string>

namespace velmora {

struct EntryScreen;

// The commands that work on the whole quotation: start, clear, save through
// the confirmation, delete, previous and next, and the end of the run, with
// the permission and period-lock checks and the questions before input is
// discarded.
class DocumentCommands {
public:
    explicit DocumentCommands(EntryScreen& screen) : m_s(screen) {}

    // Form load: a new quotation (with the command line's presets) or the
    // quotation the command line names; the screen drawn and focused.
    void Start();
    // btn_画面クリア asks before discarding input; after a save or delete it does not.
    void ClearToNew(bool ask);
    void Save();
    void Delete();
    void Browse(bool previous);
    // btn_終了 and closing the window; true when the program has ended.
    bool End();
    // A stored quotation has been read into the model: the screen shows it.
    void ShowLoaded();
    // Both dates of the quotation lie in the open period, or the staff
    // member may work outside it.
    bool PeriodLockPasses() const;

    // Printing after "登録と印刷": the quotation's key is stored by then.
    std::function<void()> PrintAfterSave;

private:
    void newQuotation();
    void resetDetailArea();
    void dropTrailingBlankLines();

    EntryScreen& m_s;
};

}  // namespace velmora
