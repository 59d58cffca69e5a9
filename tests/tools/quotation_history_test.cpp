// A large installation's quotation history, built small: the rows must be
// those the program's own saves leave, so that the program works on them.
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "admin/installation.h"
#include "app/installation.h"
#include "data/data_access.h"
#include "pricing/company_settings.h"
#include "pricing/pricing_changes.h"
#include "quotation/column_table.h"
#include "quotation/document_scope.h"
#include "quotation/load.h"
#include "quotation/save.h"
#include "support/scripted_prompts.h"
#include "support/statements.h"

namespace velmora {
namespace {

using test::Engine;

constexpr int kHistory = 300;
constexpr int kDemo = 30;  // the demo's own quotations, saved by the program after the history

// One stored row as comparable text: the table's own columns, without the
// history number and mark.
std::string RowText(const Recordset& rs, const QuotationTable& table) {
    std::string text;
    for (const ColumnDef& column : table.columns) text += rs.text(column.name) + "|";
    return text;
}

struct Key {
    std::string office, baseDate, number;
    auto operator<=>(const Key&) const = default;
};

Key KeyOf(const Recordset& rs) { return {rs.text("事業所コード"), rs.text("番号基準日付"), rs.text("営業見積No")}; }

// Everything stored of the quotations: the current rows, and the history
// rows by history number with their mark.
struct Stored {
    struct History {
        std::string redBlack;
        std::string header;
        std::string saved;               // 登録日付 of the header row
        std::multiset<std::string> lines;
    };
    struct Quotation {
        std::string header;
        std::multiset<std::string> lines;
        std::map<std::string, History> history;  // by 営業見積履歴No
    };
    std::map<Key, Quotation> quotations;
};

class QuotationHistoryTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        InitOptions options;
        options.root = m_dir.path() / "velmora";
        CalendarDate::Parse("20240615", options.today);
        options.historyQuotations = kHistory;
        if (GetParam() == Engine::PostgreSQL) {
            VELMORA_REQUIRE_DATABASE(m_catalog.emplace("velmora_history"));
            options.postgres = PostgresTarget{m_catalog->source(), m_catalog->name(), "postgres", ""};
        }
        long long lastDone = 0;
        options.progress = [&](const std::string& step, long long done, long long total) {
            if (step != "quotations") return;
            EXPECT_GE(done, lastDone);
            EXPECT_EQ(total, kHistory);
            lastDone = done;
        };
        InitResult result = InitInstallation(options);
        ASSERT_TRUE(result.ok) << result.message;
        EXPECT_EQ(lastDone, kHistory);

        DatabaseDefinition definition;
        std::string problem;
        ASSERT_TRUE(OpenInstallationDatabases(m_access, options.root.string(), definition, problem)) << problem;
        std::unique_ptr<Recordset> rs;
        ASSERT_TRUE(m_access.OpenDataRecordset(rs, "SELECT * FROM Mユーザ WHERE ID = '0001'"));
        ASSERT_TRUE(ReadCompanySettings(*rs, m_context.company));
        m_context.operatingOffice = "001";
        m_context.startStaffCode = "00101";
        m_context.staffCode = "00101";
        m_context.userName = "tester";
        m_context.computerName = "TEST-PC";
        m_context.updateRunFlag = 1;
        m_scope = std::make_unique<DocumentScope>(m_access, m_quotation, m_context, m_prompts);
    }

    Stored ReadStored() {
        Stored s;
        std::unique_ptr<Recordset> rs;
        m_access.OpenDataRecordset(rs, "SELECT * FROM T営業見積");
        for (; !rs->eof(); rs->moveNext()) s.quotations[KeyOf(*rs)].header = RowText(*rs, HeaderTable());
        m_access.OpenDataRecordset(rs, "SELECT * FROM T営業見積明細");
        for (; !rs->eof(); rs->moveNext()) s.quotations[KeyOf(*rs)].lines.insert(RowText(*rs, LineTable()));
        m_access.OpenDataRecordset(rs, "SELECT * FROM R営業見積");
        for (; !rs->eof(); rs->moveNext()) {
            Stored::History& h = s.quotations[KeyOf(*rs)].history[rs->text("営業見積履歴No")];
            h.redBlack = rs->text("赤黒区分");
            h.header = RowText(*rs, HeaderTable());
            h.saved = rs->text("登録日付");
        }
        m_access.OpenDataRecordset(rs, "SELECT * FROM R営業見積明細");
        for (; !rs->eof(); rs->moveNext())
            s.quotations[KeyOf(*rs)].history[rs->text("営業見積履歴No")].lines.insert(RowText(*rs, LineTable()));
        return s;
    }

