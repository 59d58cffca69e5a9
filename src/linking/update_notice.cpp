#include "linking/update_notice.h"

#include "data/sql_text.h"

namespace velmora {

std::string UpdateNoticeSql(const LogIdentity& id, const UpdateNotice& n, bool red) {
    const std::string& baseDate = red ? n.oldBaseDate : n.newBaseDate;
    const std::string& historyNo = red ? n.oldHistoryNo : n.newHistoryNo;
    const std::string& number = red ? n.oldNumber : n.newNumber;
    return std::string("INSERT INTO [未集計情報] ") + "([事業所コード]" + ",[番号ID]" + ",[番号基準日付]" + ",[履歴No]" +
           ",[赤黒区分]" + ",[伝票No]" + ",[追加キー項目]" + ",[データフラグ]" + ",[登録情報区分]" + ",[予備項目])" +
           " VALUES " + "('" + n.officeCode + "'" + ",'" + n.numberId + "'" + ",'" + baseDate + "'" + ",'" +
           historyNo + "'" + ",'" + (red ? "0" : "1") + "'" + ",'" + number + "'" + ",''" + ",'0'" + ",'" +
           n.saveKind + "'" + ",'" + QuoteSql(id.userId + id.staffCode + id.computerId) + "')";
}

NotifyResult NotifyUpdate(DataAccess& access, const UpdateNotice& notice, int updateRunFlag) {
    NotifyResult result;
    for (bool red : {true, false}) {
        const std::string& historyNo = red ? notice.oldHistoryNo : notice.newHistoryNo;
        if (ValInteger(historyNo) == 0) continue;
        std::string sql = UpdateNoticeSql(access.identity(), notice, red);
        bool ok = updateRunFlag == 1 ? access.ExecuteData(sql, true) : access.ExecuteConfig(sql);
        // A failed red row is not hidden by a black row that went through.
        if (!ok) {
            result.saveStatus = 3;
            result.saveMessage = "登録済です。登録できませんでした。";
        }
    }
    result.restartSession = updateRunFlag == 0;
    return result;
}

}  // namespace velmora
