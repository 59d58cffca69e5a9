#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "admin/demo_data.h"
#include "admin/installation.h"
#include "data/connection_string.h"
#include "platform/cipher.h"
#include "support/statements.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::Engine;

// The rows of a table or join, with an optional WHERE.
long long Count(Connection& db, const std::string& tableAndWhere) {
    DbError error;
    const std::string sql = "SELECT COUNT(*) AS 件数 FROM " + tableAndWhere;
    auto rs = db.query(sql, error);
    EXPECT_TRUE(rs) << sql << ": " << error.description;
    return rs && !rs->eof() ? rs->integer("件数") : -1;
}

// A demo installation under the folder, made on 15 June 2024.
InitOptions DemoOptions(const fs::path& root) {
    InitOptions options;
    options.root = root;
    CalendarDate::Parse("20240615", options.today);
    return options;
}

class InitTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        m_options = DemoOptions(m_dir.path() / "velmora");
        if (GetParam() == Engine::PostgreSQL) {
            VELMORA_REQUIRE_DATABASE(m_catalog.emplace("velmora_admin"));
            m_options.postgres = PostgresTarget{m_catalog->source(), m_catalog->name(), "postgres", ""};
        }
    }

    std::unique_ptr<Connection> OpenConfig() {
        DbError error;
        auto db = OpenConnection(ConfigConnectionString(1, (m_options.root / "conf" / "usrcnfg.accdb").string()), error);
        EXPECT_TRUE(db) << error.description;
        return db;
    }

    // The business database reached the way the program reaches it: through
    // the data source row of the configuration database.
    std::unique_ptr<Connection> OpenBusiness() {
        auto config = OpenConfig();
        if (!config) return nullptr;
        DbError error;
        auto rs = config->query("SELECT * FROM データベース定義 WHERE 情報種類 = 'GNR'", error);
        if (!rs || rs->eof()) {
            ADD_FAILURE() << "no GNR row " << error.description;
            return nullptr;
        }
        std::string text = rs->text("db") == "S"
                               ? ServerConnectionString(rs->text("プロバイダ名"), rs->text("ユーザーID"), rs->text("パスワード"),
                                                        rs->text("サーバー名"), rs->text("データベース名"))
                               : FileConnectionString(rs->text("プロバイダ名"), rs->text("ユーザーID"), rs->text("パスワード"),
                                                      rs->text("データソース名"));
        auto db = OpenConnection(text, error);
        EXPECT_TRUE(db) << text << ": " << error.description;
        return db;
    }

    test::TempDir m_dir;
    std::optional<test::ServerDatabaseName> m_catalog;
    InitOptions m_options;
};

