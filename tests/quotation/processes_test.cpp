// Saves in other processes: killed at random moments, and racing each other.
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "documents_fixture.h"
#include "quotation/load.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"

namespace velmora {
namespace {

using test::kFy2024;

// The state k of the quotation the crash test saves: its title names k, it
// has LinesOf(k) lines named "k:i".
int LinesOf(int k) { return 10 + (k * 37) % 90; }
std::string TitleOf(int k) { return "状態" + std::to_string(k); }
std::string LineName(int k, int i) { return std::to_string(k) + ":" + std::to_string(i + 1); }

// What a saving child tells its parent, in memory both share.
struct Progress {
    std::atomic<int> committed;  // the last state whose save returned stored
    std::atomic<int> inSave;
};

class ProcessesTest : public test::DocumentsTest {
protected:
    // A child's own connections, as another running copy of the program.
    std::unique_ptr<DataAccess> connectChild() {
        auto access = std::make_unique<DataAccess>();
        access->identity() = {"Velmora", "001", "00012", "sato", "PC-EIGYO02"};
        if (!access->OpenConfigConnection(dbs->configConnectionString()) ||
            !access->OpenDataConnection(dbs->business().connectionString()))
            _exit(10);
        return access;
    }
    // The parent lets go of its connections while children run: an open
    // SQLite connection must not be shared with a forked process.
    void release() { access().CloseConnections(); }
    void reconnect() {
        ASSERT_TRUE(access().OpenConfigConnection(dbs->configConnectionString()));
        ASSERT_TRUE(access().OpenDataConnection(dbs->business().connectionString()));
    }

    [[noreturn]] void saveChangesForever(Progress* progress) {
        auto childAccess = connectChild();
        Quotation q;
        DocumentScope childScope(*childAccess, q, context, prompts);
        for (;;) {
            if (!QuotationLoader(childScope).OpenStored("001", kFy2024, "00000001")) _exit(11);
            int next = std::stoi(q.header.タイトル.substr(TitleOf(0).size() - 1)) + 1;
            q.header.タイトル = TitleOf(next);
            int lines = LinesOf(next);
            for (int i = 0; i < lines; ++i) {
                QuotationLine& line = q.lines[static_cast<size_t>(i)];
                line.商品名 = LineName(next, i);
                line.見積金額 = Units(next + i);
            }
            for (int i = lines; i <= q.LastLine; ++i) q.ClearLine(static_cast<size_t>(i));
            q.LastLine = lines - 1;
            progress->inSave = 1;
            bool stored = QuotationSaver(childScope, nullptr).Save().stored;
            progress->inSave = 0;
            if (!stored) _exit(12);
            progress->committed = next;
        }
    }

    std::vector<std::string> texts(const std::string& sql, const std::string& name) {
        std::unique_ptr<Recordset> rs;
        access().OpenDataRecordset(rs, sql);
        std::vector<std::string> out;
        for (; !rs->eof(); rs->moveNext()) out.push_back(rs->text(name));
        return out;
    }

