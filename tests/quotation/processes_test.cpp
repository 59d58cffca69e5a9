// Programs saving, moving and deleting quotations side by side on one
// database, killed at random moments; after every kill the store must hold
// whole saved states only (CheckSavedStates).
// Long run: VELMORA_CRASH_KILLS=1000 bin/velmora_quotation_tests --gtest_filter='Engines/ProcessesTest.*'
#include <signal.h>
#include <sys/prctl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <thread>

#include "documents_fixture.h"
#include "pricing/currency.h"
#include "quotation/delete.h"
#include "quotation/load.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"
#include "saved_states.h"

namespace velmora {
namespace {

using test::SavedState;

enum Op : int { kNone, kNew, kChange, kMove, kDelete, kOps };
constexpr const char* kOpNames[kOps] = {"none", "new", "change", "move", "delete"};

// Quotation serial and its stored state before and after the operation under
// way, each state + 1 (0: not stored).
using Pending = std::uint64_t;
constexpr Pending kNothingPending = ~Pending{0};
Pending pack(int serial, int before, int after) {
    return (Pending(std::uint32_t(serial)) << 32) | (Pending(std::uint16_t(before + 1)) << 16) |
           Pending(std::uint16_t(after + 1));
}
int serialOf(Pending p) { return int(p >> 32); }
int beforeOf(Pending p) { return int((p >> 16) & 0xffff) - 1; }
int afterOf(Pending p) { return int(p & 0xffff) - 1; }

// One worker's part of the memory it shares with the test. The test stops a
// worker before it kills it, so these tell exactly where the kill landed.
struct WorkerSlot {
    std::atomic<int> op;
    std::atomic<int> inWrite;  // inside Save or Delete
    std::atomic<Pending> pending;
    std::atomic<int> nextSerial;
    std::atomic<long> done;  // operations stored
    char failure[512];       // why a worker ended by itself
};

constexpr int kWorkers = 3;
// Unique line numbers have three digits: a quotation is deleted before its
// changes could use them up.
constexpr int kLastState = 30;

int killsToRun() {
    const char* text = std::getenv("VELMORA_CRASH_KILLS");
    return text && std::atoi(text) > 0 ? std::atoi(text) : 120;
}

class Yes : public DocumentPrompts {
public:
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return true; }
};

class ProcessesTest : public test::DocumentsTest {
protected:
    // A worker's own connections, as another running copy of the program.
    std::unique_ptr<DataAccess> connectChild() {
        auto access = std::make_unique<DataAccess>();
        access->identity() = {"Velmora", "001", "00012", "sato", "PC-EIGYO02"};
        if (!access->OpenConfigConnection(dbs->configConnectionString()) ||
            !access->OpenDataConnection(dbs->business().connectionString()))
            _exit(10);
        return access;
    }
    // The test lets go of its connections while it forks: an open SQLite
    // connection must not be shared with a forked process.
    void release() { access().CloseConnections(); }
    void reconnect() {
        ASSERT_TRUE(access().OpenConfigConnection(dbs->configConnectionString()));
        ASSERT_TRUE(access().OpenDataConnection(dbs->business().connectionString()));
    }

    pid_t startWorker(int worker, WorkerSlot& slot, unsigned seed) {
        slot.op = kNone;
        slot.inWrite = 0;
        slot.pending = kNothingPending;
        pid_t child = fork();
        if (child == 0) {
            // A test that stops early takes its workers with it.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            Worker(*this, worker, slot, seed).run();
        }
        return child;
    }

    // Picks one of its own quotations and creates, changes, moves or deletes
    // it, until killed. It ends by itself only when an operation fails.
    class Worker {
    public:
        Worker(ProcessesTest& test, int worker, WorkerSlot& slot, unsigned seed)
            : m_access(test.connectChild()),
              m_scope(*m_access, m_q, test.context, m_yes),
              m_worker(worker),
              m_slot(slot),
              m_random(seed) {}

