#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "data/connection.h"
#include "data/connection_string.h"
#include "data/data_access.h"
#include "data/schema_text.h"
#include "linking/linked_start.h"
#include "support/statements.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

struct ArgumentCase {
    const char* what;
    std::string actual;
    std::string expected;
};

const std::string kZeros16 = "0000000000000000";

TEST(LinkedStartArguments, EveryStartHasItsFixedLayout) {
    const std::string twenty = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴ";
    const ArgumentCase cases[] = {
        {"customer code", CustomerPanelArgument("001", "000123", "北斗", "東京", "山田", "00101"),
         "001000123"},
        {"short customer code padded", CustomerPanelArgument("001", "12", "", "", "", ""), "00112    "},
        {"customer code cut at 6", CustomerPanelArgument("001", "12345678", "", "", "", ""), "001123456"},
        {"new customer with names",
         CustomerPanelArgument("001", "", "株式会社 北斗", "東京本店", "山田 様", "00101"),
         "001000000,,株式会社 北斗,東京本店,,,,,,,山田 様,,00101"},
        {"blank customer code is no code", CustomerPanelArgument("002", "   ", "A", "", "", "00201"),
         "002000000,,A,,,,,,,,,,00201"},
        {"a comma in a name keeps the fields", CustomerPanelArgument("001", "", "北斗,東京", "", "", "00101"),
         "001000000,,北斗，東京,,,,,,,,,,00101"},
        {"contact code", ContactPanelArgument("001", "000123", "00001", "鈴木"), "00100012300001"},
        {"new contact", ContactPanelArgument("001", "000123", "", "鈴木 一郎"), "00100012300000,鈴木 一郎,,"},
        {"delivery code", DeliveryPanelArgument("001", "000201", "A", "B", "00101"), "001000201"},
        {"new delivery", DeliveryPanelArgument("001", "", "本社倉庫", "第二棟", "00101"),
         "001000000,,本社倉庫,第二棟,,,,,,,,,00101"},
        {"supplier code", SupplierPanelArgument("001", "300001", "", "00101"), "001300001"},
        {"new supplier", SupplierPanelArgument("001", "", "山本工業", "00101"),
         "001000000,,山本工業,,,,,,,,,00101"},
        {"product code padded to 16", ProductPanelArgument("001", "P-100", "ボルト", "個"),
         "001P-100           "},
        {"new product, 20-character name split 15 + 5", ProductPanelArgument("001", "", twenty, "個"),
         "001" + kZeros16 + ",ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ,ＰＱＲＳＴ,個,"},
        {"new product, no name or unit", ProductPanelArgument("001", "", "", ""), "001" + kZeros16 + ",,,,"},
        {"activity period within a year", ProductActivityArgument("001", "P-100", "20250331"),
         "001P-100           2024040120250331"},
        {"activity period across the year end", ProductActivityArgument("001", "P-100", "20241231"),
         "001P-100           2024010120241231"},
        {"activity period to 29 February", ProductActivityArgument("001", "P-100", "20240229"),
         "001P-100           2023030120240229"},
        {"activity period to 28 February after a leap year",
         ProductActivityArgument("001", "P-100", "20250228"), "001P-100           2024022920250228"},
        {"activity period without a date", ProductActivityArgument("001", "P-100", ""),
         "001P-100           "},
        {"copy into a new quotation", QuotationCopyArgument("001", "20250331", "00000042"),
         "001" + kZeros16 + "0012025033100000042"},
        {"reference source", ReferenceSourceArgument("002", "20240331", "00000007"), "0022024033100000007"},
        {"no reference source", ReferenceSourceArgument("", "", ""), ""},
        {"zero reference source", ReferenceSourceArgument("001", "20240331", "00000000"), ""},
    };
    for (const ArgumentCase& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
}

// The screen's side of the wait: it records what it is told and gives up
// after a number of rounds.
class RecordingWait : public LinkWait {
  public:
    explicit RecordingWait(int patience) : m_patience(patience) {}
    void SetWindowEnabled(bool enabled) override {
        m_enabled = enabled;
        events.push_back(enabled ? "enabled" : "disabled");
    }
    void SetWaiting(bool waiting) override {
        m_waiting = waiting;
        events.push_back(waiting ? "waiting" : "not waiting");
    }
    void Pause(int milliseconds) override {
        if (m_enabled || !m_waiting) pausedOutsideTheWait = true;
        ++pauses;
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    bool KeepWaiting() override { return ++m_rounds < m_patience; }

    std::vector<std::string> events;
    int pauses = 0;
    bool pausedOutsideTheWait = false;

  private:
    int m_patience;
    int m_rounds = 0;
    bool m_enabled = true;
    bool m_waiting = false;
};

// An installation tree as far as the stand-ins need it: prgbin with the
// programs and the configuration database in conf.
class LaunchLinkedTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(prgbin());
        fs::create_directories(m_dir.path() / "conf");
        std::string config = (m_dir.path() / "conf" / "usrcnfg.accdb").string();
        DbError error;
        auto db = CreateSqliteDatabase(config, error);
        ASSERT_TRUE(db && db->execute(std::string(ConfigSchemaSql()), error)) << error.description;
        db.reset();
        m_access.identity() = {"Velmora", "001", "00101", "sato", "PC-EIGYO01"};
        ASSERT_TRUE(m_access.OpenConfigConnection(ConfigConnectionString(1, config + ";")));
    }
    fs::path prgbin() const { return m_dir.path() / "prgbin"; }
    void install(const std::string& name) {
        fs::copy_file(fs::path(test::BinaryFolder()) / "velmora-standin", prgbin() / name);
    }
    long long linkingRows() {
        std::unique_ptr<Recordset> rs;
        return m_access.OpenConfigRecordset(rs, "SELECT COUNT(*) AS n FROM プログラム連携情報")
                   ? rs->integer("n")
                   : -1;
    }
    bool called(const std::string& program, const std::string& argument) {
        const std::vector<test::StandInCall> calls = test::StandInCalls(prgbin());
        return std::find(calls.begin(), calls.end(), test::StandInCall{program, argument}) != calls.end();
    }
    // Whether the program started, replied or ended without a reply, and its reply.
    static std::string outcome(const LinkedResult& r) {
        return std::string(r.started ? "started" : "not started") + (r.replied ? ", replied" : "") +
               (r.endedWithoutReply ? ", ended without reply" : "") + " [" + r.endInfo + "]";
    }
    static void expectWindowBack(const RecordingWait& wait) {
        ASSERT_GE(wait.events.size(), 4u);
        EXPECT_EQ((std::vector<std::string>{wait.events[0], wait.events[1], wait.events.end()[-2], wait.events.back()}),
                  (std::vector<std::string>{"disabled", "waiting", "not waiting", "enabled"}));
        EXPECT_FALSE(wait.pausedOutsideTheWait);
    }

    test::TempDir m_dir;
    DataAccess m_access;
};

