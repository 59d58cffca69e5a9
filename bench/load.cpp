// A sales office on one server: many salespeople, each a process of its own
// with its own connections, searching customers and products, opening and
// browsing quotations, changing and saving them, entering new ones (5 to 60
// lines, now and then 998), printing one to PDF through the installed
// issuing program and deleting one now and then, with a think time between
// operations. A few of them work on the same few quotations at once, so
// refusals of lost updates and lock waits happen; those are counted apart
// from errors. Afterwards the store is checked as the crash tests check it
// and every quotation a salesperson left stored must be there as left.
//
//   velmora_bench_load [--engine postgresql|sqlite] [--workers N] [--seconds S]
//                      [--think-scale F] [--size large|small] [--seed N] [--quick]
//
// Defaults: PostgreSQL (on VELMORA_TEST_PG) with 50 salespeople, SQLite with
// 8 processes on one file, 300 s, think time 0.5 to 2 s, the large
// installation built once into VELMORA_LOAD_DIR (default /tmp/velmora-load)
// and reused. --quick is the suite's short run: a fresh demo installation,
// 25 s, 6 (PostgreSQL) or 3 (SQLite) processes, a tenth of the think time;
// it checks outcomes only, never times. Exit status 0 when there was no
// unexpected error, nothing was lost and the check is clean; 77 when
// PostgreSQL is asked for and no server is named.
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "admin/installation.h"
#include "app/installation.h"
#include "data/data_access.h"
#include "data/postgres/postgres_connection.h"
#include "pricing/company_settings.h"
#include "pricing/pricing_changes.h"
#include "quotation/browse.h"
#include "quotation/closing_dates.h"
#include "quotation/delete.h"
#include "quotation/document_scope.h"
#include "quotation/load.h"
#include "quotation/master_reads.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"
#include "quotation/save_status.h"
#include "data/sql_text.h"
#include "saved_states.h"
#include "issue/issue_run.h"
#include "screens/entry/print_commands.h"
#include "screens/lookup/lookup_data.h"
#include "screens/lookup/lookup_presenter.h"
#include "support/test_env.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kToday = "20261206";
constexpr int kSharedQuotations = 4;
constexpr int kSkipped = 77;

struct Options {
    bool postgres = true;
    int workers = 0;  // 0: the engine's default
    double seconds = 300;
    double thinkScale = 1.0;
    bool large = true;
    unsigned seed = 20261206;
    bool quick = false;
    // Marks this run's quotations apart from those of earlier runs on the same installation.
    std::string runTag;
};

// ---------------------------------------------------------------------------
// What the processes share: the keys of the quotations several salespeople
// work on at once. A salesperson who deletes one enters its successor.

struct SharedSlot {
    pthread_mutex_t mutex;
    char baseDate[16];
    char number[16];
    int generation;
};

struct Shared {
    SharedSlot slots[kSharedQuotations];
};

struct Key {
    std::string baseDate, number;
};

Key ReadSlot(SharedSlot& slot) {
    pthread_mutex_lock(&slot.mutex);
    Key key{slot.baseDate, slot.number};
    pthread_mutex_unlock(&slot.mutex);
    return key;
}

void WriteSlot(SharedSlot& slot, const std::string& baseDate, const std::string& number) {
    pthread_mutex_lock(&slot.mutex);
    std::snprintf(slot.baseDate, sizeof slot.baseDate, "%s", baseDate.c_str());
    std::snprintf(slot.number, sizeof slot.number, "%s", number.c_str());
    ++slot.generation;
    pthread_mutex_unlock(&slot.mutex);
}

// ---------------------------------------------------------------------------
// The installation and what every salesperson reads from it once.

struct Setup {
    std::string root;  // with a trailing '/'
    std::string pgSource, pgDatabase;
    std::string databaseKind;
    CompanySettings company;
    std::vector<std::string> customers, products;
    std::vector<Key> quotations;  // office 001's, as the run starts
    std::vector<Key> recent;      // those of them in the open period
};

class SilentPrompts : public DocumentPrompts {
public:
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return true; }
};

QuotationContext ContextFor(const CompanySettings& company, int worker) {
    QuotationContext context;
    context.company = company;
    context.operatingOffice = "001";
    context.startStaffCode = context.staffCode = "00101";
    context.staffName = "load";
    context.userName = "load" + std::to_string(worker);
    context.computerName = "LOAD" + std::to_string(worker);
    // Notices go to the business database with the rows: no update program.
    context.updateRunFlag = 1;
    return context;
}

