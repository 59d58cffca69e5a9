#include "quotation/view_log.h"

#include "data/data_access.h"
#include "data/sql_text.h"
#include "quotation/document_scope.h"
#include "quotation/document_sql.h"

namespace velmora {

namespace {

std::string viewLogInsert(const DocumentScope& scope, const std::string& office, const std::string& viewBase,
                          const std::string& viewNo, const std::string& now, const std::string& baseDate,
                          const std::string& number) {
    const QuotationContext& c = scope.context;
    std::string time = now.size() >= 15 ? now.substr(9, 2) + ":" + now.substr(11, 2) + ":" + now.substr(13, 2) : "";
    return std::string("INSERT INTO [T閲覧] ") + "([事業所コード]" + ",[番号基準日付]" + ",[閲覧No]" + ",[閲覧日付]" +
           ",[閲覧時刻]" + ",[担当者コード]" + ",[担当者名]" + ",[閲覧情報]" + ",[伝票事業所コード]" +
           ",[伝票番号基準日付]" + ",[伝票No]" + ",[キー項目]" + ",[閲覧区分]" + ",[閲覧メモ]" + ",[承認日付]" +
           ",[承認者コード]" + ",[承認区分]" + ",[ユーザID]" + ",[登録日付]" + ",[更新日付])" + " VALUES (" +
           Literal(office) + "," + Literal(viewBase) + "," + Literal(viewNo) + "," + Literal(now.substr(0, 8)) + "," +
           Literal(time) + "," + Literal(c.staffCode) + ",'" + QuoteSql(c.staffName) + "'," + Literal(kViewLogProgram) +
           "," + Literal(office) + "," + Literal(baseDate) + "," + Literal(number) + ",''" + ",'0'" + ",''" + ",''" +
           ",''" + ",'0'" + "," + Literal(c.UserId()) + "," + Literal(now) + ",''" + ")";
}

}  // namespace

bool WriteViewLog(DocumentScope& scope, const std::string& office, const std::string& baseDate,
                  const std::string& number) {
    DataAccess& access = scope.access;
    std::string now = access.NowText();
    std::string viewBase = scope.numbering.BaseDate(kViewLogNumberId, now.substr(0, 8));
    std::unique_ptr<Recordset> rs;
    std::string viewNo;
    for (;;) {
        viewNo = scope.numbering.TakeNumber(kViewLogNumberId, viewBase, scope.context.operatingOffice);
        // A scheme without automatic numbers would give "" forever.
        if (viewNo.empty() || viewNo == kNoNumber) return false;
        // A look-up that fails counts as not found: the insert tells.
        QueryOutcome used = RunQuery(access, rs,
                                     std::string("SELECT 閲覧No FROM T閲覧") + " WHERE 事業所コード = " +
                                         Literal(office) + " AND 番号基準日付 = " + Literal(viewBase) +
                                         " AND 閲覧No = " + Literal(viewNo));
        rs->close();
        if (used != QueryOutcome::Found) break;
    }
    return access.ExecuteData(viewLogInsert(scope, office, viewBase, viewNo, now, baseDate, number));
}

}  // namespace velmora
