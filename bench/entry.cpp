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

using bench::Shared;
using bench::Skip;

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

// The focus in row 0 of the grid at line 500 of the open 998-line quotation.
void IntoTheMiddleRows(Screen& s) {
    s.openByNumber();
    s.presenter->FocusMoved({"見積期限"});
    s.presenter->FocusMoved({"ヘッド終了"});
    s.presenter->Scrolled(500);
    s.presenter->FocusMoved({"見積数量", 0});
}

// A quantity typed on a line and the field left: the line, its subtotals and
// the totals priced again and redrawn.
void GridFieldExit998(benchmark::State& state, bool postgres) {
    if (Skip(state, postgres)) return;
    Screen& s = Shared(postgres);
    IntoTheMiddleRows(s);
    int quantity = 3;
    for (auto _ : state) {
        s.view.texts[{"見積数量", 0}] = std::to_string(quantity = quantity == 3 ? 4 : 3);
        s.presenter->FocusMoved({"見積単位", 0});
        s.presenter->FocusMoved({"見積数量", 0});
    }
}

// 行挿入 and 行ｸﾘｱ at line 0 of the full quotation, each timed alone; the
// other one puts the line count back between iterations.
void GridLineCommand998(benchmark::State& state, bool postgres, const char* timed, const char* undo) {
    if (Skip(state, postgres)) return;
    Screen& s = Shared(postgres);
    IntoTheMiddleRows(s);
    s.presenter->Scrolled(0);
    s.presenter->FocusMoved({"商品コード", 0});
    EntryScreen& e = s.presenter->screen();
    const bool insert = std::string(timed) == "btn_行挿入";
    for (auto _ : state) {
        state.PauseTiming();
        // Insert needs room: 997 lines; delete needs 998.
        if (insert == (e.quotation.LastLine == kMaxLinesInUse - 1)) s.presenter->ButtonPressed({undo});
        state.ResumeTiming();
        s.presenter->ButtonPressed({timed});
    }
}

void GridInsertLine998(benchmark::State& state, bool postgres) {
    GridLineCommand998(state, postgres, "btn_行挿入", "btn_行クリア");
}
void GridDeleteLine998(benchmark::State& state, bool postgres) {
    GridLineCommand998(state, postgres, "btn_行クリア", "btn_行挿入");
}

BENCHMARK_CAPTURE(GridFieldExit998, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GridInsertLine998, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GridDeleteLine998, SQLite, false)->Unit(benchmark::kMillisecond);
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
