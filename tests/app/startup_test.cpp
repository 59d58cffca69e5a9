#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/installation.h"
#include "app_fixture.h"

namespace velmora {
namespace {

using test::Engine;

class StartUpTest : public test::InstallationTest {
protected:
    std::unique_ptr<Program> program(const std::string& commandLine = "") {
        return std::make_unique<Program>(m_inst->environment(commandLine), m_host);
    }
    std::vector<std::string> logTexts() {
        std::vector<std::string> texts;
        for (auto& row : m_inst->logRows()) texts.push_back(row.second);
        return texts;
    }
    // The sign-in mode, the update flag and the text output and backup folders in force.
    static std::string settings(Program& p) {
        const Session& s = p.session();
        return std::to_string(s.SignInMode) + " " + std::to_string(s.UpdateRunFlag) + " " +
               ColumnText(s.companyTexts, "テキスト出力フォルダ") + " " + ColumnText(s.companyTexts, "BACKUPフォルダ");
    }
};

TEST_P(StartUpTest, AGoodStartAndEndLeaveTheSuitesRows) {
    auto p = program("  001 ");
    ASSERT_TRUE(p->StartUp()) << (m_host.messages.empty() ? "" : m_host.messages[0]);
    EXPECT_TRUE(m_host.messages.empty());
    auto log = m_inst->logRows();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], (std::pair<std::string, std::string>{"000000000001", "開始 001"}));
    EXPECT_EQ(m_inst->countBusiness("使用状況 WHERE コンピュータID = 'PC-EIGYO01' AND ユーザID = 'sato' AND "
                                    "開始日時 = '20261206 093015' AND 終了日時 = '' AND プログラムID = 'Velmora'"),
              1);
    const Session& s = p->session();
    EXPECT_EQ((std::vector<std::string>{s.運用事業所コード, s.StartStaffCode, s.staff.氏名, s.company.名称,
                                        std::to_string(s.事業所件数), s.today, p->WindowCaption(), p->TitleCaption()}),
              (std::vector<std::string>{"001", "00012", "佐藤 一郎", "株式会社ベルモラ商事", "2", "20261206",
                                        "Velmora（株式会社ベルモラ商事）", "Velmora(東京営業所)「佐藤 一郎」"}));
    EXPECT_TRUE(s.ExitAfterSave);
    EXPECT_TRUE(s.NewEntry);
    EXPECT_EQ(m_inst->countConfig(
                  "Carnelo WHERE プログラムID = 'Velmora' AND 条件項目名A = '事業所コード' AND "
                  "条件項目名B = '番号基準日付' AND 条件項目名C = '営業見積No' AND 条件項目名Z = ''"),
              1)
        << "the condition item names are registered";

    m_inst->databases().clock().advance(std::chrono::seconds(3600));
    p->EndProgram();
    p->EndProgram();  // a second call changes nothing
    EXPECT_EQ(logTexts().back(), "終了");
    EXPECT_EQ(m_inst->countConfig("プログラム稼動履歴 WHERE 摘要 = '終了'"), 1);
    EXPECT_EQ(m_inst->countBusiness("使用状況 WHERE 開始日時 = '20261206 093015' AND 終了日時 = '20261206 103015'"), 1);
    EXPECT_FALSE(p->access().ConfigOpen());
    EXPECT_FALSE(p->access().DataOpen());
}

// A business database that cannot be opened, or of a kind not known, ends
// the start with its message, the error row and the end row.
TEST_P(StartUpTest, AnUnusableBusinessDatabaseEndsWithItsMessageAndTheEndRows) {
    for (const char* change : {"データソース名 = '/nonexistent/salesdb.accdb', データベース名 = 'no_such_db'", "db = 'O'"}) {
        SCOPED_TRACE(change);
        SetUp();
        m_inst->config(std::string("UPDATE データベース定義 SET ") + change);
        auto p = program();
        m_host.messages.clear();
        EXPECT_FALSE(p->StartUp());
        EXPECT_EQ(m_host.messages, std::vector<std::string>{"データベースが使用できません。"});
        auto texts = logTexts();
        ASSERT_EQ(texts.size(), 3u);
        texts[1].resize(std::min<size_t>(texts[1].size(), std::string("エラー DB_OPEN ERROR").size()));
        EXPECT_EQ(texts, (std::vector<std::string>{"開始 ", "エラー DB_OPEN ERROR", "終了"}));
        EXPECT_TRUE(p->ended());
    }
}

