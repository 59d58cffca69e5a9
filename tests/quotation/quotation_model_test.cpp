#include "quotation/quotation_model.h"

#include <memory>

#include <gtest/gtest.h>

#include "data/data_access.h"
#include "pricing/company_settings.h"
#include "quotation/column_table.h"
#include "support/test_env.h"

namespace velmora {
namespace {

Currency C(const char* text) { return Currency::Parse(text).value(); }

TEST(QuotationModel, ClearToNewSetsTheNewQuotationDefaults) {
    Quotation q;
    q.header.得意先コード = "000123";
    q.header.消費税表示区分 = 0;
    q.header.得意先消費税算出区分 = 1;
    q.header.得意先名称入力区分 = 0;
    q.header.定価掛率 = C("80");
    q.header.見積金額合計 = C("100");
    q.lines[5].商品名 = "ねじ";
    q.lines[5].行区分 = kLineSubtotal;
    q.LastLine = 5;
    q.loadedKey.営業見積No = "00000001";
    q.MaxUniqueLineNo = 12;
    q.ClearToNew();
    const QuotationHeader& h = q.header;
    EXPECT_EQ(h.得意先コード + q.lines[5].商品名, "");
    EXPECT_EQ((std::vector<int>{h.得意先対応先区分, h.納品先対応先区分, h.消費税表示区分, h.合計表示区分,
                                h.得意先消費税区分, h.得意先消費税算出区分, h.得意先名称入力区分, h.納品先名称入力区分,
                                h.伝票発行区分, q.lines[5].計区分, q.LastLine}),
              (std::vector<int>{0, 0, 1, 1, 1, 2, 1, 1, 0, 1, -1}));
    EXPECT_EQ(h.定価掛率, Currency());
    EXPECT_EQ(h.見積金額合計, Currency());
    EXPECT_EQ(q.lines.size(), kLineSlots);
    EXPECT_EQ(q.lines[5].行区分, kLineOrdinary);
    EXPECT_FALSE(q.loaded());
    EXPECT_EQ(q.MaxUniqueLineNo, 0);
    EXPECT_TRUE(q.linesInUse().empty());
}

TEST(QuotationModel, ResetColumnsRestoresDescribedMembers) {
    Quotation q;
    q.header.合計表示区分 = 0;
    q.header.タイトル = "件名";
    q.lines[0].仕入先コード = "000001";
    q.lines[0].計区分 = 0;
    ResetColumns(HeaderTable(), q.header, nullptr);
    ResetColumns(LineTable(), q.header, &q.lines[0]);
    EXPECT_EQ(q.header.タイトル + q.lines[0].仕入先コード, "");
    EXPECT_EQ((std::vector<int>{q.header.合計表示区分, q.lines[0].計区分}), (std::vector<int>{1, 1}));
}

TEST(ColumnTable, LiteralsByValueKind) {
    CompanySettings company;
    company.売上数量少数以下桁数 = 2;
    company.仕入単価少数以下桁数 = 1;
    QuotationHeader header;
    header.得意先名称A = "O'Brien商会  ";
    header.得意先消費税丸め方法 = 5;
    header.定価掛率 = C("85");
    header.見積数量合計 = C("1234.5");
    header.税込見積金額合計 = C("-1100");
    QuotationLine line;
    line.仕入単価 = C("12.34");
    auto literal = [&](std::string_view column) {
        for (const QuotationTable* table : {&HeaderTable(), &LineTable()})
            for (const ColumnDef& def : table->columns)
                if (def.name == column) return ValueLiteral(def, header, &line, company);
        return std::string("(no column)");
    };
    std::vector<std::string> literals;
    for (const char* column :
         {"得意先名称A", "得意先消費税丸め方法", "定価掛率", "見積数量合計", "税込見積金額合計", "仕入単価", "行区分"})
        literals.push_back(literal(column));
    EXPECT_EQ(literals,
              (std::vector<std::string>{"'O''Brien商会'", "'5'", "85.00", "1234.50", "-1100", "12.3", "'1'"}));
}

// A quotation with a distinct value in every column, written through the
// descriptions and read back through them, on both engines.
class ColumnRoundTrip : public testing::TestWithParam<test::Engine> {
protected:
    void SetUp() override {
        db = std::make_unique<test::ScratchDatabase>(GetParam(), true);
        VELMORA_REQUIRE_DATABASE(*db);
        ASSERT_TRUE(access.OpenDataConnection(db->connectionString()));
        company.売上数量少数以下桁数 = 2;
        company.売上単価少数以下桁数 = 4;
        company.仕入数量少数以下桁数 = 1;
        company.仕入単価少数以下桁数 = 3;
    }

    // Every text member gets its column name, every code and number a value
    // from its position, so a column mapped to the wrong member shows.
    static void fill(const QuotationTable& table, QuotationHeader& header, QuotationLine* line) {
        int position = 0;
        for (const ColumnDef& column : table.columns) {
            ++position;
            if (line != nullptr && column.fromHeader()) continue;
            std::visit(
                [&](auto member) {
                    auto apply = [&](auto& record) {
                        auto& value = record.*member;
                        using V = std::remove_reference_t<decltype(value)>;
                        if constexpr (std::is_same_v<V, std::string>) value = std::string(column.name);
                        if constexpr (std::is_same_v<V, std::int16_t>) value = static_cast<std::int16_t>(position % 10);
                        if constexpr (std::is_same_v<V, Currency>) value = Units(position * 100 + 7);
                    };
                    if constexpr (std::is_same_v<decltype(member), std::string QuotationHeader::*> ||
                                  std::is_same_v<decltype(member), std::int16_t QuotationHeader::*> ||
                                  std::is_same_v<decltype(member), Currency QuotationHeader::*>)
                        apply(header);
                    else
                        apply(*line);
                },
                column.member);
        }
    }