std::string Grouped(long long n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

// Builds the installation unless the folder holds one made the same way.
bool Prepare(const fs::path& root, bool large, const std::string& pgSource, const std::string& pgDatabase,
             std::string& problem) {
    const std::string made = std::string(large ? "large " : "small ") + kToday + " " + pgSource + " " + pgDatabase;
    const fs::path marker = root / "velmora-load.txt";
    std::string found;
    if (std::ifstream in{marker}; in) std::getline(in, found);
    if (found == made && fs::exists(root / "conf" / "usrcnfg.accdb")) {
        std::vector<std::string> copied;
        return RefreshPrograms(root, test::BinaryFolder(), copied, problem);
    }
    InitOptions options;
    options.root = root;
    options.replace = true;
    options.large = large;
    options.historyQuotations = large ? kLargeQuotations : 0;
    options.programSource = test::BinaryFolder();
    CalendarDate::Parse(kToday, options.today);
    if (!pgSource.empty()) options.postgres = PostgresTarget{pgSource, pgDatabase, "postgres", ""};
    const auto started = Clock::now();
    if (large) {
        options.progress = [&](const std::string& step, long long done, long long total) {
            const std::string count = total > 1 ? Grouped(done) + " / " + Grouped(total) : done < total ? "..." : "done";
            std::fprintf(stderr, "\rbuilding the large installation: %s %s      ", step.c_str(), count.c_str());
        };
        std::fprintf(stderr, "building the large installation in %s (once; later runs reuse it)\n", root.c_str());
    }
    InitResult result = InitInstallation(options);
    if (large)
        std::fprintf(stderr, "\n%s in %.0f s\n", result.ok ? "built" : "failed",
                     std::chrono::duration<double>(Clock::now() - started).count());
    if (!result.ok) {
        problem = result.message;
        return false;
    }
    std::ofstream(marker) << made << "\n";
    return true;
}

bool ReadSetup(DataAccess& access, Setup& setup, std::string& problem) {
    std::unique_ptr<Recordset> rs;
    if (!access.OpenDataRecordset(rs, "SELECT * FROM Mユーザ WHERE ID = '0001'") ||
        !ReadCompanySettings(*rs, setup.company)) {
        problem = "no company record";
        return false;
    }
    access.OpenDataRecordset(rs, "SELECT コード FROM M得意先 ORDER BY コード");
    for (; rs && !rs->eof(); rs->moveNext()) setup.customers.push_back(rs->text("コード"));
    access.OpenDataRecordset(rs, "SELECT コード FROM M商品 WHERE 取扱状況区分 <> '3' ORDER BY コード");
    for (; rs && !rs->eof(); rs->moveNext()) setup.products.push_back(rs->text("コード"));
    access.OpenDataRecordset(rs, "SELECT 番号基準日付, 営業見積No, 営業見積日付 FROM T営業見積 WHERE 事業所コード = '001'");
    for (; rs && !rs->eof(); rs->moveNext()) {
        setup.quotations.push_back({rs->text("番号基準日付"), rs->text("営業見積No")});
        if (InOpenPeriod(rs->text("営業見積日付"), kToday, setup.company)) setup.recent.push_back(setup.quotations.back());
    }
    if (setup.customers.empty() || setup.products.empty() || setup.recent.empty()) {
        problem = "the installation has no customers, products or quotations";
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Operations and their outcomes.

enum class Outcome { Done, Refused, LockLimit, Error };
const char* OutcomeName(Outcome o) {
    switch (o) {
        case Outcome::Done: return "done";
        case Outcome::Refused: return "refused";
        case Outcome::LockLimit: return "locklimit";
        default: return "error";
    }
}

// The outcome of a save or delete that did not store: a lost update the
// program refused, a lock wait past its limit, or anything else.
Outcome WriteFailure(const Quotation& q) {
    if (q.SaveStatus == kStatusChangedMeanwhile || q.SaveStatus == kStatusDeleteFailed ||
        q.SaveStatus == kStatusLinkFailed)
        return Outcome::Refused;
    if (q.SaveStatus == kStatusDatabaseFault && q.SaveMessage.find("更新中の") != std::string::npos)
        return Outcome::LockLimit;
    return Outcome::Error;
}

// ---------------------------------------------------------------------------
// One salesperson.

class Salesperson {
public:
    Salesperson(const Setup& setup, const Options& options, Shared& shared, int worker, std::ostream& out)
        : m_setup(setup),
          m_options(options),
          m_shared(shared),
          m_worker(worker),
          m_out(out),
          m_random(options.seed * 7919u + static_cast<unsigned>(worker)),
          m_context(ContextFor(setup.company, worker)) {}

    // False when the databases cannot be opened.
    bool run(Clock::time_point until) {
        DatabaseDefinition definition;
        std::string problem;
        if (!OpenInstallationDatabases(m_access, m_setup.root, definition, problem)) {
            m_out << "E open " << problem << "\n";
            return false;
        }
        m_access.identity() = {"Velmora", "001", "00101", m_context.userName, m_context.computerName};
        m_scope = std::make_unique<DocumentScope>(m_access, m_q, m_context, m_prompts);
        m_scope->rates.Load(m_access);
        m_lookup.databaseKind = m_setup.databaseKind;
        m_lookup.operatingOfficeCode = m_lookup.currentOfficeCode = "001";
        m_lookup.sellingUnitPriceDecimals = m_context.company.売上単価少数以下桁数;
        m_lookup.purchaseUnitPriceDecimals = m_context.company.仕入単価少数以下桁数;
        // Salespeople do not all start at the same moment.
        think();
        while (Clock::now() < until) {
            step();
            think();
        }
        for (const auto& [key, own] : m_own) m_out << "OWN " << key << " " << own.title << "\n";
        for (const std::string& key : m_gone) m_out << "GONE " << key << "\n";
        return true;
    }

private:
    struct Own {
        int serial;
        int version;
        std::string title;
    };
    enum class Opened { None, Installation, Own, Shared };

    bool sharing() const { return m_worker % 2 == 0; }

    void think() {
        std::uniform_real_distribution<double> seconds(0.5, 2.0);
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds(m_random) * m_options.thinkScale));
    }

    size_t pick(size_t n) { return static_cast<size_t>(m_random() % n); }

    void record(const char* op, Outcome outcome, Clock::time_point started, const std::string& why = "") {
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started).count();
        m_out << "T " << op << " " << OutcomeName(outcome) << " " << micros << "\n";
        if (outcome == Outcome::Error || outcome == Outcome::LockLimit) {
            std::string line = why;
            std::replace(line.begin(), line.end(), '\n', ' ');
            m_out << "E " << op << " " << line << "\n";
        }
    }

    void step() {
        const int roll = static_cast<int>(m_random() % 100);
        if (roll < 12) return customerSearch();
        if (roll < 24) return productSearch();
        if (roll < 40) return open();
        if (m_opened == Opened::None) return open();
        if (roll < 52) return browse();
        if (roll < 68) return change();
        if (roll < 82) return enterNew();
        if (roll < 92) return print();
        return remove();
    }

    void search(LookupWindowId id, const char* op, std::vector<std::pair<std::string, std::string>> typed,
                const std::string& button) {
        const auto started = Clock::now();
        DataAccessLookupData data(m_access);
        LookupContext context;
        LookupPresenter presenter(DescribeWindow(id), m_lookup, data, context, nullptr);
        presenter.open(nullptr);
        for (const auto& [field, text] : typed) presenter.onFieldLeft(field, text);
        presenter.onButton(button);
        record(op, Outcome::Done, started);
    }

    void customerSearch() {
        static const char* const names[] = {"富士", "山田", "商事", "東京", "北斗", "工業"};
        search(LookupWindowId::得意先一覧, "lookup.customer", {{"名称", names[pick(std::size(names))]}}, "btn_複合検索");
    }

    void productSearch() {
        static const char* const first[] = {"ボールペン", "ノート", "ファイル", "用紙", "封筒"};
        static const char* const second[] = {"黒", "赤", "A4", "青"};
        search(LookupWindowId::商品一覧, "lookup.product",
               {{"名称1", first[pick(std::size(first))]}, {"名称2", second[pick(std::size(second))]}}, "btn_名称検索");
    }

    // A quotation of the installation, one of its own or, for those who
    // share, one of the shared ones.
    void open() {
        Opened what = Opened::Installation;
        const int roll = static_cast<int>(m_random() % 100);
        Key key;
        int slot = -1;
        if (sharing() && roll < 50) {
            what = Opened::Shared;
            slot = static_cast<int>(pick(kSharedQuotations));
            key = ReadSlot(m_shared.slots[slot]);
        } else if (!m_own.empty() && roll < 75) {
            what = Opened::Own;
            auto at = m_own.begin();
            std::advance(at, static_cast<long>(pick(m_own.size())));
            key = {at->first.substr(4, 8), at->first.substr(13)};
        } else {
            key = m_setup.quotations[pick(m_setup.quotations.size())];
        }
        const auto started = Clock::now();
        const bool found = QuotationLoader(*m_scope).OpenStored("001", key.baseDate, key.number);
        const bool large = m_q.LastLine + 1 >= 900;
        // A shared quotation may just have been deleted by someone else; an
        // installation quotation by a salesperson who shares.
        Outcome outcome = found ? Outcome::Done : what == Opened::Own ? Outcome::Error : Outcome::Refused;
        record(large && found ? "load.998" : "load", outcome, started, "not found: " + key.number);
        m_opened = found ? what : Opened::None;
        m_slot = slot;
    }

    void openRecent() {
        const Key& key = m_setup.recent[pick(m_setup.recent.size())];
        const auto started = Clock::now();
        const bool found = QuotationLoader(*m_scope).OpenStored("001", key.baseDate, key.number);
        record("load", found ? Outcome::Done : Outcome::Refused, started);
        m_opened = found ? Opened::Installation : Opened::None;
        m_slot = -1;
    }

    void browse() {
        const auto started = Clock::now();
        QuotationBrowser browser(*m_scope);
        const auto moved = m_random() % 2 ? browser.GoToNext() : browser.GoToPrevious();
        // At either end there is no neighbour; one deleted meanwhile vanishes.
        record("browse", moved == QuotationBrowser::Moved::Vanished ? Outcome::Refused : Outcome::Done, started);
        m_opened = moved == QuotationBrowser::Moved::Loaded ? Opened::Installation : m_opened;
        if (moved == QuotationBrowser::Moved::Vanished) m_opened = Opened::None;
        if (m_opened == Opened::Installation) {
            // The neighbour may be a quotation someone owns: treat it as theirs.
            const std::string key = keyText();
            if (m_own.count(key)) m_opened = Opened::Own;
        }
        m_slot = -1;
    }

    std::string keyText() const {
        return "001/" + m_q.loadedKey.番号基準日付 + "/" + m_q.loadedKey.営業見積No;
    }

    // One quantity changed, the title marked with who saved it, then saved.
    void change() {
        // Only quotations of the open period can be changed.
        if (!m_q.loaded() || !InOpenPeriod(m_q.loadedKey.営業見積日付, kToday, m_context.company)) return openRecent();
        const QuotationPricing pricing(m_context.company, m_scope->rates);
        const size_t line = pick(static_cast<size_t>(m_q.LastLine + 1));
        pricing.EnterFigure(m_q.header, m_q.linesInUse(), line, LineFigure::見積数量, Units(1 + pick(20)));
        const std::string key = keyText();
        auto own = m_own.find(key);
        if (own != m_own.end() && m_opened == Opened::Own) {
            own->second.title = OwnTitle(own->second.serial, own->second.version + 1);
            m_q.header.タイトル = own->second.title;
        } else if (m_opened == Opened::Shared) {
            m_q.header.タイトル = "S" + std::to_string(m_slot) + " w" + std::to_string(m_worker) + " n" +
                                  std::to_string(++m_changes);
        }
        m_scope->RecomputeTotals();
        const bool large = m_q.LastLine + 1 >= 900;
        const auto started = Clock::now();
        const bool stored = QuotationSaver(*m_scope, nullptr).Save().stored;
        record(large ? "save.change.998" : "save.change", stored ? Outcome::Done : WriteFailure(m_q), started,
               m_q.SaveMessage);
        if (own != m_own.end() && m_opened == Opened::Own) {
            // Refused or failed: what is stored is still the last one saved.
            if (stored) ++own->second.version;
            else own->second.title = OwnTitle(own->second.serial, own->second.version);
        }
        // The screen starts a new quotation after a save; a refused one is opened again.
        m_opened = Opened::None;
    }

    std::string OwnTitle(int serial, int version) const {
        return "L" + m_options.runTag + "-" + std::to_string(m_worker) + "-" + std::to_string(serial) + " v" +
               std::to_string(version);
    }

    // A new quotation of 5 to 60 lines (one in 50 of 998) for a customer,
    // priced as typed.
    bool fillNew(const std::string& title, int lines) {
        StartNewQuotation(*m_scope, kToday);
        ReadCustomer(m_access, m_q.header, m_setup.customers[pick(m_setup.customers.size())], false);
        m_q.header.タイトル = title;
        const QuotationPricing pricing(m_context.company, m_scope->rates);
        const size_t first = pick(m_setup.products.size());
        for (int i = 0; i < lines; ++i) {
            m_q.LastLine = i;
            const auto at = static_cast<size_t>(i);
            ReadProduct(m_access, m_q.lines[at], m_setup.products[(first + at) % m_setup.products.size()]);
            pricing.ProductEntered(m_q.header, m_q.linesInUse(), at);
            pricing.EnterFigure(m_q.header, m_q.linesInUse(), at, LineFigure::見積数量, Units(1 + i % 9));
        }
        pricing.Totals(m_q.header, m_q.linesInUse());
        return true;
    }

    bool saveNew(const std::string& title, int lines) {
        fillNew(title, lines);
        const auto started = Clock::now();
        const bool stored = QuotationSaver(*m_scope, nullptr).Save().stored;
        record(lines >= 900 ? "save.new.998" : "save.new", stored ? Outcome::Done : WriteFailure(m_q), started,
               m_q.SaveMessage);
        m_opened = Opened::None;
        return stored;
    }

    void enterNew() {
        const int lines = m_random() % 50 == 0 ? kMaxLinesInUse : 5 + static_cast<int>(pick(56));
        const int serial = m_nextSerial++;
        const std::string title = OwnTitle(serial, 0);
        if (!saveNew(title, lines)) return;
        m_own["001/" + m_q.header.番号基準日付 + "/" + m_q.header.営業見積No] = {serial, 0, title};
    }

    // The installed issuing program started for the stored quotation, as
    // the print command starts it, and waited for until its PDF is filed.
    void print() {
        if (!m_q.loaded()) return open();
        const LoadedKey& key = m_q.loadedKey;
        const std::string argument = PrintCommands::IssuingArgument(key.事業所コード, '3', key.営業見積日付,
                                                                    key.営業見積No, TrimBlanks(key.得意先コード), false);
        const std::string program = m_setup.root + "prgbin/Orvessa";
        const auto started = Clock::now();
        pid_t pid = fork();
        if (pid == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            execl(program.c_str(), program.c_str(), argument.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        // A quotation deleted by someone else since it was opened has nothing to print.
        const bool vanished = WIFEXITED(status) && WEXITSTATUS(status) == kExitNoQuotation && !stillStored(key);
        record("print", ok ? Outcome::Done : vanished ? Outcome::Refused : Outcome::Error, started,
               "the issuing program ended with " + std::to_string(status));
    }

    bool stillStored(const LoadedKey& key) {
        std::unique_ptr<Recordset> rs;
        return m_access.OpenDataRecordset(rs, "SELECT 営業見積No FROM T営業見積 WHERE 事業所コード = '" + key.事業所コード +
                                                  "' AND 番号基準日付 = '" + key.番号基準日付 + "' AND 営業見積No = '" +
                                                  key.営業見積No + "'") &&
               !rs->eof();
    }

    void remove() {
        if (m_opened != Opened::Own && m_opened != Opened::Shared) return enterNew();
        const std::string key = keyText();
        const auto started = Clock::now();
        const auto result = QuotationDeleter(*m_scope, nullptr).Delete();
        const bool deleted = result == QuotationDeleter::Result::Deleted;
        record("delete", deleted ? Outcome::Done : WriteFailure(m_q), started,
               m_q.SaveMessage + " (result " + std::to_string(static_cast<int>(result)) + ")");
        const Opened was = m_opened;
        const int slot = m_slot;
        m_opened = Opened::None;
        if (!deleted) return;
        m_gone.insert(key);
        if (was == Opened::Own) {
            m_own.erase(key);
            return;
        }
        // The shared quotation's successor, for everyone.
        const std::string title = "S" + std::to_string(slot) + " w" + std::to_string(m_worker) + " new";
        if (saveNew(title, 8)) WriteSlot(m_shared.slots[slot], m_q.header.番号基準日付, m_q.header.営業見積No);
    }

    const Setup& m_setup;
    const Options& m_options;
    Shared& m_shared;
    int m_worker;
    std::ostream& m_out;
    std::mt19937 m_random;
    DataAccess m_access;
    QuotationContext m_context;
    Quotation m_q;
    SilentPrompts m_prompts;
    std::unique_ptr<DocumentScope> m_scope;
    LookupSession m_lookup;
    Opened m_opened = Opened::None;
    int m_slot = -1;
    int m_changes = 0;
    int m_nextSerial = 0;
    std::map<std::string, Own> m_own;  // "001/base/number" → what it holds
    std::set<std::string> m_gone;
};

// ---------------------------------------------------------------------------
// The figures.

struct OpFigures {
    std::vector<long long> micros;
    std::map<std::string, long long> outcomes;
};

double Percentile(std::vector<long long> sorted, double p) {
    if (sorted.empty()) return 0;
    const size_t at = static_cast<size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return static_cast<double>(sorted[std::min(at, sorted.size() - 1)]) / 1000.0;
}

struct CpuTimes {
    long long busy = 0, total = 0;
};

CpuTimes ReadCpu() {
    std::ifstream in("/proc/stat");
    std::string cpu;
    long long user, nice, system, idle, iowait, irq, softirq, steal;
    in >> cpu >> user >> nice >> system >> idle >> iowait >> irq >> softirq >> steal;
    CpuTimes t;
    t.busy = user + nice + system + irq + softirq + steal;
    t.total = t.busy + idle + iowait;
    return t;
}

// CPU seconds of the PostgreSQL server: the postmaster, its processes and
// the sessions it has reaped.
double ServerCpu(const std::string& pgSource) {
    if (pgSource.empty()) return 0;
    std::ifstream pidFile(pgSource.substr(0, pgSource.rfind(':')) + "/data/postmaster.pid");
    long postmaster = 0;
    if (!(pidFile >> postmaster)) return 0;
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    double seconds = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        std::ifstream in(entry.path() / "stat");
        std::string text;
        if (!std::getline(in, text)) continue;
        const size_t close = text.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream fields(text.substr(close + 2));
        std::string state;
        long ppid = 0;
        long long skip, utime = 0, stime = 0, cutime = 0, cstime = 0;
        fields >> state >> ppid;
        for (int i = 0; i < 9; ++i) fields >> skip;
        fields >> utime >> stime >> cutime >> cstime;
        const long pid = std::atol(entry.path().filename().c_str());
        if (pid == postmaster) seconds += static_cast<double>(utime + stime + cutime + cstime) / tick;
        else if (ppid == postmaster) seconds += static_cast<double>(utime + stime) / tick;
    }
    return seconds;
}

// Lines of the server's log that name deadlocks and lock timeouts.
std::pair<int, int> ServerLogEvents(const std::string& pgSource, std::streamoff from) {
    std::pair<int, int> counts{0, 0};
    if (pgSource.empty()) return counts;
    std::ifstream in(pgSource.substr(0, pgSource.rfind(':')) + "/server.log");
    if (!in) return counts;
    in.seekg(from);
    for (std::string line; std::getline(in, line);) {
        if (line.find("deadlock detected") != std::string::npos) ++counts.first;
        if (line.find("lock timeout") != std::string::npos) ++counts.second;
    }
    return counts;
}

std::streamoff ServerLogSize(const std::string& pgSource) {
    if (pgSource.empty()) return 0;
    std::error_code error;
    const auto size = fs::file_size(pgSource.substr(0, pgSource.rfind(':')) + "/server.log", error);
    return error ? 0 : static_cast<std::streamoff>(size);
}

size_t PdfCount(const std::string& root) {
    size_t n = 0;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(root + "report", error))
        if (entry.path().extension() == ".pdf") ++n;
    return n;
}

