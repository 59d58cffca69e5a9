#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "screen_fixture.h"

#include "platform/identity.h"
#include "quotation/save_status.h"
#include "screens/entry/draft_content.h"
#include "screens/entry/draft_journal.h"

namespace velmora::test {
namespace {

using Answer = EntryView::RestoreAnswer;

// This process under another start time: a program that is no longer running.
DraftInstance Ended(const std::string& started = "ended") {
    DraftInstance self = DraftInstance::Current();
    self.started = started;
    return self;
}

class DraftTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        if (IsSkipped()) return;
        store = install->root() + "state/velmora/drafts.db";
        StartAsked(Ended("first"));
    }

    // A start of the program that keeps drafts as `self`; the one before
    // ends as after a crash, with what it had written.
    void Start(const DraftInstance& self) {
        if (presenter && presenter->journal()) presenter->journal()->Flush();
        presenter.reset();
        program = std::make_unique<Program>(install->environment(""), host);
        ASSERT_TRUE(program->StartUp());
        view = RecordingEntryView();
        presenter = std::make_unique<EntryPresenter>(*program);
        presenter->KeepDrafts(store, self, [this] { return now; });
        presenter->Load(view);
    }
    // A start that has put its question about the drafts left (answered in turn, Later when none is left).
    void StartAsked(const DraftInstance& self, std::deque<Answer> answers = {}) {
        Start(self);
        view.restoreAnswers = std::move(answers);
        view.RunQuietTasks();
    }
    // The journal's timer has run and the writer is done.
    void Settle() {
        view.RunQuietTasks();
        presenter->journal()->Flush();
    }
    std::optional<DraftRow> Stored(const DraftInstance& who) { return DraftStore(store).Get(who); }

    // Customer 000001 and two product lines.
    void EnterWork() {
        EnterQuotation();
        Tab();
        Tab();
        Type("ST-00003");
        Tab();
        Tab();
        Type("2");
        Tab();
    }

    std::string store;
    // The journal's clock, moved on by the tests.
    std::chrono::steady_clock::time_point now = std::chrono::steady_clock::time_point() + std::chrono::hours(1);
};

// A program that ended with changes: the next start asks, with the
// quotation's number, customer and time, and Yes brings back the screen as
// it was, every hidden column and mark included; the save then stores it
// and the draft is gone.
TEST_P(DraftTest, AQuotationLeftUnsavedIsRestoredExactlyAndSaved) {
    EnterWork();
    quotation().lines[1].明細メモ = "メモ";
    state().LineMark[1] = 1;
    Settle();
    const DraftContent before = TakeDraft(screen());
    const std::string number = Text({"営業見積No"});
    const auto written = Stored(Ended("first"));
    ASSERT_TRUE(written);
    EXPECT_EQ((Strings{written->number, written->customer}), (Strings{number, Text({"得意先名称A"})}));

    const DraftInstance second = Ended("second");
    StartAsked(second, {Answer::Restore});
    ASSERT_EQ(view.questions.size(), 1u);
    const std::string& question = view.questions[0];
    EXPECT_EQ(question.rfind(kQuestionRestore, 0), 0u) << question;
    EXPECT_NE(question.find("見積No：" + number + "（新規）"), std::string::npos) << question;
    EXPECT_NE(question.find("得意先：" + written->customer), std::string::npos) << question;
    EXPECT_NE(question.find("時刻：" + written->savedAt), std::string::npos) << question;

    EXPECT_EQ(TakeDraft(screen()), before) << "with the hidden memo and the mark";
    EXPECT_TRUE(state().Changed);
    EXPECT_EQ(Text({"商品コード", 1}), "ST-00003");
    EXPECT_EQ(view.notice, kNoticeRestored);
    EXPECT_FALSE(Stored(Ended("first"))) << "taken over by the second program";
    EXPECT_TRUE(Stored(second));

    Save();
    const std::string where = " WHERE 事業所コード = '001' AND 営業見積No = '" + number + "'";
    EXPECT_EQ(install->count("T営業見積明細" + where), 2) << view.notice;
    EXPECT_EQ(install->value("SELECT 明細メモ FROM T営業見積明細" + where + " AND 営業見積行No = '002'"), "メモ");
    presenter->journal()->Flush();
    EXPECT_FALSE(Stored(second)) << "the saved quotation leaves no draft";
}