    // PostgreSQL folds the ASCII letters of unquoted names.
    static std::string folded(std::string name) {
        for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return name;
    }

    std::vector<std::string> tableColumns(const std::string& table) {
        std::unique_ptr<Recordset> rs;
        access.OpenDataRecordset(rs, "SELECT * FROM " + table);
        std::vector<std::string> names;
        for (size_t i = 0; i < rs->columnCount(); ++i)
            if (folded(rs->columnName(i)) != folded("仕入先名称B")) names.push_back(folded(rs->columnName(i)));
        return names;
    }

    std::unique_ptr<test::ScratchDatabase> db;
    DataAccess access;
    CompanySettings company;
};

TEST_P(ColumnRoundTrip, DescriptionsMatchTheTablesInOrder) {
    for (bool history : {false, true}) {
        for (const QuotationTable* table : {&HeaderTable(), &LineTable()}) {
            std::vector<std::string> described;
            for (std::string_view name : ColumnNames(*table, history)) described.emplace_back(name);
            std::string name(history ? table->historyName : table->name);
            std::vector<std::string> actual = tableColumns(name);
            for (std::string& n : described) n = folded(n);
            EXPECT_EQ(described, actual) << name;
        }
    }
}

TEST_P(ColumnRoundTrip, InsertLoadAndRedCopyAgree) {
    Quotation written;
    fill(HeaderTable(), written.header, nullptr);
    fill(LineTable(), written.header, &written.lines[0]);
    ASSERT_TRUE(access.ExecuteData(InsertStatement(HeaderTable(), ModelLiterals(HeaderTable(), written.header, nullptr, company))));
    ASSERT_TRUE(access.ExecuteData(
        InsertStatement(LineTable(), ModelLiterals(LineTable(), written.header, &written.lines[0], company))));

    Quotation read;
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(access.OpenDataRecordset(rs, "SELECT * FROM T営業見積"));
    for (const ColumnDef& column : HeaderTable().columns)
        if (!(column.flags & kRecomputedOnLoad)) ReadColumn(column, *rs, read.header, nullptr);
    ASSERT_TRUE(access.OpenDataRecordset(rs, "SELECT * FROM T営業見積明細"));
    for (const ColumnDef& column : LineTable().columns) ReadColumn(column, *rs, read.header, &read.lines[0]);

    for (const ColumnDef& column : HeaderTable().columns) {
        // Columns recomputed on load are not read: they keep the empty model's value.
        const QuotationHeader& expected = (column.flags & kRecomputedOnLoad) ? QuotationHeader() : written.header;
        EXPECT_EQ(ValueLiteral(column, read.header, nullptr, company), ValueLiteral(column, expected, nullptr, company))
            << column.name;
    }
    for (const ColumnDef& column : LineTable().columns)
        EXPECT_EQ(ValueLiteral(column, read.header, &read.lines[0], company),
                  ValueLiteral(column, written.header, &written.lines[0], company))
            << column.name;

    // The red copy of the stored rows, column by column.
    HistoryMark red{"00000003", kRed};
    for (const QuotationTable* table : {&HeaderTable(), &LineTable()}) {
        ASSERT_TRUE(access.OpenDataRecordset(rs, "SELECT * FROM " + std::string(table->name)));
        std::vector<std::string> stored = StoredLiterals(*table, *rs, company);
        ASSERT_TRUE(access.ExecuteData(InsertStatement(*table, stored, &red))) << table->name;
        std::unique_ptr<Recordset> history;
        ASSERT_TRUE(access.OpenDataRecordset(history, "SELECT * FROM " + std::string(table->historyName)));
        EXPECT_EQ(history->text("赤黒区分") + " " + history->text("営業見積履歴No"), "0 00000003");
        EXPECT_EQ(StoredLiterals(*table, *history, company), stored) << table->historyName;
    }
}

TEST_P(ColumnRoundTrip, NullColumnsLeaveTheModelAsItWas) {
    ASSERT_TRUE(access.ExecuteData("INSERT INTO T営業見積 (事業所コード, 番号基準日付, 営業見積No, タイトル) "
                                   "VALUES ('001', '20240229', '00000001', '件名')"));
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(access.OpenDataRecordset(rs, "SELECT * FROM T営業見積"));
    QuotationHeader header;
    header.見積条件 = "前の値";
    header.合計表示区分 = 0;
    header.税込見積金額合計 = Units(5);
    for (const ColumnDef& column : HeaderTable().columns) ReadColumn(column, *rs, header, nullptr);
    EXPECT_EQ(header.タイトル + " " + header.見積条件, "件名 前の値");
    EXPECT_EQ(header.合計表示区分, 0);
    EXPECT_EQ(header.税込見積金額合計, Units(5));
}

INSTANTIATE_TEST_SUITE_P(Engines, ColumnRoundTrip, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
