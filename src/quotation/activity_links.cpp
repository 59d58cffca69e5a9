#include "quotation/activity_links.h"

#include "data/data_access.h"
#include "quotation/document_scope.h"
#include "quotation/document_sql.h"
#include "quotation/save_status.h"

namespace velmora {

bool MoveActivityLinks(DocumentScope& scope, const LoadedKey& from, const std::string& office,
                       const std::string& baseDate, const std::string& number) {
    std::unique_ptr<Recordset> rs;
    QueryOutcome found = RunQuery(scope.access, rs,
                                  std::string("SELECT ") + " * FROM T営業活動明細" + " WHERE 営業見積事業所コード = " +
                                      Literal(from.事業所コード) + " AND 営業見積番号基準日付 = " +
                                      Literal(from.番号基準日付) + " AND 営業見積No = " + Literal(from.営業見積No) +
                                      " ORDER BY 日付,開始時刻");
    if (found == QueryOutcome::Failed) return Outcome(scope.quotation, false, kStatusLinked, kStatusLinkFailed);
    for (; !rs->eof(); rs->moveNext()) {
        std::string sql = std::string("UPDATE T営業活動明細 SET") + " [営業見積事業所コード] = " + Literal(office) +
                          ",[営業見積番号基準日付] = " + Literal(baseDate) + ",[営業見積No] = " + Literal(number) +
                          " WHERE [担当者コード] = " + Literal(rs->text("担当者コード")) +
                          " AND [日付] = " + Literal(rs->text("日付")) + " AND [開始時刻] = " +
                          Literal(rs->text("開始時刻")) + " AND [終了時刻] = " + Literal(rs->text("終了時刻"));
        if (!Outcome(scope.quotation, scope.access.ExecuteData(sql), kStatusLinked, kStatusLinkFailed)) return false;
    }
    return true;
}

}  // namespace velmora
