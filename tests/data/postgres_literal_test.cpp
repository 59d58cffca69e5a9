#include <gtest/gtest.h>

#include "data/recordset.h"
#include "data/sql_text.h"
#include "support/test_env.h"

namespace velmora {
namespace {

using test::Engine;

// Texts a user may type or paste that a backslash-escaping server would read
// as the end of a literal followed by SQL.
const char* const kHostileTexts[] = {
    "\\' OR 1=1) --",
    "C:\\temp\\",
    "\\\\'",
    "\\n\\t\\0",
    "x' OR 'y'='y",
};

class BackslashLiterals : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        m_db = std::make_unique<test::ScratchDatabase>(Engine::PostgreSQL);
        VELMORA_REQUIRE_DATABASE(*m_db);
        DbError error;
        auto admin = m_db->connect();
        ASSERT_TRUE(admin);
        ASSERT_TRUE(admin->execute("ALTER DATABASE \"" + m_db->databaseName() +
                                       "\" SET standard_conforming_strings = off",
                                   error))
            << error.description;
        // The server default really is off for this database: the sessions
        // below get the backslash-escaping behaviour unless they change it.
        auto setting = admin->query(
            "SELECT s.setconfig::text AS c FROM pg_db_role_setting s JOIN pg_database d ON d.oid = s.setdatabase "
            "WHERE d.datname = '" + QuoteSql(m_db->databaseName()) + "'",
            error);
        ASSERT_TRUE(setting) << error.description;
        ASSERT_EQ(setting->rowCount(), 1u);
        ASSERT_NE(setting->text("c").find("standard_conforming_strings=off"), std::string::npos);
        admin.reset();

        m_connection = m_db->connect();
        ASSERT_TRUE(m_connection);
        ASSERT_TRUE(m_connection->execute("CREATE TABLE M得意先 (得意先コード TEXT, 得意先名 TEXT)", error))
            << error.description;
        ASSERT_TRUE(m_connection->execute(
            "INSERT INTO M得意先 VALUES ('000001', '株式会社ミツワ商事'); INSERT INTO M得意先 VALUES ('000002', 'USB')",
            error))
            << error.description;
    }

    std::unique_ptr<test::ScratchDatabase> m_db;
    std::unique_ptr<Connection> m_connection;
};

TEST_P(BackslashLiterals, SessionRunsWithStandardStringsOn) {
    DbError error;
    auto rs = m_connection->query("SHOW standard_conforming_strings", error);
    ASSERT_TRUE(rs) << error.description;
    ASSERT_EQ(rs->rowCount(), 1u);
    EXPECT_EQ(rs->text(size_t{0}), "on");
}

TEST_P(BackslashLiterals, HostileSearchFindsNothing) {
    DbError error;
    std::string typed = GetParam();
    auto rs = m_connection->query("SELECT 得意先コード FROM M得意先 WHERE (得意先名 = '" + QuoteSql(typed) +
                                      "') ORDER BY 得意先コード",
                                  error);
    ASSERT_TRUE(rs) << error.description;
    EXPECT_EQ(rs->rowCount(), 0u);
}

TEST_P(BackslashLiterals, StoredTextComesBackByteForByte) {
    DbError error;
    std::string typed = GetParam();
    ASSERT_TRUE(m_connection->execute("INSERT INTO M得意先 VALUES ('000003', '" + QuoteSql(typed) + "')", error))
        << error.description;
    auto rs = m_connection->query("SELECT 得意先名 FROM M得意先 WHERE 得意先コード = '000003'", error);
    ASSERT_TRUE(rs) << error.description;
    ASSERT_EQ(rs->rowCount(), 1u);
    EXPECT_EQ(rs->text(size_t{0}), TrimRight(typed));
    EXPECT_EQ(m_connection->query("SELECT * FROM M得意先", error)->rowCount(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Typed, BackslashLiterals, testing::ValuesIn(kHostileTexts));

}  // namespace
}  // namespace velmora
