#include "linking/clipboard.h"

#include "data/sql_text.h"
#include "linking/linking_state.h"

namespace velmora {

void CopyToClipboard(DataAccess& access, const ClipboardRow& row) {
    RefreshStartStaffCode(access);
    const LogIdentity& id = access.identity();
    std::string values;
    for (const std::string* v : {&row.pasteProgram, &row.sequence, &row.kind, &row.numberId, &row.officeCode,
                                 &row.baseDate, &row.number, &row.uniqueLineNo, &row.extra, &row.baseKind,
                                 &row.baseCode, &row.baseLineCode, &row.baseExtra, &id.officeCode, &id.staffCode,
                                 &id.userId}) {
        values += ", '" + ExactLiteral(*v) + "'";
    }
    access.ExecuteConfig(std::string("INSERT INTO プログラムクリップボード明細 (") + "貼付日時," + "貼付プログラムID," +
                         "貼付連番," + "貼付情報区分," + "伝票番号ID," + "伝票事業所コード," + "伝票番号基準日付," +
                         "伝票No," + "伝票固有行No," + "伝票付加情報," + "基本情報区分," + "基本情報コード," +
                         "基本情報明細コード," + "基本付加情報," + "運用事業所コード," + "起動担当者コード," +
                         "ユーザID)" + "VALUES ('" + access.NowText() + "'" + values + ")");
    access.ReopenConfigConnection();
}

bool ClipboardSource(DataAccess& access, const std::string& pasteProgram, const std::string& numberId,
                     ClipboardOrigin& origin) {
    std::unique_ptr<Recordset> rs;
    if (!access.OpenConfigRecordset(rs, std::string("SELECT * FROM プログラムクリップボード明細") +
                                            " WHERE 貼付プログラムID = '" + ExactLiteral(pasteProgram) + "'" +
                                            " AND 貼付情報区分 = '1'" + " AND 伝票番号ID = '" + numberId + "'" +
                                            // A copy made within this very second counts too.
                                            " AND 貼付日時 <= '" + access.NowText() + "'" + " ORDER BY 貼付日時 DESC"))
        return false;
    origin.officeCode = rs->text("伝票事業所コード");
    origin.baseDate = rs->text("伝票番号基準日付");
    origin.number = rs->text("伝票No");
    origin.extra = rs->text("伝票付加情報");
    return true;
}

void ClearClipboard(DataAccess& access, const std::string& pasteProgram) {
    access.ExecuteConfig(std::string("DELETE FROM プログラムクリップボード明細") + " WHERE 貼付プログラムID = '" +
                         ExactLiteral(pasteProgram) + "'" + " AND ユーザID = '" + QuoteSql(access.identity().userId) +
                         "'");
    access.ReopenConfigConnection();
}

}  // namespace velmora
