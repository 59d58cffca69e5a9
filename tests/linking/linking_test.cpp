#include <gtest/gtest.h>

#include "linking/clipboard.h"
#include "linking/link_messages.h"
#include "linking/update_notice.h"
#include "support/databases.h"

namespace velmora {
namespace {

using test::Engine;

// The named columns of the current row, joined by "|".
std::string columns(Recordset& rs, std::initializer_list<const char*> names) {
    std::string out;
    for (const char* name : names) out += (out.empty() ? "" : "|") + rs.text(name);
    return out;
}

class LinkingTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        m_db = std::make_unique<test::Databases>(GetParam());
        VELMORA_REQUIRE_DATABASE(m_db->business());
        ASSERT_TRUE(m_db->access().ExecuteConfig(
            "INSERT INTO 動作環境定義 (動作環境定義ID, 運用事業所コード, 起動担当者コード) VALUES ('001', '001', '00012')"));
    }
    DataAccess& access() { return m_db->access(); }
    std::unique_ptr<test::Databases> m_db;
};

TEST_P(LinkingTest, AStartMessageIsTakenOnlyWithinAMinuteAndAnsweredAtTheEnd) {
    auto launcher = m_db->openAnother("Dunvale", "sato");
    const std::string info = "001000123,,O'Hara 商事";
    SendStartMessage(*launcher, "Dunvale", "Velmora", info);
    EXPECT_EQ(m_db->countConfig("プログラム連携情報 WHERE 連携区分 = '00'"), 1);

    // Two minutes later the message is too old and stays where it is.
    m_db->clock().advance(std::chrono::seconds(120));
    LinkingState state;
    std::string limit = FormatTimestamp(access().Now() - std::chrono::minutes(1));
    EXPECT_FALSE(TakeStartMessage(access(), state, "  " + info + " ", limit));
    EXPECT_FALSE(state.StartTaken());
    EXPECT_EQ(m_db->countConfig("プログラム連携情報"), 1);
    SendReply(access(), state);
    EXPECT_EQ(m_db->countConfig("プログラム連携情報 WHERE 連携区分 = '99'"), 0);

    // Thirty seconds after writing it is taken over and removed.
    m_db->clock().advance(std::chrono::seconds(-90));
    limit = FormatTimestamp(access().Now() - std::chrono::minutes(1));
    ASSERT_TRUE(TakeStartMessage(access(), state, "  " + info + " ", limit));
    EXPECT_EQ(state.sender + "|" + state.startInfo, "Dunvale|001000123,,O'Hara 商事");
    EXPECT_EQ(m_db->countConfig("プログラム連携情報"), 0);

    state.endInfo = "0012026120600000007";
    SendReply(access(), state);
    std::string endInfo;
    EXPECT_EQ(TakeReply(*launcher, "Velmora", "no such start", limit, endInfo), "");
    EXPECT_EQ(TakeReply(*launcher, "Velmora", info, limit, endInfo), info);
    EXPECT_EQ(endInfo, "0012026120600000007");
    EXPECT_EQ(m_db->countConfig("プログラム連携情報"), 0) << "the reply is removed once taken";
}

TEST_P(LinkingTest, MessagesCarryTheCommonColumnsWithTheStaffCodeReadAgain) {
    ASSERT_TRUE(access().ExecuteConfig("UPDATE 動作環境定義 SET 起動担当者コード = '00077' WHERE 動作環境定義ID = '001'"));
    SendStartMessage(access(), "Velmora", "Lorrima", "001ABC");
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(access().OpenConfigRecordset(rs, "SELECT * FROM プログラム連携情報"));
    EXPECT_EQ(columns(*rs, {"発信日時", "受信期限", "発信プログラムID", "受信プログラムID", "連携区分", "終了連携情報",
                            "運用事業所コード", "起動担当者コード", "ユーザID"}),
              "20261206 093015|20261206 093015|Velmora|Lorrima|00||001|00077|sato");
}

