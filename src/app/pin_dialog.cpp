#include "app/pin_dialog.h"

#include <algorithm>

#include "app/environment.h"
#include "app/sign_in.h"
#include "data/sql_text.h"
#include "text/code_pattern.h"
#include "text/utf8.h"

namespace velmora {

namespace {

std::string upperAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
    return s;
}

}  // namespace

PinDialog::PinDialog(DataAccess& access, Session& session, const Cipher* cipher)
    : m_access(access), m_session(session), m_cipher(cipher) {}

// Staff who are employed, or who leave after today, of the current office or
// of the whole company.
bool PinDialog::readActiveStaff(const std::string& where) {
    std::unique_ptr<Recordset> rs;
    std::string sql = std::string("SELECT M担当者.*") + " FROM M担当者" + " WHERE " + where +
                      " AND (M担当者.在籍区分 = '0'" +
                      " OR (M担当者.在籍区分 = '1' AND M担当者.退社日付 <>'' AND M担当者.退社日付 > '" +
                      m_session.today + "'))" + " AND (M担当者.事業所コード = '" + m_session.currentOfficeCode +
                      "' OR M担当者.事業所コード = '" + "000" + "')";
    if (!m_access.OpenDataRecordset(rs, sql)) return false;
    m_code = rs->text("コード");
    m_view->SetCode(m_code);
    m_view->SetName(rs->text("氏名"));
    m_staffPin = DecipherPin(m_access, m_cipher, rs->text("暗証番号"), "M担当者.暗証番号 " + m_code);
    for (int c = 0; c < kCategoryPermissions; ++c) {
        std::string column = "処理分類" + std::to_string(c) + "操作許可";
        m_session.permissions[static_cast<size_t>(c)] = rs->isNull(column) ? "0" : rs->text(column);
    }
    return true;
}

// The log rows of the run carry the start-up staff code as it stands, also
// while nobody is signed in.
void PinDialog::setStartStaff(const std::string& code) {
    m_session.StartStaffCode = code;
    m_access.identity().staffCode = code;
}

void PinDialog::Load(PinDialogView& view) {
    m_view = &view;
    m_closed = false;
    view.SetCaption(m_session.programId + "/暗証確認");
    view.SetCode("");
    view.SetName("");
    view.SetPin("");
    m_code.clear();
    m_staffPin.clear();
    setStartStaff("");
    if (!m_session.userId.empty() &&
        readActiveStaff("M担当者.ログインID = '" + QuoteSql(m_session.userId) + "'")) {
        view.SetCodeEditable(false);
        view.FocusPin();
    } else {
        view.SetCodeEditable(true);
        view.FocusCode();
    }
}

void PinDialog::CodeLeft(const std::string& typed) {
    std::string code = TrimBlanks(typed);
    if (!code.empty()) code = FormatCode(code, "00000");
    m_staffPin.clear();
    if (code.empty() || !readActiveStaff("M担当者.コード = '" + QuoteSql(code) + "'")) {
        m_code.clear();
        m_view->SetCode("");
        m_view->SetName("");
    }
}

void PinDialog::Ok(const std::string& typedPin) {
    std::string pin = upperAscii(typedPin);
    if (CharCount(pin) < 4) {
        setStartStaff("");
        m_session.SignInGranted = false;
        m_view->ShowMessage("暗証番号を入力してください。");
        m_view->FocusPin();
        return;
    }
    bool privileged = !m_session.privilegePin.empty() && pin == m_session.privilegePin;
    bool own = !m_staffPin.empty() && !m_code.empty() && pin == m_staffPin;
    if (!privileged && !own) {
        setStartStaff("");
        m_session.SignInGranted = false;
        m_view->ShowMessage("暗証番号が違います。");
        m_view->FocusPin();
        return;
    }
    setStartStaff(m_code);
    m_session.SignInGranted = true;
    if (!TrimBlanks(m_code).empty()) {
        if (m_access.ExecuteConfigLogged(std::string("UPDATE 動作環境定義 SET ") + "起動担当者コード = '" + m_code +
                                         "' " + " WHERE 動作環境定義ID = '001'")) {
            ReadStaff(m_access, m_session, m_code);
        } else {
            m_view->ShowMessage("データベースに問題が発生し修正できませんでした。");
        }
    }
    m_closed = true;
    m_view->Close();
}

void PinDialog::Cancel() {
    m_session.SignInGranted = false;
    m_closed = true;
    if (m_view) m_view->Close();
}

}  // namespace velmora
