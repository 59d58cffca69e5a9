#include <gtest/gtest.h>

#include "data/connection_string.h"
#include "data/data_access.h"
#include "support/test_env.h"

namespace velmora {
namespace {

using test::Engine;

// The operation log's table as the configuration database holds it.
const char kLogTableDdl[] =
    "CREATE TABLE プログラム稼動履歴 (実行日付 TEXT, プログラムID TEXT, proccounter TEXT, 摘要 TEXT, "
    "運用事業所コード TEXT, 起動担当者コード TEXT, ユーザID TEXT)";

class DataAccessTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        m_data = std::make_unique<test::ScratchDatabase>(GetParam());
        VELMORA_REQUIRE_DATABASE(*m_data);
        std::string configPath = m_dir.file("usrcnfg.accdb");
        DbError error;
        auto config = CreateSqliteDatabase(configPath, error);
        ASSERT_TRUE(config) << error.description;
        ASSERT_TRUE(config->execute(kLogTableDdl, error)) << error.description;
        auto data = m_data->connect();
        ASSERT_TRUE(data);
        ASSERT_TRUE(data->execute("CREATE TABLE M部門 (部門コード TEXT PRIMARY KEY, 部門名 TEXT, 単価 NUMERIC);"
                                  "CREATE TABLE M課 (部門コード TEXT, 課コード TEXT, 課名 TEXT);"
                                  "CREATE TABLE M担当者 (担当者コード TEXT, 部門コード TEXT)",
                                  error))
            << error.description;
        m_access = std::make_unique<DataAccess>([] { return ParseTimestamp("20261206 093015"); });
        m_access->identity() = {"Velmora", "001", "00012", "sato", "PC-EIGYO01"};
        ASSERT_TRUE(m_access->OpenConfigConnection(ConfigConnectionString(1, configPath + ";")));
        ASSERT_TRUE(m_access->OpenDataConnection(m_data->connectionString()));
    }

    // Rows of the operation log, oldest first.
    std::vector<std::vector<std::string>> logRows() {
        std::unique_ptr<Recordset> rs;
        m_access->OpenConfigRecordset(rs, "SELECT * FROM プログラム稼動履歴 ORDER BY proccounter");
        std::vector<std::vector<std::string>> rows;
        for (; !rs->eof(); rs->moveNext()) {
            rows.push_back({rs->text("実行日付"), rs->text("プログラムID"), rs->text("proccounter"), rs->text("摘要"),
                            rs->text("運用事業所コード"), rs->text("起動担当者コード"), rs->text("ユーザID")});
        }
        return rows;
    }

    test::TempDir m_dir;
    std::unique_ptr<test::ScratchDatabase> m_data;
    std::unique_ptr<DataAccess> m_access;
};

TEST_P(DataAccessTest, EmptyAndFailingQueriesBothGiveFalseWithAnOpenRecordset) {
    std::unique_ptr<Recordset> rs;
    EXPECT_FALSE(m_access->OpenDataRecordset(rs, "SELECT * FROM M部門 WHERE 部門コード = '999'"));
    ASSERT_TRUE(rs);
    EXPECT_TRUE(rs->isOpen());
    EXPECT_TRUE(rs->eof());
    EXPECT_TRUE(logRows().empty()) << "an empty result is not an error";

    EXPECT_FALSE(m_access->OpenDataRecordset(rs, "SELECT * FROM M存在しない"));
    ASSERT_TRUE(rs);
    EXPECT_TRUE(rs->eof());
    auto rows = logRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][2], "000000000001");
    EXPECT_EQ(rows[0][3].rfind("エラー ", 0), 0u);
    EXPECT_EQ(rows[0][3].substr(rows[0][3].size() - std::string("SELECT * FROM M存在しない").size()),
              "SELECT * FROM M存在しない")
        << "the statement follows the description without a separator";
}