// The load test's own quotations: "L<run>-<worker>-<serial> v<version>" is
// quotation L<run>-<worker>-<serial>.
std::string LoadIdentity(const std::string& title) {
    if (title.empty() || title[0] != 'L') return "";
    const size_t space = title.find(" v");
    if (space == std::string::npos) return "";
    const std::string id = title.substr(0, space);
    return std::count(id.begin(), id.end(), '-') == 2 ? id : "";
}

int Run(const Options& options) {
    Setup setup;
    std::unique_ptr<test::TempDir> temporary;
    fs::path root;
    if (options.postgres) {
        setup.pgSource = test::PostgresDataSource();
        if (setup.pgSource.empty()) {
            std::fprintf(stderr, "VELMORA_TEST_PG names no PostgreSQL server: skipped\n");
            return kSkipped;
        }
    }
    if (options.quick) {
        temporary = std::make_unique<test::TempDir>();
        root = temporary->path() / "velmora";
        if (options.postgres) setup.pgDatabase = test::UniqueName("velmora_load");
    } else {
        const char* folder = std::getenv("VELMORA_LOAD_DIR");
        root = fs::path(folder && *folder ? folder : "/tmp/velmora-load") /
               (std::string(options.large ? "large" : "small") + (options.postgres ? "-pg" : "-sqlite"));
        if (options.postgres) setup.pgDatabase = std::string("velmora_load_") + (options.large ? "large" : "small");
    }
    struct DropDatabase {
        const Options& options;
        const Setup& setup;
        ~DropDatabase() {
            DbError ignored;
            if (options.quick && !setup.pgDatabase.empty())
                DropPostgresDatabase(setup.pgSource, setup.pgDatabase, "postgres", "", ignored);
        }
    } drop{options, setup};
    std::string problem;
    if (!Prepare(root, options.large, setup.pgSource, setup.pgDatabase, problem)) {
        std::fprintf(stderr, "no installation: %s\n", problem.c_str());
        return 1;
    }
    setup.root = root.string() + "/";
    const int workers = options.workers > 0 ? options.workers : options.postgres ? 50 : 8;

    // The shared quotations, entered before anyone starts; the counters as
    // they are, so that notices are expected of the rows written from here.
    auto* shared = static_cast<Shared*>(
        mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (shared == MAP_FAILED) return 1;
    test::CounterMarks marks;
    test::OtherTitles others;
    others.identity = LoadIdentity;
    {
        DataAccess access;
        DatabaseDefinition definition;
        if (!OpenInstallationDatabases(access, setup.root, definition, problem) ||
            !ReadSetup(access, setup, problem)) {
            std::fprintf(stderr, "cannot open %s: %s\n", setup.root.c_str(), problem.c_str());
            return 1;
        }
        setup.databaseKind = definition.db;
        std::unique_ptr<Recordset> rs;
        access.OpenDataRecordset(rs, "SELECT 期日, 連番, 履歴連番 FROM A期日別番号情報 WHERE 番号ID = '16210'");
        for (; rs && !rs->eof(); rs->moveNext())
            others.noticesFrom[rs->text("期日")] = {ValInteger(rs->text("連番")), ValInteger(rs->text("履歴連番"))};
        QuotationContext context = ContextFor(setup.company, -1);
        Quotation q;
        SilentPrompts prompts;
        DocumentScope scope(access, q, context, prompts);
        scope.rates.Load(access);
        pthread_mutexattr_t attributes;
        pthread_mutexattr_init(&attributes);
        pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
        for (int slot = 0; slot < kSharedQuotations; ++slot) {
            pthread_mutex_init(&shared->slots[slot].mutex, &attributes);
            StartNewQuotation(scope, kToday);
            ReadCustomer(access, q.header, setup.customers[static_cast<size_t>(slot)], false);
            q.header.タイトル = "S" + std::to_string(slot) + " start";
            const QuotationPricing pricing(context.company, scope.rates);
            for (int i = 0; i < 8; ++i) {
                q.LastLine = i;
                const auto at = static_cast<size_t>(i);
                ReadProduct(access, q.lines[at], setup.products[at]);
                pricing.ProductEntered(q.header, q.linesInUse(), at);
                pricing.EnterFigure(q.header, q.linesInUse(), at, LineFigure::見積数量, Units(1 + i));
            }
            pricing.Totals(q.header, q.linesInUse());
            if (!QuotationSaver(scope, nullptr).Save().stored) {
                std::fprintf(stderr, "the shared quotation was not stored: %s\n", q.SaveMessage.c_str());
                return 1;
            }
            WriteSlot(shared->slots[slot], q.header.番号基準日付, q.header.営業見積No);
        }
        access.CloseConnections();
    }

    // The issuing program runs without a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const fs::path results = options.quick ? temporary->path() / "results" : root / "load-results";
    fs::remove_all(results);
    fs::create_directories(results);
    const size_t pdfsBefore = PdfCount(setup.root);
    const std::streamoff logFrom = ServerLogSize(setup.pgSource);
    std::printf("%s, %d salespeople, %.0f s, think time %.2f to %.2f s, %s installation (%s quotations)\n",
                options.postgres ? "PostgreSQL" : "SQLite", workers, options.seconds, 0.5 * options.thinkScale,
                2.0 * options.thinkScale, options.large ? "large" : "demo",
                Grouped(static_cast<long long>(setup.quotations.size())).c_str());
    std::fflush(stdout);

    const CpuTimes cpuBefore = ReadCpu();
    const double serverBefore = ServerCpu(setup.pgSource);
    const auto started = Clock::now();
    const auto until = started + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.seconds));
    std::vector<pid_t> pids;
    for (int w = 0; w < workers; ++w) {
        pid_t pid = fork();
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            std::ofstream out(results / ("worker-" + std::to_string(w) + ".txt"));
            // Connections are opened here, after the fork.
            Salesperson person(setup, options, *shared, w, out);
            const bool ok = person.run(until);
            out.close();
            _exit(ok ? 0 : 3);
        }
        pids.push_back(pid);
    }
    // On PostgreSQL, what the sessions at work are doing, once a second:
    // running (or waiting for a core), waiting for a lock, or for the disk.
    std::map<std::string, long long> waits;
    long long samples = 0;
    DataAccess watcher;
    if (options.postgres) {
        DatabaseDefinition definition;
        OpenInstallationDatabases(watcher, setup.root, definition, problem);
    }
    int crashed = 0;
    for (size_t running = pids.size(); running > 0;) {
        int status = 0;
        const pid_t ended = waitpid(-1, &status, WNOHANG);
        if (ended > 0) {
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++crashed;
            --running;
            continue;
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
        std::unique_ptr<Recordset> rs;
        if (options.postgres &&
            watcher.OpenDataRecordset(rs, "SELECT COALESCE(wait_event_type || ':' || wait_event, 'CPU') AS 待ち, "
                                          "COUNT(*) AS 数 FROM pg_stat_activity WHERE state = 'active' AND "
                                          "backend_type = 'client backend' AND pid <> pg_backend_pid() "
                                          "GROUP BY COALESCE(wait_event_type || ':' || wait_event, 'CPU')")) {
            ++samples;
            for (; !rs->eof(); rs->moveNext()) waits[rs->text("待ち")] += ValInteger(rs->text("数"));
        }
    }
    watcher.CloseConnections();
    const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
    const CpuTimes cpuAfter = ReadCpu();
    // The server reaps the sessions that ended with the salespeople.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double serverCpu = ServerCpu(setup.pgSource) - serverBefore;
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    const double workerCpu = static_cast<double>(children.ru_utime.tv_sec + children.ru_stime.tv_sec) +
                             static_cast<double>(children.ru_utime.tv_usec + children.ru_stime.tv_usec) / 1e6;

    // What the salespeople sent back.
    std::map<std::string, OpFigures> figures;
    std::map<std::string, int> errorTexts;
    std::map<std::string, std::string> ownStored;  // key → title its salesperson left
    std::set<std::string> gone;
    for (int w = 0; w < workers; ++w) {
        std::ifstream in(results / ("worker-" + std::to_string(w) + ".txt"));
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line);
            std::string kind, op, outcome;
            fields >> kind;
            if (kind == "T") {
                long long micros = 0;
                fields >> op >> outcome >> micros;
                figures[op].micros.push_back(micros);
                ++figures[op].outcomes[outcome];
            } else if (kind == "E") {
                ++errorTexts[line.substr(2)];
            } else if (kind == "OWN") {
                std::string key;
                fields >> key;
                std::string title;
                std::getline(fields, title);
                ownStored[key] = title.substr(1);
            } else if (kind == "GONE") {
                std::string key;
                fields >> key;
                gone.insert(key);
            }
        }
    }
    const auto [deadlocks, lockTimeouts] = ServerLogEvents(setup.pgSource, logFrom);

    std::printf("\n%-16s %7s %9s %9s %9s %8s %9s %6s\n", "operation", "count", "median", "p99", "worst", "refused",
                "locklimit", "error");
    long long errors = 0, lockLimits = 0, refusals = 0, operations = 0;
    const double target = options.postgres ? 300 : 1000;
    std::vector<std::string> missed;
    for (auto& [op, f] : figures) {
        std::sort(f.micros.begin(), f.micros.end());
        const double p99 = Percentile(f.micros, 0.99);
        std::printf("%-16s %7zu %7.1f ms %6.1f ms %6.1f ms %8lld %9lld %6lld\n", op.c_str(), f.micros.size(),
                    Percentile(f.micros, 0.5), p99, static_cast<double>(f.micros.back()) / 1000.0, f.outcomes["refused"],
                    f.outcomes["locklimit"], f.outcomes["error"]);
        errors += f.outcomes["error"];
        lockLimits += f.outcomes["locklimit"];
        refusals += f.outcomes["refused"];
        operations += static_cast<long long>(f.micros.size());
        const double limit = op.find(".998") != std::string::npos && options.postgres ? 1000 : target;
        if (p99 > limit) missed.push_back(op + " p99 " + std::to_string(static_cast<int>(p99)) + " ms > " +
                                          std::to_string(static_cast<int>(limit)) + " ms");
    }
    const double cores = static_cast<double>(std::thread::hardware_concurrency());
    const double busy = static_cast<double>(cpuAfter.busy - cpuBefore.busy) /
                        static_cast<double>(std::max(1LL, cpuAfter.total - cpuBefore.total));
    std::printf("\n%lld operations in %.0f s (%.1f per second); expected refusals %lld, lock waits past the limit "
                "%lld, unexpected errors %lld, salespeople that did not finish %d\n",
                operations, elapsed, static_cast<double>(operations) / elapsed, refusals, lockLimits, errors, crashed);
    if (options.postgres) {
        std::printf("server log: %d deadlocks, %d lock timeouts\n", deadlocks, lockTimeouts);
        std::printf("sessions at work on the server, on average over %lld samples:", samples);
        for (const auto& [what, count] : waits)
            std::printf(" %s %.2f", what.c_str(), static_cast<double>(count) / static_cast<double>(std::max(1LL, samples)));
        std::printf("\n");
    }
    std::printf("CPU: machine %.0f%% busy of %.0f cores; salespeople and issuing programs %.0f core-seconds "
                "(%.2f cores)%s, everything else on the machine %.2f cores\n",
                busy * 100, cores, workerCpu, workerCpu / elapsed,
                options.postgres ? (", server " + std::to_string(static_cast<int>(serverCpu)) + " core-seconds (" +
                                    std::to_string(serverCpu / elapsed).substr(0, 4) + " cores)").c_str()
                                 : "",
                std::max(0.0, busy * cores - (workerCpu + serverCpu) / elapsed));
    std::printf("PDFs filed: %zu\n", PdfCount(setup.root) - pdfsBefore);
    for (const auto& [text, count] : errorTexts) std::printf("  %dx %s\n", count, text.c_str());

    // Nothing lost: every quotation a salesperson left stored is there as
    // left, none it deleted is, and the shared ones are where the slots say.
    int lost = 0;
    std::vector<std::string> lostTexts;
    {
        DataAccess access;
        DatabaseDefinition definition;
        if (!OpenInstallationDatabases(access, setup.root, definition, problem)) {
            std::fprintf(stderr, "cannot open %s again: %s\n", setup.root.c_str(), problem.c_str());
            return 1;
        }
        std::map<std::string, std::string> stored;
        std::unique_ptr<Recordset> rs;
        access.OpenDataRecordset(rs, "SELECT 番号基準日付, 営業見積No, タイトル FROM T営業見積 WHERE 事業所コード = '001' "
                                     "AND (タイトル LIKE 'L%' OR タイトル LIKE 'S%')");
        for (; rs && !rs->eof(); rs->moveNext())
            stored["001/" + rs->text("番号基準日付") + "/" + rs->text("営業見積No")] = rs->text("タイトル");
        auto lose = [&](const std::string& text) {
            ++lost;
            if (lostTexts.size() < 20) lostTexts.push_back(text);
        };
        for (const auto& [key, title] : ownStored) {
            auto at = stored.find(key);
            if (at == stored.end()) lose(key + " (" + title + ") is gone");
            else if (at->second != title) lose(key + " holds " + at->second + ", saved as " + title);
        }
        for (const std::string& key : gone)
            if (stored.count(key)) lose(key + " was deleted but is stored");
        for (int slot = 0; slot < kSharedQuotations; ++slot) {
            const Key key = ReadSlot(shared->slots[slot]);
            auto at = stored.find("001/" + key.baseDate + "/" + key.number);
            if (at == stored.end() || at->second.rfind("S" + std::to_string(slot) + " ", 0) != 0)
                lose("shared quotation " + std::to_string(slot) + " (" + key.number + ") is gone");
        }
        const auto checkStarted = Clock::now();
        test::StoreCheck check = test::CheckSavedStates(access, marks, &others);
        std::printf("nothing lost: %s (%zu quotations of the salespeople, %zu deleted); store check: %zu faults, "
                    "%lld history rows, %.0f s\n",
                    lost ? "NO" : "yes", ownStored.size(), gone.size(), check.faults.size(), check.historyRows,
                    std::chrono::duration<double>(Clock::now() - checkStarted).count());
        for (const std::string& text : lostTexts) std::printf("  lost: %s\n", text.c_str());
        for (size_t i = 0; i < check.faults.size() && i < 20; ++i) std::printf("  fault: %s\n", check.faults[i].c_str());
        lost += static_cast<int>(check.faults.size());
    }
    if (!options.quick) {
        if (missed.empty()) std::printf("every 99th percentile within its target\n");
        for (const std::string& text : missed) std::printf("target missed: %s\n", text.c_str());
    }
    munmap(shared, sizeof(Shared));
    const bool clean = errors == 0 && lockLimits == 0 && deadlocks == 0 && crashed == 0 && lost == 0;
    std::printf("%s\n", clean ? "PASSED" : "FAILED");
    return clean ? 0 : 1;
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    using namespace velmora;
    Options options;
    bool thinkGiven = false, secondsGiven = false, sizeGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (a == "--quick") {
            options.quick = true;
            continue;
        }
        if (!value) {
            std::fprintf(stderr, "usage: %s [--engine postgresql|sqlite] [--workers N] [--seconds S] "
                                 "[--think-scale F] [--size large|small] [--seed N] [--quick]\n", argv[0]);
            return 2;
        }
        ++i;
        if (a == "--engine") options.postgres = std::string(value) != "sqlite";
        else if (a == "--workers") options.workers = std::atoi(value);
        else if (a == "--seconds") options.seconds = std::atof(value), secondsGiven = true;
        else if (a == "--think-scale") options.thinkScale = std::atof(value), thinkGiven = true;
        else if (a == "--size") options.large = std::string(value) == "large", sizeGiven = true;
        else if (a == "--seed") options.seed = static_cast<unsigned>(std::atol(value));
        else {
            std::fprintf(stderr, "unknown option %s\n", a.c_str());
            return 2;
        }
    }
    {
        // The run's start in seconds, base 36.
        long long stamp = static_cast<long long>(std::time(nullptr));
        for (; stamp > 0; stamp /= 36) options.runTag.insert(options.runTag.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[stamp % 36]);
    }
    if (options.quick) {
        if (!secondsGiven) options.seconds = 25;
        if (!thinkGiven) options.thinkScale = 0.1;
        if (!sizeGiven) options.large = false;
        if (options.workers <= 0) options.workers = options.postgres ? 6 : 3;
    }
    return Run(options);
}