TEST_P(InitTest, BuildsTheTreeAndBothDatabases) {
    InitResult result = InitInstallation(m_options);
    ASSERT_TRUE(result.ok) << result.message;

    for (const char* folder : {"prgbin", "conf", "report", "manual", "users", "documents"})
        EXPECT_TRUE(fs::is_directory(m_options.root / folder)) << folder;
    for (const char* file : {"report/repdb.accdb", "report/repfrmdb.accdb"})
        EXPECT_TRUE(fs::is_regular_file(m_options.root / file)) << file;
    EXPECT_EQ(fs::exists(m_options.root / "data" / "salesdb.accdb"), GetParam() == Engine::SQLite);

    fs::path key = m_options.root / "conf" / "cipher.key";
    ASSERT_EQ(fs::file_size(key), 32u);
    struct stat info{};
    ASSERT_EQ(stat(key.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    auto config = OpenConfig();
    ASSERT_TRUE(config);
    DbError error;
    auto environment = config->query("SELECT * FROM 動作環境定義 WHERE 動作環境定義ID = '001'", error);
    ASSERT_TRUE(environment && !environment->eof()) << error.description;
    EXPECT_EQ(environment->text("運用事業所コード") + "|" + environment->text("インストール区分"), "001|0");
    EXPECT_EQ(Count(*config, "Carnelo WHERE プログラムID = 'Velmora' AND 処理分類 <> ''"), 1);
    EXPECT_GT(Count(*config,
                    "担当者別操作許可プログラム WHERE 業務メニュ = 'Carnelo' AND "
                    "プログラムID = 'Velmora' AND 操作許可 = '0'"),
              0);

    auto business = OpenBusiness();
    ASSERT_TRUE(business);
    EXPECT_EQ(business->kind(), GetParam() == Engine::SQLite ? EngineKind::SQLite : EngineKind::PostgreSQL);
    EXPECT_GE(Count(*business, "M担当者"), 20);
    EXPECT_EQ(Count(*business, "M担当者 WHERE 在籍区分 = '1' AND 退社日付 < '20240615'"), 1);
    EXPECT_GE(Count(*business, "M得意先"), 100);
    EXPECT_GE(Count(*business, "M商品"), 300);
    EXPECT_EQ(Count(*business, "G消費税"), 4);
    EXPECT_EQ(Count(*business, "A番号情報 WHERE 番号ID IN ('16210','16130','01110')"), 3);
    EXPECT_EQ(Count(*business, "M事業所 WHERE コード IN ('000','001','002')"), 3);
    EXPECT_EQ(Count(*business, "Mユーザ WHERE ID = '0001' AND 決算月 = '3' AND 決算日 = '31'"), 1);
    EXPECT_GT(Count(*business, "T営業引合"), 0);
    EXPECT_GT(Count(*business, "T営業活動明細"), 0);
    // Quotations stored by the program's own save (how their rows pair up is
    // the history test's): black history rows, red ones for the changed; no
    // notice is left.
    EXPECT_EQ(Count(*business, "T営業見積"), 30);
    EXPECT_EQ(Count(*business, "R営業見積 WHERE 赤黒区分 = '1'"), 36);
    EXPECT_EQ(Count(*business, "R営業見積 WHERE 赤黒区分 = '0'"), 6);
    EXPECT_EQ(Count(*business, "T営業見積 WHERE 見積金額合計 > 0 AND 見積消費税合計 > 0"), 30);
    EXPECT_EQ(Count(*business, "未集計情報"), 0);
}

// The screens join masters with inner joins: a demo row whose staff member or
// code is missing would silently vanish from a lookup.
TEST_P(InitTest, DemoRowsReachEachOtherThroughTheScreensJoinsAndStaffPinsDecipherWithTheKey) {
    ASSERT_TRUE(InitInstallation(m_options).ok);
    auto db = OpenBusiness();
    ASSERT_TRUE(db);
    EXPECT_EQ(Count(*db, "M担当者 INNER JOIN M得意先 ON M得意先.担当者コード = M担当者.コード"),
              Count(*db, "M得意先"));
    EXPECT_EQ(Count(*db, "M担当者 INNER JOIN M納品先 ON M担当者.コード = M納品先.担当者コード"),
              Count(*db, "M納品先"));
    EXPECT_EQ(Count(*db, "K品区分 INNER JOIN M商品 ON K品区分.区分 = M商品.品区分"), Count(*db, "M商品"));
    EXPECT_EQ(Count(*db,
                    "K発信区分 INNER JOIN (K応対方法 INNER JOIN (K対応分類 INNER JOIN (K要件分類 "
                    "INNER JOIN (M担当者 INNER JOIN T営業活動明細 ON M担当者.コード = "
                    "T営業活動明細.担当者コード) ON K要件分類.区分 = T営業活動明細.要件分類) ON "
                    "K対応分類.要件分類 = T営業活動明細.要件分類 AND K対応分類.区分 = "
                    "T営業活動明細.対応分類) ON K応対方法.区分 = T営業活動明細.応対方法) ON "
                    "K発信区分.区分 = T営業活動明細.発信区分"),
              Count(*db, "T営業活動明細"));
    // General products carry an empty customer code, not a missing one.
    EXPECT_GT(Count(*db, "M商品 WHERE 品区分 < '9' AND 得意先コード = ''"), 300);
    // Every inquiry number was given by its period's counter.
    EXPECT_EQ(Count(*db,
                    "T営業引合 INNER JOIN A期日別番号情報 ON A期日別番号情報.期日 = "
                    "T営業引合.番号基準日付 WHERE A期日別番号情報.番号ID = '16130' AND "
                    "T営業引合.営業引合No <= A期日別番号情報.連番"),
              Count(*db, "T営業引合"));
    // Status filters take codes as positions: each code table holds 0 .. N-1.
    for (const char* table : {"K取引状況区分", "K取扱状況区分", "K稼動状況区分", "K使用状況区分", "K在籍区分", "K社員区分",
                              "K品区分", "K在庫管理区分", "K消費税区分", "K消費税算出区分", "K見積行区分"}) {
        DbError error;
        auto rs = db->query(std::string("SELECT 区分 FROM ") + table + " ORDER BY 区分", error);
        ASSERT_TRUE(rs) << table << error.description;
        EXPECT_GT(rs->rowCount(), 1u) << table;
        for (int expected = 0; !rs->eof(); ++expected, rs->moveNext()) EXPECT_EQ(rs->text("区分"), std::to_string(expected)) << table;
    }
    auto cipher = Cipher::FromKeyFile((m_options.root / "conf" / "cipher.key").string());
    ASSERT_TRUE(cipher);
    DbError error;
    auto rs = db->query("SELECT コード, 暗証番号 FROM M担当者 ORDER BY コード", error);
    ASSERT_TRUE(rs && !rs->eof()) << error.description;
    for (; !rs->eof(); rs->moveNext()) EXPECT_EQ(cipher->Decipher(rs->text("暗証番号")), DemoPin(rs->text("コード")));
    auto company = db->query("SELECT 特権暗証番号 FROM Mユーザ", error);
    ASSERT_TRUE(company && !company->eof());
    EXPECT_EQ(company->text("特権暗証番号"), "");
}

TEST_P(InitTest, RefusesAnExistingInstallationUnlessReplacing) {
    ASSERT_TRUE(InitInstallation(m_options).ok);
    std::ofstream(m_options.root / "manual" / "Velmora.doc") << "manual";

    InitResult again = InitInstallation(m_options);
    EXPECT_FALSE(again.ok);
    EXPECT_NE(again.message.find("--replace"), std::string::npos) << again.message;

    m_options.replace = true;
    InitResult replaced = InitInstallation(m_options);
    ASSERT_TRUE(replaced.ok) << replaced.message;
    auto db = OpenBusiness();
    ASSERT_TRUE(db);
    EXPECT_EQ(Count(*db, "G消費税"), 4);
    EXPECT_EQ(Count(*db, "Mユーザ"), 1);
    auto config = OpenConfig();
    ASSERT_TRUE(config);
    EXPECT_EQ(Count(*config, "データベース定義"), 1);
    EXPECT_TRUE(fs::exists(m_options.root / "manual" / "Velmora.doc")) << "replacing keeps files it did not make";
}

INSTANTIATE_TEST_SUITE_P(Engines, InitTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), test::EngineName);

TEST(InitPostgres, RefusesACatalogThatAlreadyHoldsTables) {
    std::string source = test::PostgresDataSource();
    if (source.empty()) GTEST_SKIP() << "no test PostgreSQL server";
    test::ScratchDatabase existing(Engine::PostgreSQL, true);
    test::TempDir dir;
    InitOptions options = DemoOptions(dir.path() / "velmora");
    options.postgres = PostgresTarget{source, existing.databaseName(), "postgres", ""};
    InitResult result = InitInstallation(options);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(existing.databaseName()), std::string::npos) << result.message;
    EXPECT_FALSE(fs::exists(options.root / "conf" / "usrcnfg.accdb"));
}

