// The line statements of a save go to the server together; one that fails
// still undoes the whole save, names itself in the error row and leaves its
// status, as it did when each statement waited for its answer.
#include "documents_fixture.h"
#include "quotation/save.h"
#include "quotation/save_status.h"
#include "support/statements.h"

namespace velmora {
namespace {

using test::Engine;
using test::kFy2024;

class LineStatementsTest : public test::DocumentsTest {
protected:
    // Refuses the statement `when` (INSERT or DELETE) on the line named 品目500.
    void refuseLine500(const std::string& when) {
        for (const std::string& sql :
             test::RefuseWritesSql(GetParam(), "T営業見積明細", when, "商品名 = '品目500'"))
            exec(sql);
    }
    void allow() {
        for (const std::string& sql : test::AllowWritesSql(GetParam(), "T営業見積明細")) exec(sql);
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
