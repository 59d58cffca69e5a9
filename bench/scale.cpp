// The document operations and lookups a salesperson waits for, on a large
// installation (ten years of 100,000 quotations with about 1,000,000 lines,
// 100,000 customers, 50,000 products) and on the small demo installation in
// the same run, on SQLite and, when VELMORA_TEST_PG names a server, on
// PostgreSQL. Also saves of 998-line quotations on PostgreSQL reached across
// a simulated LAN: a loopback relay that holds every packet 200 µs each way.
//
// The installations are built on first use into VELMORA_SCALE_DIR (default
// /tmp/velmora-scale) and reused by later runs; a PostgreSQL one is built
// again when the server has changed.
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "admin/installation.h"
#include "app/installation.h"
#include "data/connection_string.h"
#include "data/data_access.h"
#include "data/postgres/postgres_connection.h"
#include "pricing/company_settings.h"
#include "pricing/pricing_changes.h"
#include "quotation/browse.h"
#include "quotation/document_scope.h"
#include "quotation/load.h"
#include "quotation/master_reads.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"
#include "screens/lookup/condition_builder.h"
#include "screens/lookup/lookup_data.h"
#include "screens/lookup/lookup_presenter.h"
#include "support/test_env.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Every installation is built as of this day, so that a cached one matches a new one.
constexpr const char* kToday = "20261206";
// The demo quotation in the middle of the demo's own: dated 45 days back,
// with demo quotations before and after it in both installations.
constexpr int kSampleDaysBack = 45;
constexpr auto kLanDelay = std::chrono::microseconds(200);
constexpr const char* kLanDatabase = "velmora_scale_lan";

class SilentPrompts : public DocumentPrompts {
public:
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
};

struct Key {
    std::string office, baseDate, number;
};

// ---------------------------------------------------------------------------
// A loopback TCP relay to the server's unix socket. Each direction is a delay
// line: a reader stamps what arrives, a writer passes it on once the delay
// has passed, so traffic in flight overlaps as it would on a wire.

class DelayLine {
public:
    DelayLine(int from, int to) : m_from(from), m_to(to) {
        m_reader = std::thread([this] { read(); });
        m_writer = std::thread([this] { write(); });
    }
    ~DelayLine() {
        m_reader.join();
        m_writer.join();
    }

private:
    struct Chunk {
        Clock::time_point due;
        std::string data;  // empty: the sender closed
    };
    void push(Chunk chunk) {
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back(std::move(chunk));
        }
        m_ready.notify_one();
    }
    void read() {
        std::string buffer(1 << 16, '\0');
        for (;;) {
            ssize_t n = ::recv(m_from, buffer.data(), buffer.size(), 0);
            if (n <= 0) break;
            push({Clock::now() + kLanDelay, buffer.substr(0, static_cast<size_t>(n))});
        }
        push({Clock::now() + kLanDelay, {}});
    }
    void write() {
        for (;;) {
            Chunk chunk;
            {
                std::unique_lock lock(m_mutex);
                m_ready.wait(lock, [this] { return !m_queue.empty(); });
                chunk = std::move(m_queue.front());
                m_queue.pop_front();
            }
            std::this_thread::sleep_until(chunk.due);
            if (chunk.data.empty()) {
                ::shutdown(m_to, SHUT_WR);
                return;
            }
            for (size_t sent = 0; sent < chunk.data.size();) {
                ssize_t n = ::send(m_to, chunk.data.data() + sent, chunk.data.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) {
                    ::shutdown(m_from, SHUT_RD);
                    break;
                }
                sent += static_cast<size_t>(n);
            }
        }
    }

    int m_from, m_to;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<Chunk> m_queue;
    std::thread m_reader, m_writer;
};

class LoopbackRelay {
public:
    explicit LoopbackRelay(std::string unixSocket) : m_target(std::move(unixSocket)) {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listener, 16) != 0 ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("the relay cannot listen on 127.0.0.1");
        m_port = ntohs(address.sin_port);
        m_acceptor = std::thread([this] { accept(); });
    }
    ~LoopbackRelay() {
        m_stop = true;
        m_acceptor.join();
        ::close(m_listener);
        std::lock_guard lock(m_mutex);
        for (Pair& pair : m_pairs) {
            ::shutdown(pair.client, SHUT_RDWR);
            ::shutdown(pair.server, SHUT_RDWR);
        }
        for (Pair& pair : m_pairs) {
            pair.up.reset();
            pair.down.reset();
            ::close(pair.client);
            ::close(pair.server);
        }
    }
    int port() const { return m_port; }

