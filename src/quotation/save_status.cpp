#include "quotation/save_status.h"

namespace velmora {

void SetSaveStatus(Quotation& quotation, int status) {
    quotation.SaveStatus = status;
    switch (status) {
        case kStatusInsertFailed: quotation.SaveMessage = kInsertFailedMessage; break;
        case kStatusDeleteFailed: quotation.SaveMessage = kDeleteFailedMessage; break;
        case kStatusLinkFailed: quotation.SaveMessage = kLinkFailedMessage; break;
        case kStatusChangedMeanwhile: quotation.SaveMessage = kChangedMeanwhileMessage; break;
        default: quotation.SaveMessage.clear(); break;
    }
}

std::string UnconfirmedMessage(std::string_view action) {
    const std::string verb(action);
    return "サーバーとの接続が切れたため、" + verb + "できたかどうか確認できませんでした。接続を確認してから再度" + verb +
           "してください（" + verb + "済みであれば、二重に" + verb + "することはありません）。";
}

std::string DatabaseFaultMessage(DbFault fault, std::string_view action) {
    const std::string verb(action);
    auto text = [&](const std::string& reason, const std::string& advice) {
        return reason + "ため" + verb + "できませんでした。" + advice + "再度" + verb + "してください。";
    };
    switch (fault) {
        case DbFault::Busy:
            return text("他のプログラムがデータベースを更新中の", "しばらく待ってから");
        case DbFault::Full:
            return text("ディスクの空き容量が不足している", "空き容量を確保してから");
        case DbFault::ReadOnly:
            return text("データベースのファイルに書き込めない", "ファイルの書込み権限を確認してから");
        case DbFault::DiskError:
            return text("ディスクの読み書きに失敗した", "ディスクを確認してから");
        case DbFault::ConnectionLost:
            return "データベースが使用できません。" + text("サーバーとの接続が切れた", "接続を確認してから");
        default:
            return "データベースが使用できません。" + verb + "できませんでした。システム管理者に連絡してください。";
    }
}

bool Outcome(Quotation& quotation, bool ok, int success, int failure) {
    SetSaveStatus(quotation, ok ? success : failure);
    return ok;
}

}  // namespace velmora
