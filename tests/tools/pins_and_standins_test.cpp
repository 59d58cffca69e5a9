#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "admin/command_line.h"
#include "admin/installation.h"
#include "admin/pins.h"
#include "data/connection_string.h"
#include "data/data_access.h"
#include "linking/link_messages.h"
#include "platform/cipher.h"
#include "platform/process.h"
#include "support/statements.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

class InstalledDemo : public testing::Test {
protected:
    void SetUp() override {
        m_options.root = m_dir.path() / "eigyo";
        CalendarDate::Parse("20261206", m_options.today);
        m_options.programSource = test::BinaryFolder();
        InitResult result = InitInstallation(m_options);
        ASSERT_TRUE(result.ok) << result.message;
    }
    std::unique_ptr<Connection> business() {
        DbError error;
        auto db = OpenConnection(FileConnectionString("Microsoft.ACE.OLEDB.12.0", "", "",
                                                      (m_options.root / "data" / "salesdb.accdb").string()),
                                 error);
        EXPECT_TRUE(db) << error.description;
        return db;
    }
    test::TempDir m_dir;
    InitOptions m_options;
};

TEST_F(InstalledDemo, SetPinStoresAnUpperCasePinOnlyTheInstallationKeyReads) {
    std::string message;
    ASSERT_TRUE(SetPin({m_options.root, PinHolder::Staff, "101", "ab12"}, message)) << message;
    ASSERT_TRUE(SetPin({m_options.root, PinHolder::Office, "1", "Tokyo1"}, message)) << message;
    auto cipher = Cipher::FromKeyFile((m_options.root / "conf" / "cipher.key").string());
    ASSERT_TRUE(cipher);
    DbError error;
    auto db = business();
    auto staff = db->query("SELECT 暗証番号 FROM M担当者 WHERE コード = '00101'", error);
    EXPECT_EQ(cipher->Decipher(staff->text("暗証番号")), "AB12");
    auto office = db->query("SELECT 特権暗証番号 FROM M事業所 WHERE コード = '001'", error);
    EXPECT_EQ(cipher->Decipher(office->text("特権暗証番号")), "TOKYO1");

    EXPECT_FALSE(SetPin({m_options.root, PinHolder::Staff, "101", "abc"}, message));
    EXPECT_EQ(message, "a PIN has at least 4 characters");
    EXPECT_FALSE(SetPin({m_options.root, PinHolder::Staff, "99999", "abcd"}, message));
    EXPECT_EQ(message, "no staff 99999");
    staff = db->query("SELECT 暗証番号 FROM M担当者 WHERE コード = '00101'", error);
    EXPECT_EQ(cipher->Decipher(staff->text("暗証番号")), "AB12") << "a refused request changes nothing";
}

TEST_F(InstalledDemo, SignInIsTurnedOnAndOffForTheCompanyAndEveryOffice) {
    auto settings = [&] {
        DbError error;
        auto db = business();
        std::string all = db->query("SELECT 暗証番号有無 FROM Mユーザ", error)->text(size_t{0});
        for (auto rs = db->query("SELECT 暗証番号有無 FROM M事業所 ORDER BY コード", error); !rs->eof(); rs->moveNext())
            all += rs->text(size_t{0});
        return all;
    };
    std::string message;
    ASSERT_TRUE(SetSignIn({m_options.root, true}, message)) << message;
    EXPECT_EQ(settings(), std::string(settings().size(), '1'));
    EXPECT_GE(settings().size(), 3u) << "the company and its offices";
    ASSERT_TRUE(SetSignIn({m_options.root, false}, message)) << message;
    EXPECT_EQ(settings(), std::string(settings().size(), '0'));
    EXPECT_FALSE(SetSignIn({m_dir.path() / "elsewhere", true}, message));
    EXPECT_EQ(settings(), std::string(settings().size(), '0'));
}

TEST(AdminArguments, SetPinNeedsAHolderAndAPin) {
    AdminRequest staff = ParseAdminArguments({"set-pin", "/x", "--staff", "00101", "abcd"});
    EXPECT_EQ(staff.command, AdminCommand::SetPin);
    EXPECT_EQ(staff.pin.code, "00101");
    EXPECT_EQ(staff.pin.pin, "abcd");
    EXPECT_EQ(ParseAdminArguments({"set-pin", "/x", "--company", "abcd"}).pin.holder, PinHolder::Company);
    EXPECT_EQ(ParseAdminArguments({"set-pin", "/x", "--staff", "abcd"}).command, AdminCommand::Invalid);
    EXPECT_EQ(ParseAdminArguments({"set-pin", "/x", "--boss", "1", "abcd"}).command, AdminCommand::Invalid);
}

// A registration stand-in started with a start message answers it with the
// end information it was given, and records how it was started.
TEST_F(InstalledDemo, AStandInAnswersTheStartMessageItWasStartedFor) {
    fs::path prgbin = m_options.root / "prgbin";
    ASSERT_TRUE(fs::exists(prgbin / "Dunvale")) << "the stand-ins are built into the bin folder";
    std::ofstream(prgbin / "Dunvale.reply") << "000777\n";

    DataAccess access;
    access.identity() = {"Velmora", "001", "00101", "sato", "PC-1"};
    ASSERT_TRUE(access.OpenConfigConnection(
        ConfigConnectionString(1, (m_options.root / "conf" / "usrcnfg.accdb").string() + ";")));
    const std::string argument = "001000000,,山田商店,";
    std::string limit = access.NowText();
    SendStartMessage(access, "Velmora", "Dunvale", argument);
    ASSERT_TRUE(StartDetached((prgbin / "Dunvale").string(), argument));

    std::string endInfo, started;
    for (int i = 0; i < 250 && started.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        access.ReopenConfigConnection();
        started = TakeReply(access, "Dunvale", argument, limit, endInfo);
    }
    EXPECT_EQ(started, argument);
    EXPECT_EQ(endInfo, "000777");
    EXPECT_EQ(test::StandInCalls(prgbin), (std::vector<test::StandInCall>{{"Dunvale", argument}}));
}

}  // namespace
}  // namespace velmora
