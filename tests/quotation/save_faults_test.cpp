#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "data/sqlite/sqlite_connection.h"
#include "documents_fixture.h"
#include "quotation/delete.h"
#include "quotation/save.h"
#include "quotation/save_status.h"
#include "support/file_modes.h"

namespace velmora::test {
namespace {

enum class Fault { Locked, DiskFull, ReadOnly };
enum class Action { SaveNew, SaveChange, Delete };

struct FaultCase {
    Fault fault;
    const char* name;
    const char* cause;  // what the message says happened
};

const FaultCase kFaults[] = {
    {Fault::Locked, "locked by another writer", "他のプログラムがデータベースを更新中のため"},
    {Fault::DiskFull, "disk full", "ディスクの空き容量が不足しているため"},
    {Fault::ReadOnly, "read-only file", "データベースのファイルに書き込めないため"},
};

constexpr int kShortWaitMs = 300;

// Saves and deletes on an SQLite business database that refuses the write for
// a reason of its own: each ends with a message that says what happened and
// what to do, nothing is written, the quotation in memory is as it was, the
// operation log has the error row, and once the fault is gone the same
// quotation is stored (or deleted) as it stands.
class SaveFaultsTest : public DocumentsTest {
protected:
    void SetUp() override {
        // A locked file fails after the wait the connections are opened with.
        SetLockWaitLimit(kShortWaitMs);
        DocumentsTest::SetUp();
    }
    void TearDown() override { SetLockWaitLimit(kLockWaitLimitMs); }

    std::string businessFile() const { return dbs->business().databaseName(); }

    void impose(Fault fault) {
        DbError error;
        switch (fault) {
            case Fault::Locked:
                m_locker = dbs->business().connect();
                ASSERT_TRUE(m_locker && m_locker->begin(error)) << error.description;
                break;
            case Fault::DiskFull: {
                // The file may not grow by a page: SQLite's own SQLITE_FULL path.
                Connection* c = access().dataConnection();
                auto pages = c->query("PRAGMA page_count", error);
                ASSERT_TRUE(pages && !pages->eof()) << error.description;
                ASSERT_TRUE(c->execute("PRAGMA max_page_count = " + std::to_string(pages->integer("page_count")), error));
                break;
            }
            case Fault::ReadOnly: {
                ASSERT_EQ(chmod(businessFile().c_str(), 0444), 0);
                FileModesApply modes;
                ASSERT_TRUE(modes.effective()) << "root's file permission capabilities cannot be dropped here";
                ASSERT_TRUE(access().OpenDataConnection(dbs->business().connectionString()));
                break;
            }
        }
    }
    void lift(Fault fault) {
        DbError error;
        switch (fault) {
            case Fault::Locked: m_locker.reset(); break;
            case Fault::DiskFull:
                ASSERT_TRUE(access().dataConnection()->execute("PRAGMA max_page_count = 1073741823", error));
                break;
            case Fault::ReadOnly:
                ASSERT_EQ(chmod(businessFile().c_str(), 0644), 0);
                ASSERT_TRUE(access().OpenDataConnection(dbs->business().connectionString()));
                break;
        }
    }

    // Everything a save or delete could leave behind.
    std::vector<long long> footprint() {
        return {count("T営業見積"), count("T営業見積明細"), count("R営業見積"), count("R営業見積明細"),
                std::stoll(value("SELECT 連番 FROM A番号情報 WHERE 番号ID = '16210'", "連番"))};
    }
    long long errorRows() { return dbs->countConfig("プログラム稼動履歴 WHERE 摘要 LIKE 'エラー %'"); }
    // What the user sees of the quotation.
    std::vector<std::string> shown() {
        std::vector<std::string> values = {quotation.header.営業見積No, quotation.header.タイトル,
                                           quotation.loadedKey.営業見積No, std::to_string(quotation.LastLine),
                                           quotation.NewEntry ? "new" : "stored"};
        for (int i = 0; i <= quotation.LastLine; ++i)
            values.push_back(quotation.lines[static_cast<size_t>(i)].商品名 + "/" +
                             quotation.lines[static_cast<size_t>(i)].営業見積固有行No);
        return values;
    }

    // A quotation big enough to need new pages in every table it writes.
    void arrange(Action action) {
        fillNew("20241206", 40, "見積の件名");
        if (action == Action::SaveNew) return;
        saveOk();
        open(kFy2024, "00000001");
        if (action == Action::SaveChange) {
            quotation.header.タイトル = "変更後の件名";
            setLines(45, "変更");
        }
    }
    bool act(Action action) {
        if (action != Action::Delete) return QuotationSaver(*scope, session.get()).Save().stored;
        prompts.answers = {true};
        return QuotationDeleter(*scope, session.get()).Delete() == QuotationDeleter::Result::Deleted;
    }

    void runFaults(Action action) {
        const std::string verb = action == Action::Delete ? "削除" : "登録";
        for (const FaultCase& c : kFaults) {
            SCOPED_TRACE(c.name);
            if (&c != kFaults) DocumentsTest::SetUp();  // each fault on fresh databases
            if (HasFatalFailure()) return;
            arrange(action);
            const auto stored = footprint();
            const auto onScreen = shown();
            const long long errors = errorRows();

            impose(c.fault);
            if (IsSkipped() || HasFatalFailure()) return;
            const auto started = std::chrono::steady_clock::now();
            EXPECT_FALSE(act(action));
            if (c.fault == Fault::Locked) {
                EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(kShortWaitMs))
                    << "waits for the other writer first";
            }
            EXPECT_EQ(quotation.SaveStatus, kStatusDatabaseFault);
            EXPECT_EQ(quotation.SaveMessage.rfind(c.cause, 0), 0u) << quotation.SaveMessage;
            EXPECT_NE(quotation.SaveMessage.find(verb + "できませんでした。"), std::string::npos) << quotation.SaveMessage;
            EXPECT_NE(quotation.SaveMessage.find("再度" + verb + "してください。"), std::string::npos);
            EXPECT_EQ(shown(), onScreen);
            EXPECT_EQ(footprint(), stored);
            EXPECT_GT(errorRows(), errors);

            lift(c.fault);
            EXPECT_TRUE(act(action)) << quotation.SaveMessage;
            EXPECT_NE(footprint(), stored);
        }
    }

    std::unique_ptr<Connection> m_locker;
};

TEST_P(SaveFaultsTest, ANewQuotation) { runFaults(Action::SaveNew); }
TEST_P(SaveFaultsTest, AChangedQuotation) { runFaults(Action::SaveChange); }
TEST_P(SaveFaultsTest, ADeletion) { runFaults(Action::Delete); }

INSTANTIATE_TEST_SUITE_P(Engines, SaveFaultsTest, testing::Values(Engine::SQLite), EngineName);

}  // namespace
}  // namespace velmora::test
