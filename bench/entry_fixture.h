#pragma once

// The demo installation with a 998-line quotation stored for customer
// 000001, the program started on it and the entry presenter loaded on a
// view: shared by the presenter and the window benchmarks.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "admin/installation.h"
#include "app/program.h"
#include "data/postgres/postgres_connection.h"
#include "pricing/pricing_changes.h"
#include "quotation/attachment_files.h"
#include "quotation/master_reads.h"
#include "quotation/save.h"
#include "screens/entry/document_commands.h"
#include "screens/entry/entry_presenter.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/session_bridge.h"
#include "support/test_env.h"

namespace velmora::bench {

// Keeps the texts it is given (the presenter reads fields back) and nothing else.
class NullView : public EntryView {
public:
    void SetWindowCaption(const std::string&) override {}
    void SetTitlePanel(const std::string&) override {}
    void SetNotice(const std::string&) override {}
    bool AskYesNo(const std::string&, bool) override { return true; }
    RestoreAnswer AskRestore(const std::string&) override { return RestoreAnswer::Later; }
    void ShowMessage(const std::string&) override {}
    void SetText(const Control& c, const std::string& text) override { texts[c] = text; }
    std::string Text(const Control& c) const override {
        auto it = texts.find(c);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetChecked(const Control&, bool) override {}
    void SetListItems(const std::string&, const std::vector<std::string>&) override {}
    void SetListIndex(const Control&, int) override {}
    void SetEnabled(const Control&, bool) override {}
    void SetTabStop(const Control&, bool) override {}
    void SetVisible(const Control&, bool) override {}
    void SetTextColour(const Control&, Colour) override {}
    void SetBackColour(const Control&, Colour) override {}
    void SetCaption(const Control&, const std::string&) override {}
    void FocusControl(const Control&) override {}
    void SetListRows(const std::string&, const std::vector<std::vector<std::string>>&) override {}
    int ListCurrentRow(const std::string&) const override { return -1; }
    std::string ChooseFile(const std::string&, const std::vector<FileFilter>&) override { return {}; }
    std::string ChooseFolder(const std::string&, const std::string&) override { return {}; }
    void SetDetailEnabled(bool) override {}
    void SetDetailPage(int) override {}
    void SetScrollBar(bool, int, int) override {}
    void SetScrollBarVisible(bool) override {}
    void SetWindowEnabled(bool) override {}
    int AskSaveConfirmation(const std::string&, bool, const std::string&) override { return kConfirmStoreOnly; }
    void ShowWait(bool) override {}
    void RunCopy(CopyJob& job) override { job.Run(); }
    void Pause(int) override {}
    void RunLater(int, std::function<void()>) override {}
    // The screen's own work for later (the draft of unsaved changes), run by the benchmark.
    void RunQuietly(int, std::function<void()> task) override { quiet.push_back(std::move(task)); }
    std::vector<std::function<void()>> quiet;
    void CloseWindow() override {}
    std::map<Control, std::string> texts;
};

class QuietHost : public StartUpHost {
public:
    void ShowMessage(const std::string&) override {}
    void RunPinDialog(PinDialog&) override {}
    void ShowWait(bool) override {}
    void ScreenSize(int& w, int& h) override { w = 1920, h = 1080; }
};

struct Screen {
    explicit Screen(bool postgres) {
        InitOptions options;
        options.root = dir.path() / "velmora";
        CalendarDate::Parse("20261206", options.today);
        if (postgres) {
            pgSource = test::PostgresDataSource();
            pgDatabase = test::UniqueName("velmora_bench_entry");
            options.postgres = PostgresTarget{pgSource, pgDatabase, "postgres", ""};
        }
        if (!InitInstallation(options).ok) throw std::runtime_error("demo installation failed");
        ProgramEnvironment env;
        env.programFolder = options.root.string() + "/prgbin";
        env.userName = "bench";
        env.computerName = "BENCH";
        const TimePoint now = ParseTimestamp("20261206 100000");
        env.clock = [now] { return now; };
        program = std::make_unique<Program>(env, host);
        if (!program->StartUp()) throw std::runtime_error("start-up failed");
        presenter = std::make_unique<EntryPresenter>(*program);
        presenter->Load(view);
        storeLargeQuotation();
    }
    ~Screen() {
        presenter->EndWithoutAsking();
        presenter.reset();
        program.reset();
        if (!pgDatabase.empty()) {
            DbError ignored;
            DropPostgresDatabase(pgSource, pgDatabase, "postgres", "", ignored);
        }
    }

    // 998 product lines for customer 000001, priced as typed, stored once.
    void storeLargeQuotation() {
        EntryScreen& s = presenter->screen();
        Quotation& q = s.quotation;
        ReadCustomer(program->access(), q.header, "000001", false);
        std::vector<std::string> products;
        std::unique_ptr<Recordset> rs;
        program->access().OpenDataRecordset(rs, "SELECT コード FROM M商品 WHERE 取扱状況区分 <> '3' ORDER BY コード");
        for (; rs && !rs->eof(); rs->moveNext()) products.push_back(rs->text("コード"));
        if (rs) rs->close();
        const QuotationPricing pricing = s.pricing();
        for (int i = 0; i < kMaxLinesInUse; ++i) {
            q.LastLine = i;
            QuotationLine& line = q.lines[static_cast<size_t>(i)];
            ReadProduct(program->access(), line, products[static_cast<size_t>(i) % products.size()]);
            pricing.ProductEntered(q.header, q.linesInUse(), static_cast<size_t>(i));
            pricing.EnterFigure(q.header, q.linesInUse(), static_cast<size_t>(i), LineFigure::見積数量, Units(1 + i % 9));
        }
        ProgramDocumentSession session(*program);
        if (!QuotationSaver(*s.scope, &session).Save().stored) throw std::runtime_error("the quotation was not stored");
        number = q.header.営業見積No;
        baseDate = q.header.番号基準日付;
        s.commands->ClearToNew(false);
    }

    // The user types the number into 営業見積No and leaves the field.
    void openByNumber() {
        view.texts[{"営業見積No"}] = number;
        presenter->FocusMoved({"営業見積No"});
        presenter->FocusMoved({"得意先名称A"});
    }

    test::TempDir dir;
    std::string pgSource, pgDatabase;
    QuietHost host;
    NullView view;
    std::unique_ptr<Program> program;
    std::unique_ptr<EntryPresenter> presenter;
    std::string number, baseDate;
};

// One screen per engine, made on first use and kept for the run: its
// installation and 998-line quotation are costly to make.
template <class Made = Screen>
Made& Shared(bool postgres) {
    static std::unique_ptr<Made> made[2];
    auto& m = made[postgres ? 1 : 0];
    if (!m) m = std::make_unique<Made>(postgres);
    return *m;
}

// A PostgreSQL case without a test server is skipped with the reason.
inline bool Skip(benchmark::State& state, bool postgres) {
    if (postgres && test::PostgresDataSource().empty()) {
        state.SkipWithError("no test PostgreSQL server (VELMORA_TEST_PG)");
        return true;
    }
    return false;
}

}  // namespace velmora::bench
