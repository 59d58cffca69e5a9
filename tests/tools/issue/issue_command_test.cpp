#include <gtest/gtest.h>

#include "issue/issue_command.h"

namespace velmora {
namespace {

// The request as "office mode dates numbers customers view", each range "from-to".
std::string RequestText(const IssueRequest& r) {
    const char* modes[] = {"Print", "Preview", "FormImage"};
    auto range = [](const IssueRange& range) { return range.from + "-" + range.to; };
    return r.office + " " + modes[static_cast<int>(r.mode)] + " " + range(r.dates) + " " + range(r.numbers) + " " +
           range(r.customers) + " " + (r.purchaseView ? "purchase" : "customer");
}

// Command lines as the entry screen writes them: office, mode, dates,
// numbers and customers (left-aligned, blank-filled), form kind, view.
TEST(IssueCommand, ReadsEveryFieldOfTheFixedWidthLine) {
    const std::pair<std::string, const char*> cases[] = {
        {"001020261201202612010000001200000012000041000041210",
         "001 Print 20261201-20261201 00000012-00000012 000041-000041 customer"},
        {"002120270101202703310000000100000099000001000100211",
         "002 Preview 20270101-20270331 00000001-00000099 000001-000100 purchase"},
        // A typed number shorter than the field and a short customer code, blank-filled on the right.
        {"000320240229202402291234    1234    12    12    210",
         "000 FormImage 20240229-20240229 1234-1234 12-12 customer"},
        // Blank bounds leave the range open on that side.
        {"0013" + std::string(24, ' ') + "00000005" + std::string(12, ' ') + "210",
         "001 FormImage - -00000005 - customer"},
    };
    for (const auto& [line, request] : cases) {
        SCOPED_TRACE(line);
        ParsedIssueCommand parsed = ParseIssueCommand(line);
        ASSERT_TRUE(parsed.request) << parsed.problem;
        EXPECT_EQ(RequestText(*parsed.request), request);
        EXPECT_TRUE(parsed.problem.empty());
        EXPECT_EQ(IssueCommandText(*parsed.request), line) << "written back as the entry screen writes it";
    }
}

TEST(IssueCommand, RefusesWhatTheEntryScreenWouldNotWriteAndSaysWhichField) {
    struct Case {
        std::string line;
        const char* says;
    };
    const std::string good = "001020261201202612010000001200000012000041000041210";
    auto with = [&](size_t at, const std::string& field) {
        return good.substr(0, at) + field + good.substr(at + field.size());
    };
    const Case cases[] = {
        {"", "桁数が 0 桁"},
        {good + " ", "桁数が 52 桁"},
        {good.substr(0, 50), "桁数が 50 桁"},
        // Split by a shell into several arguments and joined by single blanks.
        {"001 0 20261201", "桁数が 14 桁"},
        {with(0, "0A1"), "事業所コード"},
        {with(3, "2"), "出力区分"},
        {with(3, "9"), "出力区分"},
        {with(4, "20261301"), "見積日付（自）が日付ではありません"},
        {with(12, "2026120 "), "見積日付（至）が日付ではありません"},
        {with(12, "20261130"), "見積日付の範囲が逆です"},
        {with(20, " 0000012"), "見積No（自）が左詰めではありません"},
        {with(28, "0000 012"), "見積No（至）に空白が含まれています"},
        {with(28, "00000011"), "見積Noの範囲が逆です"},
        {with(36, " 00041"), "得意先コード（自）が左詰めではありません"},
        {with(42, "000040"), "得意先コードの範囲が逆です"},
        {with(48, "22"), "帳票種類"},
        {with(50, "2"), "表示区分"},
        {"００１020261201202612010000001200000012000041000041210", "半角英数字と空白以外"},
        {with(20, "0000001\t"), "半角英数字と空白以外"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("[" + c.line + "]");
        ParsedIssueCommand parsed = ParseIssueCommand(c.line);
        EXPECT_FALSE(parsed.request);
        EXPECT_EQ(parsed.problem.rfind("起動パラメータが正しくありません。\n", 0), 0u) << parsed.problem;
        EXPECT_NE(parsed.problem.find(c.says), std::string::npos) << parsed.problem;
    }
}

}  // namespace
}  // namespace velmora
