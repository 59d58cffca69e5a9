// Logged single-row inserts through the data-access operations on SQLite:
// each statement committing on its own, against the same statements inside
// one transaction.
#include <benchmark/benchmark.h>

#include "data/connection_string.h"
#include "data/data_access.h"
#include "support/test_env.h"

namespace velmora {
namespace {

constexpr int kRows = 2000;

struct Installation {
    test::TempDir dir;
    std::unique_ptr<DataAccess> access;

    Installation() {
        DbError error;
        auto config = CreateSqliteDatabase(dir.file("usrcnfg.accdb"), error);
        config->execute("CREATE TABLE プログラム稼動履歴 (実行日付 TEXT, プログラムID TEXT, proccounter TEXT, 摘要 TEXT, "
                        "運用事業所コード TEXT, 起動担当者コード TEXT, ユーザID TEXT)",
                        error);
        auto data = CreateSqliteDatabase(dir.file("salesdb.accdb"), error);
        data->execute("CREATE TABLE T明細 (番号 TEXT PRIMARY KEY, 商品名 TEXT, 数量 NUMERIC, 単価 NUMERIC)", error);
        access = std::make_unique<DataAccess>();
        access->OpenConfigConnection(ConfigConnectionString(1, dir.file("usrcnfg.accdb")));
        access->OpenDataConnection(FileConnectionString("Microsoft.ACE.OLEDB.12.0", "", "", dir.file("salesdb.accdb")));
    }
};

void insertRows(DataAccess& access, int round) {
    for (int i = 0; i < kRows; ++i) {
        std::string key = std::to_string(round) + "-" + std::to_string(i);
        access.ExecuteData("INSERT INTO T明細 (番号, 商品名, 数量, 単価) VALUES ('" + key +
                               "', 'ボールペン 黒 0.5mm', '12', '180.00')",
                           true);
    }
}

void BM_LoggedInsertsEachCommitted(benchmark::State& state) {
    Installation inst;
    int round = 0;
    for (auto _ : state) insertRows(*inst.access, round++);
    state.counters["rows/s"] = benchmark::Counter(double(kRows) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoggedInsertsEachCommitted)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoggedInsertsInOneTransaction(benchmark::State& state) {
    Installation inst;
    int round = 0;
    for (auto _ : state) {
        DataTransaction tx(*inst.access);
        insertRows(*inst.access, round++);
        tx.commit();
    }
    state.counters["rows/s"] = benchmark::Counter(double(kRows) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoggedInsertsInOneTransaction)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
