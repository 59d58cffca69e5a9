#include "linking/link_messages.h"

#include "data/sql_text.h"

namespace velmora {

namespace {

std::string insertMessage(DataAccess& access, const std::string& sender, const std::string& receiver,
                          const std::string& kind, const std::string& startInfo, const std::string& endInfo) {
    const LogIdentity& id = access.identity();
    std::string now = "'" + access.NowText() + "'";
    return std::string("INSERT INTO プログラム連携情報 (") + "発信日時," + "発信プログラムID," + "受信プログラムID," +
           "受信期限," + "連携区分," + "起動連携情報," + "終了連携情報," + "運用事業所コード," + "起動担当者コード," +
           "ユーザID)" + "VALUES (" + now + ", '" + ExactLiteral(sender) + "', '" + ExactLiteral(receiver) + "', " +
           now + ", '" + kind + "', '" + ExactLiteral(startInfo) + "', '" + ExactLiteral(endInfo) + "', '" +
           QuoteSql(id.officeCode) + "', '" + QuoteSql(id.staffCode) + "', '" + QuoteSql(id.userId) + "')";
}

}  // namespace

void SendStartMessage(DataAccess& access, const std::string& sender, const std::string& receiver,
                      const std::string& startInfo) {
    RefreshStartStaffCode(access);
    access.ExecuteConfig(insertMessage(access, sender, receiver, "00", startInfo, ""));
    access.ReopenConfigConnection();
}

bool TakeStartMessage(DataAccess& access, LinkingState& state, const std::string& commandLine,
                      const std::string& limit) {
    state.sender.clear();
    std::string info = TrimBlanks(commandLine);
    std::unique_ptr<Recordset> rs;
    if (!access.OpenConfigRecordset(rs, std::string("SELECT * FROM プログラム連携情報") + " WHERE 発信日時 >= '" +
                                            limit + "'" + " AND 受信プログラムID = '" +
                                            access.identity().programId + "'" + " AND 起動連携情報 = '" +
                                            ExactLiteral(info) + "'" + " AND 連携区分 = '00'"))
        return false;
    state.sender = rs->text("発信プログラムID");
    state.startInfo = rs->text("起動連携情報");
    access.ExecuteConfig(std::string("DELETE FROM プログラム連携情報") + " WHERE 発信日時 = '" +
                         rs->text("発信日時") + "'" + " AND 発信プログラムID = '" + ExactLiteral(state.sender) +
                         "'" + " AND 受信プログラムID = '" + ExactLiteral(rs->text("受信プログラムID")) + "'" +
                         " AND 連携区分 = '00'");
    return state.StartTaken();
}

void SendReply(DataAccess& access, const LinkingState& state) {
    if (!state.StartTaken()) return;
    RefreshStartStaffCode(access);
    access.ExecuteConfig(
        insertMessage(access, state.sender, access.identity().programId, "99", state.startInfo, state.endInfo));
    access.ReopenConfigConnection();
}

std::string TakeReply(DataAccess& access, const std::string& receiver, const std::string& startInfo,
                      const std::string& limit, std::string& endInfo) {
    std::unique_ptr<Recordset> rs;
    const std::string& self = access.identity().programId;
    if (!access.OpenConfigRecordset(rs, std::string("SELECT * FROM プログラム連携情報") + " WHERE 発信日時 >= '" +
                                            limit + "'" + " AND 発信プログラムID = '" + self + "'" +
                                            " AND 受信プログラムID = '" + ExactLiteral(receiver) + "'" +
                                            " AND 起動連携情報 = '" + ExactLiteral(startInfo) + "'" +
                                            " AND 連携区分 = '99'"))
        return {};
    std::string result = rs->text("起動連携情報");
    endInfo = rs->text("終了連携情報");
    access.ExecuteConfig(std::string("DELETE FROM プログラム連携情報") + " WHERE 発信日時 = '" + rs->text("発信日時") +
                         "'" + " AND 発信プログラムID = '" + self + "'" + " AND 受信プログラムID = '" +
                         ExactLiteral(receiver) + "'" + " AND 起動連携情報 = '" + ExactLiteral(startInfo) + "'" +
                         " AND 連携区分 = '99'");
    return result;
}

}  // namespace velmora