TEST_P(StartUpTest, AMissingCompanyRecordEndsWithItsMessage) {
    m_inst->business("DELETE FROM Mユーザ");
    auto p = program();
    EXPECT_FALSE(p->StartUp());
    EXPECT_EQ(m_host.messages, std::vector<std::string>{"ユーザ情報が使用できません。"});
    EXPECT_EQ(logTexts().back(), "終了");
    EXPECT_EQ(m_inst->countBusiness("使用状況 WHERE 終了日時 = '20261206 093015'"), 1);
}

TEST_P(StartUpTest, ACancelledSignInEndsWithoutPermission) {
    m_inst->business("UPDATE M事業所 SET 暗証番号有無 = '1' WHERE コード = '001'");
    m_inst->business("UPDATE M担当者 SET 処理分類1操作許可 = '1' WHERE コード = '00012'");
    auto p = program();
    EXPECT_FALSE(p->StartUp());
    EXPECT_EQ(m_host.pinDialogs, 1);
    EXPECT_EQ(m_host.messages, std::vector<std::string>{"操作権限がありません。"});
    EXPECT_EQ(logTexts().back(), "終了");
    EXPECT_EQ(m_inst->countConfig("プログラム稼動履歴 WHERE 摘要 = '終了' AND 起動担当者コード = ''"), 1)
        << "the dialog cleared the start-up staff code";
}

// An operating office not in the master, or none at all, is the head office;
// an unknown one is stored back as the head office.
TEST_P(StartUpTest, AnUnknownOrNullOperatingOfficeIsTheHeadOffice) {
    for (const auto& [office, storedBack] : {std::pair{"'009'", 1}, std::pair{"NULL", 0}}) {
        SCOPED_TRACE(office);
        SetUp();
        m_inst->config(std::string("UPDATE 動作環境定義 SET 運用事業所コード = ") + office);
        auto p = program();
        ASSERT_TRUE(p->StartUp());
        EXPECT_EQ(p->session().運用事業所コード, "000");
        EXPECT_EQ(m_inst->countConfig("動作環境定義 WHERE 運用事業所コード = '000'"), storedBack);
        EXPECT_EQ(p->TitleCaption(), "Velmora(全社)「佐藤 一郎」");
    }
}

// A branch office's sign-in mode, update flag and folders replace the
// company's, an empty setting counting as 0; the head office keeps the
// company's.
TEST_P(StartUpTest, ABranchOfficesSettingsReplaceTheCompanysAndTheHeadOfficeKeepsThem) {
    m_inst->business(
        "UPDATE Mユーザ SET 暗証番号有無 = '1', 更新実行区分 = '0', テキスト出力フォルダ = '/srv/all', "
        "BACKUPフォルダ = '/srv/backup'");
    m_inst->business(
        "UPDATE M事業所 SET 暗証番号有無 = NULL, 更新実行区分 = '1', テキスト出力フォルダ = '/srv/tokyo' "
        "WHERE コード = '001'");
    m_inst->business("UPDATE M事業所 SET 暗証番号有無 = '0', 更新実行区分 = '1' WHERE コード = '000'");
    {
        auto p = program();
        ASSERT_TRUE(p->StartUp());
        EXPECT_EQ(settings(*p), "0 1 /srv/tokyo /srv/backup");
        p->EndProgram();
    }
    m_inst->config("UPDATE 動作環境定義 SET 運用事業所コード = '000'");
    auto p = program();
    ASSERT_TRUE(p->StartUp());
    EXPECT_EQ(settings(*p), "1 0 /srv/all /srv/backup");
    EXPECT_EQ(m_host.pinDialogs, 0) << "the stored staff member may run the program";
}

