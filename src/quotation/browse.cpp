#include "quotation/browse.h"

#include "data/data_access.h"
#include "quotation/document_scope.h"
#include "quotation/document_sql.h"
#include "quotation/load.h"

namespace velmora {

bool QuotationBrowser::find(bool previous, std::string& baseDate, std::string& number) {
    const QuotationHeader& h = m_scope.quotation.header;
    const std::string date = Literal(h.営業見積日付);
    std::string sql = std::string("SELECT TOP 1 番号基準日付,営業見積No") + " FROM T営業見積" +
                      " WHERE 事業所コード = " + Literal(h.事業所コード);
    const char* before = previous ? " <= " : " >= ";
    const char* beside = previous ? " < " : " > ";
    // The date bound on its own as well: with it the engine starts at the
    // date in the date-order index instead of filtering the office's rows
    // from its first (or last) date up to there.
    sql += std::string(" AND 営業見積日付") + before + date;
    if (!h.営業見積No.empty())
        sql += " AND ((営業見積日付 = " + date + " AND 営業見積No" + beside + Literal(h.営業見積No) + ")" +
               " OR 営業見積日付" + beside + date + ")";
    sql += previous ? " ORDER BY 営業見積日付 DESC, 営業見積No DESC" : " ORDER BY 営業見積日付 , 営業見積No";
    std::unique_ptr<Recordset> rs;
    if (RunQuery(m_scope.access, rs, sql) != QueryOutcome::Found) return false;
    baseDate = rs->text("番号基準日付");
    number = rs->text("営業見積No");
    return true;
}

bool QuotationBrowser::FindPrevious(std::string& baseDate, std::string& number) {
    return find(true, baseDate, number);
}

bool QuotationBrowser::FindNext(std::string& baseDate, std::string& number) { return find(false, baseDate, number); }

QuotationBrowser::Moved QuotationBrowser::goTo(bool previous) {
    std::string baseDate, number;
    if (!find(previous, baseDate, number)) return Moved::None;
    Quotation& q = m_scope.quotation;
    QuotationLoader loader(m_scope);
    if (loader.OpenStored(q.header.事業所コード, baseDate, number)) return Moved::Loaded;
    for (QuotationLine& line : q.lines) line = QuotationLine();
    q.LastLine = -1;
    QuotationHeader& h = q.header;
    h.見積納期日付.clear();
    SplitDate("", h.見積納期日付年, h.見積納期日付月, h.見積納期日付日);
    h.見積伝票備考A.clear();
    h.見積伝票備考B.clear();
    m_scope.RecomputeTotals();
    return Moved::Vanished;
}

QuotationBrowser::Moved QuotationBrowser::GoToPrevious() { return goTo(true); }
QuotationBrowser::Moved QuotationBrowser::GoToNext() { return goTo(false); }

}  // namespace velmora
