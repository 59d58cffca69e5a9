// Saving, changing and loading a 998-line quotation through the document
// operations, against a plain batch of the same rows on the same engine (one
// transaction, prepared statements). Runs on SQLite, and on PostgreSQL when
// VELMORA_TEST_PG names a test server.
#include <benchmark/benchmark.h>

#include <optional>

#include "quotation/column_table.h"
#include "quotation/document_scope.h"
#include "quotation/load.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"
#include "support/databases.h"

namespace velmora {
namespace {

class SilentPrompts : public DocumentPrompts {
public:
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
};

using Row = StatementValues;

struct Bench {
    explicit Bench(test::Engine engine) : dbs(engine, "20241206 093015") {
        for (const char* sql : {"INSERT INTO A番号情報 (番号ID, 連番種類, 連番, 履歴連番) VALUES ('16210', '1', "
                                "'00000000', '00000000')",
                                "INSERT INTO A番号情報 (番号ID, 連番種類, 連番, 履歴連番) VALUES ('01110', '3', "
                                "'00000000', '00000000')",
                                "INSERT INTO G消費税 (施行日, 消費税率) VALUES ('20191001', 10)"})
            dbs.access().ExecuteData(sql);
        context.operatingOffice = "001";
        context.startStaffCode = "00012";
        context.userName = "sato";
        context.computerName = "PC-EIGYO01";
        context.company.決算月 = 3;
        context.company.決算日 = 31;
        context.updateRunFlag = 1;
        scope.emplace(dbs.access(), quotation, context, prompts);
    }

    void fillNew() {
        StartNewQuotation(*scope, "20241206");
        quotation.header.得意先コード = "000101";
        quotation.header.得意先名称A = "株式会社 北斗";
        quotation.header.タイトル = "大型設備一式";
        for (int i = 0; i < kMaxLinesInUse; ++i) {
            QuotationLine& line = quotation.lines[static_cast<size_t>(i)];
            line.商品コード = "P" + std::to_string(10000 + i);
            line.商品名 = "ステンレス六角ボルト M" + std::to_string(8 + i % 12) + "×" + std::to_string(20 + i % 40);
            line.見積数量 = Units(1 + i % 9);
            line.見積単価 = Units(1200 + i);
            line.見積金額 = *Currency::Multiply(line.見積数量, line.見積単価);
            line.見積消費税 = Units(120);
            line.見積単位 = "本";
            line.仕入数量 = line.見積数量;
            line.仕入単価 = Units(800 + i);
            line.仕入金額 = *Currency::Multiply(line.仕入数量, line.仕入単価);
        }
        quotation.LastLine = kMaxLinesInUse - 1;
    }

    std::string savedNumber() {
        fillNew();
        QuotationSaver(*scope, nullptr).Save();
        return quotation.header.営業見積No;
    }

