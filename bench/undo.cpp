// Undo and redo of the entry screen's line actions on long quotations of the
// demo installation, beside the actions themselves: pasting 998 lines from
// the program clipboard into an empty quotation, and one quantity typed on
// line 500 of a 998-line quotation and its field left. Runs on SQLite, and
// on PostgreSQL when VELMORA_TEST_PG names a test server.
#include <functional>

#include <benchmark/benchmark.h>

#include "entry_fixture.h"
#include "screens/entry/line_undo.h"

namespace velmora {
namespace {

using bench::Screen;

using bench::Shared;
using bench::Skip;

void Press(Screen& s, const char* button) { s.presenter->ButtonPressed({button}); }

// All 998 lines of the stored quotation on the program clipboard, and an
// empty new quotation to paste them into.
void ClipboardWith998Lines(Screen& s) {
    EntryScreen& e = s.presenter->screen();
    s.openByNumber();
    for (int i = 0; i < kMaxLinesInUse; ++i) e.state.LineMark[static_cast<size_t>(i)] = 1;
    Press(s, "btn_指定行コピー");
    e.commands->ClearToNew(false);
}

enum class Timed { Action, Undo, Redo };

// Before each timed run the screen is brought to where it starts: the action
// from before it, undo from after it, redo from its undo. `settle` follows
// the action untimed (the focus back into the field).
void Run(benchmark::State& state, Screen& s, Timed timed, const std::function<void()>& action,
         const std::function<void()>& settle = [] {}) {
    LineUndo& undo = *s.presenter->screen().undo;
    auto act = [&] {
        action();
        settle();
    };
    for (auto _ : state) {
        state.PauseTiming();
        switch (timed) {
            case Timed::Action:
                if (undo.CanUndo()) Press(s, "btn_元に戻す");
                break;
            case Timed::Undo:
                if (undo.CanRedo()) Press(s, "btn_やり直し");
                else if (!undo.CanUndo()) act();
                break;
            case Timed::Redo:
                if (!undo.CanRedo()) {
                    if (!undo.CanUndo()) act();
                    Press(s, "btn_元に戻す");
                }
                break;
        }
        state.ResumeTiming();
        switch (timed) {
            case Timed::Action: action(); break;
            case Timed::Undo: Press(s, "btn_元に戻す"); break;
            case Timed::Redo: Press(s, "btn_やり直し"); break;
        }
        if (timed == Timed::Action) {
            state.PauseTiming();
            settle();
            state.ResumeTiming();
        }
    }
}

void Paste998(benchmark::State& state, bool postgres, Timed timed) {
    if (Skip(state, postgres)) return;
    Screen& s = Shared(postgres);
    ClipboardWith998Lines(s);
    Run(state, s, timed, [&] { Press(s, "btn_指定行ペースト"); });
    if (s.presenter->screen().LastLine() != (timed == Timed::Undo ? -1 : kMaxLinesInUse - 1))
        state.SkipWithError("the paste did not give the lines expected");
}

void FieldExit998(benchmark::State& state, bool postgres, Timed timed) {
    if (Skip(state, postgres)) return;
    Screen& s = Shared(postgres);
    s.openByNumber();
    s.presenter->FocusMoved({"見積期限"});
    s.presenter->FocusMoved({"ヘッド終了"});
    s.presenter->Scrolled(500);
    s.presenter->FocusMoved({"見積数量", 0});
    int quantity = 3;
    Run(
        state, s, timed,
        [&] {
            s.view.texts[{"見積数量", 0}] = std::to_string(quantity = quantity == 3 ? 4 : 3);
            s.presenter->FocusMoved({"見積単位", 0});
        },
        [&] { s.presenter->FocusMoved({"見積数量", 0}); });
}

void Paste998Lines(benchmark::State& state, bool postgres) { Paste998(state, postgres, Timed::Action); }
void UndoPaste998Lines(benchmark::State& state, bool postgres) { Paste998(state, postgres, Timed::Undo); }
void RedoPaste998Lines(benchmark::State& state, bool postgres) { Paste998(state, postgres, Timed::Redo); }
void FieldExitOn998Lines(benchmark::State& state, bool postgres) { FieldExit998(state, postgres, Timed::Action); }
void UndoFieldExitOn998Lines(benchmark::State& state, bool postgres) { FieldExit998(state, postgres, Timed::Undo); }
void RedoFieldExitOn998Lines(benchmark::State& state, bool postgres) { FieldExit998(state, postgres, Timed::Redo); }

}  // namespace

BENCHMARK_CAPTURE(Paste998Lines, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UndoPaste998Lines, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RedoPaste998Lines, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FieldExitOn998Lines, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UndoFieldExitOn998Lines, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RedoFieldExitOn998Lines, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Paste998Lines, PostgreSQL, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UndoPaste998Lines, PostgreSQL, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RedoPaste998Lines, PostgreSQL, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FieldExitOn998Lines, PostgreSQL, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UndoFieldExitOn998Lines, PostgreSQL, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RedoFieldExitOn998Lines, PostgreSQL, true)->Unit(benchmark::kMillisecond);

}  // namespace velmora

BENCHMARK_MAIN();
