#include "quotation/document_write.h"

#include <memory>

#include "data/data_access.h"
#include "linking/update_notice.h"
#include "platform/process.h"
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

}  // namespace

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
        if (!transaction.commit()) return fail(kStatusInsertFailed);
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