private:
    struct Pair {
        int client, server;
        std::unique_ptr<DelayLine> up, down;
    };
    void accept() {
        while (!m_stop) {
            pollfd waiting{m_listener, POLLIN, 0};
            if (::poll(&waiting, 1, 50) <= 0) continue;
            int client = ::accept(m_listener, nullptr, nullptr);
            if (client < 0) continue;
            int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un target{};
            target.sun_family = AF_UNIX;
            std::snprintf(target.sun_path, sizeof target.sun_path, "%s", m_target.c_str());
            if (server < 0 || ::connect(server, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
                ::close(client);
                if (server >= 0) ::close(server);
                continue;
            }
            int on = 1;
            ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            std::lock_guard lock(m_mutex);
            Pair& pair = m_pairs.emplace_back(Pair{client, server, nullptr, nullptr});
            pair.up = std::make_unique<DelayLine>(client, server);
            pair.down = std::make_unique<DelayLine>(server, client);
        }
    }

    std::string m_target;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_acceptor;
    std::mutex m_mutex;
    std::deque<Pair> m_pairs;
};

// ---------------------------------------------------------------------------
// An installation opened as a tool opens it, with the one quotation of a run.

struct Site {
    DataAccess access;
    QuotationContext context;
    Quotation quotation;
    SilentPrompts prompts;
    std::unique_ptr<DocumentScope> scope;
    LookupSession lookup;
    std::string databaseKind;
    Key sample;  // the demo quotation dated kSampleDaysBack days back
    Key full;    // a quotation of 998 lines, when there is one
    std::string problem;

    // The session of staff member 00101 at office 001. Notices go to the
    // business database with the rows (update run flag 1): a run of
    // benchmarks starts no update program.
    bool start() {
        std::unique_ptr<Recordset> rs;
        if (!access.OpenDataRecordset(rs, "SELECT * FROM Mユーザ WHERE ID = '0001'") ||
            !ReadCompanySettings(*rs, context.company))
            return fail("no company record");
        context.operatingOffice = "001";
        context.startStaffCode = context.staffCode = "00101";
        context.staffName = "bench";
        context.userName = "bench";
        context.computerName = "BENCH";
        context.updateRunFlag = 1;
        scope = std::make_unique<DocumentScope>(access, quotation, context, prompts);
        scope->rates.Load(access);
        lookup.databaseKind = databaseKind;
        lookup.operatingOfficeCode = lookup.currentOfficeCode = "001";
        lookup.sellingUnitPriceDecimals = context.company.売上単価少数以下桁数;
        lookup.purchaseUnitPriceDecimals = context.company.仕入単価少数以下桁数;
        CalendarDate today;
        CalendarDate::Parse(kToday, today);
        const std::string sampleDate = RollOver(today.year, today.month, today.day - kSampleDaysBack).Text();
        if (!access.OpenDataRecordset(rs, "SELECT 事業所コード, 番号基準日付, 営業見積No FROM T営業見積 WHERE 事業所コード = "
                                          "'001' AND 営業見積日付 = '" + sampleDate + "'"))
            return fail("no demo quotation dated " + sampleDate);
        sample = {rs->text("事業所コード"), rs->text("番号基準日付"), rs->text("営業見積No")};
        if (access.OpenDataRecordset(rs, "SELECT TOP 1 事業所コード, 番号基準日付, 営業見積No FROM T営業見積明細 "
                                         "WHERE 営業見積固有行No = '998' AND 事業所コード = '001'"))
            full = {rs->text("事業所コード"), rs->text("番号基準日付"), rs->text("営業見積No")};
        return true;
    }
    bool fail(const std::string& why) {
        problem = why;
        return false;
    }
};

std::string ScaleFolder() {
    const char* folder = std::getenv("VELMORA_SCALE_DIR");
    return folder && *folder ? folder : "/tmp/velmora-scale";
}

