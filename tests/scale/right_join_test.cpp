// The reads written with RIGHT JOIN give the same rows in the same order on
// SQLite, where they run with the joins turned round, as on PostgreSQL,
// where they run as written.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "data/join_order.h"
#include "demo/demo_installation.h"
#include "quotation/load.h"
#include "quotation/master_reads.h"
#include "screens/lookup/condition_builder.h"

namespace velmora {
namespace {

using test::DemoInstallation;
using test::Engine;

// A result as comparable text: each row with numbers by their exact value,
// Null apart from empty and names in one case, and the values the ORDER BY
// sorts on. Rows that tie on those may come in any order on either engine.
struct Result {
    std::vector<std::string> rows;  // sorted
    std::vector<std::string> order;
    bool operator==(const Result&) const = default;
};

std::string Lower(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// The columns of the statement's ORDER BY, as the recordset names them.
std::vector<std::string> SortColumns(const std::string& sql) {
    std::vector<std::string> columns;
    const size_t at = sql.rfind(" ORDER BY ");
    if (at == std::string::npos) return columns;
    std::string rest = sql.substr(at + 10) + ",";
    for (size_t comma; (comma = rest.find(',')) != std::string::npos; rest.erase(0, comma + 1)) {
        std::string column = rest.substr(0, comma);
        if (const size_t blank = column.find(' '); blank != std::string::npos) column.resize(blank);
        if (const size_t dot = column.find('.'); dot != std::string::npos) column.erase(0, dot + 1);
        columns.push_back(Lower(column));
    }
    return columns;
}

Result RunRead(DataAccess& access, const std::string& sql) {
    std::unique_ptr<Recordset> rs;
    access.OpenDataRecordset(rs, sql);
    Result result;
    const std::vector<std::string> sort = SortColumns(sql);
    for (; rs && !rs->eof(); rs->moveNext()) {
        std::string row, key;
        for (size_t i = 0; i < rs->columnCount(); ++i) {
            const std::string name = Lower(rs->columnName(i));
            if (name.find("暗証番号") != std::string::npos) continue;  // enciphered with a fresh nonce each
            const Cell* cell = rs->cell(i);
            const std::string text = rs->text(i);
            const auto number = ParseScaled4(text);
            const std::string value = cell == nullptr || cell->kind == Cell::Kind::Null ? "NULL"
                                      : number                                       ? std::to_string(*number)
                                                                                     : "'" + text + "'";
            row += name + "=" + value + "|";
            if (std::find(sort.begin(), sort.end(), name) != sort.end()) key += value + "|";
        }
        result.rows.push_back(row);
        result.order.push_back(key);
    }
    std::sort(result.rows.begin(), result.rows.end());
    return result;
}

std::vector<std::string> Column(DataAccess& access, const std::string& sql) {
    std::vector<std::string> out;
    std::unique_ptr<Recordset> rs;
    access.OpenDataRecordset(rs, sql);
    for (; rs && !rs->eof(); rs->moveNext()) out.push_back(rs->text(size_t{0}));
    return out;
}

// Every read of the system written with a RIGHT JOIN, for every key the
// installation holds: quotation and inquiry headers, customer,
// counterparty and staff reads, and every search of the lookup windows.
std::vector<std::string> Statements(DataAccess& access) {
    std::vector<std::string> all;
    for (const auto& key : Column(access, "SELECT 事業所コード || '|' || 番号基準日付 || '|' || 営業見積No AS k FROM T営業見積 ORDER BY k"))
        all.push_back(HeaderQuery(key.substr(0, 3), key.substr(4, 8), key.substr(13)));
    for (const auto& key : Column(access, "SELECT 事業所コード || '|' || 番号基準日付 || '|' || 営業引合No AS k FROM T営業引合 ORDER BY k"))
        all.push_back(InquiryHeaderQuery(key.substr(0, 3), key.substr(4, 8), key.substr(13)));
    for (const auto& code : Column(access, "SELECT コード FROM M得意先 ORDER BY コード")) all.push_back(CustomerReadQuery(code, false));
    for (const auto& code : Column(access, "SELECT コード FROM M対応先 ORDER BY コード")) all.push_back(CustomerReadQuery(code, true));
    for (const auto& code : Column(access, "SELECT コード FROM M担当者 ORDER BY コード"))
        for (const char* office : {"000", "001", "002"}) all.push_back(StaffReadQuery(code, office));

    QueryContext context;
    context.databaseKind = "A";
    context.today = "20261206";
    for (LookupWindowId id : AllLookupWindows()) {
        const WindowDescription& w = DescribeWindow(id);
        for (const char* office : {"000", "001"}) {
            context.currentOffice = context.operatingOffice = office;
            SearchValues values;
            for (const auto& f : w.filters) values.filters[f.name] = values.filterAll[f.name] = 99;
            for (SearchMode mode : {SearchMode::Compound(), SearchMode::Negative()})
                all.push_back(BuildLookupQuery(w, mode, values, context));
            // Each field searched with a word that some rows hold.
            for (const auto& f : w.fields) {
                values.fields[f.name] = f.kind == FieldKind::Text ? "ト" : "00001";
                all.push_back(BuildLookupQuery(w, SearchMode::OfField(f.name), values, context));
                all.push_back(BuildLookupQuery(w, SearchMode::Compound(), values, context));
                values.fields.erase(f.name);
            }
        }
    }
    std::erase_if(all, [](const std::string& sql) { return sql.find("RIGHT JOIN") == std::string::npos; });
    return all;
}

// Masters that point at codes with no master row, so that the outer joins
// have rows without a partner on both engines.
void AddDanglingCodes(const DemoInstallation& demo) {
    demo.business("UPDATE M担当者 SET 部門コード = '998', セクションコード = '997' WHERE コード = '00002'");
    demo.business("UPDATE M担当者 SET セクションコード = '996' WHERE コード = '00003'");
    demo.business("UPDATE T営業見積 SET 担当者コード = '99999', 部門コード = '999' WHERE 営業見積No = "
                  "(SELECT MIN(営業見積No) FROM T営業見積)");
    demo.business("UPDATE T営業引合 SET セクションコード = '995' WHERE 営業引合No = (SELECT MIN(営業引合No) FROM T営業引合)");
    demo.business("UPDATE M商品 SET 商品分類コード = '99999' WHERE コード = (SELECT MIN(コード) FROM M商品)");
}

TEST(RightJoins, SqliteRunsThemTurnedRoundWithPostgresqlsRowsAndOrder) {
    DemoInstallation sqlite(Engine::SQLite, "velmora_rightjoin");
    DemoInstallation postgres(Engine::PostgreSQL, "velmora_rightjoin");
    if (!sqlite.available() || !postgres.available()) GTEST_SKIP() << "needs both engines";
    AddDanglingCodes(sqlite);
    AddDanglingCodes(postgres);
    auto onSqlite = sqlite.open();
    auto onPostgres = postgres.open();

    const std::vector<std::string> statements = Statements(*onSqlite);
    ASSERT_TRUE(statements == Statements(*onPostgres)) << "the installations must hold the same keys";
    ASSERT_GT(statements.size(), 200u);
    size_t withRows = 0, withNulls = 0;
    std::set<std::string> shapes;
    for (const auto& sql : statements) {
        EXPECT_EQ(LeadWithRightJoinedTables(sql).find("RIGHT JOIN"), std::string::npos) << sql;
        shapes.insert(sql.substr(sql.find(" FROM"), sql.find(" ON ") - sql.find(" FROM")));
        const Result got = RunRead(*onSqlite, sql);
        const Result expected = RunRead(*onPostgres, sql);
        if (!(got == expected)) {
            const auto& [a, b] = got.rows != expected.rows ? std::tie(got.rows, expected.rows)
                                                            : std::tie(got.order, expected.order);
            size_t at = 0;
            while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
            ADD_FAILURE() << sql << "\n" << a.size() << " rows on SQLite, " << b.size()
                          << " on PostgreSQL; first difference at " << at << ":\n  "
                          << (at < a.size() ? a[at] : "(none)") << "\n  " << (at < b.size() ? b[at] : "(none)");
        }
        const auto& rows = got.rows;
        withRows += !rows.empty();
        for (const auto& row : rows) withNulls += row.find("=NULL|") != std::string::npos;
    }
    // Reads and searches that find rows, some of them without a partner.
    EXPECT_GT(withRows, statements.size() / 2);
    EXPECT_GT(withNulls, 5u);
    EXPECT_EQ(shapes.size(), 7u) << "quotation, inquiry, customer, counterparty, staff, staff and product windows";
    EXPECT_EQ(onSqlite->OperationCounter(), onPostgres->OperationCounter());
}

// The rewriting itself, on texts: what it turns round and what it leaves.
TEST(RightJoins, TurnsEachRightJoinRoundAndLeavesTheRest) {
    const std::pair<std::string, std::string> cases[] = {
        {"SELECT * FROM A RIGHT JOIN B ON A.k = B.k WHERE B.x = 'RIGHT JOIN'",
         "SELECT * FROM B LEFT JOIN A ON A.k = B.k WHERE B.x = 'RIGHT JOIN'"},
        {"SELECT * FROM S RIGHT JOIN (D RIGHT JOIN (P RIGHT JOIN T ON P.c = T.p) ON D.c = T.d) ON S.c = T.s WHERE T.n = '1'",
         "SELECT * FROM ((T LEFT JOIN P ON P.c = T.p) LEFT JOIN D ON D.c = T.d) LEFT JOIN S ON S.c = T.s WHERE T.n = '1'"},
        {"SELECT * FROM S RIGHT JOIN (K INNER JOIN M ON K.c = M.k) ON S.c = M.s ORDER BY M.a",
         "SELECT * FROM (K INNER JOIN M ON K.c = M.k) LEFT JOIN S ON S.c = M.s ORDER BY M.a"},
        {"SELECT * FROM A RIGHT JOIN(B RIGHT JOIN C ON B.k = C.k)ON A.k = C.k",
         "SELECT * FROM (C LEFT JOIN B ON B.k = C.k) LEFT JOIN A ON A.k = C.k"},
        {"select * from a right outer join b on (a.k = b.k and a.t = 'x)') left join c on c.k = b.k",
         "select * from b LEFT JOIN a ON (a.k = b.k and a.t = 'x)') left join c ON c.k = b.k"},
        {"SELECT * FROM A LEFT JOIN B ON A.k = B.k RIGHT JOIN C ON C.k = B.k",
         "SELECT * FROM C LEFT JOIN (A LEFT JOIN B ON A.k = B.k) ON C.k = B.k"},
        // What cannot be read as joins of names stays as written.
        {"SELECT * FROM (SELECT * FROM A) RIGHT JOIN B ON 1 = 1", "SELECT * FROM (SELECT * FROM A) RIGHT JOIN B ON 1 = 1"},
        {"SELECT * FROM A, B RIGHT JOIN C ON B.k = C.k", "SELECT * FROM A, B RIGHT JOIN C ON B.k = C.k"},
        {"SELECT * FROM A RIGHT JOIN B", "SELECT * FROM A RIGHT JOIN B"},
        {"SELECT 'FROM A RIGHT JOIN B ON x' FROM T", "SELECT 'FROM A RIGHT JOIN B ON x' FROM T"},
    };
    for (const auto& [sql, expected] : cases) EXPECT_EQ(LeadWithRightJoinedTables(sql), expected) << sql;
}

}  // namespace
}  // namespace velmora
