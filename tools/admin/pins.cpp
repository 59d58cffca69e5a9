#include "admin/pins.h"

#include <algorithm>
#include <memory>

#include "app/installation.h"
#include "app/session.h"
#include "data/data_access.h"
#include "data/sql_text.h"
#include "platform/cipher.h"
#include "text/code_pattern.h"
#include "text/utf8.h"

namespace velmora {

bool SetPin(const PinRequest& request, std::string& message) {
    std::string pin = request.pin;
    std::transform(pin.begin(), pin.end(), pin.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
    if (CharCount(pin) < 4) {
        message = "a PIN has at least 4 characters";
        return false;
    }
    std::filesystem::path conf = request.root / "conf";
    std::string keyProblem;
    auto cipher = Cipher::FromKeyFile((conf / "cipher.key").string(), &keyProblem);
    if (!cipher) {
        message = "no usable cipher key: " + keyProblem;
        return false;
    }
    DataAccess access;
    access.identity().programId = "velmora-admin";
    DatabaseDefinition def;
    if (!OpenInstallationDatabases(access, request.root.string(), def, message)) return false;

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
    std::unique_ptr<Recordset> found;
    if (!access.OpenDataRecordset(found, "SELECT COUNT(*) AS n FROM " + table + " WHERE " + where) ||
        found->integer("n") != 1) {
        message = "no " + what;
        return false;
    }
    if (!access.ExecuteData("UPDATE " + table + " SET " + column + " = '" + stored + "' WHERE " + where)) {
        message = "cannot store the PIN";
        return false;
    }
    message = "PIN set for " + what;
    return true;
}

bool SetSignIn(const SignInRequest& request, std::string& message) {
    DataAccess access;
    access.identity().programId = "velmora-admin";
    DatabaseDefinition def;
    if (!OpenInstallationDatabases(access, request.root.string(), def, message)) return false;
    const std::string value = request.on ? "1" : "0";
    std::unique_ptr<Recordset> offices;
    access.OpenDataRecordset(offices, "SELECT COUNT(*) AS n FROM M事業所");
    DataTransaction transaction(access);
    if (!transaction.active() ||
        !access.ExecuteData("UPDATE Mユーザ SET 暗証番号有無 = " + value + " WHERE ID = '0001'") ||
        !access.ExecuteData("UPDATE M事業所 SET 暗証番号有無 = " + value) || !transaction.commit()) {
        message = "cannot change the sign-in setting; nothing was changed";
        return false;
    }
    message = std::string("PIN sign-in is ") + (request.on ? "on" : "off") + " for the company and its " +
              std::to_string(offices ? offices->integer("n") : 0) + " offices" +
              (request.on ? "; staff without a PIN cannot sign in (set-pin DIR --staff CODE PIN)" : "");
    return true;
}

}  // namespace velmora
