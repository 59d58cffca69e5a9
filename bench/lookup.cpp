// Lookup searches on a large demo installation, from the query to the filled
// list of the presenter. Make the installations first:
//   velmora-admin init /tmp/large --size large
//   velmora-admin init /tmp/large-pg --size large --postgres SOURCE:velmora_large
// and name them in VELMORA_LOOKUP_INSTALL (SQLite) and VELMORA_LOOKUP_INSTALL_PG.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/installation.h"
#include "data/data_access.h"
#include "screens/lookup/lookup_presenter.h"

namespace velmora {
namespace {

struct Installation {
    DataAccess access;
    LookupSession session;
    bool open = false;
};

bool Open(const std::string& root, Installation& in) {
    DatabaseDefinition d;
    std::string problem;
    if (!OpenInstallationDatabases(in.access, root, d, problem)) return false;
    in.session.databaseKind = d.db;
    std::unique_ptr<Recordset> rs;
    if (in.access.OpenConfigRecordset(rs, "SELECT * FROM 動作環境定義 WHERE 動作環境定義ID = '001'"))
        in.session.operatingOfficeCode = rs->text("運用事業所コード");
    in.session.currentOfficeCode = in.session.operatingOfficeCode;
    if (in.access.OpenDataRecordset(rs, "SELECT * FROM Mユーザ WHERE ID = '0001'")) {
        in.session.sellingUnitPriceDecimals = rs->code("売上単価少数以下桁数");
        in.session.purchaseUnitPriceDecimals = rs->code("仕入単価少数以下桁数");
    }
    return true;
}

Installation* Get(const char* variable) {
    static std::map<std::string, std::unique_ptr<Installation>> opened;
    const char* root = std::getenv(variable);
    if (!root || !*root) return nullptr;
    auto& slot = opened[variable];
    if (!slot) {
        slot = std::make_unique<Installation>();
        slot->open = Open(root, *slot);
    }
    return slot->open ? slot.get() : nullptr;
}

// Types the fields, presses the button and counts what the list received.
void Search(benchmark::State& state, const char* variable, LookupWindowId id,
            std::vector<std::pair<std::string, std::string>> typed, const std::string& button, bool narrow) {
    Installation* in = Get(variable);
    if (!in) {
        state.SkipWithError((std::string(variable) + " names no usable installation").c_str());
        return;
    }
    DataAccessLookupData data(in->access);
    LookupContext context;
    LookupPresenter presenter(DescribeWindow(id), in->session, data, context, nullptr);
    presenter.open(nullptr);  // loads the filters and runs the first search
    for (const auto& [field, text] : typed) presenter.onFieldLeft(field, text);
    if (narrow) presenter.onCheckToggled("chb_絞込み", true);
    for (auto _ : state) {
        presenter.onButton(button);
        benchmark::DoNotOptimize(presenter.rows().data());
    }
    state.counters["rows"] = static_cast<double>(presenter.rows().size());
}

void CustomerCompound(benchmark::State& state, const char* variable) {
    Search(state, variable, LookupWindowId::得意先一覧, {{"名称", "富士"}, {"カナ", "ﾌｼﾞ"}}, "btn_複合検索", false);
}

void ProductTwoWords(benchmark::State& state, const char* variable, bool narrow) {
    Search(state, variable, LookupWindowId::商品一覧, {{"名称1", "ボールペン"}, {"名称2", "黒"}}, "btn_名称検索", narrow);
}

BENCHMARK_CAPTURE(CustomerCompound, SQLite, "VELMORA_LOOKUP_INSTALL")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProductTwoWords, SQLite_or, "VELMORA_LOOKUP_INSTALL", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProductTwoWords, SQLite_narrowed, "VELMORA_LOOKUP_INSTALL", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CustomerCompound, PostgreSQL, "VELMORA_LOOKUP_INSTALL_PG")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProductTwoWords, PostgreSQL_or, "VELMORA_LOOKUP_INSTALL_PG", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProductTwoWords, PostgreSQL_narrowed, "VELMORA_LOOKUP_INSTALL_PG", true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
