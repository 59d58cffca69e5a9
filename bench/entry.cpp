// The entry screen's presenter on a 998-line quotation of the demo
// installation, with a view that only records: opening it by its number
// (load and full redraw) and changing a tax setting (every line priced again,
// redrawn). Beside each, the same work without the screen: the document load
// alone and the repricing alone. Runs on SQLite, and on PostgreSQL when
// VELMORA_TEST_PG names a test server.
#include <benchmark/benchmark.h>

#include "entry_fixture.h"
#include "quotation/load.h"

namespace velmora {
namespace {

using bench::Screen;

Screen& Shared(bool postgres) {
    static std::unique_ptr<Screen> screens[2];
    auto& s = screens[postgres ? 1 : 0];
    if (!s) s = std::make_unique<Screen>(postgres);
    return *s;
}

bool Skip(benchmark::State& state, bool postgres) {
    if (postgres && test::PostgresDataSource().empty()) {
        state.SkipWithError("no test PostgreSQL server (VELMORA_TEST_PG)");
        return true;
    }
    return false;
}

void EntryLoadRedraw998(benchmark::State& state, bool postgres) {
    if (Skip(state, postgres)) return;
    Screen& s = Shared(postgres);
    for (auto _ : state) {
        state.PauseTiming();
        s.presenter->screen().commands->ClearToNew(false);
        state.ResumeTiming();
        s.openByNumber();
    }
    if (s.presenter->screen().quotation.LastLine != kMaxLinesInUse - 1) state.SkipWithError("not loaded");
}

// Baseline: the same quotation read by the document operations alone.
void QuotationOpen998(benchmark::State& state, bool postgres) {
    if (Skip(state, postgres)) return;
    Screen& s = Shared(postgres);
    EntryScreen& e = s.presenter->screen();
    for (auto _ : state) QuotationLoader(*e.scope).OpenStored("001", s.baseDate, s.number);
}

void EntryTaxSettingChange998(benchmark::State& state, bool postgres) {
    if (Skip(state, postgres)) return;
    Screen& s = Shared(postgres);
    s.openByNumber();
    int kind = 1;
    for (auto _ : state) {
        kind = kind == 1 ? 2 : 1;
        s.presenter->ListChosen({"得意先消費税区分名称"}, kind);
    }
}

// Baseline: every line's taxes and the totals without the screen.
void TaxBasisChanged998(benchmark::State& state, bool postgres) {
    if (Skip(state, postgres)) return;
    Screen& s = Shared(postgres);
    s.openByNumber();
    EntryScreen& e = s.presenter->screen();
    const QuotationPricing pricing = e.pricing();
    for (auto _ : state) pricing.TaxBasisChanged(e.quotation.header, e.quotation.linesInUse());
}

BENCHMARK_CAPTURE(QuotationOpen998, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EntryLoadRedraw998, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TaxBasisChanged998, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EntryTaxSettingChange998, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(QuotationOpen998, PostgreSQL, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EntryLoadRedraw998, PostgreSQL, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TaxBasisChanged998, PostgreSQL, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EntryTaxSettingChange998, PostgreSQL, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