    test::Databases dbs;
    QuotationContext context;
    Quotation quotation;
    SilentPrompts prompts;
    std::optional<DocumentScope> scope;
};

// The stored rows of a table for one number, as text values in column order.
std::vector<Row> storedRows(Connection& connection, const QuotationTable& table, const std::string& number) {
    DbError error;
    auto rs = connection.query("SELECT * FROM " + std::string(table.name) + " WHERE 営業見積No = '" + number + "'",
                               error);
    std::vector<Row> rows;
    for (; rs && !rs->eof(); rs->moveNext()) {
        Row row;
        for (const ColumnDef& column : table.columns) row.push_back(rs->value(column.name));
        rows.push_back(std::move(row));
    }
    return rows;
}

Row withHistory(Row row, const std::string& historyNo, const char* redBlack) {
    row.insert(row.begin() + 2, {historyNo, std::string(redBlack)});
    return row;
}

// What a save writes, as one prepared batch: the rows and their history rows
// under `number`, and for a change first the red copies and deletes.
bool batch(Connection& c, const std::vector<Row>& header, const std::vector<Row>& lines, const std::string& number,
           int history, bool change) {
    DbError error;
    if (!c.begin(error)) return false;
    auto tHeader = c.prepare(PreparedInsert(HeaderTable(), false), error);
    auto rHeader = c.prepare(PreparedInsert(HeaderTable(), true), error);
    auto tLine = c.prepare(PreparedInsert(LineTable(), false), error);
    auto rLine = c.prepare(PreparedInsert(LineTable(), true), error);
    auto deleteLine = c.prepare(
        "DELETE FROM T営業見積明細 WHERE 事業所コード = ? AND 番号基準日付 = ? AND 営業見積No = ? AND 営業見積固有行No = ?",
        error);
    auto deleteHeader =
        c.prepare("DELETE FROM T営業見積 WHERE 事業所コード = ? AND 番号基準日付 = ? AND 営業見積No = ?", error);
    bool ok = tHeader && rHeader && tLine && rLine && deleteLine && deleteHeader;
    auto renumbered = [&](Row row) {
        row[2] = number;
        return row;
    };
    std::string black = std::to_string(history);
    if (change) {
        std::string red = std::to_string(history - 1);
        ok = ok && rHeader->execute(withHistory(renumbered(header[0]), red, "0"), error) &&
             deleteHeader->execute({header[0][0], header[0][1], number}, error);
        for (const Row& line : lines)
            ok = ok && rLine->execute(withHistory(renumbered(line), red, "0"), error) &&
                 deleteLine->execute({line[0], line[1], number, line[3]}, error);
    }
    ok = ok && tHeader->execute(renumbered(header[0]), error) &&
         rHeader->execute(withHistory(renumbered(header[0]), black, "1"), error);
    for (const Row& line : lines)
        ok = ok && tLine->execute(renumbered(line), error) &&
             rLine->execute(withHistory(renumbered(line), black, "1"), error);
    if (!ok) {
        c.rollback();
        return false;
    }
    return c.commit(error);
}

void SaveNew(benchmark::State& state, test::Engine engine) {
    Bench b(engine);
    for (auto _ : state) {
        state.PauseTiming();
        b.fillNew();
        state.ResumeTiming();
        if (!QuotationSaver(*b.scope, nullptr).Save().stored) state.SkipWithError("save failed");
    }
}

void SaveChange(benchmark::State& state, test::Engine engine) {
    Bench b(engine);
    std::string number = b.savedNumber();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QuotationLoader(*b.scope).OpenStored("001", "20250331", number);
        b.quotation.header.タイトル = "改訂 " + std::to_string(++round);
        state.ResumeTiming();
        if (!QuotationSaver(*b.scope, nullptr).Save().stored) state.SkipWithError("save failed");
    }
}

void Load(benchmark::State& state, test::Engine engine) {
    Bench b(engine);
    std::string number = b.savedNumber();
    for (auto _ : state)
        if (!QuotationLoader(*b.scope).OpenStored("001", "20250331", number)) state.SkipWithError("load failed");
}

void BatchNew(benchmark::State& state, test::Engine engine) {
    Bench b(engine);
    std::string number = b.savedNumber();
    Connection& c = *b.dbs.access().dataConnection();
    std::vector<Row> header = storedRows(c, HeaderTable(), number);
    std::vector<Row> lines = storedRows(c, LineTable(), number);
    int next = 100;
    for (auto _ : state)
        if (!batch(c, header, lines, "9" + std::to_string(++next), 1, false)) state.SkipWithError("batch failed");
}

void BatchChange(benchmark::State& state, test::Engine engine) {
    Bench b(engine);
    std::string number = b.savedNumber();
    Connection& c = *b.dbs.access().dataConnection();
    std::vector<Row> header = storedRows(c, HeaderTable(), number);
    std::vector<Row> lines = storedRows(c, LineTable(), number);
    batch(c, header, lines, "90000000", 1, false);
    int history = 1;
    for (auto _ : state) {
        // A change reads the stored rows before it replaces them.
        storedRows(c, HeaderTable(), "90000000");
        storedRows(c, LineTable(), "90000000");
        if (!batch(c, header, lines, "90000000", history += 2, true)) state.SkipWithError("batch failed");
    }
}

void BatchLoad(benchmark::State& state, test::Engine engine) {
    Bench b(engine);
    std::string number = b.savedNumber();
    Connection& c = *b.dbs.access().dataConnection();
    for (auto _ : state) {
        benchmark::DoNotOptimize(storedRows(c, HeaderTable(), number));
        benchmark::DoNotOptimize(storedRows(c, LineTable(), number));
    }
}

void Register(const char* engineName, test::Engine engine) {
    using Fn = void (*)(benchmark::State&, test::Engine);
    const std::pair<const char*, Fn> cases[] = {
        {"SaveNew998", SaveNew}, {"BatchNew998", BatchNew},   {"SaveChange998", SaveChange},
        {"BatchChange998", BatchChange}, {"Load998", Load}, {"BatchLoad998", BatchLoad},
    };
    for (auto [name, fn] : cases)
        benchmark::RegisterBenchmark((std::string(engineName) + "/" + name).c_str(), fn, engine)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(20);
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    velmora::Register("SQLite", velmora::test::Engine::SQLite);
    if (!velmora::test::PostgresDataSource().empty())
        velmora::Register("PostgreSQL", velmora::test::Engine::PostgreSQL);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