TEST_P(StartUpTest, PrivilegePinsUsagePurgeAndFailedConditionItemsOnAStartThatGoesOn) {
    m_inst->business("UPDATE Mユーザ SET 特権暗証番号 = '" + m_inst->encipher("BOSS77") +
                     "', システム特権暗証番号 = 'bm90IGVuY2lwaGVyZWQ='");
    m_inst->business("INSERT INTO 使用状況 (コンピュータID, ユーザID, プログラムID, 開始日時, 終了日時) VALUES "
                     "('PC-OLD', 'u1', 'Orvessa', '20261020 080000', '20261027 180000'), "
                     "('PC-OLD', 'u2', 'Orvessa', '20261020 080000', ''), "
                     "('PC-OLD', 'u3', 'Orvessa', '20261106 080000', '20261106 090000')");
    m_inst->config("DROP TABLE Carnelo");
    auto p = program();
    ASSERT_TRUE(p->StartUp());
    EXPECT_EQ(m_host.messages, std::vector<std::string>{"システムデータベースに問題があり登録できません"});
    EXPECT_EQ(p->session().companyPrivilegePin + "|" + p->session().companySystemPrivilegePin, "BOSS77|");
    EXPECT_EQ(
        m_inst->countConfig("プログラム稼動履歴 WHERE 摘要 LIKE 'エラー %Mユーザ.システム特権暗証番号%'"), 1);
    EXPECT_EQ(m_inst->countConfig("プログラム稼動履歴 WHERE 摘要 LIKE 'エラー %Mユーザ.特権暗証番号%'"), 0);
    // u1 ended before the limit day and goes; u2 never ended; u3 ended on the limit day itself.
    EXPECT_EQ((std::vector<long long>{m_inst->countBusiness("使用状況 WHERE ユーザID = 'u1'"),
                                      m_inst->countBusiness("使用状況 WHERE ユーザID = 'u2'"),
                                      m_inst->countBusiness("使用状況 WHERE ユーザID = 'u3'")}),
              (std::vector<long long>{0, 1, 1}));
}

TEST_P(StartUpTest, ALaunchersStartMessageIsAnsweredAtTheEnd) {
    const std::string line = "001000000000000000";
    m_inst->config("INSERT INTO プログラム連携情報 (発信日時, 発信プログラムID, 受信プログラムID, 受信期限, 連携区分, "
                   "起動連携情報, 終了連携情報) VALUES ('20261206 093000', 'Carnelo', 'Velmora', '20261206 093000', "
                   "'00', '" + line + "', '')");
    auto p = program(line);
    ASSERT_TRUE(p->StartUp());
    EXPECT_EQ(p->session().linking.sender, "Carnelo");
    p->session().linking.endInfo = "0012026120600000009";
    p->EndProgram();
    EXPECT_EQ(m_inst->countConfig("プログラム連携情報 WHERE 連携区分 = '99' AND 発信プログラムID = 'Carnelo' AND "
                                  "受信プログラムID = 'Velmora' AND 終了連携情報 = '0012026120600000009'"),
              1);
}

INSTANTIATE_TEST_SUITE_P(Engines, StartUpTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), test::EngineName);

// Failures before the configuration database is open leave no rows to check.
class StartUpLayoutTest : public testing::Test {
protected:
    void SetUp() override { m_inst = std::make_unique<test::TestInstallation>(Engine::SQLite); }
    std::unique_ptr<test::TestInstallation> m_inst;
    test::RecordingHost m_host;
};

