#include <gtest/gtest.h>

#include <vector>

#include "data/dialect.h"
#include "data/recordset.h"
#include "data/sql_text.h"
#include "support/test_env.h"

namespace velmora {
namespace {

using test::Engine;

struct Row {
    const char* code;
    const char* name;
};

const Row kRows[] = {
    {"01", "USB ケーブル"},  {"02", "usb hub"},    {"03", "C:\\temp\\見積.xlsx"}, {"04", "C:temp"},
    {"05", "100%引"},        {"06", "100円"},      {"07", "a_b"},                {"08", "axb"},
    {"09", "ＵＳＢメモリ"},  {"10", "ｕｓｂメモリ"}, {"11", "O'Brien"},           {"12", "x\\%y"},
};

struct SearchCase {
    const char* typed;
    bool negative;
    std::vector<std::string> codes;
};

// What a lookup window's search finds for a typed text, the same on both engines.
const SearchCase kSearches[] = {
    {"usb", false, {"01", "02"}},
    {"USB", false, {"01", "02"}},
    {"uSb", false, {"01", "02"}},
    {"usb", true, {"03", "04", "05", "06", "07", "08", "09", "10", "11", "12"}},
    // A backslash is an ordinary character, never an escape.
    {"C:\\temp", false, {"03"}},
    {"\\", false, {"03", "12"}},
    {"\\%", false, {"03", "12"}},
    {"x\\%y", false, {"12"}},
    {"\\_", false, {"03", "12"}},
    // "%" and "_" typed by the user stay wildcards, as the suite has them.
    {"100%", false, {"05", "06"}},
    {"a_b", false, {"07", "08"}},
    {"_", false, {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12"}},
    // Only ASCII letters fold; full-width letters match their own case only.
    {"ｕｓｂ", false, {"10"}},
    {"ＵＳＢ", false, {"09"}},
    {"Ｕｓｂ", false, {}},
    {"o'b", false, {"11"}},
    {"O'BRIEN", false, {"11"}},
    {"'", false, {"11"}},
    {"EN", false, {"11"}},
    {"見積", false, {"03"}},
    {"ｃ：", false, {}},
};

std::unique_ptr<Connection> fill(const test::ScratchDatabase& db) {
    auto connection = db.connect();
    if (!connection) return nullptr;
    DbError error;
    if (!connection->execute("CREATE TABLE M商品 (商品コード TEXT PRIMARY KEY, 商品名 TEXT)", error)) {
        ADD_FAILURE() << error.description;
        return nullptr;
    }
    for (const Row& row : kRows) {
        if (!connection->execute("INSERT INTO M商品 VALUES ('" + std::string(row.code) + "', '" +
                                     QuoteSql(row.name) + "')",
                                 error)) {
            ADD_FAILURE() << error.description;
            return nullptr;
        }
    }
    return connection;
}

std::vector<std::string> search(Connection& connection, const SearchCase& c) {
    std::string sql = "SELECT TOP 1000 商品コード FROM M商品 WHERE (商品名 " +
                      std::string(c.negative ? "NOT LIKE" : "LIKE") + " '%" + QuoteSql(c.typed) +
                      "%') ORDER BY 商品コード";
    DbError error;
    auto rs = connection.query(sql, error);
    if (!rs) {
        ADD_FAILURE() << sql << ": " << error.description;
        return {};
    }
    std::vector<std::string> codes;
    for (; !rs->eof(); rs->moveNext()) codes.push_back(rs->text("商品コード"));
    return codes;
}

struct LikeTranslation {
    const char* in;
    const char* postgres;
};

// The literal pattern is copied untouched; only the operator and its escape
// clause change, and only on PostgreSQL: ILIKE where the pattern has ASCII
// letters to fold.
const LikeTranslation kTranslations[] = {
    {"SELECT * FROM t WHERE a LIKE '%x%'", "SELECT * FROM t WHERE a ILIKE '%x%' ESCAPE ''"},
    {"SELECT * FROM t WHERE (a NOT LIKE '%C:\\t%') ORDER BY a",
     "SELECT * FROM t WHERE (a NOT ILIKE '%C:\\t%' ESCAPE '') ORDER BY a"},
    {"SELECT * FROM t WHERE a like '%it''s LIKE x%' AND b LIKE 'y'",
     "SELECT * FROM t WHERE a ILIKE '%it''s LIKE x%' ESCAPE '' AND b ILIKE 'y' ESCAPE ''"},
    {"SELECT 'a LIKE b' AS LIKED, UNLIKE FROM t", "SELECT 'a LIKE b' AS LIKED, UNLIKE FROM t"},
    {"SELECT * FROM t WHERE a LIKE '%x!%%' ESCAPE '!'", "SELECT * FROM t WHERE a ILIKE '%x!%%' ESCAPE '!'"},
    {"SELECT * FROM t WHERE a LIKE b", "SELECT * FROM t WHERE a ILIKE b"},
    // A pattern without ASCII letters has nothing to fold: plain LIKE, which
    // does not lower-case every row's text first.
    {"SELECT * FROM t WHERE a LIKE '%!%%' ESCAPE '!'", "SELECT * FROM t WHERE a LIKE '%!%%' ESCAPE '!'"},
    {"SELECT * FROM t WHERE a LIKE '%富士%' OR b LIKE '%ＵＳＢ%'",
     "SELECT * FROM t WHERE a LIKE '%富士%' ESCAPE '' OR b LIKE '%ＵＳＢ%' ESCAPE ''"},
    {"SELECT * FROM t WHERE a LIKE '%工業A%' AND b NOT LIKE '%100%'",
     "SELECT * FROM t WHERE a ILIKE '%工業A%' ESCAPE '' AND b NOT LIKE '%100%' ESCAPE ''"},
};

TEST(LikeParity, PostgresTranslationTouchesOnlyTheOperator) {
    for (const LikeTranslation& c : kTranslations) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(TranslateSql(c.in, EngineKind::PostgreSQL), c.postgres);
        EXPECT_EQ(TranslateSql(c.in, EngineKind::SQLite), c.in);
    }
}

TEST(LikeParity, SameSearchFindsTheSameRowsOnBothEngines) {
    test::ScratchDatabase sqlite(Engine::SQLite);
    test::ScratchDatabase postgres(Engine::PostgreSQL);
    VELMORA_REQUIRE_DATABASE(postgres);
    auto onSqlite = fill(sqlite);
    auto onPostgres = fill(postgres);
    ASSERT_TRUE(onSqlite && onPostgres);
    for (const SearchCase& c : kSearches) {
        SCOPED_TRACE(std::string(c.negative ? "NOT LIKE " : "LIKE ") + c.typed);
        EXPECT_EQ(search(*onSqlite, c), c.codes);
        EXPECT_EQ(search(*onPostgres, c), c.codes);
    }
}

}  // namespace
}  // namespace velmora
