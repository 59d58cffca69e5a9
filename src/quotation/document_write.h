#pragma once

#include <functional>

namespace velmora {

struct DocumentScope;
class ProgramSession;

// What became of a save or delete besides its SaveStatus.
struct SaveOutcome {
    bool stored = false;                // the rows were committed
    bool noticesWritten = false;        // the update program was told of them
    bool sessionRestarted = false;      // update run flag 0: the database session began again
    bool updateProgramStarted = false;  // update run flag 0: the update program named in A番号情報 runs
};

// Runs the statements of a save or delete (`writeRows`, which sets SaveKind's
// rows and SaveStatus) as one transaction on the business database, all or
// nothing, then the steps that follow it:
//
// - the aggregation notices (未集計情報): with update run flag 1 they go to the
//   business database inside the transaction, so the rows and their notices
//   are committed together; otherwise they go to the configuration database
//   after the commit, so a notice never names rows that were not stored (a
//   crash between the two loses the notice, not the quotation);
// - a new quotation saved in a run started by a command line: its key is
//   held in SavedKey and handed to the program for its reply, before the
//   session restart sends that reply;
// - update run flag 0: the session restart and the detached start of the
//   update program. A failed start leaves an error row and the save stands.
//
// When a statement fails, or the transaction cannot begin or commit, nothing
// is stored, the model returns to what it was before the call and SaveStatus
// and SaveMessage tell the failure. The operation-log rows of the logged
// statements go to the configuration database as the statements run; a
// rolled-back save leaves them followed by its error row.
SaveOutcome WriteDocument(DocumentScope& scope, ProgramSession* session, const std::function<bool()>& writeRows);

// Before a save or delete: a write whose COMMIT went unanswered earlier is
// looked up first. Stored, a saved quotation becomes the stored one the
// screen now changes (its key, what the check against lost updates compares
// with); not stored, nothing is left to do. False, with SaveStatus and
// SaveMessage set, while the server still cannot say: nothing may be written.
bool SettleUnconfirmedWrite(DocumentScope& scope);

}  // namespace velmora