    // The history of one quotation as its saves leave it: the black rows of
    // the first save; for each change the red copy of the state stored until
    // then, then the black rows of the new one; the last black rows are the
    // stored rows.
    static void ExpectSavesPairUp(const Key& key, const Stored::Quotation& q) {
        SCOPED_TRACE(key.office + "/" + key.baseDate + "/" + key.number);
        ASSERT_FALSE(q.header.empty()) << "history without a stored quotation";
        ASSERT_FALSE(q.history.empty()) << "a stored quotation without history";
        const Stored::History* previous = nullptr;
        for (const auto& [historyNo, h] : q.history) {
            const bool red = h.redBlack == "0";
            EXPECT_TRUE(red || h.redBlack == "1") << historyNo;
            ASSERT_EQ(red, previous != nullptr && previous->redBlack == "1") << "out of order at " << historyNo;
            if (red) {
                EXPECT_EQ(h.header, previous->header) << historyNo;
                EXPECT_EQ(h.lines, previous->lines) << historyNo;
            }
            previous = &h;
        }
        EXPECT_EQ(previous->redBlack, "1");
        EXPECT_EQ(previous->header, q.header);
        EXPECT_EQ(previous->lines, q.lines);
    }

    std::string Value(const std::string& sql) {
        std::unique_ptr<Recordset> rs;
        return m_access.OpenDataRecordset(rs, sql) ? rs->text(size_t{0}) : std::string();
    }

    test::TempDir m_dir;
    std::optional<test::ServerDatabaseName> m_catalog;
    DataAccess m_access{[] { return ParseTimestamp("20240615 120000"); }};
    QuotationContext m_context;
    Quotation m_quotation;
    test::ScriptedPrompts m_prompts;
    std::unique_ptr<DocumentScope> m_scope;
};

TEST_P(QuotationHistoryTest, RowsAreThoseTheProgramsSavesLeave) {
    const Stored stored = ReadStored();
    ASSERT_EQ(stored.quotations.size(), static_cast<size_t>(kHistory + kDemo));

    size_t longest = 0, hundreds = 0, short_ = 0, changed = 0;
    for (const auto& [key, q] : stored.quotations) {
        ExpectSavesPairUp(key, q);
        longest = std::max(longest, q.lines.size());
        EXPECT_GE(q.lines.size(), 1u);
        if (q.lines.size() >= 100) ++hundreds;
        if (q.lines.size() <= 40) ++short_;
        if (q.history.size() > 1) ++changed;
    }
    EXPECT_EQ(longest, static_cast<size_t>(kMaxLinesInUse));
    EXPECT_GE(hundreds, 2u);
    EXPECT_GE(short_, stored.quotations.size() * 9 / 10);
    EXPECT_GT(changed, static_cast<size_t>(kDemo / 5));  // the demo changes every fifth of its own

    // Per numbering period: numbers given in the order of the first saves,
    // history numbers in the order of all saves, and the counters standing
    // at the last of each, where the next save continues.
    struct Period {
        std::vector<std::pair<std::string, std::string>> firstSaves;  // number, time
        std::map<std::string, const Stored::History*> saves;          // by history number
    };
    std::map<std::string, Period> periods;
    for (const auto& [key, q] : stored.quotations) {
        Period& p = periods[key.baseDate];
        p.firstSaves.emplace_back(key.number, q.history.begin()->second.saved);
        for (const auto& [historyNo, h] : q.history)
            EXPECT_TRUE(p.saves.emplace(historyNo, &h).second) << "history number given twice: " << historyNo;
    }
    EXPECT_GE(periods.size(), 10u);  // ten years of fiscal years
    for (auto& [baseDate, p] : periods) {
        SCOPED_TRACE(baseDate);
        std::sort(p.firstSaves.begin(), p.firstSaves.end());
        for (size_t i = 1; i < p.firstSaves.size(); ++i)
            EXPECT_LE(p.firstSaves[i - 1].second, p.firstSaves[i].second) << p.firstSaves[i].first;
        // A red row carries the time of the state it copies; the black row
        // after it carries the time of its save.
        std::string lastSave;
        for (const auto& [historyNo, h] : p.saves) {
            if (h->redBlack != "1") continue;
            EXPECT_LE(lastSave, h->saved) << historyNo;
            lastSave = h->saved;
        }
        const std::string condition = " FROM A期日別番号情報 WHERE 番号ID = '16210' AND 期日 = '" + baseDate + "'";
        EXPECT_EQ(Value("SELECT 連番" + condition), p.firstSaves.back().first);
        EXPECT_EQ(Value("SELECT 履歴連番" + condition), p.saves.rbegin()->first);
    }
}

