// The draft of unsaved changes on a 998-line quotation of the demo
// installation: what the GUI thread spends on a draft after a change (the
// copy of the screen's quotation and the comparison with the last draft),
// what the writer thread spends (encoding and the store's transaction), and
// both together up to the draft on disk. Beside them, the save of the same
// quotation as a change. SQLite, and PostgreSQL for the save when
// VELMORA_TEST_PG names a test server.
#include <benchmark/benchmark.h>

#include "entry_fixture.h"
#include "screens/entry/draft_journal.h"

namespace velmora {
namespace {

using bench::Screen;

struct Drafting {
    explicit Drafting(bool postgres) : screen(postgres) {
        path = screen.dir.path().string() + "/state/drafts.db";
        screen.presenter->KeepDrafts(path, DraftInstance::Current(), [this] { return now; });
        screen.openByNumber();
        journal = screen.presenter->journal();
    }
    // A changed quantity on line 500 and the journal's timer run as after a
    // field exit; the clock has moved on past the one-second spacing.
    void change(int step) {
        EntryScreen& e = screen.presenter->screen();
        e.quotation.lines[499].見積数量 = Currency::FromScaled(10000 * (step % 7 + 1));
        e.state.Changed = true;
        now += std::chrono::seconds(2);
        journal->Noted();
        auto tasks = std::move(screen.view.quiet);
        screen.view.quiet.clear();
        for (auto& task : tasks) task();
    }
    Screen screen;
    std::string path;
    DraftJournal* journal = nullptr;
    std::chrono::steady_clock::time_point now = std::chrono::steady_clock::time_point() + std::chrono::hours(1);
};

Drafting& Shared(bool postgres) { return bench::Shared<Drafting>(postgres); }
using bench::Skip;

// The GUI thread's part: the writer works on while the next change comes.
void DraftOnGuiThread998(benchmark::State& state) {
    Drafting& d = Shared(false);
    int step = 0;
    for (auto _ : state) {
        d.change(++step);
        state.PauseTiming();
        d.journal->Flush();
        state.ResumeTiming();
    }
    state.counters["copy_ms"] = std::chrono::duration<double, std::milli>(d.journal->lastCopyTime()).count();
}

// The writer thread's part alone: encoding and the store's transaction.
void DraftEncodeAndWrite998(benchmark::State& state) {
    Drafting& d = Shared(false);
    DraftStore store(d.path);
    const DraftContent draft = TakeDraft(d.screen.presenter->screen());
    const DraftRow row{DraftInstance::Current(), {"/bench/", "001", "00101"}, "t", "n", "c", ""};
    std::size_t bytes = 0;
    for (auto _ : state) {
        DraftRow written = row;
        written.payload = EncodeDraft(draft);
        bytes = written.payload.size();
        if (!store.Put(written)) state.SkipWithError(store.error().c_str());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

// From the change to the draft on disk.
void DraftToDisk998(benchmark::State& state) {
    Drafting& d = Shared(false);
    int step = 0;
    for (auto _ : state) {
        d.change(++step);
        d.journal->Flush();
    }
}

// Baseline: the same quotation saved as a change.
void SaveChange998(benchmark::State& state, bool postgres) {
    if (Skip(state, postgres)) return;
    Drafting& d = Shared(postgres);
    EntryScreen& e = d.screen.presenter->screen();
    for (auto _ : state) {
        state.PauseTiming();
        d.screen.openByNumber();
        state.ResumeTiming();
        ProgramDocumentSession session(*d.screen.program);
        if (!QuotationSaver(*e.scope, &session).Save().stored) state.SkipWithError("save failed");
    }
}

BENCHMARK(DraftOnGuiThread998)->Unit(benchmark::kMillisecond);
BENCHMARK(DraftEncodeAndWrite998)->Unit(benchmark::kMillisecond);
BENCHMARK(DraftToDisk998)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveChange998, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveChange998, PostgreSQL, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