std::string Grouped(long long n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

// Builds the installation unless the folder holds one made the same way.
bool Prepare(const fs::path& root, bool large, const std::string& pgSource, const std::string& pgDatabase,
             std::string& problem) {
    const std::string made = std::string(large ? "large " : "small ") + std::to_string(kLargeQuotations) + " " + kToday +
                             " " + pgSource + " " + pgDatabase;
    const fs::path marker = root / "velmora-scale.txt";
    std::string found;
    if (std::ifstream in{marker}; in) std::getline(in, found);
    if (found == made && fs::exists(root / "conf" / "usrcnfg.accdb")) return true;

    InitOptions options;
    options.root = root;
    options.replace = true;
    options.large = large;
    options.historyQuotations = large ? kLargeQuotations : 0;
    CalendarDate::Parse(kToday, options.today);
    if (!pgSource.empty()) options.postgres = PostgresTarget{pgSource, pgDatabase, "postgres", ""};
    const std::string what = std::string(large ? "large" : "small") + " installation on " +
                             (pgSource.empty() ? "SQLite" : "PostgreSQL");
    const auto started = Clock::now();
    options.progress = [&](const std::string& step, long long done, long long total) {
        const std::string count = total > 1 ? Grouped(done) + " / " + Grouped(total) : done < total ? "..." : "done";
        std::fprintf(stderr, "\rbuilding the %s: %s %s      ", what.c_str(), step.c_str(), count.c_str());
    };
    std::fprintf(stderr, "building the %s in %s\n", what.c_str(), root.c_str());
    InitResult result = InitInstallation(options);
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    std::fprintf(stderr, "\n%s in %.0f s\n", result.ok ? "built" : "failed", seconds);
    if (!result.ok) {
        problem = result.message;
        return false;
    }
    std::ofstream(marker) << made << "\n";
    return true;
}

enum class Size { Small, Large };

const char* SizeName(Size size) { return size == Size::Small ? "small" : "large"; }

// The installation of that size on that engine, built or opened once per run.
Site* GetSite(Size size, bool postgres, std::string& problem) {
    static std::map<std::pair<Size, bool>, std::unique_ptr<Site>> opened;
    auto& slot = opened[{size, postgres}];
    if (!slot) {
        slot = std::make_unique<Site>();
        const std::string pgSource = postgres ? test::PostgresDataSource() : "";
        const std::string name = std::string("velmora_scale_") + SizeName(size);
        const fs::path root = fs::path(ScaleFolder()) / (std::string(SizeName(size)) + (postgres ? "-pg" : "-sqlite"));
        DatabaseDefinition definition;
        if (postgres && pgSource.empty()) {
            slot->problem = "VELMORA_TEST_PG names no server";
        } else if (Prepare(root, size == Size::Large, pgSource, name, slot->problem) &&
                   OpenInstallationDatabases(slot->access, root.string(), definition, slot->problem)) {
            slot->databaseKind = definition.db;
            slot->start();
        } else if (slot->problem.empty()) {
            slot->problem = "cannot open " + root.string();
        }
    }
    problem = slot->problem;
    return problem.empty() ? slot.get() : nullptr;
}

using Operation = void (*)(benchmark::State&, Site&);

void Register(const std::string& name, Operation operation, bool largeOnly = false) {
    for (bool postgres : {false, true})
        for (Size size : {Size::Small, Size::Large}) {
            if (largeOnly && size == Size::Small) continue;
            const std::string full = name + "/" + (postgres ? "PostgreSQL" : "SQLite") + "/" + SizeName(size);
            benchmark::RegisterBenchmark(full.c_str(), [=](benchmark::State& state) {
                std::string problem;
                Site* site = GetSite(size, postgres, problem);
                if (!site) {
                    state.SkipWithError(problem.c_str());
                    return;
                }
                operation(state, *site);
            })->Unit(benchmark::kMillisecond);
        }
}

// ---------------------------------------------------------------------------
// The operations.

void LoadQuotation(benchmark::State& state, Site& s) {
    QuotationLoader loader(*s.scope);
    for (auto _ : state)
        if (!loader.OpenStored(s.sample.office, s.sample.baseDate, s.sample.number)) state.SkipWithError("not loaded");
    state.counters["lines"] = s.quotation.LastLine + 1;
}

void LoadFullQuotation(benchmark::State& state, Site& s) {
    if (s.full.number.empty()) return state.SkipWithError("no quotation of 998 lines");
    QuotationLoader loader(*s.scope);
    for (auto _ : state)
        if (!loader.OpenStored(s.full.office, s.full.baseDate, s.full.number)) state.SkipWithError("not loaded");
    state.counters["lines"] = s.quotation.LastLine + 1;
}

// F3 and F4 in turn from the sample: each finds the neighbour and opens it.
void BrowseQuotations(benchmark::State& state, Site& s) {
    QuotationLoader(*s.scope).OpenStored(s.sample.office, s.sample.baseDate, s.sample.number);
    QuotationBrowser browser(*s.scope);
    bool back = true;
    for (auto _ : state) {
        if ((back ? browser.GoToPrevious() : browser.GoToNext()) != QuotationBrowser::Moved::Loaded)
            state.SkipWithError("no neighbour");
        back = !back;
    }
}

// The neighbour's key alone, both ways in turn.
void FindNeighbour(benchmark::State& state, Site& s) {
    QuotationLoader(*s.scope).OpenStored(s.sample.office, s.sample.baseDate, s.sample.number);
    QuotationBrowser browser(*s.scope);
    std::string baseDate, number;
    bool back = true;
    for (auto _ : state) {
        if (!(back ? browser.FindPrevious(baseDate, number) : browser.FindNext(baseDate, number)))
            state.SkipWithError("no neighbour");
        back = !back;
    }
}

// A quantity of one line changed on the opened quotation and saved; only
// the save is timed.
void TimeChangedSaves(benchmark::State& state, Site& s, const Key& key, int line) {
    QuotationLoader loader(*s.scope);
    const QuotationPricing pricing(s.context.company, s.scope->rates);
    int step = 1;
    for (auto _ : state) {
        state.PauseTiming();
        loader.OpenStored(key.office, key.baseDate, key.number);
        Quotation& q = s.quotation;
        const auto at = static_cast<size_t>(line);
        pricing.EnterFigure(q.header, q.linesInUse(), line, LineFigure::見積数量,
                            *Currency::Add(q.lines[at].見積数量, Units(step)));
        step = -step;
        state.ResumeTiming();
        if (!QuotationSaver(*s.scope, nullptr).Save().stored) state.SkipWithError(q.SaveMessage.c_str());
    }
}

void SaveChange(benchmark::State& state, Site& s) { TimeChangedSaves(state, s, s.sample, 0); }

// The quotation-number window: its list as it opens (the office's latest
// 1,000), and the search from a number on.
void QuotationNumberSearch(benchmark::State& state, Site& s, const SearchMode& mode, SearchValues values) {
    QueryContext context;
    context.databaseKind = s.databaseKind;
    context.currentOffice = context.operatingOffice = "001";
    context.today = kToday;
    const std::string sql = BuildLookupQuery(DescribeWindow(LookupWindowId::営業見積No一覧), mode, values, context);
    size_t rows = 0;
    for (auto _ : state) {
        std::unique_ptr<Recordset> rs;
        s.access.OpenDataRecordset(rs, sql);
        rows = 0;
        for (; !rs->eof(); rs->moveNext(), ++rows) benchmark::DoNotOptimize(rs->text("得意先名称A"));
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void QuotationNumberList(benchmark::State& state, Site& s) {
    QuotationNumberSearch(state, s, SearchMode::Compound(), {});
}

void QuotationNumberFrom(benchmark::State& state, Site& s) {
    SearchValues values;
    values.fields["営業見積No"] = s.sample.number;
    QuotationNumberSearch(state, s, SearchMode::OfField("営業見積No"), values);
}

// The product window: two words of the name, either of them (名称検索) and both.
void ProductTwoWords(benchmark::State& state, Site& s, bool narrow) {
    DataAccessLookupData data(s.access);
    LookupContext context;
    LookupPresenter presenter(DescribeWindow(LookupWindowId::商品一覧), s.lookup, data, context, nullptr);
    presenter.open(nullptr);
    presenter.onFieldLeft("名称1", "ボールペン");
    presenter.onFieldLeft("名称2", "黒");
    if (narrow) presenter.onCheckToggled("chb_絞込み", true);
    for (auto _ : state) {
        presenter.onButton("btn_名称検索");
        benchmark::DoNotOptimize(presenter.rows().data());
    }
    state.counters["rows"] = static_cast<double>(presenter.rows().size());
}

void ProductTwoWordsEither(benchmark::State& state, Site& s) { ProductTwoWords(state, s, false); }
void ProductTwoWordsBoth(benchmark::State& state, Site& s) { ProductTwoWords(state, s, true); }

// ---------------------------------------------------------------------------
// 998-line saves on a small PostgreSQL installation, over the server's unix
// socket and through the relay.

struct LanSite {
    std::unique_ptr<LoopbackRelay> relay;
    Site site;
    Quotation filled;  // a new quotation of 998 priced lines
};

LanSite* GetLan(bool throughRelay, std::string& problem) {
    static std::map<bool, std::unique_ptr<LanSite>> opened;
    auto& slot = opened[throughRelay];
    if (slot) {
        problem = slot->site.problem;
        return problem.empty() ? slot.get() : nullptr;
    }
    slot = std::make_unique<LanSite>();
    Site& s = slot->site;
    // A demo installation of its own: the quotations these saves leave stay
    // out of the small installation the other benchmarks compare with.
    std::string dataSource = test::PostgresDataSource();
    if (dataSource.empty()) {
        problem = s.problem = "VELMORA_TEST_PG names no server";
        return nullptr;
    }
    if (!Prepare(fs::path(ScaleFolder()) / "lan-pg", false, dataSource, kLanDatabase, s.problem)) {
        problem = s.problem;
        return nullptr;
    }
    if (throughRelay) {
        const size_t colon = dataSource.rfind(':');
        slot->relay = std::make_unique<LoopbackRelay>(dataSource.substr(0, colon) + "/.s.PGSQL." +
                                                      dataSource.substr(colon + 1));
        dataSource = "127.0.0.1:" + std::to_string(slot->relay->port());
    }
    DbError error;
    if (!s.access.OpenDataConnection(
            ServerConnectionString("SQLOLEDB", "postgres", "", dataSource, kLanDatabase), &error)) {
        problem = s.problem = "cannot connect through " + dataSource + ": " + error.description;
        return nullptr;
    }
    s.databaseKind = "S";
    if (!s.start()) {
        problem = s.problem;
        return nullptr;
    }
    // Customer 000001 and the first 998 products in stock, priced as typed.
    Quotation& q = s.quotation;
    StartNewQuotation(*s.scope, kToday);
    ReadCustomer(s.access, q.header, "000001", false);
    std::vector<std::string> products;
    std::unique_ptr<Recordset> rs;
    s.access.OpenDataRecordset(rs, "SELECT コード FROM M商品 WHERE 取扱状況区分 <> '3' ORDER BY コード");
    for (; !rs->eof(); rs->moveNext()) products.push_back(rs->text("コード"));
    const QuotationPricing pricing(s.context.company, s.scope->rates);
    for (int i = 0; i < kMaxLinesInUse; ++i) {
        q.LastLine = i;
        ReadProduct(s.access, q.lines[static_cast<size_t>(i)], products[static_cast<size_t>(i) % products.size()]);
        pricing.ProductEntered(q.header, q.linesInUse(), static_cast<size_t>(i));
        pricing.EnterFigure(q.header, q.linesInUse(), static_cast<size_t>(i), LineFigure::見積数量, Units(1 + i % 9));
    }
    slot->filled = q;
    if (!QuotationSaver(*s.scope, nullptr).Save().stored) {
        problem = s.problem = "the 998-line quotation was not stored: " + q.SaveMessage;
        return nullptr;
    }
    s.full = {q.header.事業所コード, q.header.番号基準日付, q.header.営業見積No};
    return slot.get();
}

void SaveNew998(benchmark::State& state, bool throughRelay) {
    std::string problem;
    LanSite* lan = GetLan(throughRelay, problem);
    if (!lan) return state.SkipWithError(problem.c_str());
    Site& s = lan->site;
    for (auto _ : state) {
        state.PauseTiming();
        StartNewQuotation(*s.scope, kToday);
        const std::string baseDate = s.quotation.header.番号基準日付, number = s.quotation.header.営業見積No;
        s.quotation = lan->filled;
        s.quotation.header.番号基準日付 = baseDate;
        s.quotation.header.営業見積No = number;
        state.ResumeTiming();
        if (!QuotationSaver(*s.scope, nullptr).Save().stored) state.SkipWithError(s.quotation.SaveMessage.c_str());
    }
}

void SaveChanged998(benchmark::State& state, bool throughRelay) {
    std::string problem;
    LanSite* lan = GetLan(throughRelay, problem);
    if (!lan) return state.SkipWithError(problem.c_str());
    TimeChangedSaves(state, lan->site, lan->site.full, 500);
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    using namespace velmora;
    benchmark::Initialize(&argc, argv);
    Register("LoadQuotation", LoadQuotation);
    Register("LoadQuotation998", LoadFullQuotation, true);
    Register("Browse", BrowseQuotations);
    Register("BrowseFind", FindNeighbour);
    Register("SaveChange", SaveChange);
    Register("QuotationNumberList", QuotationNumberList);
    Register("QuotationNumberFrom", QuotationNumberFrom);
    Register("ProductTwoWordsEither", ProductTwoWordsEither);
    Register("ProductTwoWordsBoth", ProductTwoWordsBoth);
    for (bool relay : {false, true}) {
        const std::string where = relay ? "/lan" : "/socket";
        benchmark::RegisterBenchmark(("SaveNew998/PostgreSQL" + where).c_str(),
                                     [relay](benchmark::State& state) { SaveNew998(state, relay); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        benchmark::RegisterBenchmark(("SaveChanged998/PostgreSQL" + where).c_str(),
                                     [relay](benchmark::State& state) { SaveChanged998(state, relay); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