        [[noreturn]] void run() {
            readOwnQuotations();
            for (;;) {
                Op op = choose();
                if (op == kNew) {
                    createOne();
                    continue;
                }
                size_t index = m_random() % m_own.size();
                for (size_t i = 0; i < m_own.size(); ++i)
                    if (m_own[i].state.state >= kLastState) index = i;
                if (m_own[index].state.state >= kLastState) op = kDelete;
                Own& own = m_own[index];
                if (!QuotationLoader(m_scope).OpenStored("001", own.baseDate, own.number)) fail("open " + own.number);
                if (op == kDelete) {
                    begin(kDelete, own.state.serial, own.state.state, -1);
                    if (QuotationDeleter(m_scope, nullptr).Delete() != QuotationDeleter::Result::Deleted)
                        fail("delete");
                    end();
                    m_own.erase(m_own.begin() + static_cast<long>(index));
                    continue;
                }
                SavedState next = own.state;
                ++next.state;
                int period = op == kMove ? 1 - own.period : own.period;
                if (!ChangeQuotationDate(m_scope, next.Date(period))) fail("date " + next.Date(period));
                fill(next);
                begin(op, next.serial, own.state.state, next.state);
                save();
                own = {next, period, m_q.header.番号基準日付, m_q.header.営業見積No};
            }
        }

    private:
        struct Own {
            SavedState state;
            int period;
            std::string baseDate;
            std::string number;
        };

        void readOwnQuotations() {
            std::unique_ptr<Recordset> rs;
            m_access->OpenDataRecordset(rs, "SELECT タイトル, 番号基準日付, 営業見積No FROM T営業見積 WHERE タイトル LIKE 'W" +
                                                std::to_string(m_worker) + "Q%'");
            for (; !rs->eof(); rs->moveNext()) {
                auto state = test::ParseTitle(rs->text("タイトル"));
                if (!state) fail("title " + rs->text("タイトル"));
                std::string base = rs->text("番号基準日付");
                m_own.push_back({*state, test::PeriodOfBaseDate(base), base, rs->text("営業見積No")});
            }
        }

        Op choose() {
            if (m_own.size() < 2) return kNew;
            switch (m_random() % 4) {
                case 0: return m_own.size() < 5 ? kNew : kChange;
                case 1: return kChange;
                case 2: return kMove;
                default: return kDelete;
            }
        }

        void createOne() {
            SavedState state{m_worker, m_slot.nextSerial++, 0};
            int period = static_cast<int>(m_random() % 2);
            StartNewQuotation(m_scope, state.Date(period));
            QuotationHeader& h = m_q.header;
            h.得意先コード = "000101";
            h.得意先名称A = "株式会社 北斗";
            h.担当者コード = "00012";
            h.部門コード = "010";
            fill(state);
            begin(kNew, state.serial, -1, 0);
            save();
            m_own.push_back({state, period, h.番号基準日付, h.営業見積No});
        }

        // Title and lines of the state; the lines already there keep their unique numbers.
        void fill(const SavedState& state) {
            m_q.header.タイトル = state.Title();
            int lines = state.Lines();
            for (int i = 0; i < lines; ++i) {
                QuotationLine& line = m_q.lines[static_cast<size_t>(i)];
                line.商品コード = "P" + std::to_string(1000 + i);
                line.商品名 = state.LineName(i);
                line.見積数量 = Units(i + 1);
                line.見積単価 = Units(100 + state.state);
                line.見積金額 = Units((i + 1) * (100 + state.state));
                line.売上消費税区分 = 1;
            }
            for (int i = lines; i <= m_q.LastLine; ++i) m_q.ClearLine(static_cast<size_t>(i));
            m_q.LastLine = lines - 1;
            m_scope.RecomputeTotals();
        }

        void begin(Op op, int serial, int before, int after) {
            m_slot.op = op;
            m_slot.pending = pack(serial, before, after);
            m_slot.inWrite = 1;
        }
        void end() {
            m_slot.inWrite = 0;
            Pending p = m_slot.pending;
            m_slot.pending = pack(serialOf(p), afterOf(p), afterOf(p));
            ++m_slot.done;
        }
        void save() {
            if (!QuotationSaver(m_scope, nullptr).Save().stored) fail(std::string(kOpNames[m_slot.op]) + " save");
            end();
        }

        [[noreturn]] void fail(const std::string& what) {
            std::snprintf(m_slot.failure, sizeof m_slot.failure, "worker %d: %s: status %d %s", m_worker,
                          what.c_str(), m_q.SaveStatus, m_q.SaveMessage.c_str());
            _exit(1);
        }

