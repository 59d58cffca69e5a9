#include "app/environment.h"

#include <cstdio>

#include "data/sql_text.h"
#include "platform/cipher.h"

namespace velmora {

namespace {

const char* const kCompanyTextColumns[] = {
    "ID", "名称", "郵便番号", "住所A", "住所B", "住所C", "代表者名", "電話", "FAX", "HOMEPAGE", "EMAIL",
    "会社ロゴfile", "社印file", "銀行口座A", "銀行口座B", "銀行口座C", "銀行口座D", "写真フォルダ",
    "ドキュメントフォルダ", "総合振込ファイル", "基本読込フォルダ", "帳票イメージフォルダ", "その他読込ファイル",
    "本支店連携フォルダ", "テキスト出力フォルダ", "BACKUPフォルダ", "明細整理実行日", "統計整理実行日", "登録日付",
    "更新日付"};

const char* const kOfficeTextColumns[] = {
    "コード", "名称", "郵便番号", "住所A", "住所B", "住所C", "代表者名", "電話", "FAX", "登録番号", "HOMEPAGE",
    "EMAIL", "銀行口座A", "銀行口座B", "銀行口座C", "銀行口座D", "総合振込ファイル", "基本読込フォルダ",
    "帳票イメージフォルダ", "その他読込ファイル", "本支店連携フォルダ", "テキスト出力フォルダ", "BACKUPフォルダ",
    "地区コード"};

// Office settings that replace the company's when the office has them.
const char* const kOfficeFolderColumns[] = {"総合振込ファイル", "基本読込フォルダ", "帳票イメージフォルダ",
                                            "その他読込ファイル", "本支店連携フォルダ", "テキスト出力フォルダ",
                                            "BACKUPフォルダ"};

const char* const kOtherBusinessColumns[] = {
    "コード", "業務名", "連携有無区分", "連携DB", "連携DBMW", "連携データソース名", "連携ドライバ名", "連携接続文字列",
    "連携データベース名", "連携サーバー名", "連携ユーザーID", "連携パスワード", "連携アプリフォルダ",
    "顧客更新有無区分", "得意先更新有無区分", "納品先更新有無区分", "仕入先更新有無区分", "メーカ更新有無区分",
    "対応先更新有無区分", "商品更新有無区分", "社員更新有無区分"};

template <size_t N>
void readTexts(const Recordset& rs, const char* const (&columns)[N], TextColumns& into) {
    for (const char* column : columns)
        if (!rs.isNull(column)) into[column] = rs.text(column);
}

}  // namespace

std::string DecipherPin(DataAccess& access, const Cipher* cipher, const std::string& stored, const std::string& what) {
    if (stored.empty()) return {};
    std::optional<std::string> plain = cipher ? cipher->Decipher(stored) : std::nullopt;
    if (plain) return *plain;
    access.WriteErrorLog("暗証番号を復号できません " + what);
    return {};
}

bool LoadCompanyAndOffices(DataAccess& access, Session& session, const Cipher* cipher) {
    std::unique_ptr<Recordset> rs;
    if (!access.OpenDataRecordset(rs, "SELECT * FROM Mユーザ WHERE ID = '0001'")) return false;
    ReadCompanySettings(*rs, session.company);
    readTexts(*rs, kCompanyTextColumns, session.companyTexts);
    session.companyPrivilegePin = DecipherPin(access, cipher, rs->text("特権暗証番号"), "Mユーザ.特権暗証番号");
    session.companySystemPrivilegePin =
        DecipherPin(access, cipher, rs->text("システム特権暗証番号"), "Mユーザ.システム特権暗証番号");
    session.SignInMode = session.company.暗証番号有無;
    session.UpdateRunFlag = session.company.更新実行区分;
    rs->close();

    if (!access.OpenDataRecordset(rs, "SELECT * FROM M事業所 WHERE コード = '" + session.運用事業所コード + "'")) {
        access.OpenDataRecordset(rs, "SELECT * FROM M事業所 WHERE コード = '000'");
        session.運用事業所コード = "000";
        access.identity().officeCode = "000";
        session.currentOfficeCode = "000";
        access.ExecuteConfigLogged(std::string("UPDATE 動作環境定義 SET ") + " 運用事業所コード = '" +
                                   session.運用事業所コード + "'" + " WHERE 動作環境定義ID = '001'");
    }
    std::unique_ptr<Recordset> office = std::move(rs);

    for (const char* code : {"003", "002", "004", "005"}) {
        std::unique_ptr<Recordset> link;
        if (access.OpenDataRecordset(link, std::string("SELECT * FROM M他業務連携 WHERE コード = '") + code + "'"))
            readTexts(*link, kOtherBusinessColumns, session.otherBusiness[code]);
    }

    if (!office->eof()) {
        readTexts(*office, kOfficeTextColumns, session.officeTexts);
        session.officeName = ColumnText(session.officeTexts, "名称");
        session.privilegePin = DecipherPin(access, cipher, office->text("特権暗証番号"), "M事業所.特権暗証番号");
        if (session.運用事業所コード != "000") {
            // A branch office decides for itself; its empty setting counts as 0.
            session.SignInMode = office->code("暗証番号有無");
            session.UpdateRunFlag = office->code("更新実行区分");
            for (const char* column : kOfficeFolderColumns) {
                std::string value = ColumnText(session.officeTexts, column);
                if (!value.empty()) session.companyTexts[column] = value;
            }
        }
    }

    std::unique_ptr<Recordset> count;
    session.事業所件数 = 0;
    if (access.OpenDataRecordset(count, "SELECT COUNT(*) AS 事業所件数 FROM M事業所 WHERE コード <> '000'"))
        session.事業所件数 = static_cast<int>(count->integer("事業所件数"));
    return true;
}

std::string EraDate(DataAccess& access, const std::string& date) {
    std::string year = date.substr(0, 4);
    std::string month = date.size() >= 6 ? date.substr(4, 2) : "";
    std::string day = date.size() >= 8 ? date.substr(6, 2) : "";
    std::unique_ptr<Recordset> rs;
    if (!access.OpenDataRecordset(rs, std::string("SELECT TOP 1 *") + " FROM" + " K年号区分" + " WHERE 開始日付 <= '" +
                                          date + "'" + " ORDER BY 開始日付 DESC"))
        return {};
    std::string start = rs->text("開始日付");
    if (start.empty()) return year + "年" + month + "月" + day + "日";
    long long eraYear = ValInteger(year) - ValInteger(start.substr(0, 4)) + 1;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02lld", eraYear);
    return rs->text("名称") + buffer + "年" + month + "月" + day + "日";
}

bool RegisterConditionItems(DataAccess& access, const std::string& menu, const std::string& programId,
                            const std::array<std::string, 26>& names) {
    std::string sql = "UPDATE " + menu + " SET ";
    for (int i = 0; i < 26; ++i) {
        sql += std::string(" 条件項目名") + static_cast<char>('A' + i) + " = '" + QuoteSql(names[static_cast<size_t>(i)]) +
               "'";
        if (i < 25) sql += ",";
    }
    sql += " WHERE プログラムID = '" + programId + "'";
    return access.ExecuteConfig(sql);
}

std::string SetTitlePanel(DataAccess& access, const Session& session) {
    std::string officeName;
    std::unique_ptr<Recordset> rs;
    if (access.OpenDataRecordset(rs, "SELECT * FROM M事業所 WHERE コード = '" + session.運用事業所コード + "'"))
        officeName = rs->text("名称");
    std::string caption = session.programId;
    if (session.運用事業所コード != "000" && !TrimBlanks(officeName).empty()) caption += "(" + officeName + ")";
    else if (session.運用事業所コード == "000" && session.事業所件数 > 0) caption += "(全社)";
    if (!TrimBlanks(session.StartStaffCode).empty() && !session.staff.氏名.empty())
        caption += "「" + session.staff.氏名 + "」";
    return caption;
}

}  // namespace velmora