// A question put off (closed, or the run ended meanwhile) leaves the draft
// to be asked about again; discarded, it is gone. Drafts of a
// program still running (another window of the same person), of another
// installation, office or staff member are neither offered nor touched.
TEST_P(DraftTest, OnlyTheOwnDraftsOfEndedProgramsAreOffered) {
    EnterWork();
    Settle();
    const std::string payload = Stored(Ended("first"))->payload;
    DraftStore others(store);
    const DraftOwner mine{program->session().layout.RootFolder, program->session().運用事業所コード,
                          program->session().StartStaffCode};
    struct Other {
        const char* what;
        DraftInstance instance;
        DraftOwner owner;
    };
    DraftInstance otherHost = Ended("h");
    otherHost.host = "another-computer";
    DraftInstance otherBoot = DraftInstance::Current();
    otherBoot.boot = "an-earlier-boot";
    const std::vector<Other> kept = {
        {"a window still open", DraftInstance::Current(), mine},
        {"another installation", Ended("i"), {"/elsewhere/", mine.office, mine.staff}},
        {"another office", Ended("o"), {mine.installation, "999", mine.staff}},
        {"another staff member", Ended("s"), {mine.installation, mine.office, "99999"}},
        {"another computer sharing the folder", otherHost, mine},
    };
    for (const Other& o : kept) ASSERT_TRUE(others.Put({o.instance, o.owner, "2026/12/01 09:00:00", "1", "x", payload}));

    StartAsked(Ended("later"));
    EXPECT_EQ(view.questions.size(), 1u);
    EXPECT_TRUE(Stored(Ended("first"))) << "put off";
    FillHeader("1");
    Settle();
    EXPECT_TRUE(Stored(Ended("first"))) << "not taken by the new run's own draft";

    StartAsked(Ended("second"), {Answer::Discard, Answer::Discard});
    EXPECT_EQ(view.questions.size(), 2u) << "the ended programs' drafts only";
    EXPECT_FALSE(state().Changed);
    for (const char* run : {"first", "later", "second"}) EXPECT_FALSE(Stored(Ended(run))) << run;
    for (const Other& o : kept) EXPECT_TRUE(others.Get(o.instance)) << o.what;

    // A program of an earlier boot has ended, whatever its process id.
    ASSERT_TRUE(others.Put({otherBoot, mine, "2026/12/01 09:00:00", "1", "x", payload}));
    StartAsked(Ended("third"), {Answer::Discard});
    EXPECT_EQ(view.questions.size(), 1u);
    EXPECT_FALSE(others.Get(otherBoot));
}

// Drafts follow the changes at most about once a second; a screen without
// changes keeps none; the end of a run keeps the draft only when changes
// were neither saved nor given up through the question.
TEST_P(DraftTest, TheDraftLivesAsLongAsTheChanges) {
    FillHeader("1");
    EXPECT_EQ(view.RunQuietTasks(), (std::vector<int>{0})) << "the first change is written at once";
    presenter->journal()->Flush();
    ASSERT_TRUE(Stored(Ended("first")));
    now += std::chrono::milliseconds(300);
    Fill({"タイトル"}, "改訂版");
    EXPECT_EQ(view.RunQuietTasks(), (std::vector<int>{700})) << "the next one waits for the second to pass";
    presenter->journal()->Flush();
    EXPECT_EQ(DecodeDraft(Stored(Ended("first"))->payload)->header.タイトル, "");
    now += std::chrono::milliseconds(700);
    Settle();
    EXPECT_EQ(DecodeDraft(Stored(Ended("first"))->payload)->header.タイトル, "改訂版");

    view.answers = {true};
    Press("btn_画面クリア");
    presenter->journal()->Flush();
    EXPECT_FALSE(Stored(Ended("first"))) << "changes given up";

    FillHeader("1");
    now += std::chrono::seconds(2);
    Settle();
    ASSERT_TRUE(Stored(Ended("first")));
    view.answers = {true};
    EXPECT_TRUE(presenter->CloseRequested());
    presenter.reset();
    EXPECT_FALSE(Stored(Ended("first"))) << "ended after Yes to giving up the changes";

    Start(Ended("second"));
    FillHeader("1");
    presenter->EndWithoutAsking();  // logout or a termination signal
    presenter.reset();
    EXPECT_TRUE(Stored(Ended("second"))) << "kept for the next start";
}

// A change of a stored quotation restored after someone else changed it
// keeps its protection: the save is refused as before the crash.
TEST_P(DraftTest, ARestoredChangeOfAStoredQuotationIsStillCheckedAgainstLostUpdates) {
    const std::string stored = FirstStored();
    OpenStored(stored);
    Fill({"タイトル"}, "控えから");
    Settle();
    install->business("UPDATE T営業見積 SET タイトル = '他の担当者' WHERE 事業所コード = '001' AND 営業見積No = '" +
                      stored + "'");
    StartAsked(Ended("second"), {Answer::Restore});
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_NE(view.questions[0].find("（登録済みの見積の修正）"), std::string::npos);
    EXPECT_FALSE(state().NewEntry);
    EXPECT_EQ(Text({"タイトル"}), "控えから");
    Save();
    EXPECT_EQ(view.notice, kChangedMeanwhileMessage);
    EXPECT_EQ(install->value("SELECT タイトル FROM T営業見積 WHERE 事業所コード = '001' AND 営業見積No = '" + stored + "'"),
              "他の担当者");
}

