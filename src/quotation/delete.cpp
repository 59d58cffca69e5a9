#include "quotation/delete.h"

#include <string>

#include "data/data_access.h"
#include "linking/update_notice.h"
#include "quotation/activity_links.h"
#include "quotation/document_rows.h"
#include "quotation/document_scope.h"
#include "quotation/follow_up.h"
#include "quotation/save_status.h"

namespace velmora {

QuotationDeleter::Result QuotationDeleter::Delete(SaveOutcome* outcome) {
    Quotation& q = m_scope.quotation;
    if (!SettleUnconfirmedWrite(m_scope)) return Result::Failed;
    const LoadedKey key = q.loadedKey;
    m_scope.access.ClearDataFault();
    FollowUp status = FollowUpStatus(m_scope.access, key.事業所コード, key.番号基準日付, key.営業見積No);
    if (status == FollowUp::Unknown && m_scope.access.DataFault() != DbFault::None) {
        // The database did not answer: that is what the user is told, and
        // nothing is asked or deleted.
        SetSaveStatus(q, kStatusDatabaseFault);
        q.SaveMessage = DatabaseFaultMessage(m_scope.access.DataFault(), "削除");
        return Result::Failed;
    }
    if (!FollowUpText(status).empty()) {
        m_scope.prompts.ShowMessage(std::string(FollowUpText(status)) + kCannotDelete);
        return Result::Refused;
    }
    std::string question = std::string(status == FollowUp::ActivityOnly ? kActivityRegistered : "") + kDeleteQuestion;
    if (!m_scope.prompts.AskYesNo(question)) return Result::Cancelled;

    q.OldHistoryNo.clear();
    q.NewHistoryNo.clear();
    q.SaveKind = kSaveKindDelete;
    SaveOutcome written = WriteDocument(m_scope, m_session, [&] {
        DocumentRows rows(m_scope);
        return rows.ReplaceHeader() && rows.ReplaceLines() == DocumentRows::Replaced::Done &&
               MoveActivityLinks(m_scope, key, "", "", "");
    });
    if (outcome) *outcome = written;
    return written.stored ? Result::Deleted : Result::Failed;
}

}  // namespace velmora
