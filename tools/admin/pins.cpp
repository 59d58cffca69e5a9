#include "admin/pins.h"

#include <algorithm>
#include <memory>

#include "app/installation.h"
#include "app/session.h"
#include "data/connection.h"
#include "data/connection_string.h"
#include "data/sql_text.h"
#include "platform/cipher.h"
#include "text/code_pattern.h"
#include "text/utf8.h"

namespace velmora {

namespace {

bool readDefinition(Connection& config, DatabaseDefinition& def, std::string& message) {
    DbError error;
    auto rs = config.query("SELECT * FROM データベース定義 WHERE 情報種類 = 'GNR'", error);
    if (!rs || rs->eof()) {
        message = "the configuration database names no business database";
        return false;
    }
    def.db = rs->text("db");
    def.provider = TrimBlanks(rs->text("プロバイダ名"));
    def.dataSource = TrimBlanks(rs->text("データソース名"));
    def.serverName = TrimBlanks(rs->text("サーバー名"));
    def.databaseName = TrimBlanks(rs->text("データベース名"));
    def.userId = TrimBlanks(rs->text("ユーザーID"));
    def.password = TrimBlanks(rs->text("パスワード"));
    return true;
}

}  // namespace

bool SetPin(const PinRequest& request, std::string& message) {
    std::string pin = request.pin;
    std::transform(pin.begin(), pin.end(), pin.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
    if (CharCount(pin) < 4) {
        message = "a PIN has at least 4 characters";
        return false;
    }
    std::filesystem::path conf = request.root / "conf";
    auto cipher = Cipher::FromKeyFile((conf / "cipher.key").string());
    if (!cipher) {
        message = "no cipher key in " + conf.string();
        return false;
    }
    DbError error;
    auto config = OpenConnection(ConfigConnectionString(1, (conf / "usrcnfg.accdb").string()), error);
    if (!config) {
        message = "cannot open the configuration database: " + error.description;
        return false;
    }
    DatabaseDefinition def;
    if (!readDefinition(*config, def, message)) return false;
    auto business = OpenConnection(DataConnectionString(def), error);
    if (!business) {
        message = "cannot open the business database: " + error.description;
        return false;
    }

    std::string stored = cipher->Encipher(pin);
    std::string table, column, where, what;
    switch (request.holder) {
        case PinHolder::Staff:
            table = "M担当者";
            column = "暗証番号";
            where = "コード = '" + QuoteSql(FormatCode(request.code, "00000")) + "'";
            what = "staff " + FormatCode(request.code, "00000");
            break;
        case PinHolder::Office:
            table = "M事業所";
            column = "特権暗証番号";
            where = "コード = '" + QuoteSql(FormatCode(request.code, "000")) + "'";
            what = "office " + FormatCode(request.code, "000");
            break;
        case PinHolder::Company:
        case PinHolder::System:
            table = "Mユーザ";
            column = request.holder == PinHolder::Company ? "特権暗証番号" : "システム特権暗証番号";
            where = "ID = '0001'";
            what = "the company";
            break;
    }
    auto found = business->query("SELECT COUNT(*) AS n FROM " + table + " WHERE " + where, error);
    if (!found || found->integer("n") != 1) {
        message = found ? "no " + what : error.description;
        return false;
    }
    if (!business->execute("UPDATE " + table + " SET " + column + " = '" + stored + "' WHERE " + where, error)) {
        message = "cannot store the PIN: " + error.description;
        return false;
    }
    message = "PIN set for " + what;
    return true;
}

}  // namespace velmora