TEST(InitDemo, SameDayGivesTheSameData) {
    auto dump = [](const fs::path& root) {
        DbError error;
        auto db = OpenConnection(FileConnectionString("", "", "", (root / "data" / "salesdb.accdb").string()), error);
        std::string text;
        for (const char* sql : {"SELECT * FROM M得意先 ORDER BY コード", "SELECT * FROM M商品 ORDER BY コード",
                                "SELECT * FROM T営業引合 ORDER BY 営業引合No"}) {
            auto rs = db->query(sql, error);
            for (; rs && !rs->eof(); rs->moveNext())
                for (size_t c = 0; c < rs->columnCount(); ++c) text += rs->text(c) + "|";
        }
        return text;
    };
    test::TempDir dir;
    ASSERT_TRUE(InitInstallation(DemoOptions(dir.path() / "a")).ok);
    ASSERT_TRUE(InitInstallation(DemoOptions(dir.path() / "b")).ok);
    std::string first = dump(dir.path() / "a");
    EXPECT_GT(first.size(), 10000u);
    EXPECT_EQ(first, dump(dir.path() / "b"));
}

TEST(InitDemo, LargeSizeAddsCustomersAndProducts) {
    test::TempDir dir;
    InitOptions options = DemoOptions(dir.path() / "large");
    options.large = true;
    InitResult result = InitInstallation(options);
    ASSERT_TRUE(result.ok) << result.message;
    DbError error;
    auto db = OpenConnection(FileConnectionString("", "", "", (options.root / "data" / "salesdb.accdb").string()), error);
    ASSERT_TRUE(db);
    EXPECT_GE(Count(*db, "M得意先"), 100100);
    EXPECT_GE(Count(*db, "M商品"), 50300);
    EXPECT_EQ(Count(*db, "M得意先 WHERE コード = '100100'"), 1);
}

}  // namespace
}  // namespace velmora
