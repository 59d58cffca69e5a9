// The store check over quotations that are not the crash tests' own: what
// holds for any quotation is checked, and breaking it is found.
#include <algorithm>

#include "documents_fixture.h"
#include "quotation/delete.h"
#include "quotation/save.h"
#include "saved_states.h"

namespace velmora {
namespace {

class OtherTitlesCheckTest : public test::DocumentsTest {
protected:
    test::StoreCheck check() {
        test::OtherTitles others;
        others.identity = [](const std::string& title) { return title.substr(0, title.find(" v")); };
        test::CounterMarks marks;
        return test::CheckSavedStates(access(), marks, &others);
    }
    static bool has(const test::StoreCheck& c, const std::string& part) {
        return std::any_of(c.faults.begin(), c.faults.end(),
                           [&](const std::string& f) { return f.find(part) != std::string::npos; });
    }
    std::string storeNew(const std::string& title, int lines) {
        fillNew("20241201", lines, title);
        saveOk();
        return quotation.header.営業見積No;
    }
};

TEST_P(OtherTitlesCheckTest, AnyQuotationsHistoryNoticesAndLinesAreChecked) {
    // A: stored, changed once; B: stored and deleted.
    const std::string a = storeNew("見積A v0", 3);
    open(test::kFy2024, a);
    quotation.header.タイトル = "見積A v1";
    setLines(4, "品目");
    saveOk();
    const std::string b = storeNew("見積B v0", 2);
    open(test::kFy2024, b);
    prompts.answers = {true};
    ASSERT_EQ(QuotationDeleter(*scope, nullptr).Delete(), QuotationDeleter::Result::Deleted);

    test::StoreCheck clean = check();
    EXPECT_TRUE(clean.faults.empty()) << clean.faults.front();
    EXPECT_EQ(clean.historyRows, 5);  // A black, red, black; B black, red
    // Without OtherTitles the titles themselves are faults, as before.
    test::CounterMarks marks;
    EXPECT_TRUE(has(test::CheckSavedStates(access(), marks), "title 見積A v1"));

    struct Break {
        std::string sql;  // empty: a second quotation named A is stored
        std::string fault;
    };
    const Break breaks[] = {
        {"DELETE FROM 未集計情報 WHERE 伝票No = '" + b + "' AND 赤黒区分 = '0'", ": no notice"},
        {"DELETE FROM T営業見積明細 WHERE 営業見積No = '" + a + "' AND 営業見積行No = '002'",
         "3 lines at positions 001 to 004"},
        {"DELETE FROM R営業見積 WHERE 営業見積No = '" + b + "' AND 赤黒区分 = '0'", "(not stored) ends black"},
        {"UPDATE R営業見積 SET タイトル = '見積A v9' WHERE 営業見積No = '" + a + "' AND 赤黒区分 = '0'",
         "the red row is not the black row"},
        {"", "見積A stored twice"},
    };
    for (const Break& step : breaks) {
        SCOPED_TRACE(step.fault);
        if (step.sql.empty()) storeNew("見積A v2", 2);
        else exec(step.sql);
        EXPECT_TRUE(has(check(), step.fault));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, OtherTitlesCheckTest,
                         testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL), test::EngineName);

}  // namespace
}  // namespace velmora
