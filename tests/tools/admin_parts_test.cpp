#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "admin/command_line.h"
#include "admin/installation.h"
#include "admin/schema_catalog.h"
#include "admin/table_writer.h"
#include "data/schema_text.h"
#include "support/test_env.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// The options as "root|server|catalog|user|large|quotations|replace|today", without a server "root|-|...".
std::string OptionsText(const InitOptions& o) {
    const std::string server =
        o.postgres ? o.postgres->dataSource + "|" + o.postgres->database + "|" + o.postgres->user : "-";
    return o.root.string() + "|" + server + "|" + std::to_string(o.large) + "|" + std::to_string(o.historyQuotations) +
           "|" + std::to_string(o.replace) + "|" + o.today.Text();
}

TEST(AdminArguments, ReadsInitOptions) {
    AdminRequest r = ParseAdminArguments(
        {"init", "/srv/velmora", "--postgres", "/tmp/pg:5432:sales", "--pg-user", "admin", "--size", "large", "--replace",
         "--today", "20250110"});
    ASSERT_EQ(r.command, AdminCommand::Init) << r.problem;
    EXPECT_EQ(OptionsText(r.init),
              "/srv/velmora|/tmp/pg:5432|sales|admin|1|" + std::to_string(kLargeQuotations) + "|1|20250110");

    AdminRequest plain = ParseAdminArguments({"init", "here"});
    ASSERT_EQ(plain.command, AdminCommand::Init);
    EXPECT_EQ(OptionsText(plain.init), "here|-|0|0|0|00000000");
}

TEST(AdminArguments, RefusesWhatItCannotRun) {
    const std::vector<std::vector<std::string>> bad = {
        {"init"},
        {"init", "a", "b"},
        {"init", "a", "--size", "huge"},
        {"init", "a", "--postgres", "/tmp/pg:5432"},
        {"init", "a", "--postgres"},
        {"init", "a", "--today", "2025-01-10"},
        {"init", "a", "--today", "22620101"},
        {"init", "a", "--today", "16771231"},
        {"init", "a", "--today", "202501109"},
        {"init", "a", "--colour", "red"},
        {"refresh-programs", "a", "--replace"},
        {"schema", "reports"},
        {"install", "a"},
        {"sign-in", "a"},
        {"sign-in", "a", "yes"},
    };
    for (const auto& arguments : bad) {
        AdminRequest r = ParseAdminArguments(arguments);
        EXPECT_EQ(r.command, AdminCommand::Invalid) << arguments[0] << " " << (arguments.size() > 1 ? arguments[1] : "");
        EXPECT_FALSE(r.problem.empty());
    }
    EXPECT_EQ(ParseAdminArguments({}).command, AdminCommand::Invalid) << "no command is a usage error";
    EXPECT_EQ(ParseAdminArguments({"refresh-programs", "dir"}).command, AdminCommand::RefreshPrograms);
    EXPECT_NE(AdminUsage().find("refresh-programs"), std::string::npos);
}

