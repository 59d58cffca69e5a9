#include "quotation/delete.h"

#include <string>

#include "linking/update_notice.h"
#include "quotation/activity_links.h"
#include "quotation/document_rows.h"
#include "quotation/document_scope.h"
#include "quotation/follow_up.h"

namespace velmora {

QuotationDeleter::Result QuotationDeleter::Delete(SaveOutcome* outcome) {
    Quotation& q = m_scope.quotation;
    const LoadedKey key = q.loadedKey;
    FollowUp status = FollowUpStatus(m_scope.access, key.事業所コード, key.番号基準日付, key.営業見積No);
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
