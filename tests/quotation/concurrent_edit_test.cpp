// Two programs working on the same stored quotation: a change or delete
// stores only over the quotation it loaded, and never moves or deletes one
// that another program has taken further meanwhile.
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "documents_fixture.h"
#include "linking/update_notice.h"
#include "quotation/delete.h"
#include "quotation/load.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"
#include "quotation/save_status.h"
#include "quotation/stored_check.h"

namespace velmora {
namespace {

using test::kFy2024;
using test::kFy2025;

const std::string kChangedMessage =
    "他の担当者が修正または削除したため登録できませんでした。見積を開き直すか、新しい見積として登録してください。";
const std::string kDeleteChangedMessage = "他の担当者が修正または削除したため削除できませんでした。見積を開き直してください。";

std::string billingRow(const std::string& baseDate, const std::string& number) {
    return std::string("INSERT INTO T営業請求 (事業所コード, 番号基準日付, 営業請求No, 営業見積事業所コード, "
                       "営業見積番号基準日付, 営業見積No) VALUES ('001', '") +
           kFy2024 + "', '00000009', '001', '" + baseDate + "', '" + number + "')";
}

// The delete question, answered yes; `beforeAnswer` runs first, as another
// program would between the screen's check and the transaction.
class AnsweringPrompts : public test::ScriptedPrompts {
public:
    bool AskYesNo(const std::string& question) override {
        questions.push_back(question);
        if (beforeAnswer) beforeAnswer();
        return true;
    }
    std::function<void()> beforeAnswer;
};

class ConcurrentEditTest : public test::DocumentsTest {
protected:
    // A second copy of the program on the same databases, with its own model.
    struct Other {
        std::unique_ptr<DataAccess> access;
        Quotation quotation;
        AnsweringPrompts prompts;
        std::unique_ptr<DocumentScope> scope;
    };
    std::unique_ptr<Other> other() {
        auto o = std::make_unique<Other>();
        o->access = dbs->openAnother("Velmora", "suzuki");
        o->scope = std::make_unique<DocumentScope>(*o->access, o->quotation, context, o->prompts);
        return o;
    }
    void storeOne() {
        fillNew("20241206", 3);
        saveOk();
        open(kFy2024, quotation.header.営業見積No);
    }
    // The title of the one quotation stored.
    std::string storedTitle() { return value("SELECT タイトル FROM T営業見積", "タイトル"); }
};

// Two programs load the same quotation; once one has changed or deleted it,
// the other's change or delete is refused, keeps its work on screen and
// leaves the stored rows as the first one left them. Opened again, it saves.
TEST_P(ConcurrentEditTest, WhatTheSecondProgramDoesAfterTheFirstChangedItIsRefused) {
    enum class First { Title, Lines, Delete };
    struct Case {
        const char* what;
        First first;
        bool secondDeletes;
        long long linesLeft;
    };
    const Case cases[] = {
        {"a change after a change", First::Title, false, 3},
        // The test clock never moves, so the stamp alone cannot tell the saves
        // apart: a change of the lines alone must be noticed.
        {"a change after a change of the lines only", First::Lines, false, 5},
        {"a change after a delete", First::Delete, false, 0},
        {"a delete after a change", First::Title, true, 3},
        {"a delete after a delete", First::Delete, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        exec("DELETE FROM T営業見積明細");
        exec("DELETE FROM T営業見積");
        storeOne();
        const std::string number = quotation.header.営業見積No;
        auto second = other();
        ASSERT_TRUE(QuotationLoader(*second->scope).OpenStored("001", kFy2024, number));
        if (c.first == First::Delete) {
            AnsweringPrompts yes;
            DocumentScope deleting(access(), quotation, context, yes);
            ASSERT_EQ(QuotationDeleter(deleting, nullptr).Delete(), QuotationDeleter::Result::Deleted);
        } else {
            if (c.first == First::Lines) setLines(5, "追加");
            if (c.first == First::Title) quotation.header.タイトル = "最初の変更";
            saveOk();
        }
        const std::string title = storedTitle();
        const long long history = count("R営業見積"), notices = count("未集計情報");

        test::RecordingSession secondSession(*second->access, dbs->configConnectionString(),
                                             dbs->business().connectionString());
        Quotation& refused = second->quotation;
        refused.header.タイトル = "後の変更";
        refused.lines[0].商品名 = "後の品目";
        if (c.secondDeletes) {
            EXPECT_EQ(QuotationDeleter(*second->scope, &secondSession).Delete(),
                      QuotationDeleter::Result::Failed);
        } else {
            EXPECT_FALSE(QuotationSaver(*second->scope, &secondSession).Save().stored);
        }
        EXPECT_EQ(refused.SaveStatus, kStatusChangedMeanwhile);
        EXPECT_EQ(refused.SaveMessage, c.secondDeletes ? kDeleteChangedMessage : kChangedMessage);
        EXPECT_EQ(refused.header.タイトル, "後の変更");
        EXPECT_EQ(refused.lines[0].商品名, "後の品目");
        EXPECT_EQ(storedTitle(), title);
        EXPECT_EQ(count("T営業見積明細 WHERE 商品名 = '後の品目'"), 0);
        EXPECT_EQ(count("T営業見積明細"), c.linesLeft);
        EXPECT_EQ(count("R営業見積"), history);
        EXPECT_EQ(count("未集計情報"), notices);
        EXPECT_TRUE(secondSession.events.empty());
        if (c.first == First::Delete || c.secondDeletes) continue;
        ASSERT_TRUE(QuotationLoader(*second->scope).OpenStored("001", kFy2024, number));
        EXPECT_EQ(refused.header.タイトル, title);
        refused.header.タイトル = "開き直した変更";
        EXPECT_TRUE(QuotationSaver(*second->scope, nullptr).Save().stored) << refused.SaveMessage;
        EXPECT_EQ(storedTitle(), "開き直した変更");
    }
}

TEST_P(ConcurrentEditTest, ABillingRowThatAppearsBeforeTheDeleteStopsIt) {
    storeOne();
    auto billing = dbs->openAnother("Corvane", "tanaka");
    AnsweringPrompts racing;
    racing.beforeAnswer = [&] { ASSERT_TRUE(billing->ExecuteData(billingRow(kFy2024, "00000001"))); };
    DocumentScope deleting(access(), quotation, context, racing);

    EXPECT_EQ(QuotationDeleter(deleting, nullptr).Delete(), QuotationDeleter::Result::Failed);
    EXPECT_EQ(quotation.SaveStatus, kStatusFollowedUp);
    EXPECT_EQ(quotation.SaveMessage, "請求済です。削除出来ません。");
    EXPECT_EQ(count("T営業見積"), 1);
    EXPECT_EQ(count("T営業見積明細"), 3);
    EXPECT_EQ(count(std::string("T営業請求 WHERE 営業見積番号基準日付 = '") + kFy2024 + "' AND 営業見積No = '00000001'"),
              1);
    EXPECT_TRUE(quotation.loaded());
}

TEST_P(ConcurrentEditTest, ABillingRowThatAppearsBeforeTheMoveStopsIt) {
    storeOne();
    ASSERT_TRUE(ChangeQuotationDate(*scope, "20250415"));
    ASSERT_EQ(quotation.header.番号基準日付, kFy2025);
    exec(billingRow(kFy2024, "00000001"));

    SaveOutcome refused = QuotationSaver(*scope, session.get()).Save();
    EXPECT_FALSE(refused.stored);
    EXPECT_EQ(quotation.SaveStatus, kStatusFollowedUp);
    EXPECT_EQ(quotation.SaveMessage, "請求済です。決算を超えた日付の変更は出来ません。");
    // The model keeps the move the user asked for; nothing was stored.
    EXPECT_EQ(quotation.header.番号基準日付, kFy2025);
    EXPECT_EQ(count(std::string("T営業見積 WHERE 番号基準日付 = '") + kFy2024 + "' AND 営業見積No = '00000001'"), 1);
    EXPECT_EQ(count(std::string("T営業見積 WHERE 番号基準日付 = '") + kFy2025 + "'"), 0);
    EXPECT_EQ(count("T営業見積明細"), 3);
}

TEST_P(ConcurrentEditTest, AChangeWithinThePeriodIgnoresFollowUps) {
    // Billing names the key, which a change that keeps it does not disturb.
    storeOne();
    exec(billingRow(kFy2024, "00000001"));
    quotation.header.タイトル = "請求後の変更";
    saveOk();
    EXPECT_EQ(storedTitle(), "請求後の変更");
}

TEST_P(ConcurrentEditTest, ABillingRowInsertedWhileTheDeleteRunsWaitsForIt) {
    storeOne();
    quotation.SaveKind = kSaveKindDelete;
    std::atomic<bool> inserted{false};
    std::atomic<bool> insertOk{false};
    std::thread billingProgram;
    {
        DataTransaction transaction(access());
        ASSERT_TRUE(transaction.active());
        ASSERT_TRUE(ConfirmStoredAsLoaded(*scope)) << quotation.SaveMessage;
        // Another program bills the quotation after the check has passed.
        auto billing = dbs->openAnother("Corvane", "tanaka");
        billingProgram = std::thread([&, billing = std::move(billing)] {
            insertOk = billing->ExecuteData(billingRow(kFy2024, "00000001"));
            inserted = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        EXPECT_FALSE(inserted.load()) << "the billing row went in while the delete held its check";
        EXPECT_TRUE(transaction.commit());
    }
    billingProgram.join();
    // Once the transaction ended the insert went through, after it and not
    // between the check and the write.
    EXPECT_TRUE(insertOk.load());
    EXPECT_EQ(count("T営業請求"), 1);
}

TEST_P(ConcurrentEditTest, OfTwoChangesSavedAtTheSameMomentExactlyOneIsStored) {
    storeOne();
    auto first = other();
    auto second = other();
    for (int round = 0; round < 15; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(QuotationLoader(*first->scope).OpenStored("001", kFy2024, "00000001"));
        ASSERT_TRUE(QuotationLoader(*second->scope).OpenStored("001", kFy2024, "00000001"));
        first->quotation.header.タイトル = "甲" + std::to_string(round);
        second->quotation.header.タイトル = "乙" + std::to_string(round);
        bool firstStored = false;
        bool secondStored = false;
        std::thread a([&] { firstStored = QuotationSaver(*first->scope, nullptr).Save().stored; });
        std::thread b([&] { secondStored = QuotationSaver(*second->scope, nullptr).Save().stored; });
        a.join();
        b.join();
        ASSERT_NE(firstStored, secondStored) << first->quotation.SaveMessage << " / " << second->quotation.SaveMessage;
        Quotation& loser = firstStored ? second->quotation : first->quotation;
        EXPECT_EQ(loser.SaveStatus, kStatusChangedMeanwhile) << loser.SaveMessage;
        EXPECT_EQ(count("T営業見積"), 1);
        EXPECT_EQ(count("T営業見積明細"), 3);
        EXPECT_EQ(storedTitle(), (firstStored ? "甲" : "乙") + std::to_string(round));
    }
}

TEST_P(ConcurrentEditTest, TwoQuotationsMovedAcrossTheClosingInOppositeDirectionsAtOnceAreBothStored) {
    fillNew("20241206", 3, "甲");
    saveOk();
    fillNew("20250415", 2, "乙");
    saveOk();
    open(kFy2024, "00000001");
    ASSERT_TRUE(ChangeQuotationDate(*scope, "20250416"));
    auto second = other();
    ASSERT_TRUE(QuotationLoader(*second->scope).OpenStored("001", kFy2025, "00000001"));
    ASSERT_TRUE(ChangeQuotationDate(*second->scope, "20241207"));

    // A third program holds the later period's counters: the first move waits
    // for them while the second one starts. Unless both take the two periods'
    // counters in one order, each then holds what the other waits for (on
    // PostgreSQL one of them fails as a deadlock).
    auto counters = dbs->openAnother("Corvane", "tanaka");
    bool firstStored = false;
    bool secondStored = false;
    std::thread a, b;
    {
        DataTransaction holding(*counters);
        ASSERT_TRUE(holding.active());
        ASSERT_TRUE(counters->ExecuteData(std::string("UPDATE A期日別番号情報 SET 連番 = 連番 WHERE 番号ID = '16210' AND "
                                                      "期日 = '") + kFy2025 + "'"));
        a = std::thread([&] { firstStored = QuotationSaver(*scope, nullptr).Save().stored; });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        b = std::thread([&] { secondStored = QuotationSaver(*second->scope, nullptr).Save().stored; });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_TRUE(holding.commit());
    }
    a.join();
    b.join();
    EXPECT_TRUE(firstStored) << quotation.SaveStatus << " " << quotation.SaveMessage;
    EXPECT_TRUE(secondStored) << second->quotation.SaveStatus << " " << second->quotation.SaveMessage;
    EXPECT_EQ(count(std::string("T営業見積 WHERE 番号基準日付 = '") + kFy2025 + "' AND タイトル = '甲'"), 1);
    EXPECT_EQ(count(std::string("T営業見積 WHERE 番号基準日付 = '") + kFy2024 + "' AND タイトル = '乙'"), 1);
    EXPECT_EQ(count("T営業見積"), 2);
    EXPECT_EQ(count("T営業見積明細"), 5);
}

INSTANTIATE_TEST_SUITE_P(Engines, ConcurrentEditTest, testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
