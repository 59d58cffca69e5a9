#include "quotation/stored_check.h"

#include <memory>

#include "data/connection.h"
#include "data/data_access.h"
#include "data/sql_text.h"
#include "linking/update_notice.h"
#include "quotation/column_table.h"
#include "quotation/delete.h"
#include "quotation/document_scope.h"
#include "quotation/document_sql.h"
#include "quotation/follow_up.h"
#include "quotation/quotation_date.h"
#include "quotation/save_status.h"

namespace velmora {

namespace {

bool onPostgres(DataAccess& access) {
    Connection* connection = access.dataConnection();
    return connection != nullptr && connection->kind() == EngineKind::PostgreSQL;
}

std::string keyCondition(const std::string& table, const LoadedKey& key) {
    return " WHERE " + table + ".事業所コード = " + Literal(key.事業所コード) + " AND " + table +
           ".番号基準日付 = " + Literal(key.番号基準日付) + " AND " + table + ".営業見積No = " + Literal(key.営業見積No);
}

bool refuseChanged(Quotation& q) {
    SetSaveStatus(q, kStatusChangedMeanwhile);
    if (q.SaveKind == kSaveKindDelete) q.SaveMessage = kDeletedMeanwhileMessage;
    return false;
}

// The stored header and line count, read again inside the transaction.
bool storedUnchanged(DocumentScope& scope) {
    Quotation& q = scope.quotation;
    const LoadedKey& key = q.loadedKey;
    DataAccess& access = scope.access;
    // PostgreSQL: the row lock makes a concurrent change or delete of the same
    // quotation wait for this one, and then find the row gone.
    std::unique_ptr<Recordset> rs;
    QueryOutcome header = RunQuery(access, rs,
                                   "SELECT * FROM T営業見積" + keyCondition("T営業見積", key) +
                                       (onPostgres(access) ? " FOR UPDATE" : ""));
    if (header == QueryOutcome::Failed) return Outcome(q, false, kStatusInserted, kStatusInsertFailed);
    if (header == QueryOutcome::Empty) return refuseChanged(q);
    std::unique_ptr<Recordset> lines;
    if (RunQuery(access, lines, "SELECT COUNT(*) AS 行数 FROM T営業見積明細" + keyCondition("T営業見積明細", key)) !=
        QueryOutcome::Found)
        return Outcome(q, false, kStatusInserted, kStatusInsertFailed);
    int count = static_cast<int>(ValInteger(lines->text("行数")));
    lines->close();
    std::string now = StoredFingerprint(*rs, scope.context.company);
    rs->close();
    // Lines that are all gone while the header stands are not another save
    // (every save writes both): ReplaceLines tells that case on its own.
    bool linesAsLoaded = count == key.storedLines || count == 0 || key.storedLines == 0;
    return (now == key.storedRow && linesAsLoaded) || refuseChanged(q);
}

bool noFollowUp(DocumentScope& scope) {
    Quotation& q = scope.quotation;
    const LoadedKey& key = q.loadedKey;
    // The insert of a follow-up row by another program takes ROW EXCLUSIVE,
    // which SHARE excludes: it waits until this transaction ends, and one that
    // is under way makes the lock wait until it commits, so the check below
    // sees it.
    if (onPostgres(scope.access) &&
        !scope.access.ExecuteData("LOCK TABLE T営業請求, T営業納品, T営業発注, T顧客注文 IN SHARE MODE"))
        return Outcome(q, false, kStatusInserted, kStatusInsertFailed);
    FollowUp status = FollowUpStatus(scope.access, key.事業所コード, key.番号基準日付, key.営業見積No);
    std::string_view text = FollowUpText(status);
    if (text.empty()) return true;
    SetSaveStatus(q, kStatusFollowedUp);
    q.SaveMessage = std::string(text) + (q.SaveKind == kSaveKindDelete ? kCannotDelete : kNoticeCannotMove);
    return false;
}

}  // namespace

std::string StoredFingerprint(const Recordset& header, const CompanySettings& company) {
    std::string fingerprint;
    for (const std::string& literal : StoredLiterals(HeaderTable(), header, company)) {
        fingerprint += literal;
        fingerprint += '\x1f';
    }
    return fingerprint;
}

bool ConfirmStoredAsLoaded(DocumentScope& scope) {
    Quotation& q = scope.quotation;
    if (q.SaveKind == kSaveKindNew || !q.loaded()) return true;
    if (!storedUnchanged(scope)) return false;
    bool leavesKey = q.SaveKind == kSaveKindDelete || q.header.番号基準日付 != q.loadedKey.番号基準日付 ||
                     q.header.事業所コード != q.loadedKey.事業所コード;
    return !leavesKey || noFollowUp(scope);
}

}  // namespace velmora
