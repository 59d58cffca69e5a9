#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "admin/command_line.h"
#include "admin/installation.h"
#include "admin/installation_copy.h"
#include "data/connection_string.h"
#include "platform/chosen_installation.h"
#include "support/statements.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::Engine;

std::string One(const fs::path& file, const std::string& sql) {
    DbError error;
    auto db = OpenConnection(FileConnectionString("Microsoft.ACE.OLEDB.12.0", "", "", file.string()), error);
    EXPECT_TRUE(db) << file << ": " << error.description;
    if (!db) return "<no database>";
    auto rs = db->query(sql, error);
    EXPECT_TRUE(rs) << sql << ": " << error.description;
    return rs && !rs->eof() ? rs->text(rs->columnName(0)) : "<no row>";
}

void Execute(const fs::path& file, const std::string& sql) {
    DbError error;
    auto db = OpenConnection(FileConnectionString("Microsoft.ACE.OLEDB.12.0", "", "", file.string()), error);
    ASSERT_TRUE(db) << error.description;
    ASSERT_TRUE(db->execute(sql, error)) << error.description;
}

class CopyTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        m_source = m_dir.path() / "office";
        InitOptions options;
        options.root = m_source;
        CalendarDate::Parse("20240615", options.today);
        if (GetParam() == Engine::PostgreSQL) {
            VELMORA_REQUIRE_DATABASE(m_catalog.emplace("velmora_copy"));
            m_postgres = options.postgres =
                PostgresTarget{m_catalog->source(), m_catalog->name(), "postgres", ""};
        }
        InitResult result = InitInstallation(options);
        ASSERT_TRUE(result.ok) << result.message;
    }

    static std::string DataSource(const fs::path& root) {
        return One(root / "conf" / "usrcnfg.accdb", "SELECT データソース名 FROM データベース定義 WHERE 情報種類 = 'GNR'");
    }
    static std::string Server(const fs::path& root) {
        return One(root / "conf" / "usrcnfg.accdb", "SELECT サーバー名 FROM データベース定義 WHERE 情報種類 = 'GNR'");
    }

    test::TempDir m_dir;
    fs::path m_source;
    std::optional<test::ServerDatabaseName> m_catalog;
    std::optional<PostgresTarget> m_postgres;
};

TEST_P(CopyTest, TheCopyWorksOnItsOwnFilesAndAServerStaysShared) {
    const fs::path copy = m_dir.path() / "branch";
    CopyOutcome outcome = CopyInstallation(m_source, copy);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    ASSERT_TRUE(fs::is_regular_file(copy / "conf" / "cipher.key"));
    if (m_postgres) {
        EXPECT_TRUE(outcome.sharedBusinessData);
        EXPECT_EQ(Server(copy), m_postgres->dataSource);
        EXPECT_EQ(Server(m_source), m_postgres->dataSource);
        return;
    }
    EXPECT_FALSE(outcome.sharedBusinessData);
    EXPECT_EQ(DataSource(copy), (copy / "data" / "salesdb.accdb").string());
    EXPECT_EQ(DataSource(m_source), (m_source / "data" / "salesdb.accdb").string());
    const fs::path copyData = copy / "data" / "salesdb.accdb";
    const fs::path sourceData = m_source / "data" / "salesdb.accdb";
    EXPECT_EQ(One(copyData, "SELECT ドキュメントフォルダ FROM Mユーザ"), (copy / "documents").string());
    EXPECT_EQ(One(copyData, "SELECT 帳票イメージフォルダ FROM Mユーザ"), (copy / "report" / "image").string());
    EXPECT_EQ(One(sourceData, "SELECT ドキュメントフォルダ FROM Mユーザ"), (m_source / "documents").string());

    // A change made through the copy's own definition reaches only its file.
    Execute(DataSource(copy), "UPDATE Mユーザ SET 名称 = '株式会社コピー'");
    EXPECT_EQ(One(sourceData, "SELECT 名称 FROM Mユーザ"), "株式会社ミツワ商事");
    EXPECT_EQ(One(copyData, "SELECT 名称 FROM Mユーザ"), "株式会社コピー");
}

