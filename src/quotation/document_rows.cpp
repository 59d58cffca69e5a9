#include "quotation/document_rows.h"

#include <algorithm>

#include "data/data_access.h"
#include "data/sql_text.h"
#include "quotation/column_table.h"
#include "quotation/document_scope.h"
#include "quotation/document_sql.h"
#include "quotation/save_status.h"

namespace velmora {

namespace {

// A history number the counters gave; "" (typed numbers) means no history.
bool takeHistoryNumber(DocumentScope& scope, const std::string& office, const std::string& baseDate,
                       std::string& historyNo) {
    historyNo = scope.numbering.TakeQuotationHistoryNumber(office, baseDate);
    if (historyNo != kNoNumber) return true;
    historyNo.clear();
    SetSaveStatus(scope.quotation, kStatusInsertFailed);
    return false;
}

// Writes the row and, when there is a history number, its history row.
bool insertWithHistory(DocumentScope& scope, const QuotationTable& table, const std::vector<std::string>& literals,
                       const std::string& historyNo, std::string_view redBlack, bool logged) {
    Quotation& q = scope.quotation;
    if (!Outcome(q, scope.access.ExecuteData(InsertStatement(table, literals), logged), kStatusInserted,
                 kStatusInsertFailed))
        return false;
    if (historyNo.empty()) return true;
    HistoryMark mark{historyNo, redBlack};
    return Outcome(q, scope.access.ExecuteData(InsertStatement(table, literals, &mark)), kStatusInserted,
                   kStatusInsertFailed);
}

bool insertRed(DocumentScope& scope, const QuotationTable& table, const Recordset& row) {
    const std::string& historyNo = scope.quotation.OldHistoryNo;
    if (historyNo.empty()) return true;
    HistoryMark red{historyNo, kRed};
    return Outcome(scope.quotation,
                   scope.access.ExecuteData(
                       InsertStatement(table, StoredLiterals(table, row, scope.context.company), &red)),
                   kStatusInserted, kStatusInsertFailed);
}

std::string loadedCondition(const std::string& table, const LoadedKey& key) {
    return " WHERE " + table + ".事業所コード = " + Literal(key.事業所コード) + " AND " + table +
           ".番号基準日付 = " + Literal(key.番号基準日付) + " AND " + table + ".営業見積No = " + Literal(key.営業見積No);
}

}  // namespace

bool DocumentRows::InsertHeader() {
    Quotation& q = m_scope.quotation;
    QuotationHeader& h = q.header;
    if (!takeHistoryNumber(m_scope, h.事業所コード, h.番号基準日付, q.NewHistoryNo)) return false;
    h.ユーザID = m_scope.context.UserId();
    h.登録日付 = m_scope.access.NowText();
    return insertWithHistory(m_scope, HeaderTable(), ModelLiterals(HeaderTable(), h, nullptr, m_scope.context.company),
                             q.NewHistoryNo, kBlack, true);
}

bool DocumentRows::prepareLines() {
    DataAccess& access = m_scope.access;
    if (!access.dataConnection()) return false;
    static const std::string kTexts[kLineStatements] = {
        PreparedInsert(LineTable(), false), PreparedInsert(LineTable(), true),
        "DELETE FROM T営業見積明細 WHERE T営業見積明細.事業所コード = ? AND T営業見積明細.番号基準日付 = ? AND "
        "T営業見積明細.営業見積No = ? AND T営業見積明細.営業見積固有行No = ?"};
    for (int which = 0; which < kLineStatements; ++which) {
        DbError error;
        if (!m_prepared[which]) m_prepared[which] = access.dataConnection()->prepare(kTexts[which], error);
        if (!m_prepared[which]) return false;
    }
    return true;
}

bool DocumentRows::runLines(const std::vector<LineCall>& calls) {
    Quotation& q = m_scope.quotation;
    DataAccess& access = m_scope.access;
    if (calls.empty()) return true;
    if (!prepareLines()) {
        // No statement could be prepared: each runs as its literal text.
        for (const LineCall& call : calls)
            if (!Outcome(q, access.ExecuteData(call.literalText()), call.success, call.failure)) return false;
        return true;
    }
    std::unique_ptr<StatementPipeline> pipeline = access.dataConnection()->pipeline();
    for (const LineCall& call : calls)
        if (!pipeline->queue(*m_prepared[call.which], call.values)) break;
    size_t failed = 0;
    DbError error;
    if (pipeline->finish(failed, error)) return Outcome(q, true, calls.back().success, calls.back().failure);
    const LineCall& call = calls[std::min(failed, calls.size() - 1)];
    // The error row names the statement as the data layer would.
    access.ReportDataError(error, call.literalText());
    return Outcome(q, false, call.success, call.failure);
}

bool DocumentRows::InsertLines() {
    Quotation& q = m_scope.quotation;
    const CompanySettings& company = m_scope.context.company;
    std::string userId = m_scope.context.UserId();
    const HistoryMark black{q.NewHistoryNo, kBlack};
    std::vector<LineCall> calls;
    calls.reserve(static_cast<size_t>(q.LastLine + 1) * 2);
    for (int i = 0; i <= q.LastLine; ++i) {
        QuotationLine& line = q.lines[static_cast<size_t>(i)];
        if (ValInteger(line.営業見積固有行No) == 0) line.営業見積固有行No = ThreeDigits(++q.MaxUniqueLineNo);
        line.営業見積行No = ThreeDigits(i + 1);
        line.ユーザID = userId;
        line.登録日付 = m_scope.access.NowText();
        auto literal = [this, i, black](bool history) {
            return [this, i, black, history] {
                const Quotation& quotation = m_scope.quotation;
                return InsertStatement(LineTable(),
                                       ModelLiterals(LineTable(), quotation.header,
                                                     &quotation.lines[static_cast<size_t>(i)], m_scope.context.company),
                                       history ? &black : nullptr);
            };
        };
        calls.push_back({kInsertLine, ModelValues(LineTable(), q.header, &line, company), literal(false),
                         kStatusInserted, kStatusInsertFailed});
        if (q.NewHistoryNo.empty()) continue;
        calls.push_back({kInsertLineHistory, ModelValues(LineTable(), q.header, &line, company, &black), literal(true),
                         kStatusInserted, kStatusInsertFailed});
    }
    return runLines(calls);
}

bool DocumentRows::ReplaceHeader() {
    Quotation& q = m_scope.quotation;
    const LoadedKey& key = q.loadedKey;
    if (!takeHistoryNumber(m_scope, key.事業所コード, key.番号基準日付, q.OldHistoryNo)) return false;
    std::unique_ptr<Recordset> rs;
    QueryOutcome stored =
        RunQuery(m_scope.access, rs,
                 std::string("SELECT * FROM T営業見積") + " WHERE 事業所コード = " + Literal(key.事業所コード) +
                     " AND 番号基準日付 = " + Literal(key.番号基準日付) + " AND 営業見積No = " + Literal(key.営業見積No));
    if (stored == QueryOutcome::Failed) return Outcome(q, false, kStatusDeleted, kStatusDeleteFailed);
    if (stored == QueryOutcome::Empty) return true;
    if (!insertRed(m_scope, HeaderTable(), *rs)) return false;
    rs->close();
    return Outcome(q,
                   m_scope.access.ExecuteData("DELETE FROM T営業見積" + loadedCondition("T営業見積", key), true),
                   kStatusDeleted, kStatusDeleteFailed);
}

DocumentRows::Replaced DocumentRows::ReplaceLines() {
    Quotation& q = m_scope.quotation;
    const LoadedKey& key = q.loadedKey;
    std::string condition = loadedCondition("T営業見積明細", key);
    std::unique_ptr<Recordset> rs;
    QueryOutcome stored = RunQuery(m_scope.access, rs,
                                   "SELECT * FROM T営業見積明細" + condition + " ORDER BY T営業見積明細.営業見積行No");
    if (stored != QueryOutcome::Found) {
        SetSaveStatus(q, kStatusDeleteFailed);
        return stored == QueryOutcome::Empty ? Replaced::LinesGone : Replaced::Failed;
    }
    const CompanySettings& company = m_scope.context.company;
    const HistoryMark red{q.OldHistoryNo, kRed};
    std::vector<LineCall> calls;
    calls.reserve(rs->rowCount() * 2);
    Recordset* rows = rs.get();
    for (size_t at = 0; !rs->eof(); rs->moveNext(), ++at) {
        const Recordset& row = *rs;
        // The literal texts are made only for an error row; they read the
        // stored row again by its position.
        auto rowAt = [rows, at]() -> const Recordset& {
            rows->moveFirst();
            for (size_t k = 0; k < at; ++k) rows->moveNext();
            return *rows;
        };
        if (!q.OldHistoryNo.empty())
            calls.push_back({kInsertLineHistory, StoredValues(LineTable(), row, company, &red),
                             [this, rowAt, red] {
                                 return InsertStatement(LineTable(),
                                                        StoredLiterals(LineTable(), rowAt(), m_scope.context.company),
                                                        &red);
                             },
                             kStatusInserted, kStatusInsertFailed});
        std::string unique = row.text("営業見積固有行No");
        calls.push_back({kDeleteLine,
                         {key.事業所コード, key.番号基準日付, key.営業見積No, unique},
                         [condition, unique] {
                             return "DELETE FROM T営業見積明細" + condition + " AND T営業見積明細.営業見積固有行No = " +
                                    Literal(unique);
                         },
                         kStatusDeleted, kStatusDeleteFailed});
    }
    if (!runLines(calls)) return Replaced::Failed;
    return Replaced::Done;
}

}  // namespace velmora
