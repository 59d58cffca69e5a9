// The line statements of a save go to the server together; one that fails
// still undoes the whole save, names itself in the error row and leaves its
// status, as it did when each statement waited for its answer.
#include "documents_fixture.h"
#include "quotation/save.h"
#include "quotation/save_status.h"

namespace velmora {
namespace {

using test::Engine;
using test::kFy2024;

class LineStatementsTest : public test::DocumentsTest {
protected:
    // Refuses the statement `when` (INSERT or DELETE) on the line named 品目500.
    void refuseLine500(const std::string& when) {
        const std::string row = when == "DELETE" ? "OLD" : "NEW";
        if (GetParam() == Engine::SQLite) {
            exec("CREATE TRIGGER refuse BEFORE " + when + " ON T営業見積明細 WHEN " + row +
                 ".商品名 = '品目500' BEGIN SELECT RAISE(ABORT, 'refused'); END");
        } else {
            exec("CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN IF " + row +
                 ".商品名 = '品目500' THEN RAISE EXCEPTION 'refused'; END IF; RETURN " + row + "; END $$ LANGUAGE plpgsql");
            exec("CREATE TRIGGER refuse BEFORE " + when + " ON T営業見積明細 FOR EACH ROW EXECUTE FUNCTION refuse()");
        }
    }
    void allow() {
        exec("DROP TRIGGER refuse" + std::string(GetParam() == Engine::SQLite ? "" : " ON T営業見積明細"));
        if (GetParam() == Engine::PostgreSQL) exec("DROP FUNCTION refuse()");
    }
    long long stored() { return count("T営業見積明細") + count("R営業見積明細") + count("T営業見積") + count("R営業見積"); }
};

TEST_P(LineStatementsTest, AFailedLineUndoesTheWholeSaveAndNamesItself) {
    struct Case {
        const char* when;
        bool change;
        int status;
    };
    const Case cases[] = {{"INSERT", false, kStatusInsertFailed}, {"DELETE", true, kStatusDeleteFailed}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.when);
        fillNew("20241206", 998);
        if (c.change) {
            saveOk();
            open(kFy2024, quotation.header.営業見積No);
            quotation.lines[0].商品名 = "変更";
        }
        const long long before = stored();
        const long long errors = dbs->countConfig("プログラム稼動履歴 WHERE 摘要 LIKE 'エラー%'");
        refuseLine500(c.when);
        EXPECT_FALSE(QuotationSaver(*scope, session.get()).Save().stored);
        EXPECT_EQ(quotation.SaveStatus, c.status);
        EXPECT_EQ(stored(), before) << "nothing of the save stays";
        EXPECT_EQ(dbs->countConfig("プログラム稼動履歴 WHERE 摘要 LIKE 'エラー%'"), errors + 1);
        EXPECT_EQ(dbs->countConfig(std::string("プログラム稼動履歴 WHERE 摘要 LIKE 'エラー%") +
                                   (c.change ? "DELETE FROM T営業見積明細%" : "INSERT INTO%品目500%") + "'"),
                  1);
        // The quotation is still there to be saved again.
        allow();
        saveOk();
        EXPECT_EQ(count("T営業見積明細 WHERE 営業見積No = '" + quotation.header.営業見積No + "'"), 998);
        exec("DELETE FROM T営業見積明細");
        exec("DELETE FROM T営業見積");
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, LineStatementsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