TEST_P(CopyTest, AMovePointsTheTreeAtItsNewPlaceAndTheChoiceFollows) {
    test::ScopedEnvironment config("XDG_CONFIG_HOME", (m_dir.path() / "config").string());
    std::string error;
    ASSERT_TRUE(WriteChosenInstallation(m_source, error)) << error;
    const fs::path moved = m_dir.path() / "moved";
    CopyOutcome outcome = MoveInstallation(m_source, moved);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_FALSE(fs::exists(m_source));
    EXPECT_EQ(ReadChosenInstallation(), moved);
    if (m_postgres)
        EXPECT_EQ(Server(moved), m_postgres->dataSource);
    else
        EXPECT_EQ(DataSource(moved), (moved / "data" / "salesdb.accdb").string());
}

TEST_P(CopyTest, AMoveLeavesAnotherChoiceAlone) {
    test::ScopedEnvironment config("XDG_CONFIG_HOME", (m_dir.path() / "config").string());
    std::string error;
    ASSERT_TRUE(WriteChosenInstallation(m_dir.path() / "elsewhere", error)) << error;
    ASSERT_TRUE(MoveInstallation(m_source, m_dir.path() / "moved").ok);
    EXPECT_EQ(ReadChosenInstallation(), m_dir.path() / "elsewhere");
}

INSTANTIATE_TEST_SUITE_P(Engines, CopyTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), test::EngineName);

TEST(CopyRefusal, BadSourcesAndTargetsLeaveEverythingAsItWas) {
    test::TempDir dir;
    const fs::path source = dir.path() / "office";
    InitOptions options;
    options.root = source;
    CalendarDate::Parse("20240615", options.today);
    ASSERT_TRUE(InitInstallation(options).ok);
    fs::create_directories(dir.path() / "full");
    std::ofstream(dir.path() / "full" / "notes.txt") << "kept";
    fs::create_directories(dir.path() / "plain");
    struct Case {
        fs::path from, to;
        const char* problem;
    } cases[] = {
        {dir.path() / "plain", dir.path() / "x", "is not an installation"},
        {dir.path() / "nothing", dir.path() / "x", "is not an installation"},
        {source, dir.path() / "full", "already exists"},
        {source, source / "inner", "lies inside"},
        {source, source, "already exists"},
    };
    for (const Case& c : cases) {
        for (bool move : {false, true}) {
            CopyOutcome outcome = move ? MoveInstallation(c.from, c.to) : CopyInstallation(c.from, c.to);
            EXPECT_FALSE(outcome.ok) << c.from << " → " << c.to;
            EXPECT_NE(outcome.message.find(c.problem), std::string::npos) << outcome.message;
        }
    }
    EXPECT_FALSE(fs::exists(dir.path() / "x"));
    EXPECT_FALSE(fs::exists(source / "inner"));
    EXPECT_TRUE(fs::is_regular_file(source / "conf" / "usrcnfg.accdb"));
    EXPECT_EQ(fs::file_size(dir.path() / "full" / "notes.txt"), 4u);
}

TEST(AdminArguments, ChoosingCopyingAndMoving) {
    struct Case {
        std::vector<std::string> arguments;
        AdminCommand command;
        std::string request;  // root, target and whether the installation is chosen
    } cases[] = {
        {{"use", "/srv/a"}, AdminCommand::Use, "/srv/a||chosen"},
        {{"copy", "/srv/a", "/srv/b"}, AdminCommand::Copy, "/srv/a|/srv/b|chosen"},
        {{"move", "a", "b"}, AdminCommand::Move, "a|b|chosen"},
        {{"init", "/srv/a", "--no-use"}, AdminCommand::Init, "/srv/a||kept"},
        {{"init", "/srv/a"}, AdminCommand::Init, "/srv/a||chosen"},
        {{"use"}, AdminCommand::Invalid, ""},
        {{"use", "a", "b"}, AdminCommand::Invalid, ""},
        {{"use", "--no-use"}, AdminCommand::Invalid, ""},
        {{"copy", "a"}, AdminCommand::Invalid, ""},
        {{"move", "a", "b", "c"}, AdminCommand::Invalid, ""},
        {{"refresh-programs", "a", "--no-use"}, AdminCommand::Invalid, ""},
    };
    for (const Case& c : cases) {
        AdminRequest request = ParseAdminArguments(c.arguments);
        const std::string shown = testing::PrintToString(c.arguments);
        EXPECT_EQ(request.command, c.command) << shown << ": " << request.problem;
        if (c.command == AdminCommand::Invalid) continue;
        EXPECT_EQ(request.init.root.string() + "|" + request.target.string() + "|" +
                      (request.chooseInstallation ? "chosen" : "kept"),
                  c.request)
            << shown;
    }
}

}  // namespace
}  // namespace velmora