TEST_F(LaunchLinkedTest, TheStartedProgramsReplyIsTakenAndTheWindowGivenBack) {
    struct Case {
        const char* program;
        std::string argument;
        const char* replyFile;  // nullptr: the program replies with nothing
        const char* endInfo;
    };
    const Case cases[] = {
        {"Lorrima", ProductPanelArgument("001", "A1", "", ""), "A1-0001\n", "A1-0001"},
        {"Ferrano", CustomerPanelArgument("001", "500001", "", "", "", ""), nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        install(c.program);
        if (c.replyFile) std::ofstream(prgbin() / (std::string(c.program) + ".reply")) << c.replyFile;
        RecordingWait wait(1500);  // 30 s before the test gives up
        LinkedResult result = LaunchLinked(m_access, prgbin().string(), c.program, c.argument, wait);
        EXPECT_EQ(outcome(result), std::string("started, replied [") + c.endInfo + "]");
        expectWindowBack(wait);
        EXPECT_EQ(linkingRows(), 0) << "the start was taken and the reply removed";
        // The program got the whole fixed-width argument, trailing blanks included.
        EXPECT_TRUE(called(c.program, c.argument));
    }
}

// Which files cannot be started is the process layer's; here the start
// message that nobody will take is withdrawn.
TEST_F(LaunchLinkedTest, AProgramThatCannotBeStartedLeavesNoStartMessage) {
    RecordingWait wait(1500);
    LinkedResult result = LaunchLinked(m_access, prgbin().string(), "Juvenko", "001300001", wait);
    EXPECT_EQ(outcome(result), "not started []");
    expectWindowBack(wait);
    EXPECT_EQ(linkingRows(), 0);
}

TEST_F(LaunchLinkedTest, GivingUpEndsTheWaitAndWithdrawsAnUntakenStart) {
    // A registration program that stays open without ever answering.
    fs::path silent = prgbin() / "Galtesi";
    std::ofstream(silent) << "#!/bin/sh\nexec sleep 5\n";
    fs::permissions(silent, fs::perms::owner_all);
    RecordingWait wait(5);
    LinkedResult result = LaunchLinked(m_access, prgbin().string(), "Galtesi", "00100012300001", wait);
    EXPECT_EQ(outcome(result), "started []");
    EXPECT_EQ(wait.pauses, 1 + 5) << "the settling pause and one per round";
    expectWindowBack(wait);
    EXPECT_EQ(linkingRows(), 0);
}

// A started program that ends without answering ends the wait at once: one
// that never looked at its start message, and the stand-in that takes it and
// ends (at once, or after a while). Its start message is gone either way.
TEST_F(LaunchLinkedTest, AProgramThatEndsWithoutAReplyEndsTheWait) {
    struct Case {
        const char* program;
        const char* noreply;  // the stand-in's file; nullptr for a script that just ends
        int atLeastRounds;
    };
    const Case cases[] = {{"Galtesi", nullptr, 0}, {"Istavo", "", 0}, {"Juvenko", "1\n", 20}};
    std::ofstream(prgbin() / "Galtesi") << "#!/bin/sh\nexit 3\n";
    fs::permissions(prgbin() / "Galtesi", fs::perms::owner_all);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        if (c.noreply) {
            install(c.program);
            std::ofstream(prgbin() / (std::string(c.program) + ".noreply")) << c.noreply;
        }
        RecordingWait wait(1500);  // 30 s
        const auto begun = std::chrono::steady_clock::now();
        LinkedResult result = LaunchLinked(m_access, prgbin().string(), c.program, "00130000100001", wait);
        const auto took = std::chrono::steady_clock::now() - begun;
        EXPECT_EQ(outcome(result), "started, ended without reply []");
        EXPECT_LT(took, std::chrono::seconds(10)) << "the wait did not run on";
        EXPECT_GE(wait.pauses, 1 + c.atLeastRounds) << "it waited while the program was open";
        expectWindowBack(wait);
        EXPECT_EQ(linkingRows(), 0);
        if (c.noreply) {
            EXPECT_TRUE(called(c.program, "! ends without a reply"));
        }
    }
    EXPECT_EQ(EndedWithoutReplyNotice("Dunvale"), "登録プログラム（Dunvale）が応答せずに終了しました。");
}

// A program that answers and ends at once still has its answer taken.
TEST_F(LaunchLinkedTest, AReplyJustBeforeTheEndIsTaken) {
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        install("Dunvale" + std::to_string(i));
        std::ofstream(prgbin() / ("Dunvale" + std::to_string(i) + ".reply")) << "00012" << i << "\n";
        RecordingWait wait(1500);
        LinkedResult result =
            LaunchLinked(m_access, prgbin().string(), "Dunvale" + std::to_string(i), "001000123", wait);
        EXPECT_EQ(outcome(result), "started, replied [00012" + std::to_string(i) + "]");
    }
}

}  // namespace
}  // namespace velmora
