// The real entry window (Qt, offscreen) on a 998-line quotation: opening it
// by its number and changing a tax setting, each including the repaint of
// the window. Beside them the same steps on the recording view, measured in
// the same run. SQLite only: the window adds the same drawing on either engine.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include "entry_fixture.h"
#include "screens/entry/qt/entry_window.h"

namespace velmora {
namespace {

using bench::Screen;

struct Shown {
    Shown() : recorded(false), windowed(false) {
        window = std::make_unique<EntryWindow>(*windowed.presenter);
        window->resize(1280, 760);
        window->show();
        QApplication::processEvents();
    }
    // The user types the number into 営業見積No of the window and leaves it.
    void openInWindow() {
        window->findChild<QLineEdit*>("営業見積No")->setText(QString::fromStdString(windowed.number));
        windowed.presenter->FocusMoved({"営業見積No"});
        windowed.presenter->FocusMoved({"得意先名称A"});
        window->repaint();
    }
    Screen recorded;
    Screen windowed;
    std::unique_ptr<EntryWindow> window;
};

Shown& Shared() {
    static Shown shown;
    return shown;
}

void RecordedLoadRedraw998(benchmark::State& state) {
    Screen& s = Shared().recorded;
    for (auto _ : state) {
        state.PauseTiming();
        s.presenter->screen().commands->ClearToNew(false);
        state.ResumeTiming();
        s.openByNumber();
    }
}

void WindowLoadRedraw998(benchmark::State& state) {
    Shown& s = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        s.windowed.presenter->screen().commands->ClearToNew(false);
        QApplication::processEvents();
        state.ResumeTiming();
        s.openInWindow();
    }
    if (s.windowed.presenter->screen().quotation.LastLine != kMaxLinesInUse - 1) state.SkipWithError("not loaded");
}

void RecordedTaxSettingChange998(benchmark::State& state) {
    Screen& s = Shared().recorded;
    s.openByNumber();
    int kind = 1;
    for (auto _ : state) s.presenter->ListChosen({"得意先消費税区分名称"}, kind = kind == 1 ? 2 : 1);
}

void WindowTaxSettingChange998(benchmark::State& state) {
    Shown& s = Shared();
    s.openInWindow();
    int kind = 1;
    for (auto _ : state) {
        s.windowed.presenter->ListChosen({"得意先消費税区分名称"}, kind = kind == 1 ? 2 : 1);
        s.window->repaint();
    }
}

// In the window: a quantity left on line 500, and 行挿入 / 行ｸﾘｱ at line 0,
// each with the window repainted.
void IntoTheRows(Shown& s, int topLine) {
    s.openInWindow();
    s.windowed.presenter->FocusMoved({"見積期限"});
    s.windowed.presenter->FocusMoved({"ヘッド終了"});
    s.windowed.presenter->Scrolled(topLine);
    s.windowed.presenter->FocusMoved({"見積数量", 0});
}

void WindowFieldExit998(benchmark::State& state) {
    Shown& s = Shared();
    IntoTheRows(s, 500);
    auto* quantity = s.window->findChild<QLineEdit*>("見積数量_0");
    int value = 3;
    for (auto _ : state) {
        quantity->setText(QString::number(value = value == 3 ? 4 : 3));
        s.windowed.presenter->FocusMoved({"見積単位", 0});
        s.windowed.presenter->FocusMoved({"見積数量", 0});
        s.window->repaint();
    }
}

void WindowInsertAndDeleteLine998(benchmark::State& state) {
    Shown& s = Shared();
    IntoTheRows(s, 0);
    for (auto _ : state) {
        s.windowed.presenter->ButtonPressed({"btn_行クリア"});
        s.window->repaint();
        s.windowed.presenter->ButtonPressed({"btn_行挿入"});
        s.window->repaint();
    }
}

BENCHMARK(WindowFieldExit998)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowInsertAndDeleteLine998)->Unit(benchmark::kMillisecond);
BENCHMARK(RecordedLoadRedraw998)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowLoadRedraw998)->Unit(benchmark::kMillisecond);
BENCHMARK(RecordedTaxSettingChange998)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowTaxSettingChange998)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