TEST_P(LinkingTest, ClearingTheClipboardRemovesOnlyTheCurrentUsersRows) {
    auto other = m_db->openAnother("Velmora", "suzuki");
    ClipboardRow row{"Velmora", "001", "1", "16210", "001", "20261201", "00000042", "003", "", "", "", "", ""};
    CopyToClipboard(*other, row);
    m_db->clock().advance(std::chrono::seconds(5));
    row.number = "00000043";
    row.sequence = "001";
    CopyToClipboard(access(), row);
    row.sequence = "002";
    CopyToClipboard(access(), row);
    m_db->clock().advance(std::chrono::seconds(5));

    ClipboardOrigin origin;
    ASSERT_TRUE(ClipboardSource(access(), "Velmora", "16210", origin));
    EXPECT_EQ(origin.number, "00000043");
    // Pasted in the very second of the copy.
    m_db->clock().advance(-std::chrono::seconds(5));
    ASSERT_TRUE(ClipboardSource(access(), "Velmora", "16210", origin));
    EXPECT_EQ(origin.number, "00000043");
    m_db->clock().advance(std::chrono::seconds(5));
    EXPECT_EQ(origin.baseDate, "20261201");
    EXPECT_FALSE(ClipboardSource(access(), "Velmora", "16130", origin));

    ClearClipboard(access(), "Velmora");
    EXPECT_EQ(m_db->countConfig("プログラムクリップボード明細"), 1);
    ASSERT_TRUE(ClipboardSource(access(), "Velmora", "16210", origin)) << "another user's copy is still a source";
    EXPECT_EQ(origin.number, "00000042");
}

TEST_P(LinkingTest, ANoticeGoesWhereTheUpdateRunFlagSays) {
    UpdateNotice change{kSaveKindChange, "16210", "001", "20261201", "00000042", "00000003",
                        "20261201", "00000042", "00000004"};
    NotifyResult local = NotifyUpdate(access(), change, 1);
    EXPECT_EQ(std::to_string(local.saveStatus) + (local.restartSession ? " restart" : ""), "1");
    EXPECT_EQ(m_db->countBusiness("未集計情報"), 2);
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(access().OpenDataRecordset(rs, "SELECT * FROM 未集計情報 ORDER BY 赤黒区分"));
    EXPECT_EQ(columns(*rs, {"履歴No", "赤黒区分", "登録情報区分", "データフラグ", "追加キー項目", "予備項目"}),
              "00000003|0|1|0||sato00012PC-EIGYO01");
    rs->moveNext();
    EXPECT_EQ(columns(*rs, {"履歴No", "赤黒区分"}), "00000004|1");
    EXPECT_EQ(m_db->countConfig("プログラム稼動履歴 WHERE 摘要 LIKE '出力終了 INSERT INTO [未集計情報]%'"), 2);

    UpdateNotice first{kSaveKindNew, "16210", "001", "", "", "", "20261201", "00000050", "00000001"};
    NotifyResult remote = NotifyUpdate(access(), first, 0);
    EXPECT_EQ(std::to_string(remote.saveStatus) + (remote.restartSession ? " restart" : ""), "1 restart");
    EXPECT_EQ(m_db->countConfig("未集計情報"), 1) << "a first save has only the black row";
}

TEST_P(LinkingTest, AFailedNoticeIsReportedEvenWhenTheSecondRowGoesThrough) {
    ASSERT_TRUE(access().ExecuteData("INSERT INTO 未集計情報 (事業所コード, 番号ID, 番号基準日付, 履歴No, 赤黒区分, 伝票No) "
                                     "VALUES ('001', '16210', '20261201', '00000003', '0', '00000042')"));
    UpdateNotice change{kSaveKindChange, "16210", "001", "20261201", "00000042", "00000003",
                        "20261201", "00000042", "00000004"};
    NotifyResult result = NotifyUpdate(access(), change, 1);
    EXPECT_EQ(std::to_string(result.saveStatus) + " " + result.saveMessage, "3 登録済です。登録できませんでした。");
}

INSTANTIATE_TEST_SUITE_P(Engines, LinkingTest, testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
