#include "app/sign_in.h"

#include "app/pin_dialog.h"
#include "data/sql_text.h"

namespace velmora {

namespace {

const char* const kProgramPermissionColumns[] = {"操作許可", "入力許可", "修正許可", "削除許可",
                                                 "印刷許可", "プレビュ許可", "テキスト出力許可", "イメージ出力許可"};

std::string menuCondition(const std::string& menu) {
    if (menu == "Carnelo" || menu == "Carneloデータ管理" || menu == "Carnelo補助機能" ||
        menu == "Carneloサービスメニュ")
        return " AND 担当者別操作許可プログラム.業務メニュ = '" + menu + "'";
    return {};
}

}  // namespace

bool PermissionAllows(const std::string& text) { return ValInteger(text) == 0; }

bool ReadStartStaffCode(DataAccess& access, Session& session) {
    session.StartStaffCode.clear();
    std::unique_ptr<Recordset> rs;
    if (access.OpenConfigRecordset(rs, std::string("SELECT *") + " FROM 動作環境定義" + " WHERE 動作環境定義ID = '001'") &&
        !rs->isNull("起動担当者コード"))
        session.StartStaffCode = rs->text("起動担当者コード");
    access.identity().staffCode = session.StartStaffCode;
    return !TrimBlanks(session.StartStaffCode).empty();
}

bool ReadStaff(DataAccess& access, Session& session, const std::string& code) {
    std::unique_ptr<Recordset> rs;
    if (!access.OpenDataRecordset(rs, std::string("SELECT M担当者.*") + " FROM M担当者" + " WHERE M担当者.コード = '" +
                                          QuoteSql(code) + "'"))
        return false;
    StaffRecord& s = session.staff;
    auto take = [&](const char* column, std::string& target) {
        if (!rs->isNull(column)) target = rs->text(column);
    };
    take("コード", session.StartStaffCode);
    s.コード = session.StartStaffCode;
    take("氏名", s.氏名);
    take("事業所コード", s.事業所コード);
    take("部門コード", s.部門コード);
    take("セクションコード", s.セクションコード);
    take("役職コード", s.役職コード);
    if (!rs->isNull("社員区分")) s.社員区分 = rs->code("社員区分");
    if (!rs->isNull("アクセス権限")) s.アクセス権限 = rs->code("アクセス権限");
    for (int c = 0; c < kCategoryPermissions; ++c)
        take(("処理分類" + std::to_string(c) + "操作許可").c_str(), session.permissions[static_cast<size_t>(c)]);
    for (size_t k = 0; k < 8; ++k) take(kProgramPermissionColumns[k], session.permissions[kCategoryPermissions + k]);
    access.identity().staffCode = session.StartStaffCode;
    return true;
}

bool CheckOperationPermission(DataAccess& access, Session& session, const std::string& menu,
                              const std::string& programId, int kind) {
    bool result = false;
    bool fromProgramRow = false;
    std::unique_ptr<Recordset> rs;
    if (!session.StartStaffCode.empty() &&
        access.OpenConfigRecordset(rs, std::string("SELECT 担当者別操作許可プログラム.*") +
                                           " FROM 担当者別操作許可プログラム" +
                                           " WHERE 担当者別操作許可プログラム.担当者コード = '" +
                                           QuoteSql(session.StartStaffCode) + "'" + menuCondition(menu) +
                                           " AND 担当者別操作許可プログラム.プログラムID = '" + programId + "'")) {
        for (size_t k = 0; k < 8; ++k)
            session.permissions[kCategoryPermissions + k] = rs->text(kProgramPermissionColumns[k]);
        result = PermissionAllows(session.permissions[kCategoryPermissions]);
        fromProgramRow = true;
    }
    if (!fromProgramRow) {
        std::unique_ptr<Recordset> program;
        if (!access.OpenConfigRecordset(program,
                                        "SELECT *" + std::string(" FROM ") + menu + " WHERE プログラムID = '" + programId + "'"))
            return false;
        result = true;
        int category = program->code("処理分類");
        if (category == 3) {
            if (session.事業所件数 > 0)
                result = session.運用事業所コード != "000" && PermissionAllows(session.permissions[3]);
        } else if (category >= 0 && category <= 9) {
            result = PermissionAllows(session.permissions[static_cast<size_t>(category)]);
        }
    }
    if (result && kind >= 0 && kind <= 7)
        result = PermissionAllows(session.permissions[kCategoryPermissions + static_cast<size_t>(kind)]);
    return result;
}

PermissionResult CheckPermission(DataAccess& access, Session& session, StartUpHost& host, const Cipher* cipher,
                                 const std::string& programId, const std::string& menu, int kind) {
    session.SignInGranted = false;
    if (ReadStartStaffCode(access, session) && ReadStaff(access, session, session.StartStaffCode) &&
        CheckOperationPermission(access, session, menu, programId, kind))
        session.SignInGranted = true;
    if (session.SignInMode != 1) return PermissionResult::Allowed;
    if (session.SignInGranted) return PermissionResult::Allowed;

    PinDialog dialog(access, session, cipher);
    host.RunPinDialog(dialog);
    if (!session.SignInGranted) return PermissionResult::Refused;
    return CheckOperationPermission(access, session, menu, programId, kind) ? PermissionResult::Allowed
                                                                            : PermissionResult::SignedInNotAllowed;
}

}  // namespace velmora
