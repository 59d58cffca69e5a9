#include "quotation/document_write.h"

#include <algorithm>
#include <memory>

#include "data/data_access.h"
#include "data/sql_text.h"
#include "linking/update_notice.h"
#include "platform/process.h"
#include "quotation/column_table.h"
#include "quotation/document_scope.h"
#include "quotation/document_sql.h"
#include "quotation/save_status.h"
#include "quotation/stored_check.h"

namespace velmora {

namespace {

constexpr int kNoticesToBusinessDatabase = 1;
constexpr int kStartUpdateProgram = 0;

UpdateNotice noticeOf(const Quotation& q) {
    UpdateNotice notice;
    notice.saveKind = q.SaveKind;
    notice.numberId = std::string(kQuotationNumberId);
    notice.officeCode = q.SaveKind == kSaveKindDelete ? q.loadedKey.事業所コード : q.header.事業所コード;
    notice.oldBaseDate = q.loadedKey.番号基準日付;
    notice.oldNumber = q.loadedKey.営業見積No;
    notice.oldHistoryNo = q.OldHistoryNo;
    notice.newBaseDate = q.header.番号基準日付;
    notice.newNumber = q.header.営業見積No;
    notice.newHistoryNo = q.NewHistoryNo;
    return notice;
}

bool startUpdateProgram(DocumentScope& scope) {
    std::unique_ptr<Recordset> rs;
    if (RunQuery(scope.access, rs,
                 "SELECT 更新プログラム FROM A番号情報 WHERE 番号ID = " + Literal(kQuotationNumberId)) !=
        QueryOutcome::Found)
        return false;
    std::string name = rs->text("更新プログラム");
    rs->close();
    if (name.empty()) return false;
    if (StartDetached(scope.context.programFolder + "/" + name, "")) return true;
    scope.access.WriteErrorLog(name + "プログラムが有りません");
    return false;
}

enum class Landed { Yes, No, Unknown };

// What the write sent, taken before the model goes back to how it was.
UnconfirmedWrite sentWrite(const DocumentScope& scope) {
    const Quotation& q = scope.quotation;
    UnconfirmedWrite sent;
    sent.kind = q.SaveKind;
    if (q.SaveKind == kSaveKindDelete) {
        sent.office = q.loadedKey.事業所コード;
        sent.baseDate = q.loadedKey.番号基準日付;
        sent.number = q.loadedKey.営業見積No;
        sent.historyNo = q.OldHistoryNo;
    } else {
        sent.office = q.header.事業所コード;
        sent.baseDate = q.header.番号基準日付;
        sent.number = q.header.営業見積No;
        sent.historyNo = q.NewHistoryNo;
        sent.header = ModelValues(HeaderTable(), q.header, nullptr, scope.context.company);
    }
    sent.maxUniqueLineNo = q.MaxUniqueLineNo;
    return sent;
}

std::string keyOf(const UnconfirmedWrite& write) {
    return " WHERE 事業所コード = " + Literal(write.office) + " AND 番号基準日付 = " + Literal(write.baseDate) +
           " AND 営業見積No = " + Literal(write.number);
}

// The history row the write made, found with what was sent in it: a history
// number a rolled-back write gave back may since have gone to another save.
// A delete also took the quotation away.
Landed landed(DocumentScope& scope, const UnconfirmedWrite& write) {
    const bool deleting = write.kind == kSaveKindDelete;
    std::unique_ptr<Recordset> rs;
    const QueryOutcome history =
        RunQuery(scope.access, rs,
                 "SELECT * FROM R営業見積" + keyOf(write) + " AND " + std::string(kHistoryNoColumn) + " = " +
                     Literal(write.historyNo) + " AND " + std::string(kRedBlackColumn) + " = " +
                     Literal(std::string(deleting ? kRed : kBlack)));
    if (history == QueryOutcome::Failed) return Landed::Unknown;
    if (history == QueryOutcome::Empty) return Landed::No;
    const bool same = deleting || StoredValues(HeaderTable(), *rs, scope.context.company) == write.header;
    rs->close();
    if (!same) return Landed::No;
    if (!deleting) return Landed::Yes;
    const QueryOutcome stored = RunQuery(scope.access, rs, "SELECT 営業見積No FROM T営業見積" + keyOf(write));
    if (stored == QueryOutcome::Failed) return Landed::Unknown;
    if (rs) rs->close();
    return stored == QueryOutcome::Empty ? Landed::Yes : Landed::No;
}

// A save that was stored after all: the screen now changes the quotation as
// stored, under its key and with what the check against lost updates
// compares with.
bool adoptStored(DocumentScope& scope, const UnconfirmedWrite& write) {
    Quotation& q = scope.quotation;
    std::unique_ptr<Recordset> rs;
    if (RunQuery(scope.access, rs, "SELECT * FROM T営業見積" + keyOf(write)) != QueryOutcome::Found) return false;
    LoadedKey key{write.office, write.baseDate, write.number, rs->text("営業見積日付"),
                  StoredFingerprint(*rs, scope.context.company), 0, rs->text("得意先コード")};
    rs->close();
    if (RunQuery(scope.access, rs, "SELECT COUNT(*) AS 行数 FROM T営業見積明細" + keyOf(write)) != QueryOutcome::Found)
        return false;
    key.storedLines = static_cast<int>(ValInteger(rs->text("行数")));
    rs->close();
    q.header.事業所コード = write.office;
    q.header.番号基準日付 = write.baseDate;
    q.header.営業見積No = write.number;
    q.loadedKey = std::move(key);
    q.NewEntry = false;
    q.MaxUniqueLineNo = std::max(q.MaxUniqueLineNo, write.maxUniqueLineNo);
    return true;
}

}  // namespace

bool SettleUnconfirmedWrite(DocumentScope& scope) {
    Quotation& q = scope.quotation;
    if (!q.unconfirmed) return true;
    const UnconfirmedWrite write = *q.unconfirmed;
    scope.access.ClearDataFault();
    Landed found = landed(scope, write);
    if (found == Landed::Yes && write.kind != kSaveKindDelete && !adoptStored(scope, write)) found = Landed::Unknown;
    if (found == Landed::Unknown) {
        SetSaveStatus(q, kStatusDatabaseFault);
        q.SaveMessage = UnconfirmedMessage(write.kind == kSaveKindDelete ? "削除" : "登録");
        return false;
    }
    q.unconfirmed.reset();
    return true;
}

SaveOutcome WriteDocument(DocumentScope& scope, ProgramSession* session, const std::function<bool()>& writeRows) {
    Quotation& q = scope.quotation;
    const int flag = scope.context.updateRunFlag;
    SaveOutcome outcome;
    Quotation before = q;
    scope.access.ClearDataFault();
    auto fail = [&](int fallback) {
        bool failed = q.SaveStatus == kStatusInsertFailed || q.SaveStatus == kStatusDeleteFailed ||
                      q.SaveStatus == kStatusLinkFailed || q.SaveStatus == kStatusChangedMeanwhile ||
                      q.SaveStatus == kStatusFollowedUp;
        int status = failed ? q.SaveStatus : fallback;
        std::string message = q.SaveMessage;
        std::string kind = q.SaveKind;
        // A statement the database refused for a reason of its own makes the
        // other statuses meaningless (a failed read looks like a missing row):
        // the user is told what happened instead.
        const DbFault fault = scope.access.DataFault();
        if (fault != DbFault::None) {
            status = kStatusDatabaseFault;
            message = DatabaseFaultMessage(fault, kind == kSaveKindDelete ? "削除" : "登録");
        }
        q = before;
        q.SaveKind = kind;
        SetSaveStatus(q, status);
        // These messages depend on the save kind, the follow-up or the fault found.
        if (status == kStatusChangedMeanwhile || status == kStatusFollowedUp || status == kStatusDatabaseFault)
            q.SaveMessage = message;
        return outcome;
    };
    bool commitUnanswered = false;
    {
        DataTransaction transaction(scope.access);
        if (!transaction.active()) return fail(kStatusInsertFailed);
        if (!ConfirmStoredAsLoaded(scope)) return fail(kStatusInsertFailed);
        if (!writeRows()) return fail(kStatusInsertFailed);
        if (flag == kNoticesToBusinessDatabase) {
            NotifyResult notified = NotifyUpdate(scope.access, noticeOf(q), flag);
            if (notified.saveStatus != kStatusInserted) return fail(kStatusInsertFailed);
            outcome.noticesWritten = true;
        }
        if (!transaction.commit()) {
            // The connection went during the COMMIT: the server may have
            // stored it all the same, and a save reported as failed would be
            // stored twice when the user tries again.
            if (scope.access.DataFault() != DbFault::ConnectionLost) return fail(kStatusInsertFailed);
            commitUnanswered = true;
        }
    }
    if (commitUnanswered) {
        const UnconfirmedWrite sent = sentWrite(scope);
        switch (landed(scope, sent)) {
            case Landed::Yes:
                scope.access.ClearDataFault();
                break;
            case Landed::No:
                // Not stored: the lost connection is what the user is told.
                return fail(kStatusInsertFailed);
            case Landed::Unknown:
                fail(kStatusInsertFailed);
                q.unconfirmed = sent;
                q.SaveMessage = UnconfirmedMessage(sent.kind == kSaveKindDelete ? "削除" : "登録");
                return outcome;
        }
    }
    outcome.stored = true;

    if (q.SaveKind == kSaveKindNew && scope.context.startedWithCommandLine) {
        q.SavedKey = q.header.事業所コード + q.header.番号基準日付 + q.header.営業見積No;
        if (session) session->SetReplyInformation(q.SavedKey);
    }
    if (flag != kNoticesToBusinessDatabase) {
        // The rows stand whatever becomes of the notice: a failed one leaves
        // its error row, and reporting the save as failed would only invite
        // a second copy of a new quotation.
        outcome.noticesWritten = NotifyUpdate(scope.access, noticeOf(q), flag).saveStatus == kStatusInserted;
    }
    if (flag == kStartUpdateProgram) {
        outcome.sessionRestarted = session != nullptr && session->RestartSession();
        if (session == nullptr || outcome.sessionRestarted) outcome.updateProgramStarted = startUpdateProgram(scope);
    }
    return outcome;
}

}  // namespace velmora
