#include <string>

#include <gtest/gtest.h>

#include "data/schema_text.h"
#include "support/test_env.h"

namespace velmora {
namespace {

using test::Engine;
using test::ScratchDatabase;

class SchemaTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        m_business = std::make_unique<ScratchDatabase>(GetParam());
        VELMORA_REQUIRE_DATABASE(*m_business);
        m_db = m_business->connect();
        ASSERT_TRUE(m_db);
        DbError error;
        ASSERT_TRUE(m_db->execute(std::string(BusinessSchemaSql()), error)) << error.description;
    }

    bool Run(const std::string& sql) {
        DbError error;
        return m_db->execute(sql, error);
    }

    std::unique_ptr<ScratchDatabase> m_business;
    std::unique_ptr<Connection> m_db;
};

TEST_P(SchemaTest, DuplicateKeysAreRefused) {
    struct Case {
        const char* first;
        const char* duplicate;
        const char* otherKey;
    };
    const Case cases[] = {
        {"INSERT INTO [T営業見積] ([事業所コード],[番号基準日付],[営業見積No],[見積金額合計]) VALUES ('001','20250331','00000001',1000)",
         "INSERT INTO [T営業見積] ([事業所コード],[番号基準日付],[営業見積No],[見積金額合計]) VALUES ('001','20250331','00000001',2000)",
         "INSERT INTO [T営業見積] ([事業所コード],[番号基準日付],[営業見積No],[見積金額合計]) VALUES ('002','20250331','00000001',2000)"},
        {"INSERT INTO T営業見積明細 (事業所コード,番号基準日付,営業見積No,営業見積固有行No) VALUES ('001','20250331','00000001','001')",
         "INSERT INTO T営業見積明細 (事業所コード,番号基準日付,営業見積No,営業見積固有行No) VALUES ('001','20250331','00000001','001')",
         "INSERT INTO T営業見積明細 (事業所コード,番号基準日付,営業見積No,営業見積固有行No) VALUES ('001','20250331','00000001','002')"},
        {"INSERT INTO R営業見積 (事業所コード,番号基準日付,営業見積履歴No,赤黒区分,営業見積No) VALUES ('001','20250331','00000001','1','00000001')",
         "INSERT INTO R営業見積 (事業所コード,番号基準日付,営業見積履歴No,赤黒区分,営業見積No) VALUES ('001','20250331','00000001','1','00000001')",
         "INSERT INTO R営業見積 (事業所コード,番号基準日付,営業見積履歴No,赤黒区分,営業見積No) VALUES ('001','20250331','00000001','0','00000001')"},
        {"INSERT INTO M得意先 (コード,名称A) VALUES ('000001','株式会社東和')",
         "INSERT INTO M得意先 (コード,名称A) VALUES ('000001','別の会社')",
         "INSERT INTO M得意先 (コード,名称A) VALUES ('000002','別の会社')"},
        {"INSERT INTO A期日別番号情報 (番号ID,期日,連番,履歴連番) VALUES ('16210','20250331','00000000','00000000')",
         "INSERT INTO A期日別番号情報 (番号ID,期日,連番,履歴連番) VALUES ('16210','20250331','00000005','00000000')",
         "INSERT INTO A期日別番号情報 (番号ID,期日,連番,履歴連番) VALUES ('16210','20260331','00000000','00000000')"},
        {"INSERT INTO 使用状況 (コンピュータID,ユーザID,プログラムID) VALUES ('PC01','sato','Velmora')",
         "INSERT INTO 使用状況 (コンピュータID,ユーザID,プログラムID) VALUES ('PC01','sato','Orvessa')",
         "INSERT INTO 使用状況 (コンピュータID,ユーザID,プログラムID) VALUES ('PC02','sato','Orvessa')"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Run(c.first)) << c.first;
        EXPECT_FALSE(Run(c.duplicate)) << c.duplicate;
        EXPECT_TRUE(Run(c.otherKey)) << c.otherKey;
    }
}

TEST_P(SchemaTest, CodesKeepTheirZerosAndAmountsKeepTheirDecimals) {
    ASSERT_TRUE(Run("INSERT INTO A番号情報 (番号ID,連番種類,連番,履歴連番) VALUES ('01110','3','00000041','00000000')"));
    ASSERT_TRUE(Run("INSERT INTO [T営業見積明細] ([事業所コード],[番号基準日付],[営業見積No],[営業見積固有行No],[行区分],[見積数量],[見積単価],[見積金額])"
                    " VALUES ('001','99999999','00000001','001','1',12.5,1234.5678,15432)"));
    DbError error;
    auto counter = m_db->query("SELECT 番号ID, 連番 FROM A番号情報 WHERE 連番 > '00000040'", error);
    ASSERT_TRUE(counter) << error.description;
    ASSERT_EQ(counter->rowCount(), 1u);
    EXPECT_EQ(counter->text("番号ID") + "|" + counter->text("連番"), "01110|00000041");

    auto line = m_db->query("SELECT 見積数量, 見積単価, 見積金額 FROM T営業見積明細 WHERE 行区分 = '1' AND 見積金額 <> 0", error);
    ASSERT_TRUE(line) << error.description;
    ASSERT_EQ(line->rowCount(), 1u);
    EXPECT_EQ(line->scaled4("見積数量"), 125000);
    EXPECT_EQ(line->scaled4("見積単価"), 12345678);
    EXPECT_EQ(line->scaled4("見積金額"), 154320000);
}

INSTANTIATE_TEST_SUITE_P(Engines, SchemaTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), test::EngineName);

}  // namespace
}  // namespace velmora