TEST_P(DataAccessTest, LogRowsCarryTheExactTextsAndCounter) {
    m_access->WriteStartLog("  001 20261206 00000012  ");
    ASSERT_TRUE(m_access->ExecuteData("INSERT INTO M部門 (部門コード, 部門名) VALUES ('010', 'O''Neil 営業部')", true));
    EXPECT_TRUE(m_access->ExecuteData("INSERT INTO M部門 (部門コード, 部門名) VALUES ('011', 'quiet')", false));
    std::unique_ptr<Recordset> rs;
    EXPECT_TRUE(m_access->OpenDataRecordset(rs, "SELECT * FROM M部門 WHERE 部門名 = 'O''Neil 営業部'", true));
    m_access->WriteEndLog();

    auto rows = logRows();
    ASSERT_EQ(rows.size(), 4u);
    std::vector<std::string> start{"20261206 093015", "Velmora", "000000000001", "開始 001 20261206 00000012",
                                   "001", "00012", "sato"};
    EXPECT_EQ(rows[0], start);
    // Passed twice through the quoting, every apostrophe of the statement is stored doubled.
    EXPECT_EQ((std::vector<std::string>{rows[1][2] + " " + rows[1][3], rows[2][3], rows[3][2] + " " + rows[3][3]}),
              (std::vector<std::string>{
                  "000000000002 出力終了 INSERT INTO M部門 (部門コード, 部門名) VALUES (''010'', ''O''''Neil 営業部'')",
                  "出力終了 SELECT * FROM M部門 WHERE 部門名 = ''O''''Neil 営業部''", "000000000004 終了"}));
    EXPECT_EQ(m_access->OperationCounter(), 4);
}

TEST_P(DataAccessTest, ConfigurationSideErrorsAboutTheLogTableWriteNoRow) {
    EXPECT_FALSE(m_access->ExecuteConfig("INSERT INTO プログラム稼動履歴 (無い列) VALUES ('x')"));
    EXPECT_FALSE(m_access->ExecuteConfigLogged("UPDATE プログラム稼動履歴 SET 無い列 = '1'"));
    std::unique_ptr<Recordset> rs;
    EXPECT_FALSE(m_access->OpenConfigRecordset(rs, "SELECT 無い列 FROM プログラム稼動履歴"));
    EXPECT_TRUE(logRows().empty());
    EXPECT_EQ(m_access->OperationCounter(), 0);

    EXPECT_FALSE(m_access->ExecuteConfig("UPDATE 動作環境定義 SET x = '1'"));
    auto rows = logRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][3].rfind("エラー ", 0), 0u);
}

TEST_P(DataAccessTest, ExecuteConfigLoggedAlwaysLogsAndReopenKeepsTheData) {
    ASSERT_TRUE(m_access->ExecuteConfigLogged(
        "INSERT INTO プログラム稼動履歴 (摘要, proccounter) VALUES ('manual', '000000000000')"));
    ASSERT_TRUE(m_access->ReopenConfigConnection());
    EXPECT_TRUE(m_access->ConfigOpen());
    auto rows = logRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][3].rfind("出力終了 INSERT INTO プログラム稼動履歴", 0), 0u);
}

TEST_P(DataAccessTest, AFailingLogWriteIsIgnored) {
    ASSERT_TRUE(m_access->ExecuteConfig("DROP TABLE プログラム稼動履歴"));
    EXPECT_FALSE(m_access->ExecuteData("SELECT broken FROM"));
    m_access->WriteEndLog();
    EXPECT_EQ(m_access->OperationCounter(), 2);
    EXPECT_TRUE(m_access->ExecuteData("INSERT INTO M部門 (部門コード) VALUES ('020')"));
}

TEST_P(DataAccessTest, NumbersComeBackExactly) {
    ASSERT_TRUE(m_access->ExecuteData("INSERT INTO M部門 (部門コード, 単価) VALUES ('1', '123.4567'), ('2', '-0.5'), "
                                      "('3', '99999999999.9999'), ('4', '0'), ('5', '1500')"));
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(m_access->OpenDataRecordset(rs, "SELECT 部門コード, 単価 FROM M部門 ORDER BY 部門コード"));
    std::vector<std::int64_t> expected{1234567, -5000, 999999999999999, 0, 15000000};
    for (std::int64_t value : expected) {
        ASSERT_FALSE(rs->eof());
        EXPECT_EQ(rs->scaled4("単価"), value) << rs->text("部門コード");
        rs->moveNext();
    }
    EXPECT_TRUE(rs->eof());
}