TEST(AdminArguments, PostgresTargetSplitsAtTheLastColonThatIsNoPort) {
    struct Case {
        const char* text;
        bool ok;
        const char* source;
        const char* database;
    };
    const Case cases[] = {
        {"localhost:sales", true, "localhost", "sales"},
        {"db.example.com:5433:sales", true, "db.example.com:5433", "sales"},
        {"/var/run/postgresql:velmora", true, "/var/run/postgresql", "velmora"},
        {"/tmp/pg:5432", false, "", ""},
        {"sales", false, "", ""},
        {"host:", false, "", ""},
    };
    for (const Case& c : cases) {
        std::string source, database;
        EXPECT_EQ(SplitPostgresTarget(c.text, source, database), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(source + "|" + database, std::string(c.source) + "|" + c.database);
    }
}

TEST(SchemaCatalog, ReadsEveryTableWithItsNumericColumns) {
    auto tables = ParseSchema(BusinessSchemaSql());
    const CatalogTable* lines = FindTable(tables, "T営業見積明細");
    ASSERT_TRUE(lines);
    ASSERT_GT(lines->columns.size(), 50u);
    EXPECT_EQ(lines->columns.front().name, "事業所コード");
    for (const CatalogColumn& column : lines->columns) {
        bool money = column.name == "見積数量" || column.name == "見積金額" || column.name == "商品税込仕入単価";
        if (money) {
            EXPECT_TRUE(column.numeric) << column.name;
        }
        if (column.name == "行区分" || column.name == "営業見積固有行No") {
            EXPECT_FALSE(column.numeric) << column.name;
        }
        EXPECT_NE(column.name, "PRIMARY");
    }
    // As many tables as CREATE TABLE statements, in both texts.
    for (std::string_view ddl : {BusinessSchemaSql(), ConfigSchemaSql()}) {
        size_t statements = 0;
        for (size_t at = ddl.find("CREATE TABLE"); at != std::string_view::npos; at = ddl.find("CREATE TABLE", at + 1))
            ++statements;
        auto parsed = ParseSchema(ddl);
        EXPECT_EQ(parsed.size(), statements);
        for (const CatalogTable& table : parsed) EXPECT_FALSE(table.columns.empty()) << table.name;
    }
}

class TableWriterTest : public testing::TestWithParam<test::Engine> {};

TEST_P(TableWriterTest, FillsUnsetColumnsAndRollsBackOnAnyFailure) {
    test::ScratchDatabase scratch(GetParam(), true);
    VELMORA_REQUIRE_DATABASE(scratch);
    auto db = scratch.connect();
    ASSERT_TRUE(db);
    auto tables = ParseSchema(BusinessSchemaSql());
    const CatalogTable* products = FindTable(tables, "M商品");
    ASSERT_TRUE(products);
    {
        TableWriter writer(*db, *products);
        ASSERT_TRUE(writer.insert(writer.row()("コード", "A-1")("名称A", "鉛筆")));
        ASSERT_TRUE(writer.finish()) << writer.error();
    }
    DbError error;
    auto rs = db->query("SELECT * FROM M商品 WHERE 得意先コード = '' AND 税抜販売単価 = 0", error);
    ASSERT_TRUE(rs) << error.description;
    EXPECT_EQ(rs->rowCount(), 1u);

    {
        TableWriter writer(*db, *products);
        EXPECT_TRUE(writer.insert(writer.row()("コード", "A-2")));
        EXPECT_FALSE(writer.insert(writer.row()("コード", "A-3")("色", "赤")));
        EXPECT_NE(writer.error().find("色"), std::string::npos);
        EXPECT_FALSE(writer.finish());
    }
    {
        TableWriter writer(*db, *products);
        EXPECT_TRUE(writer.insert(writer.row()("コード", "A-4")));
        EXPECT_FALSE(writer.insert(writer.row()("コード", "A-1"))) << "a duplicate key";
        EXPECT_FALSE(writer.finish());
    }
    rs = db->query("SELECT コード FROM M商品", error);
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->rowCount(), 1u) << "rows of failed tables are rolled back";
}

INSTANTIATE_TEST_SUITE_P(Engines, TableWriterTest, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

void WriteProgram(const fs::path& file, const std::string& content, fs::perms mode) {
    std::ofstream(file) << content;
    fs::permissions(file, mode);
}

TEST(RefreshPrograms, CopiesTheKnownProgramsThatExistAndReplacesOldCopies) {
    test::TempDir dir;
    fs::path build = dir.path() / "build";
    fs::create_directories(build);
    const fs::perms executable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec;
    WriteProgram(build / "Velmora", "new velmora", executable);
    WriteProgram(build / "Orvessa", "issuing stand-in", executable);
    WriteProgram(build / "velmora_tools_tests", "not installed", executable);
    fs::path root = dir.path() / "install";
    fs::create_directories(root / "prgbin");
    WriteProgram(root / "prgbin" / "Velmora", "old velmora", executable);

    std::vector<std::string> copied;
    std::string error;
    // A folder without the configuration database is no installation.
    EXPECT_FALSE(RefreshPrograms(root, build, copied, error));
    EXPECT_NE(error.find("is not an installation"), std::string::npos) << error;
    EXPECT_EQ(test::ReadFile(root / "prgbin" / "Velmora"), "old velmora");
    fs::create_directories(root / "conf");
    std::ofstream(root / "conf" / "usrcnfg.accdb").close();
    ASSERT_TRUE(RefreshPrograms(root, build, copied, error)) << error;
    EXPECT_EQ(copied, (std::vector<std::string>{"Velmora", "Orvessa"}));
    EXPECT_EQ(test::ReadFile(root / "prgbin" / "Velmora"), "new velmora");
    EXPECT_EQ(test::ReadFile(root / "prgbin" / "Orvessa"), "issuing stand-in");
    EXPECT_FALSE(fs::exists(root / "prgbin" / "velmora_tools_tests"));
    EXPECT_FALSE(fs::exists(root / "prgbin" / "Velmora.new"));
    EXPECT_TRUE((fs::status(root / "prgbin" / "Orvessa").permissions() & fs::perms::owner_exec) !=
                fs::perms::none);

    // Built here, the issuing program has a name of its own; the stand-in plays every other sibling.
    fs::remove(build / "Orvessa");
    WriteProgram(build / "velmora-issue", "issuing program", executable);
    WriteProgram(build / "velmora-standin", "stand-in", executable);
    ASSERT_TRUE(RefreshPrograms(root, build, copied, error)) << error;
    EXPECT_EQ(test::ReadFile(root / "prgbin" / "Orvessa"), "issuing program");
    for (const std::string& name : InstalledProgramNames())
        if (name != "Velmora" && name != "Orvessa") {
            EXPECT_EQ(test::ReadFile(root / "prgbin" / name), "stand-in") << name;
        }
    EXPECT_FALSE(fs::exists(root / "prgbin" / "velmora-issue"));
}

}  // namespace
}  // namespace velmora
