#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "data/connection_string.h"
#include "data/dialect.h"
#include "data/recordset.h"

namespace velmora {

struct DialectCase {
    const char* in;
    const char* sqlite;
    const char* postgres;
};

class DialectTranslation : public testing::TestWithParam<DialectCase> {};

TEST_P(DialectTranslation, RewritesOnlyTopAndBrackets) {
    const DialectCase& c = GetParam();
    EXPECT_EQ(TranslateSql(c.in, EngineKind::SQLite), c.sqlite);
    EXPECT_EQ(TranslateSql(c.in, EngineKind::PostgreSQL), c.postgres);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, DialectTranslation,
    testing::Values(
        DialectCase{"SELECT TOP 1000 * FROM M得意先 ORDER BY 得意先コード",
                    "SELECT * FROM M得意先 ORDER BY 得意先コード LIMIT 1000",
                    "SELECT * FROM M得意先 ORDER BY 得意先コード LIMIT 1000"},
        DialectCase{"select distinct top 5 a from t", "select distinct a from t LIMIT 5",
                    "select distinct a from t LIMIT 5"},
        // A limited subquery keeps its limit inside its own parentheses.
        DialectCase{"SELECT * FROM T WHERE k IN (SELECT TOP 1 k FROM U ORDER BY k DESC) ORDER BY k",
                    "SELECT * FROM T WHERE k IN (SELECT k FROM U ORDER BY k DESC LIMIT 1) ORDER BY k",
                    "SELECT * FROM T WHERE k IN (SELECT k FROM U ORDER BY k DESC LIMIT 1) ORDER BY k"},
        DialectCase{"INSERT INTO [T営業見積] ([事業所コード],[番号基準日付]) VALUES ('001','[x] TOP 3')",
                    "INSERT INTO [T営業見積] ([事業所コード],[番号基準日付]) VALUES ('001','[x] TOP 3')",
                    "INSERT INTO T営業見積 (事業所コード,番号基準日付) VALUES ('001','[x] TOP 3')"},
        DialectCase{"SELECT 'SELECT TOP 2 x' AS a FROM t", "SELECT 'SELECT TOP 2 x' AS a FROM t",
                    "SELECT 'SELECT TOP 2 x' AS a FROM t"},
        DialectCase{"SELECT TOPIC FROM t", "SELECT TOPIC FROM t", "SELECT TOPIC FROM t"},
        // SQLite reads a RIGHT JOIN as the LEFT JOIN turned round.
        DialectCase{"SELECT * FROM (A RIGHT JOIN B ON A.k = B.k) RIGHT JOIN C ON B.k = C.k",
                    "SELECT * FROM C LEFT JOIN (B LEFT JOIN A ON A.k = B.k) ON B.k = C.k",
                    "SELECT * FROM (A RIGHT JOIN B ON A.k = B.k) RIGHT JOIN C ON B.k = C.k"},
        DialectCase{"SELECT TOP 1 a FROM t; SELECT b FROM u", "SELECT a FROM t LIMIT 1; SELECT b FROM u",
                    "SELECT a FROM t LIMIT 1; SELECT b FROM u"},
        DialectCase{"SELECT 'it''s' FROM [t]", "SELECT 'it''s' FROM [t]", "SELECT 'it''s' FROM t"},
        // A dropped bracket must not join two literals into one.
        DialectCase{"SELECT 'a'['b'] FROM t", "SELECT 'a'['b'] FROM t", "SELECT 'a' 'b' FROM t"}));

TEST(ConnectionString, BuildsTheSuitesFormsAndParsesThemBack) {
    EXPECT_EQ(ConfigConnectionString(1, "/srv/conf/usrcnfg.accdb"),
              "Provider=Microsoft.ACE.OLEDB.12.0;User ID=;Password=;Data Source=/srv/conf/usrcnfg.accdb");
    EXPECT_EQ(ConfigConnectionString(2, "/x/usrcnfg.mdb;"),
              "Provider=Microsoft.Jet.OLEDB.4.0;User ID=;Password=;Data Source=/x/usrcnfg.mdb;");
    std::string server = ServerConnectionString("SQLOLEDB", "sales", "pw", "db1:5433", "eigyo");
    EXPECT_EQ(server, "Provider=SQLOLEDB;User ID=sales;Password=pw;Data Source=db1:5433;Initial Catalog=eigyo;");
    ConnectionParts parts = ParseConnectionString(server);
    EXPECT_EQ((std::vector<std::string>{parts.provider, parts.userId, parts.password, parts.dataSource,
                                        parts.initialCatalog}),
              (std::vector<std::string>{"SQLOLEDB", "sales", "pw", "db1:5433", "eigyo"}));
    EXPECT_TRUE(parts.hasInitialCatalog);
    ConnectionParts file = ParseConnectionString(FileConnectionString("Microsoft.ACE.OLEDB.12.0", "", "", "/d/a.accdb"));
    EXPECT_EQ(file.dataSource, "/d/a.accdb");
    EXPECT_FALSE(file.hasInitialCatalog);
}

TEST(ParseScaled4, ReadsDecimalTextExactly) {
    std::vector<std::optional<std::int64_t>> read;
    // The fifth decimal rounds half away from zero; the last is beyond the currency range.
    for (const char* text : {"123.4567", "-0.5", "99999999999.9999", "7", "1.23455", "-1.23455", ".5", "", "abc", "1e5",
                             "12x", "99999999999999999"})
        read.push_back(ParseScaled4(text));
    EXPECT_EQ(read, (std::vector<std::optional<std::int64_t>>{1234567, -5000, 999999999999999, 70000, 12346, -12346,
                                                              5000, std::nullopt, std::nullopt, std::nullopt,
                                                              std::nullopt, std::nullopt}));
}

TEST(Recordset, FindsColumnsIgnoringAsciiCaseAndTellsNullFromEmpty) {
    Recordset rs({"営業見積No", "名称", "備考"});
    Cell no{Cell::Kind::Text, 0, 0, "00000012"};
    Cell empty{Cell::Kind::Text, 0, 0, ""};
    rs.addRow({no, empty, Cell{}});
    EXPECT_EQ(rs.text("営業見積no"), "00000012");
    EXPECT_FALSE(rs.isNull("名称"));
    EXPECT_TRUE(rs.isNull("備考"));
    EXPECT_EQ(rs.text("備考"), "");
    EXPECT_TRUE(rs.isNull("no such column"));
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_TRUE(rs.isNull("営業見積No"));
}

TEST(Recordset, ReadsSqliteRealsOnlyWithinTheirExactRange) {
    Recordset rs({"v"});
    for (double value : {0.1, 12345678901.2345, -0.0001, 2e12}) {
        Cell c;
        c.kind = Cell::Kind::Real;
        c.real = value;
        rs.addRow({c});
    }
    EXPECT_EQ(rs.scaled4("v"), 1000);
    rs.moveNext();
    EXPECT_EQ(rs.scaled4("v"), 123456789012345);
    rs.moveNext();
    EXPECT_EQ(rs.scaled4("v"), -1);
    rs.moveNext();
    EXPECT_FALSE(rs.scaled4("v"));
}

}  // namespace velmora
