#include "quotation/activities.h"

#include <memory>

#include "data/data_access.h"
#include "quotation/document_sql.h"

namespace velmora {

const std::vector<std::string>& ActivityColumns() {
    static const std::vector<std::string> columns = {"日付", "時刻", "担当者",   "発信", "対応",
                                                     "要件", "段階", "御担当者", "摘要"};
    return columns;
}

std::string SlashedDate(const std::string& date) {
    const auto part = [&](size_t from, size_t length) {
        return from < date.size() ? date.substr(from, length) : "";
    };
    return part(0, 4) + "/" + part(4, 2) + "/" + part(6, 2);
}

std::vector<ActivityItem> QuotationActivities(DataAccess& access, const std::string& keyOffice,
                                              const std::string& office, const std::string& baseDate,
                                              const std::string& number) {
    const std::string sql =
        std::string("SELECT T営業活動明細.*") + ",M担当者.氏名 AS 担当者名" +
        ",K発信区分.名称 AS 発信区分名" + ",K応対方法.名称 AS 応対方法名" + ",K対応分類.名称 AS 対応分類名" +
        ",K要件分類.名称 AS 要件分類名" + " FROM" + " K発信区分 INNER JOIN" + " (K応対方法 INNER JOIN" +
        " (K対応分類 INNER JOIN" + " (K要件分類 INNER JOIN" + " (M担当者 INNER JOIN" + " T営業活動明細" +
        " ON M担当者.コード = T営業活動明細.担当者コード)" + " ON K要件分類.区分 = T営業活動明細.要件分類)" +
        " ON K対応分類.要件分類 = T営業活動明細.要件分類 AND K対応分類.区分 = T営業活動明細.対応分類)" +
        " ON K応対方法.区分 = T営業活動明細.応対方法)" + " ON K発信区分.区分 = T営業活動明細.発信区分" +
        " WHERE T営業活動明細.営業見積事業所コード = " + Literal(office) +
        " AND T営業活動明細.営業見積番号基準日付 = " + Literal(baseDate) +
        " AND T営業活動明細.営業見積No = " + Literal(number) +
        " ORDER BY T営業活動明細.日付 DESC,T営業活動明細.開始時刻";
    std::vector<ActivityItem> items;
    std::unique_ptr<Recordset> rs;
    if (!access.OpenDataRecordset(rs, sql)) return items;
    for (; !rs->eof(); rs->moveNext()) {
        ActivityItem item;
        const std::string day = rs->text("日付");
        item.key = keyOffice + day + rs->text("開始時刻") + rs->text("終了時刻") + rs->text("担当者コード");
        item.cells = {SlashedDate(day),       rs->text("開始時刻"),         rs->text("担当者名"),
                      rs->text("発信区分名"), rs->text("応対方法名"),       rs->text("要件分類名"),
                      rs->text("対応分類名"), rs->text("相手先御担当者名"), rs->text("営業活動摘要")};
        items.push_back(std::move(item));
    }
    rs->close();
    return items;
}

}  // namespace velmora