TEST_P(DataAccessTest, TheCallersDialectRunsOnTheEngine) {
    ASSERT_TRUE(m_access->ExecuteData(
        "INSERT INTO [M部門] ([部門コード],[部門名]) VALUES ('001','営業一部');"
        "INSERT INTO [M部門] ([部門コード],[部門名]) VALUES ('002','営業二部')"));
    ASSERT_TRUE(m_access->ExecuteData("INSERT INTO M課 (部門コード, 課コード, 課名) VALUES ('001', '010', '一課')"));
    ASSERT_TRUE(m_access->ExecuteData("INSERT INTO M担当者 (担当者コード, 部門コード) VALUES ('00001', '001')"));

    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(m_access->OpenDataRecordset(rs, "SELECT TOP 1 * FROM M部門 ORDER BY 部門コード DESC"));
    EXPECT_EQ(rs->text("部門名"), "営業二部");
    rs->moveNext();
    EXPECT_TRUE(rs->eof());

    // Parenthesised outer joins; the shared column name reads by its plain name.
    ASSERT_TRUE(m_access->OpenDataRecordset(
        rs, "SELECT * FROM (M課 RIGHT JOIN M部門 ON M課.部門コード = M部門.部門コード) "
            "LEFT JOIN M担当者 ON M部門.部門コード = M担当者.部門コード ORDER BY M部門.部門コード"));
    EXPECT_EQ(rs->text("部門名") + " " + rs->text("課名") + " " + rs->text("担当者コード"), "営業一部 一課 00001");
    rs->moveNext();
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->text("部門名"), "営業二部");
    EXPECT_TRUE(rs->isNull("課名"));

    ASSERT_TRUE(m_access->OpenDataRecordset(
        rs, "SELECT * FROM M部門 WHERE 部門コード IN (SELECT TOP 1 部門コード FROM M部門 ORDER BY 部門コード)"));
    EXPECT_EQ(rs->text("部門コード"), "001");
}

TEST_P(DataAccessTest, ATransactionIsAllOrNothing) {
    {
        DataTransaction tx(*m_access);
        ASSERT_TRUE(tx.active());
        ASSERT_TRUE(m_access->ExecuteData("INSERT INTO M部門 (部門コード) VALUES ('100')"));
        EXPECT_FALSE(m_access->ExecuteData("INSERT INTO M部門 (部門コード) VALUES ('100')")) << "duplicate key";
    }  // not committed: rolled back
    std::unique_ptr<Recordset> rs;
    EXPECT_FALSE(m_access->OpenDataRecordset(rs, "SELECT * FROM M部門"));
    EXPECT_FALSE(m_access->InDataTransaction());

    DataTransaction tx(*m_access);
    ASSERT_TRUE(m_access->ExecuteData("INSERT INTO M部門 (部門コード) VALUES ('101')"));
    ASSERT_TRUE(m_access->ExecuteData("INSERT INTO M部門 (部門コード) VALUES ('102')"));
    ASSERT_TRUE(tx.commit());
    auto other = m_data->connect();
    DbError error;
    auto seen = other->query("SELECT COUNT(*) AS n FROM M部門", error);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->integer("n"), 2);
}

TEST_P(DataAccessTest, AnUnopenableDatabaseLeavesTheOpenErrorRow) {
    DataAccess access([] { return ParseTimestamp("20261206 093015"); });
    ASSERT_TRUE(access.OpenConfigConnection(ConfigConnectionString(1, m_dir.file("usrcnfg.accdb"))));
    std::string bad = GetParam() == Engine::SQLite
                          ? FileConnectionString("Microsoft.ACE.OLEDB.12.0", "", "", m_dir.file("missing.accdb"))
                          : ServerConnectionString("SQLOLEDB", "postgres", "", test::PostgresDataSource(),
                                                   "no_such_catalog_velmora");
    EXPECT_FALSE(access.OpenDataConnection(bad));
    EXPECT_FALSE(access.DataOpen());
    EXPECT_FALSE(access.ExecuteData("SELECT 1"));
    std::unique_ptr<Recordset> rs;
    access.OpenConfigRecordset(rs, "SELECT 摘要 FROM プログラム稼動履歴 ORDER BY proccounter");
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->text("摘要").rfind("エラー DB_OPEN ERROR", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(Engines, DataAccessTest, testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         test::EngineName);

// An Oracle provider has no client on this platform: refused with the
// provider's error, whatever the rest of the connection string says.
TEST(OpenConnection, OracleProvidersAreRefusedByName) {
    for (const char* provider : {"OraOLEDB.Oracle", "MSDAORA.1"}) {
        DbError error;
        EXPECT_FALSE(OpenConnection(FileConnectionString(provider, "scott", "tiger", "ORCL"), error));
        EXPECT_EQ(std::to_string(error.number) + " " + error.description,
                  std::string("-2147467259 no database client for provider ") + provider + " on this platform");
    }
}

}  // namespace
}  // namespace velmora