INSTANTIATE_TEST_SUITE_P(Engines, DraftTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

// ---- the draft as bytes ---------------------------------------------------------

// A header and a line with every member away from its default.
DraftContent FullDraft(int lines) {
    DraftContent d;
    QuotationHeader& h = d.header;
    h.事業所コード = "001";
    h.番号基準日付 = "20270331";
    h.営業見積No = "00000042";
    h.営業見積日付 = "20261207";
    h.営業見積日付年 = "2026";
    h.得意先コード = "000001";
    h.得意先名称A = "新規商事　";
    h.担当者名 = "山田";
    h.定価掛率 = Currency::FromScaled(855000);
    h.消費税表示区分 = 0;
    h.見積消費税合計 = Currency::FromScaled(-12345);
    h.sellingSums.includedAtPreviousRate = Currency::FromScaled(77);
    h.purchaseSums.notTaxable = Currency::FromScaled(-1);
    h.DocTax = Currency::FromScaled(9);
    static const char memo[] = "改行\nと\0NUL";
    h.営業見積メモ.assign(memo, sizeof memo - 1);
    d.lines.resize(static_cast<std::size_t>(lines));
    for (int i = 0; i < lines; ++i) {
        QuotationLine& l = d.lines[static_cast<std::size_t>(i)];
        l.行区分 = static_cast<std::int16_t>(i % 5 + 1);
        l.計区分 = 0;
        l.営業見積固有行No = "007";
        l.商品コード = "ST-" + std::to_string(i);
        l.商品名 = "ゲルインクボールペン赤";
        l.見積数量 = Currency::FromScaled(12345 + i);
        l.見積金額 = Currency::Max();
        l.仕入消費税 = Currency::Min();
        l.商品税込仕入単価 = Currency::FromScaled(1);
        l.仕入先消費税端数調整区分 = 2;
        l.明細メモ = "行のメモ";
        l.承認区分 = "1";
        l.changed = true;
        l.sellingTaxTyped = true;
        l.purchaseAmountTyped = i % 2 == 0;
    }
    d.loadedKey = {"001", "20270331", "00000042", "20261201", "fingerprint|1|2", 3, "000001"};
    d.quotationNewEntry = false;
    d.maxUniqueLineNo = 12;
    d.newEntry = false;
    d.topLine = 3;
    d.rowInPanel = 4;
    d.currentLine = 7;
    d.currentField = {"見積数量", 4};
    d.detailEnabled = true;
    d.detailPage = 1;
    d.supplierColumns = true;
    d.numberingStyle = 2;
    d.envelope = true;
    d.lineMarks.assign(static_cast<std::size_t>(lines), 0);
    if (lines > 1) d.lineMarks[1] = 1;
    return d;
}

TEST(DraftBytes, ReadBackExactlyAndNeverInPart) {
    const DraftContent full = FullDraft(3);
    const std::string bytes = EncodeDraft(full);
    const auto back = DecodeDraft(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, full);
    EXPECT_EQ(DecodeDraft(EncodeDraft(DraftContent())), DraftContent());
    // Cut anywhere, or with a byte too many, it is no draft at all.
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) ASSERT_FALSE(DecodeDraft(bytes.substr(0, cut))) << cut;
    EXPECT_FALSE(DecodeDraft(bytes + "x"));
    // A value that is not a number where a number belongs.
    std::string broken = bytes;
    broken.replace(broken.find("12345"), 5, "12a45");
    EXPECT_FALSE(DecodeDraft(broken));
}

// A write killed at any moment leaves the draft before it or the one it
// wrote, never a mixture: the child writes two 998-line drafts in turn
// until it is killed.
TEST(DraftStoreWrites, AKilledWriteLeavesTheOldDraftOrTheNewOneWhole) {
    const std::string folder = testing::TempDir() + "velmora-draft-kill-" + std::to_string(::getpid());
    std::filesystem::remove_all(folder);
    const std::string path = folder + "/drafts.db";
    DraftContent a = FullDraft(kMaxLinesInUse), b = FullDraft(kMaxLinesInUse);
    for (QuotationLine& line : b.lines) line.商品名 = "シャープペンシル10本入";
    const std::string bytesA = EncodeDraft(a), bytesB = EncodeDraft(b);
    const DraftInstance writer = Ended("writer");
    const DraftOwner owner{"/install/", "001", "00101"};
    std::mt19937 random(7);
    int seenA = 0, seenB = 0;
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DraftStore store(path);
            for (long n = 0;; ++n) store.Put({writer, owner, "t", "n", "c", n % 2 ? bytesB : bytesA});
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(40 + random() % 160));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const auto row = DraftStore(path).Get(writer);
        if (!row) {
            EXPECT_EQ(round, 0) << "only before the first write is whole may there be none";
            continue;
        }
        const auto draft = DecodeDraft(row->payload);
        ASSERT_TRUE(draft) << "round " << round;
        EXPECT_TRUE(*draft == a || *draft == b);
        (*draft == a ? seenA : seenB)++;
    }
    EXPECT_GT(seenA + seenB, 0);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace velmora::test