// Standard error says where the program looked; the box only that it cannot start.
TEST_F(StartUpLayoutTest, OutsideAnInstallationOrWithoutItsConfigurationNothingStarts) {
    ProgramEnvironment outside = m_inst->environment();
    outside.programFolder = m_inst->root() + "bin";
    const std::pair<ProgramEnvironment, std::string> cases[] = {
        {outside, m_inst->root() + "bin is not the prgbin folder of an installation"},
        {m_inst->environment(), "no configuration database " + m_inst->root() + "conf/usrcnfg.accdb"}};
    std::filesystem::remove(m_inst->configPath());
    for (const auto& [env, said] : cases) {
        m_host.messages.clear();
        testing::internal::CaptureStderr();
        Program p(env, m_host);
        EXPECT_FALSE(p.StartUp());
        EXPECT_NE(testing::internal::GetCapturedStderr().find(said), std::string::npos) << said;
        EXPECT_EQ(m_host.messages, std::vector<std::string>{"データベースが使用できません。"});
    }
}

TEST(InstallationLayout, TheRootIsCutBeforePrgbinOrPrgsrcInAnyCase) {
    std::vector<std::string> roots;
    for (const char* folder : {"/opt/eigyo/PRGBIN", "/opt/eigyo/prgbin", "/home/dev/velmora/prgsrc/build",
                               "/opt/prgbin-old/eigyo/prgbin", "/usr/local/bin"})
        roots.push_back(FindRootFolder(folder));
    EXPECT_EQ(roots, (std::vector<std::string>{"/opt/eigyo/", "/opt/eigyo/", "/home/dev/velmora/", "/opt/", ""}));
}

TEST_F(StartUpLayoutTest, CapitalPrgbinAndBothConfigurationFiles) {
    namespace fs = std::filesystem;
    fs::rename(m_inst->programFolder(), m_inst->root() + "PRGBIN");
    fs::copy_file(m_inst->configPath(), m_inst->root() + "conf/usrcnfg.mdb");
    m_inst->config("UPDATE Carnelo SET 条件項目名A = 'accdb'");
    ProgramEnvironment env = m_inst->environment();
    env.programFolder = m_inst->root() + "PRGBIN";
    Program p(env, m_host);
    ASSERT_TRUE(p.StartUp());
    const auto& layout = p.session().layout;
    EXPECT_EQ(layout.ProgramFolder + " " + std::to_string(layout.ConfigKind) + " " + layout.SharedConfigPath,
              m_inst->root() + "prgbin 1 " + m_inst->root() + "conf/usrcnfg.accdb");
}

TEST_F(StartUpLayoutTest, PerUserInstallationsCopyTheSharedFilesOnce) {
    namespace fs = std::filesystem;
    m_inst->config("UPDATE 動作環境定義 SET インストール区分 = '1'");
    std::ofstream(m_inst->root() + "report/repdb.accdb") << "report data";
    std::ofstream(m_inst->root() + "report/repfrmdb.accdb") << "report forms";
    {
        Program p(m_inst->environment(), m_host);
        ASSERT_TRUE(p.StartUp());
        EXPECT_EQ(p.session().layout.ConfigFolder + " " + p.session().layout.ReportFolder,
                  m_inst->root() + "users/sato/conf " + m_inst->root() + "users/sato/report");
        p.EndProgram();
    }
    EXPECT_TRUE(fs::exists(m_inst->root() + "users/sato/conf/usrcnfg.accdb"));
    EXPECT_TRUE(fs::exists(m_inst->root() + "users/sato/report/repfrmdb.accdb"));
    EXPECT_EQ(m_host.waitShown, 1);
    // The per-user copy is the one in use: the run's rows are there, not in the shared file.
    EXPECT_EQ(m_inst->countConfig("プログラム稼動履歴"), 0);

    std::ofstream(m_inst->root() + "report/repdb.accdb", std::ios::trunc) << "changed";
    Program again(m_inst->environment(), m_host);
    ASSERT_TRUE(again.StartUp());
    EXPECT_EQ(m_host.waitShown, 1) << "nothing is copied the second time";
    EXPECT_EQ(test::ReadFile(m_inst->root() + "users/sato/report/repdb.accdb"), "report data");
}

}  // namespace
}  // namespace velmora
