#include "quotation/save.h"

#include "data/data_access.h"
#include "data/sql_text.h"
#include "linking/update_notice.h"
#include "quotation/activity_links.h"
#include "quotation/document_rows.h"
#include "quotation/document_scope.h"
#include "quotation/document_sql.h"
#include "quotation/save_status.h"

namespace velmora {

SaveOutcome QuotationSaver::Save() {
    Quotation& q = m_scope.quotation;
    if (!SettleUnconfirmedWrite(m_scope)) return {};
    // Unique line numbers are three digits wide and never given twice within
    // a quotation (history rows and the suite's other documents name lines by
    // them): when the new lines would need more, nothing is stored.
    int newLines = 0;
    for (int i = 0; i <= q.LastLine; ++i)
        if (ValInteger(q.lines[static_cast<size_t>(i)].営業見積固有行No) == 0) ++newLines;
    if (q.MaxUniqueLineNo + newLines > kMaxUniqueLineNo) {
        q.SaveStatus = kStatusInsertFailed;
        q.SaveMessage = kUniqueLineNumbersUsedUp;
        return {};
    }
    if (!m_scope.rates.known()) {
        const bool came = m_scope.ReloadRates();
        q.SaveStatus = kStatusDatabaseFault;
        q.SaveMessage = came ? kTaxesWorkedOutAgain : kNoTaxRates;
        return {};
    }
    q.OldHistoryNo.clear();
    q.NewHistoryNo.clear();
    q.SaveKind = q.NewEntry ? kSaveKindNew : kSaveKindChange;
    return WriteDocument(m_scope, m_session, [this] { return writeRows(); });
}

bool QuotationSaver::writeRows() {
    Quotation& q = m_scope.quotation;
    DocumentRows rows(m_scope);
    if (q.NewEntry) return allocateNumber() && rows.InsertHeader() && rows.InsertLines();
    // Lines already gone (another user deleted them) do not stop a change:
    // the quotation is stored again as it stands on screen.
    auto replace = [&] { return rows.ReplaceHeader() && rows.ReplaceLines() != DocumentRows::Replaced::Failed; };
    if (q.header.番号基準日付 == q.loadedKey.番号基準日付)
        return replace() && rows.InsertHeader() && rows.InsertLines();
    const QuotationHeader& h = q.header;
    // A move takes numbers from the counters of both periods: held in one
    // order first, two moves in opposite directions cannot deadlock.
    if (!m_scope.numbering.HoldCounters(kQuotationNumberId, {{h.事業所コード, h.番号基準日付},
                                                             {q.loadedKey.事業所コード, q.loadedKey.番号基準日付}}))
        return Outcome(q, false, kStatusInserted, kStatusInsertFailed);
    return allocateNumber() && rows.InsertHeader() && rows.InsertLines() && replace() &&
           MoveActivityLinks(m_scope, q.loadedKey, h.事業所コード, h.番号基準日付, h.営業見積No);
}

bool QuotationSaver::allocateNumber() {
    Quotation& q = m_scope.quotation;
    QuotationHeader& h = q.header;
    // A quotation begun while the database did not answer has no base date
    // yet: it is taken from the quotation date now, or nothing is stored.
    if (h.番号基準日付.empty()) h.番号基準日付 = m_scope.numbering.BaseDate(kQuotationNumberId, h.営業見積日付);
    if (h.番号基準日付.empty()) return Outcome(q, false, kStatusInserted, kStatusInsertFailed);
    std::string number = m_scope.numbering.TakeQuotationNumber(h.事業所コード, h.番号基準日付);
    if (number == kNoNumber) return Outcome(q, false, kStatusInserted, kStatusInsertFailed);
    if (!number.empty()) {
        h.営業見積No = number;
        return true;
    }
    // Typed numbers: one that is stored already fails before anything is written.
    std::unique_ptr<Recordset> rs;
    QueryOutcome used = RunQuery(m_scope.access, rs,
                                 std::string("SELECT  TOP 1 営業見積No FROM T営業見積") + " WHERE 事業所コード = " +
                                     Literal(h.事業所コード) + " AND 番号基準日付 = " + Literal(h.番号基準日付) +
                                     " AND 営業見積No = " + Literal(h.営業見積No));
    if (used == QueryOutcome::Empty) return true;
    return Outcome(q, false, kStatusInserted, kStatusInsertFailed);
}

}  // namespace velmora