        std::unique_ptr<DataAccess> m_access;
        Quotation m_q;
        Yes m_yes;
        DocumentScope m_scope;
        int m_worker;
        WorkerSlot& m_slot;
        std::mt19937 m_random;
        std::vector<Own> m_own;
    };
};

TEST_P(ProcessesTest, KilledSavesMovesAndDeletesLeaveWholeSavedStates) {
    const int kills = killsToRun();
    auto* slots = static_cast<WorkerSlot*>(mmap(nullptr, sizeof(WorkerSlot) * kWorkers, PROT_READ | PROT_WRITE,
                                                MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(slots, MAP_FAILED);
    for (int w = 0; w < kWorkers; ++w) new (&slots[w]) WorkerSlot{};
    std::mt19937 random(20241206);
    std::array<pid_t, kWorkers> workers{};
    auto stopWorkers = [&] {
        for (pid_t& pid : workers) {
            if (pid <= 0) continue;
            ::kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            pid = 0;
        }
    };
    struct Guard {
        std::function<void()> atExit;
        ~Guard() { atExit(); }
    } guard{stopWorkers};
    release();
    for (int w = 0; w < kWorkers; ++w) workers[w] = startWorker(w, slots[w], random());

    // Workers end by themselves only when an operation fails.
    auto endedByItself = [&](int w, int status) {
        ADD_FAILURE() << "worker " << w << " ended by itself (" << status << "): " << slots[w].failure;
        workers[w] = 0;
    };
    test::CounterMarks marks;
    std::array<int, kOps> landed{};
    int kill = 0;
    for (; kill < kills && !HasFailure(); ++kill) {
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 60000));
        // Preferably one that is writing, at whatever point of its write.
        int w = static_cast<int>(random() % kWorkers);
        for (int i = 0; i < kWorkers && !slots[w].inWrite; ++i) w = (w + 1) % kWorkers;
        WorkerSlot& slot = slots[w];
        int status = 0;
        ::kill(workers[w], SIGSTOP);
        ASSERT_EQ(waitpid(workers[w], &status, WUNTRACED), workers[w]);
        if (!WIFSTOPPED(status)) {
            endedByItself(w, status);
            break;
        }
        bool writing = slot.inWrite;
        Op op = static_cast<Op>(slot.op.load());
        Pending pending = slot.pending;
        ::kill(workers[w], SIGKILL);
        waitpid(workers[w], &status, 0);
        if (writing) ++landed[op];
        for (int other = 0; other < kWorkers; ++other)
            if (other != w && waitpid(workers[other], &status, WNOHANG) == workers[other]) endedByItself(other, status);

        reconnect();
        test::StoreCheck check = test::CheckSavedStates(access(), marks);
        release();
        SCOPED_TRACE("kill " + std::to_string(kill) + " of worker " + std::to_string(w) + " in " + kOpNames[op] +
                     (writing ? " (writing)" : ""));
        for (size_t i = 0; i < check.faults.size() && i < 20; ++i) ADD_FAILURE() << check.faults[i];
        // The killed worker's quotation is as before or as after what it was
        // doing: never older than a write that returned, never in between.
        if (pending != kNothingPending) {
            std::string id = SavedState{w, serialOf(pending), 0}.Id();
            int stored = check.storedState.count(id) ? check.storedState[id] : -1;
            EXPECT_TRUE(stored == beforeOf(pending) || stored == afterOf(pending))
                << id << " stored " << stored << ", was " << beforeOf(pending) << " becoming " << afterOf(pending);
        }
        workers[w] = startWorker(w, slot, random());
        ASSERT_GT(workers[w], 0);
    }
    stopWorkers();
    long done = 0;
    for (int w = 0; w < kWorkers; ++w) done += slots[w].done;
    reconnect();
    test::StoreCheck last = test::CheckSavedStates(access(), marks);
    for (size_t i = 0; i < last.faults.size() && i < 20; ++i) ADD_FAILURE() << last.faults[i];
    munmap(slots, sizeof(WorkerSlot) * kWorkers);
    ASSERT_EQ(kill, kills);

    std::string spread;
    for (int op = kNew; op < kOps; ++op) spread += std::string(" ") + kOpNames[op] + " " + std::to_string(landed[op]);
    std::printf("%d kills, %ld operations stored, %lld history rows; kills inside writes:%s\n", kills, done,
                last.historyRows, spread.c_str());
    // The kills must have hit every kind of write, and the workers must have
    // got on with their work between them.
    for (int op = kNew; op < kOps; ++op) EXPECT_GE(landed[op], std::max(1, kills / 30)) << kOpNames[op] << spread;
    EXPECT_GE(landed[kNew] + landed[kChange] + landed[kMove] + landed[kDelete], kills / 2) << spread;
    EXPECT_GT(done, kills);
    EXPECT_GT(last.moved, 0);
    EXPECT_GT(last.deleted, 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, ProcessesTest, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
