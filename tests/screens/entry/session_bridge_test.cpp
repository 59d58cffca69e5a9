#include <gtest/gtest.h>

#include <filesystem>

#include "../../app/app_fixture.h"
#include "../presenter/screen_fixture.h"

#include "quotation/document_scope.h"
#include "quotation/quotation_date.h"
#include "quotation/quotation_model.h"
#include "quotation/save.h"
#include "screens/entry/session_bridge.h"

namespace velmora {
namespace {

class NoPrompts : public DocumentPrompts {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string&) override { return false; }
    std::vector<std::string> messages;
};

// A quotation saved in a program started by the launcher, with the notices
// going to the configuration database: the session ends and starts again,
// the launcher is answered with the new quotation's key and the update
// program is started.
TEST(SessionBridge, ASaveWithTheUpdateProgramRestartsTheSessionAndAnswersTheStarter) {
    test::TestInstallation inst(test::Engine::SQLite);
    inst.business("UPDATE M事業所 SET 更新実行区分 = '0' WHERE コード = '001'");
    inst.business("INSERT INTO A番号情報 (番号ID, 連番種類, 連番, 履歴連番, 更新プログラム) VALUES "
                  "('16210', '1', '00000000', '00000000', 'Nelvaro'), ('01110', '3', '00000000', '00000000', '')");
    inst.business("INSERT INTO G消費税 (施行日, 消費税率) VALUES ('20191001', 10)");
    inst.config("INSERT INTO プログラム連携情報 (発信日時, 発信プログラムID, 受信プログラムID, 受信期限, 連携区分, "
                "起動連携情報, 終了連携情報) VALUES ('20261206 093000', 'Carnelo', 'Velmora', '20261206 093000', "
                "'00', '001', '')");
    std::filesystem::copy_file(test::BinaryFolder() + "/velmora-standin", inst.programFolder() + "/Nelvaro");

    test::RecordingHost host;
    Program program(inst.environment("001"), host);
    ASSERT_TRUE(program.StartUp());
    QuotationContext context = MakeQuotationContext(program);
    EXPECT_EQ(context.UserId(), "sato00012PC-EIGYO01");
    EXPECT_TRUE(context.startedWithCommandLine);
    EXPECT_EQ(MakeLookupSession(program.session()).databaseKind, "A");

    Quotation quotation;
    NoPrompts prompts;
    DocumentScope scope(program.access(), quotation, context, prompts);
    StartNewQuotation(scope, "20261206");
    quotation.lines[0].商品名 = "コピー用紙 A4";
    quotation.LastLine = 0;
    ProgramDocumentSession session(program);
    SaveOutcome outcome = QuotationSaver(scope, &session).Save();
    ASSERT_TRUE(outcome.stored) << (prompts.messages.empty() ? "" : prompts.messages[0]);

    // Numbered in the fiscal year that closes on March 31.
    EXPECT_EQ(quotation.SavedKey, "0012027033100000001");
    EXPECT_EQ(inst.countConfig("プログラム連携情報 WHERE 連携区分 = '99' AND 発信プログラムID = 'Carnelo' AND "
                               "終了連携情報 = '" + quotation.SavedKey + "'"),
              1);
    EXPECT_EQ(inst.countConfig("未集計情報 WHERE 伝票No = '00000001' AND 赤黒区分 = '1' AND 登録情報区分 = '0'"), 1);
    std::vector<std::string> texts;
    for (auto& row : inst.logRows()) texts.push_back(row.second);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "終了"), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "開始 001"), 2) << "the session started again";
    EXPECT_TRUE(program.access().DataOpen());

    EXPECT_EQ(test::StandinStartsOnceThere(inst.programFolder(), "Nelvaro", 1).size(), 1u)
        << "the update program was started";
    // The starter was answered once; the end of the new session answers nobody again.
    program.EndProgram();
    EXPECT_EQ(inst.countConfig("プログラム連携情報 WHERE 連携区分 = '99'"), 1);
    EXPECT_EQ(inst.countConfig("プログラム連携情報 WHERE 連携区分 = '99' AND 終了連携情報 = '" + quotation.SavedKey + "'"), 1);
}

}  // namespace
}  // namespace velmora
