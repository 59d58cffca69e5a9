#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "app_fixture.h"
#include "data/connection.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::Engine;

enum class Content { Empty, RandomBytes, ForeignDatabase };

// The file as it would be found: nothing, noise, or another program's database
// (rollback journal, as most programs leave theirs).
void makeFile(const std::string& path, Content content) {
    if (content == Content::ForeignDatabase) {
        DbError error;
        auto db = CreateSqliteDatabase(path, error);
        ASSERT_TRUE(db && db->execute("PRAGMA journal_mode=DELETE; CREATE TABLE notes (id INTEGER PRIMARY KEY, body "
                                      "TEXT); INSERT INTO notes (body) VALUES ('買い物')",
                                      error))
            << error.description;
        return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::mt19937 random(20261206);
    if (content == Content::RandomBytes)
        for (int i = 0; i < 8192; ++i) out.put(static_cast<char>(random() & 0xff));
}

struct FileCase {
    const char* name;
    bool business;  // the business database, else the configuration database
    Content content;
    const char* problem;
};

const FileCase kFileCases[] = {
    {"EmptyConfiguration", false, Content::Empty, "は空のファイルです。"},
    {"NoiseAsConfiguration", false, Content::RandomBytes, "はデータベースではないか、壊れています。"},
    {"ForeignConfiguration", false, Content::ForeignDatabase, "はこのシステムのデータベースではありません。"},
    {"EmptyBusinessDatabase", true, Content::Empty, "は空のファイルです。"},
    {"NoiseAsBusinessDatabase", true, Content::RandomBytes, "はデータベースではないか、壊れています。"},
    {"ForeignBusinessDatabase", true, Content::ForeignDatabase, "はこのシステムのデータベースではありません。"},
};

class DatabaseFilesTest : public testing::TestWithParam<FileCase> {};

// A database file that is not ours is refused at start with its name in the
// message, and is left exactly as it was: an empty file does not become a
// database, another program's database keeps its journal mode, and no
// journal files are left beside it.
TEST_P(DatabaseFilesTest, AFileThatIsNotOursIsRefusedAtStartAndLeftAsItWas) {
    const FileCase& c = GetParam();
    test::TestInstallation inst(Engine::SQLite);
    std::string root = inst.root();
    std::string file;
    test::TempDir other;
    if (c.business) {
        file = other.file("salesdb.accdb");
        inst.config("UPDATE データベース定義 SET データソース名 = '" + file + "'");
    } else {
        // An installation of its own: the fixture keeps its configuration database open.
        root = other.path().string() + "/";
        fs::create_directories(root + "prgbin");
        fs::create_directories(root + "conf");
        file = root + "conf/usrcnfg.accdb";
    }
    makeFile(file, c.content);
    const std::string before = test::ReadFile(file);

    test::RecordingHost host;
    ProgramEnvironment environment = inst.environment();
    environment.programFolder = root + "prgbin";
    Program program(environment, host);
    EXPECT_FALSE(program.StartUp());
    EXPECT_TRUE(program.ended());

    ASSERT_EQ(host.messages.size(), c.business ? 1u : 2u);
    EXPECT_EQ(host.messages.back(), "データベースが使用できません。\n「" + file + "」" + c.problem +
                                        "正しいデータベースに置き換えてから起動してください。");
    EXPECT_EQ(test::ReadFile(file), before);
    for (const char* side : {"-wal", "-shm", "-journal"}) EXPECT_FALSE(fs::exists(file + side)) << side;
    if (c.business) {
        bool openError = false;
        for (auto& row : inst.logRows()) openError |= row.second.rfind("エラー DB_OPEN ERROR", 0) == 0;
        EXPECT_TRUE(openError) << "the refusal leaves its error row";
    } else {
        // The open error comes first.
        EXPECT_EQ(host.messages.front().rfind("SYB_OPEN ERROR", 0), 0u);
        EXPECT_NE(host.messages.front().find("\nsysopen error"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, DatabaseFilesTest, testing::ValuesIn(kFileCases),
                         [](const testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