    // The stored quotation is one whole state, and every history number
    // holds one whole state with its notice. Returns the stored state.
    int verifyStoredState() {
        std::vector<std::string> titles = texts("SELECT タイトル FROM T営業見積", "タイトル");
        EXPECT_EQ(titles.size(), 1u);
        if (titles.size() != 1) return -1;
        int k = std::stoi(titles[0].substr(TitleOf(0).size() - 1));
        std::vector<std::string> expected;
        for (int i = 0; i < LinesOf(k); ++i) expected.push_back(LineName(k, i));
        EXPECT_EQ(texts("SELECT 商品名 FROM T営業見積明細 ORDER BY 営業見積行No", "商品名"), expected) << k;

        std::unique_ptr<Recordset> rs;
        access().OpenDataRecordset(rs, "SELECT 営業見積履歴No, 赤黒区分, タイトル FROM R営業見積 ORDER BY 営業見積履歴No");
        int black = 0, red = 0;
        std::string lastBlack;
        for (; !rs->eof(); rs->moveNext()) {
            std::string no = rs->text("営業見積履歴No");
            std::string mark = rs->text("赤黒区分");
            int state = std::stoi(rs->text("タイトル").substr(TitleOf(0).size() - 1));
            (mark == "1" ? black : red) += 1;
            if (mark == "1") lastBlack = rs->text("タイトル");
            EXPECT_EQ(count("R営業見積明細 WHERE 営業見積履歴No = '" + no + "' AND 赤黒区分 = '" + mark + "'"),
                      LinesOf(state))
                << no << " " << mark;
        }
        EXPECT_EQ(black, red + 1);
        EXPECT_EQ(lastBlack, titles[0]);
        EXPECT_EQ(count("未集計情報"), black + red);
        return k;
    }
};

TEST_P(ProcessesTest, AKilledSaveLeavesOneWholeSavedStateWithItsHistory) {
    fillNew("20241206", LinesOf(0), TitleOf(0));
    for (int i = 0; i < LinesOf(0); ++i) quotation.lines[static_cast<size_t>(i)].商品名 = LineName(0, i);
    saveOk();
    ASSERT_EQ(quotation.header.営業見積No, "00000001");

    auto* progress = static_cast<Progress*>(
        mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(progress, MAP_FAILED);
    new (progress) Progress{};
    std::mt19937 random(20241206);
    constexpr int kKills = 24;
    int killedInSave = 0;
    int stored = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        release();
        int before = progress->committed;
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) saveChangesForever(progress);
        // Let it save at least once, then kill it somewhere in its work.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (progress->committed == before && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
        killedInSave += progress->inSave.load();
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself: " << WEXITSTATUS(status);
        progress->inSave = 0;

        reconnect();
        int committed = progress->committed;
        SCOPED_TRACE("kill " + std::to_string(kill) + " after state " + std::to_string(committed));
        stored = verifyStoredState();
        // Never older than what the child saw committed; at most the one it
        // was committing when it died.
        EXPECT_TRUE(stored == committed || stored == committed + 1) << stored;
        if (HasFailure()) break;
        progress->committed = stored;
    }
    EXPECT_GE(killedInSave, kKills / 4) << "too few kills landed inside a save";
    EXPECT_GT(stored, kKills);
    munmap(progress, sizeof(Progress));
}

TEST_P(ProcessesTest, ConcurrentNewQuotationsGetDistinctNumbersAndAreComplete) {
    // Several programs on one SQLite file wait for each other's write lock.
    constexpr int kProcesses = 5;
    constexpr int kEach = 50;
    release();
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto childAccess = connectChild();
            Quotation q;
            DocumentScope childScope(*childAccess, q, context, prompts);
            for (int j = 0; j < kEach; ++j) {
                StartNewQuotation(childScope, "20241206");
                std::string title = "p" + std::to_string(p) + "-" + std::to_string(j);
                q.header.タイトル = title;
                for (int i = 0; i < 3; ++i) q.lines[static_cast<size_t>(i)].商品名 = title + ":" + std::to_string(i);
                q.LastLine = 2;
                if (!QuotationSaver(childScope, nullptr).Save().stored) _exit(20);
            }
            _exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    reconnect();
    const int total = kProcesses * kEach;
    EXPECT_EQ(count("T営業見積"), total);
    EXPECT_EQ(value("SELECT COUNT(DISTINCT 営業見積No) AS n FROM T営業見積", "n"), std::to_string(total));
    EXPECT_EQ(value("SELECT MIN(営業見積No) AS n FROM T営業見積", "n"), "00000001");
    EXPECT_EQ(value("SELECT MAX(営業見積No) AS n FROM T営業見積", "n"), "00000250");
    EXPECT_EQ(count("T営業見積明細 l WHERE l.商品名 LIKE (SELECT h.タイトル FROM T営業見積 h WHERE h.営業見積No = "
                    "l.営業見積No) || ':%'"),
              3 * total);
    EXPECT_EQ(count("R営業見積 WHERE 赤黒区分 = '1'"), total);
    EXPECT_EQ(value("SELECT COUNT(DISTINCT 営業見積履歴No) AS n FROM R営業見積", "n"), std::to_string(total));
    EXPECT_EQ(count("R営業見積明細"), 3 * total);
    EXPECT_EQ(count("未集計情報"), total);
}

INSTANTIATE_TEST_SUITE_P(Engines, ProcessesTest, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
