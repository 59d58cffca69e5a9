// The issuing program's PDF output (mode "3": read, lay out, paint, write,
// file as an attachment) on the demo installation: the 998-line quotation
// and a one-page demo quotation, in process and through the installed
// program. Runs on SQLite, and
// on PostgreSQL when VELMORA_TEST_PG names a test server.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>

#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "admin/installation.h"
#include "app/installation.h"
#include "data/data_access.h"
#include "data/postgres/postgres_connection.h"
#include "issue/issue_run.h"
#include "issue/qt/issue_output.h"
#include "pricing/company_settings.h"
#include "pricing/pricing_changes.h"
#include "quotation/document_scope.h"
#include "quotation/master_reads.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"
#include "support/test_env.h"

namespace velmora {
namespace {

class QuietPrompts : public DocumentPrompts {
  public:
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
};

struct Demo {
    explicit Demo(bool postgres) {
        InitOptions options;
        options.root = dir.path() / "velmora";
        CalendarDate::Parse("20261206", options.today);
        options.programSource = test::BinaryFolder();
        if (postgres) {
            pgSource = test::PostgresDataSource();
            pgDatabase = test::UniqueName("velmora_bench_issue");
            options.postgres = PostgresTarget{pgSource, pgDatabase, "postgres", ""};
        }
        InitResult result = InitInstallation(options);
        if (!result.ok) throw std::runtime_error("demo installation failed: " + result.message);
        root = options.root.string() + "/";
        storeLargeQuotation();
    }
    ~Demo() {
        if (pgDatabase.empty()) return;
        DbError ignored;
        DropPostgresDatabase(pgSource, pgDatabase, "postgres", "", ignored);
    }

    // 998 product lines for customer 000001, priced and stored by the program's own code.
    void storeLargeQuotation() {
        DataAccess access;
        DatabaseDefinition definition;
        std::string problem;
        if (!OpenInstallationDatabases(access, root, definition, problem)) throw std::runtime_error(problem);
        QuotationContext context;
        context.operatingOffice = "001";
        context.startStaffCode = "00101";
        context.updateRunFlag = 1;
        std::unique_ptr<Recordset> rs;
        access.OpenDataRecordset(rs, "SELECT * FROM Mユーザ WHERE ID = '0001'");
        ReadCompanySettings(*rs, context.company);
        std::vector<std::string> products;
        access.OpenDataRecordset(rs, "SELECT コード FROM M商品 WHERE 取扱状況区分 <> '3' ORDER BY コード");
        for (; !rs->eof(); rs->moveNext()) products.push_back(rs->text("コード"));
        Quotation q;
        QuietPrompts prompts;
        DocumentScope scope(access, q, context, prompts);
        StartNewQuotation(scope, "20261201");
        ReadCustomer(access, q.header, "000001", false);
        QuotationPricing pricing(context.company, scope.rates);
        for (int i = 0; i < kMaxLinesInUse; ++i) {
            q.LastLine = i;
            ReadProduct(access, q.lines[static_cast<size_t>(i)],
                        products[static_cast<size_t>(i) % products.size()]);
            pricing.ProductEntered(q.header, q.linesInUse(), static_cast<size_t>(i));
            pricing.EnterFigure(q.header, q.linesInUse(), static_cast<size_t>(i), LineFigure::見積数量,
                                Units(1 + i % 9));
        }
        pricing.Totals(q.header, q.linesInUse());
        if (!QuotationSaver(scope, nullptr).Save().stored)
            throw std::runtime_error("the quotation was not stored");
        large = command(q.header.営業見積No, q.header.営業見積日付, q.header.得意先コード);
        // The demo's first quotation fits one page.
        access.OpenDataRecordset(
            rs, "SELECT * FROM T営業見積 WHERE 事業所コード = '001' AND 営業見積No = '00000001'");
        small = command(rs->text("営業見積No"), rs->text("営業見積日付"), rs->text("得意先コード"));
    }

    static std::string command(const std::string& number, const std::string& date,
                               const std::string& customer) {
        IssueRequest request;
        request.office = "001";
        request.mode = IssueMode::FormImage;
        request.dates = {date, date};
        request.numbers = {number, number};
        request.customers = {customer, customer};
        return IssueCommandText(request);
    }

    test::TempDir dir;
    std::string root, pgSource, pgDatabase, large, small;
};

Demo& Shared(bool postgres) {
    static std::unique_ptr<Demo> demos[2];
    auto& d = demos[postgres ? 1 : 0];
    if (!d) d = std::make_unique<Demo>(postgres);
    return *d;
}

bool Skip(benchmark::State& state, bool postgres) {
    if (postgres && test::PostgresDataSource().empty()) {
        state.SkipWithError("no test PostgreSQL server (VELMORA_TEST_PG)");
        return true;
    }
    return false;
}

// What the program does for mode "3" after start-up.
void IssuePdf(benchmark::State& state, bool postgres, bool largest) {
    if (Skip(state, postgres)) return;
    Demo& demo = Shared(postgres);
    const std::string& argument = largest ? demo.large : demo.small;
    int pages = 0;
    for (auto _ : state) {
        DataAccess access;
        IssueJob job;
        if (std::optional<IssueFailure> failure = PrepareIssue(access, demo.root + "prgbin", argument, job)) {
            state.SkipWithError(failure->message.c_str());
            return;
        }
        std::vector<std::string> files;
        std::string problem;
        if (!IssueFormImages(access, job, files, problem)) {
            state.SkipWithError(problem.c_str());
            return;
        }
        pages = static_cast<int>(job.documents.front().plan.pages.size());
    }
    state.counters["pages"] = pages;
}

void IssuePdf998(benchmark::State& state, bool postgres) {
    IssuePdf(state, postgres, true);
}
void IssuePdfOnePage(benchmark::State& state, bool postgres) {
    IssuePdf(state, postgres, false);
}

// prgbin/Orvessa started with the command line and waited for, as the entry
// screen starts it: process start, Qt, the databases, the PDF and its filing.
void IssueProgram(benchmark::State& state, bool postgres, bool largest) {
    if (Skip(state, postgres)) return;
    Demo& demo = Shared(postgres);
    const std::string program = demo.root + "prgbin/Orvessa";
    const std::string& argument = largest ? demo.large : demo.small;
    for (auto _ : state) {
        pid_t pid = fork();
        if (pid == 0) {
            freopen("/dev/null", "w", stdout);
            freopen("/dev/null", "w", stderr);
            execl(program.c_str(), program.c_str(), argument.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the issuing program failed");
            return;
        }
    }
}

void IssueProgram998(benchmark::State& state, bool postgres) {
    IssueProgram(state, postgres, true);
}
void IssueProgramOnePage(benchmark::State& state, bool postgres) {
    IssueProgram(state, postgres, false);
}

BENCHMARK_CAPTURE(IssuePdf998, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IssuePdfOnePage, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IssueProgram998, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IssueProgramOnePage, SQLite, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IssuePdf998, PostgreSQL, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IssuePdfOnePage, PostgreSQL, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IssueProgram998, PostgreSQL, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IssueProgramOnePage, PostgreSQL, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    // Fonts and the PDF writer need a GUI application, not a display.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
