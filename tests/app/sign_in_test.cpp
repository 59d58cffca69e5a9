#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/environment.h"
#include "app/sign_in.h"
#include "app_fixture.h"

namespace velmora {
namespace {

using test::Engine;

class SignInTest : public test::InstallationTest {
protected:
    // Starts a program up to the permission check (which the test runs itself).
    std::unique_ptr<Program> started() {
        auto p = std::make_unique<Program>(m_inst->environment(), m_host);
        EXPECT_TRUE(p->CheckDatabases());
        EXPECT_TRUE(p->LoadUserInfo());
        return p;
    }
    PermissionResult check(Program& p) {
        return CheckPermission(p.access(), p.session(), m_host, p.cipher(), "Velmora", "Carnelo", 0);
    }
};

TEST_P(SignInTest, WithoutPinSignInAForbiddingCategoryStillRuns) {
    m_inst->business("UPDATE M担当者 SET 処理分類1操作許可 = '1' WHERE コード = '00012'");
    auto p = started();
    EXPECT_EQ(check(*p), PermissionResult::Allowed);
    EXPECT_FALSE(p->session().SignInGranted);
    EXPECT_EQ(m_host.pinDialogs, 0);
}

TEST_P(SignInTest, AnAllowingProgramRowNeedsNoDialog) {
    m_inst->business("UPDATE M事業所 SET 暗証番号有無 = '1' WHERE コード = '001'");
    m_inst->business("UPDATE M担当者 SET 処理分類1操作許可 = '1' WHERE コード = '00012'");
    m_inst->config("INSERT INTO 担当者別操作許可プログラム (担当者コード, 業務メニュ, プログラムID, 操作許可, 修正許可) "
                   "VALUES ('00012', 'Carnelo', 'Velmora', '0', '1')");
    auto p = started();
    EXPECT_EQ(check(*p), PermissionResult::Allowed);
    EXPECT_TRUE(p->session().SignInGranted);
    EXPECT_EQ(m_host.pinDialogs, 0);
    EXPECT_FALSE(CheckOperationPermission(p->access(), p->session(), "Carnelo", "Velmora", 2)) << "change forbidden";
    EXPECT_TRUE(CheckOperationPermission(p->access(), p->session(), "Carnelo", "Velmora", 1));
}

TEST_P(SignInTest, TheCategoryDecidesWithoutAProgramRow) {
    auto p = started();
    Session& s = p->session();
    auto allowed = [&] { return CheckOperationPermission(p->access(), s, "Carnelo", "Velmora", 0); };
    EXPECT_TRUE(allowed());
    s.permissions[1] = "2";
    EXPECT_FALSE(allowed());
    m_inst->config("UPDATE Carnelo SET 処理分類 = '3'");
    s.permissions[3] = "0";
    EXPECT_TRUE(allowed()) << "category 3 from a branch office";
    s.運用事業所コード = "000";
    EXPECT_FALSE(allowed()) << "category 3 is closed to the head office when there are branches";
    s.事業所件数 = 0;
    EXPECT_TRUE(allowed()) << "a company without branches";
    m_inst->config("UPDATE Carnelo SET 処理分類 = '12'");
    s.permissions[kCategoryPermissions] = "1";
    EXPECT_FALSE(allowed()) << "an unknown category leaves the run permission to decide";
    m_inst->config("DELETE FROM Carnelo");
    s.permissions[kCategoryPermissions] = "0";
    EXPECT_FALSE(allowed()) << "a program missing from the menu";
}

// Answers the dialog step by step: a code typed (none when empty), then a PIN; "cancel" cancels it.
std::function<void(PinDialog&)> PinScript(std::vector<std::pair<std::string, std::string>> steps) {
    return [steps](PinDialog& dialog) {
        for (const auto& [code, pin] : steps) {
            if (code == "cancel") return dialog.Cancel();
            if (!code.empty()) dialog.CodeLeft(code);
            dialog.Ok(pin);
            if (dialog.closed()) return;
        }
        dialog.Cancel();
    };
}

TEST_P(SignInTest, ThePinDialogChecksLengthCaseAndPinAndStoresTheStaffCode) {
    m_inst->business("UPDATE M事業所 SET 暗証番号有無 = '1' WHERE コード = '001'");
    m_inst->config("UPDATE 動作環境定義 SET 起動担当者コード = ''");
    m_host.pinScript = PinScript({{"13", "12"}, {"", "8888"}, {"", "7777"}});
    auto p = started();
    p->session().userId = "nobody";
    EXPECT_EQ(check(*p), PermissionResult::SignedInNotAllowed) << "signed in, but category 1 forbids";
    EXPECT_EQ(m_host.messages, (std::vector<std::string>{"暗証番号を入力してください。", "暗証番号が違います。"}));
    EXPECT_EQ(p->session().StartStaffCode + " " + p->session().staff.氏名, "00013 鈴木 花子");
    EXPECT_EQ(m_inst->countConfig("動作環境定義 WHERE 起動担当者コード = '00013'"), 1);
}

TEST_P(SignInTest, ALowerCasePinMatchesAndTheLoginIdFillsTheCode) {
    m_inst->business("UPDATE M事業所 SET 暗証番号有無 = '1' WHERE コード = '001'");
    m_inst->business("UPDATE M担当者 SET 処理分類1操作許可 = '9' WHERE コード = '00012'");
    m_host.pinScript = [](PinDialog& d) {
        EXPECT_EQ(d.code(), "00012") << "the user's login ID names the staff member";
        d.Ok("ab12");
    };
    auto p = started();
    EXPECT_EQ(check(*p), PermissionResult::SignedInNotAllowed);
    EXPECT_TRUE(p->session().SignInGranted);
}

// The office's privilege PIN signs in anyone; without a staff code nobody is
// stored as the starting staff member.
TEST_P(SignInTest, ThePrivilegePinSignsInWithOrWithoutAStaffCode) {
    m_inst->business("UPDATE M事業所 SET 暗証番号有無 = '1', 特権暗証番号 = '" + m_inst->encipher("MASTER1") +
                     "' WHERE コード = '001'");
    m_inst->business("UPDATE M担当者 SET 処理分類1操作許可 = '9' WHERE コード = '00012'");
    m_inst->business("UPDATE M担当者 SET 処理分類1操作許可 = '0' WHERE コード = '00013'");
    m_host.pinScript = PinScript({{"13", "master1"}, {"cancel", ""}});
    auto p = started();
    EXPECT_EQ(check(*p), PermissionResult::Allowed);
    EXPECT_EQ(p->session().StartStaffCode, "00013");

    m_inst->config("UPDATE 動作環境定義 SET 起動担当者コード = ''");
    m_host.pinScript = [](PinDialog& d) {
        EXPECT_EQ(d.code(), "");
        d.Ok("master1");
        EXPECT_TRUE(d.closed());
    };
    auto nobody = started();
    nobody->session().userId = "nobody";
    check(*nobody);
    EXPECT_TRUE(nobody->session().SignInGranted);
    EXPECT_EQ(nobody->session().StartStaffCode, "");
    EXPECT_EQ(m_inst->countConfig("動作環境定義 WHERE 起動担当者コード = ''"), 1);
}

TEST_P(SignInTest, StaffWhoLeaveTodayCannotSignInButThoseLeavingTomorrowCan) {
    m_inst->business("UPDATE M事業所 SET 暗証番号有無 = '1' WHERE コード = '001'");
    m_inst->business("UPDATE M担当者 SET 処理分類1操作許可 = '9' WHERE コード = '00012'");
    auto p = started();
    p->session().userId = "nobody";
    p->session().currentOfficeCode = "002";
    test::RecordingPinView view;
    PinDialog dialog(p->access(), p->session(), p->cipher());
    dialog.Load(view);
    EXPECT_TRUE(view.codeEditable);
    EXPECT_EQ(view.caption, "Velmora/暗証確認");
    dialog.CodeLeft("14");
    EXPECT_EQ(view.code, "") << "leaves today";
    dialog.Ok("5555");
    EXPECT_FALSE(dialog.closed());
    m_inst->business("UPDATE M担当者 SET 退社日付 = '20261207' WHERE コード = '00014'");
    dialog.CodeLeft("14");
    EXPECT_EQ(view.code, "00014") << "head-office staff are found from any office";
    dialog.CodeLeft("15");
    EXPECT_EQ(view.name, "田中 誠");
    dialog.Ok("6666");
    EXPECT_TRUE(dialog.closed()) << "leaves tomorrow";
    EXPECT_TRUE(p->session().SignInGranted);

    p->session().currentOfficeCode = "001";
    PinDialog other(p->access(), p->session(), p->cipher());
    test::RecordingPinView otherView;
    other.Load(otherView);
    other.CodeLeft("15");
    EXPECT_EQ(otherView.code, "") << "staff of another branch are not found";
    other.Cancel();
    EXPECT_FALSE(p->session().SignInGranted);
}

TEST_P(SignInTest, AnUndecipherablePinNeverMatchesAndLeavesAnErrorRow) {
    m_inst->business("UPDATE M担当者 SET 暗証番号 = '7777' WHERE コード = '00013'");
    auto p = started();
    p->session().userId = "nobody";
    test::RecordingPinView view;
    PinDialog dialog(p->access(), p->session(), p->cipher());
    dialog.Load(view);
    dialog.CodeLeft("13");
    dialog.Ok("7777");
    EXPECT_FALSE(dialog.closed());
    EXPECT_EQ(m_inst->countConfig("プログラム稼動履歴 WHERE 摘要 LIKE 'エラー %00013'"), 1);
}

TEST_P(SignInTest, EraDatesCountFromTheEraStart) {
    auto p = started();
    std::vector<std::string> dates;
    for (const char* date : {"20190501", "20190430", "20261206", "19800101"})
        dates.push_back(EraDate(p->access(), date));
    EXPECT_EQ(dates, (std::vector<std::string>{"令和01年05月01日", "平成31年04月30日", "令和08年12月06日", ""}));
}

INSTANTIATE_TEST_SUITE_P(Engines, SignInTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), test::EngineName);

// Whether the program ends after a save, starts a new quotation, and fills it from the line.
std::string flags(const CommandLine& line) {
    return std::string("exit:") + (line.exitAfterSave ? "1" : "0") + " new:" + (line.newEntry ? "1" : "0") +
           " create:" + (line.createFromCommand ? "1" : "0");
}

TEST(CommandLine, BlankAndShortLines) {
    EXPECT_EQ(flags(ParseCommandLine("   ")), "exit:0 new:1 create:0");
    CommandLine office = ParseCommandLine("001");
    EXPECT_EQ(flags(office), "exit:1 new:1 create:0");
    EXPECT_EQ(office.document.officeCode + "|" + office.document.baseDate, "001|");
}

TEST(CommandLine, LayoutANamesAQuotation) {
    CommandLine line = ParseCommandLine("0012024040100000012");
    EXPECT_EQ(flags(line), "exit:1 new:0 create:0");
    EXPECT_EQ(line.document.officeCode + " " + line.document.baseDate + " " + line.document.number,
              "001 20240401 00000012");
}

TEST(CommandLine, LayoutBCarriesPresets) {
    std::string text = "001" + std::string("00000000") + "00000000" + std::string(38, ' ') + "00101" + "1" + "000123" +
                       "00001" + "山田 太郎 様";
    CommandLine line = ParseCommandLine(text);
    EXPECT_EQ(flags(line), "exit:1 new:1 create:1");
    EXPECT_FALSE(line.reference.Given());
    EXPECT_FALSE(line.inquiry.Given());
    EXPECT_EQ((std::vector<std::string>{line.staffCode, line.partnerKind, line.partnerCode, line.contactCode,
                                        line.contactName}),
              (std::vector<std::string>{"00101", "1", "000123", "00001", "山田 太郎 様"}));

    CommandLine copy = ParseCommandLine("0010000000000000000" + std::string("002") + "20240401" + "00000077");
    EXPECT_TRUE(copy.reference.Given());
    EXPECT_EQ(copy.reference.number + "|" + copy.staffCode, "00000077|");
    CommandLine zeroKey = ParseCommandLine("0010000000000000000" + std::string("002") + "00000000" + "00000077");
    EXPECT_FALSE(zeroKey.reference.Given());
}

}  // namespace
}  // namespace velmora
