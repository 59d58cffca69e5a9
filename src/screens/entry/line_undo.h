#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "quotation/quotation_model.h"
#include "screens/entry/entry_view.h"

namespace velmora {

struct EntryScreen;

// Undo and redo of what the user does to the quotation's lines: the line
// commands, the row fields left, the row check boxes and line kinds chosen.
//
// The history keeps a copy of the lines in use as of its last step. At the
// end of a line action the lines are compared with that copy; what differs
// between the common beginning and the common end becomes one step (the old
// lines, the new lines, LastLine and the marks when they changed), so an
// insert into a long quotation keeps one line, not all of them. Lines that
// no longer match the copy at the start of a line action were changed by
// something else (a header field that prices every line again): the history
// then starts afresh instead of putting back lines priced for another header.
class LineUndo {
public:
    static constexpr std::size_t kSteps = 100;
    enum class Kind { Command, FieldExit };

    explicit LineUndo(EntryScreen& screen) : m_s(screen) {}

    // The history starts afresh from the quotation on screen (a load, a clear,
    // a save, a restored draft); an undo back to here clears Changed unless
    // Changed was set already.
    void Reset();
    bool CanUndo() const { return m_pos > 0; }
    bool CanRedo() const { return m_pos < m_steps.size(); }
    // Both go through the commit point first (the caller's BeginAction).
    void Undo();
    void Redo();
    // The lines the steps hold, old and new: what the history costs.
    std::size_t HeldLines() const;

    // One line action from construction to destruction; nested actions are
    // part of the outer one. A null history makes it do nothing.
    class Action {
    public:
        Action(LineUndo* undo, Kind kind, const Control& field, int line);
        ~Action();
        Action(const Action&) = delete;
        Action& operator=(const Action&) = delete;

    private:
        LineUndo* m_undo;
    };
    // Leaving `field` when it is a row field: a line action recorded where
    // the field is (nothing otherwise).
    static Action ExitOf(EntryScreen& screen, const Control& field);
    // A command at the screen's current field and line.
    static Action CommandAt(EntryScreen& screen);

private:
    using Marks = std::array<std::int16_t, kLineSlots>;
    using SparseMarks = std::vector<std::pair<std::int16_t, std::int16_t>>;
    struct Step {
        int at = 0;
        std::vector<QuotationLine> before, after;
        int lastBefore = -1, lastAfter = -1;
        bool marksChanged = false;
        // Lines, not only marks: the quotation itself changed.
        bool linesChanged = false;
        SparseMarks marksBefore, marksAfter;
        // Where the action was given: the focus returns there.
        Control field;
        int line = 0;
    };

    void begin(Kind kind, const Control& field, int line);
    void end();
    // The lines are those of the last step, LastLine apart (an empty line
    // after the last that was entered and is still blank).
    bool linesAsRecorded() const;
    // Something else changed the lines: what was recorded cannot be put back.
    void dropHistory();
    void record();
    // The lines as of the copy again, then `removed` lines at `at` replaced.
    bool splice(int at, std::size_t removed, const std::vector<QuotationLine>& inserted, int newLast);
    void setMarks(const SparseMarks& marks);
    void move(const Step& step);
    // What was loaded, cleared or saved: the lines and the header as then.
    bool linesAsAtBase() const;
    bool headerAsAtBase() const;
    void showButtons();
    void takeCopy();

    EntryScreen& m_s;
    std::deque<Step> m_steps;
    std::size_t m_pos = 0;
    // The position and header of the last load, clear or save; -1 once that
    // position can no longer be reached.
    long m_basePos = 0;
    QuotationHeader m_baseHeader;
    bool m_dropped = false;
    // The lines in use as of the last step, with LastLine and the marks.
    std::vector<QuotationLine> m_lines;
    int m_last = -1;
    Marks m_marks{};
    int m_depth = 0;
    Kind m_kind = Kind::Command;
    Control m_field;
    int m_line = 0;
};

}  // namespace velmora
