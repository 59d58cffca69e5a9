#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "admin/command_line.h"
#include "admin/installation.h"
#include "admin/pins.h"
#include "data/connection_string.h"
#include "platform/cipher.h"
#include "support/statements.h"

namespace velmora {
namespace {

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
    EXPECT_EQ(staff.pin.code + " " + staff.pin.pin, "00101 abcd");
    EXPECT_EQ(ParseAdminArguments({"set-pin", "/x", "--company", "abcd"}).pin.holder, PinHolder::Company);
    EXPECT_EQ(ParseAdminArguments({"set-pin", "/x", "--staff", "abcd"}).command, AdminCommand::Invalid);
    EXPECT_EQ(ParseAdminArguments({"set-pin", "/x", "--boss", "1", "abcd"}).command, AdminCommand::Invalid);
}

}  // namespace
}  // namespace velmora