TEST_P(QuotationHistoryTest, TheProgramLoadsChangesAndNumbersOnAfterIt) {
    std::unique_ptr<Recordset> rs;
    ASSERT_TRUE(m_access.OpenDataRecordset(rs, "SELECT 事業所コード, 番号基準日付, 営業見積No FROM T営業見積明細 GROUP BY "
                                               "事業所コード, 番号基準日付, 営業見積No HAVING COUNT(*) = 998"))
        << "no quotation of 998 lines";
    const Key key = KeyOf(*rs);
    const std::string where = " WHERE 事業所コード = '" + key.office + "' AND 番号基準日付 = '" + key.baseDate +
                              "' AND 営業見積No = '" + key.number + "'";

    // Loaded with every line; the totals the loader works out again are the stored ones.
    QuotationLoader loader(*m_scope);
    ASSERT_TRUE(loader.OpenStored(key.office, key.baseDate, key.number));
    ASSERT_EQ(m_quotation.LastLine, kMaxLinesInUse - 1);
    ASSERT_TRUE(m_access.OpenDataRecordset(rs, "SELECT * FROM T営業見積" + where));
    for (auto [column, member] : {std::pair{"見積数量合計", &QuotationHeader::見積数量合計},
                                  {"見積金額合計", &QuotationHeader::見積金額合計},
                                  {"見積消費税合計", &QuotationHeader::見積消費税合計},
                                  {"税込見積金額合計", &QuotationHeader::税込見積金額合計},
                                  {"仕入金額合計", &QuotationHeader::仕入金額合計}})
        EXPECT_EQ(rs->scaled4(column), (m_quotation.header.*member).scaled()) << column;
    EXPECT_EQ(m_quotation.lines[997].営業見積行No, "998");

    // Changed and saved by the program: its check that nobody changed the
    // stored rows meanwhile accepts them, and its history rows follow on.
    const std::string historyBefore = Value("SELECT 履歴連番 FROM A期日別番号情報 WHERE 番号ID = '16210' AND 期日 = '" +
                                            key.baseDate + "'");
    QuotationPricing pricing(m_context.company, m_scope->rates);
    pricing.EnterFigure(m_quotation.header, m_quotation.linesInUse(), 3, LineFigure::見積数量,
                        *Currency::Add(m_quotation.lines[3].見積数量, Units(2)));
    ASSERT_TRUE(QuotationSaver(*m_scope, nullptr).Save().stored)
        << m_quotation.SaveMessage << m_prompts.shown();
    EXPECT_EQ(std::stoll(m_quotation.OldHistoryNo), std::stoll(historyBefore) + 1);
    EXPECT_EQ(std::stoll(m_quotation.NewHistoryNo), std::stoll(historyBefore) + 2);
    const Stored stored = ReadStored();
    ExpectSavesPairUp(key, stored.quotations.at(key));
    EXPECT_EQ(stored.quotations.at(key).lines.size(), 998u);
}

INSTANTIATE_TEST_SUITE_P(Engines, QuotationHistoryTest, testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         test::EngineName);

}  // namespace
}  // namespace velmora
