#include "app/usage.h"

#include "data/clock.h"
#include "data/sql_text.h"

namespace velmora {

namespace {

void recordUsage(DataAccess& access, const std::string& computerId, const std::string& userId, bool start) {
    std::string computer = QuoteSql(computerId);
    std::string user = QuoteSql(userId);
    std::string key = " WHERE コンピュータID = '" + computer + "'" + " AND ユーザID = '" + user + "'";
    std::unique_ptr<Recordset> rs;
    bool exists = access.OpenDataRecordset(rs, "SELECT * FROM 使用状況" + key);
    rs.reset();
    std::string now = access.NowText();
    const std::string& program = access.identity().programId;
    if (exists) {
        access.ExecuteData(std::string("UPDATE 使用状況 SET") + " プログラムID = '" + program + "'," +
                           (start ? " 開始日時 = '" : " 終了日時 = '") + now + "'" + key);
    } else {
        access.ExecuteData(std::string("INSERT INTO 使用状況 (") + "コンピュータID," + "ユーザID," + "プログラムID," +
                           "開始日時," + "終了日時)" + "VALUES ('" + computer + "', '" + user + "', '" + program +
                           "', '" + (start ? now : "") + "', '" + (start ? "" : now) + "')");
    }
}

}  // namespace

void PurgeUsage(DataAccess& access) {
    CalendarDate today;
    CalendarDate::Parse(FormatDate(access.Now()), today);
    std::string limit = AddMonths(today, -1).Text();
    access.ExecuteData(std::string("DELETE FROM 使用状況") + " WHERE 終了日時 < '" + limit + "' AND 終了日時 <> ''");
}

void RecordUsageStart(DataAccess& access, const std::string& computerId, const std::string& userId) {
    recordUsage(access, computerId, userId, true);
}

void RecordUsageEnd(DataAccess& access, const std::string& computerId, const std::string& userId) {
    recordUsage(access, computerId, userId, false);
}

}  // namespace velmora
