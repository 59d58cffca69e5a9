#include "saved_states.h"

#include <cstdio>
#include <memory>
#include <set>

#include "data/data_access.h"
#include "data/sql_text.h"
#include "quotation/document_sql.h"

namespace velmora::test {

namespace {

std::string twoDigits(int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", n);
    return buffer;
}

// One quotation key as text, for maps and messages.
std::string keyOf(const Recordset& rs, const char* numberColumn = "営業見積No") {
    return rs.text("事業所コード") + "/" + rs.text("番号基準日付") + "/" + rs.text(numberColumn);
}

// Lines of one stored state or one history row, as the group query sums them up.
struct LineGroup {
    long long rows = 0;
    long long names = 0;
    std::string firstName, lastName, firstDate, lastDate, firstPosition, lastPosition;
};

const char* const kLineSummary =
    "COUNT(*) AS 行数, COUNT(DISTINCT 商品名) AS 名数, MIN(商品名) AS 名1, MAX(商品名) AS 名2, "
    "MIN(営業見積日付) AS 日1, MAX(営業見積日付) AS 日2, MIN(営業見積行No) AS 行1, MAX(営業見積行No) AS 行2";

LineGroup lineGroupOf(const Recordset& rs) {
    return {ValInteger(rs.text("行数")), ValInteger(rs.text("名数")), rs.text("名1"), rs.text("名2"),
            rs.text("日1"),              rs.text("日2"),              rs.text("行1"), rs.text("行2")};
}

// A header row of T営業見積 (no history number or mark) or of R営業見積.
struct HeaderRow {
    std::string historyNo;
    std::string mark;
    std::string date;
    std::string title;
};

class Checker {
public:
    Checker(DataAccess& access, CounterMarks& marks, const OtherTitles* other)
        : m_access(access), m_marks(marks), m_other(other) {}

    StoreCheck run() {
        bool postgres = m_access.dataEngine() == EngineKind::PostgreSQL;
        // One snapshot for every read: the programs that write go on meanwhile.
        if (!m_access.ExecuteData(postgres ? "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY" : "BEGIN")) {
            fault("the snapshot could not begin");
            return std::move(m_result);
        }
        readAll();
        m_access.ExecuteData("COMMIT");
        if (!m_result.faults.empty()) return std::move(m_result);
        checkStored();
        checkHistory();
        checkNotices();
        checkCounters();
        return std::move(m_result);
    }

private:
    template <typename Row>
    void each(const std::string& sql, Row row) {
        std::unique_ptr<Recordset> rs;
        if (RunQuery(m_access, rs, sql) == QueryOutcome::Failed) fault("failed: " + sql);
        for (; rs && !rs->eof(); rs->moveNext()) row(*rs);
    }

    void readAll() {
        each("SELECT 事業所コード, 番号基準日付, 営業見積No, 営業見積日付, タイトル FROM T営業見積",
             [&](const Recordset& rs) { m_stored[keyOf(rs)] = {"", "", rs.text("営業見積日付"), rs.text("タイトル")}; });
        each(std::string("SELECT 事業所コード, 番号基準日付, 営業見積No, ") + kLineSummary +
                 " FROM T営業見積明細 GROUP BY 事業所コード, 番号基準日付, 営業見積No",
             [&](const Recordset& rs) { m_storedLines[keyOf(rs)] = lineGroupOf(rs); });
        each("SELECT 事業所コード, 番号基準日付, 営業見積No, 営業見積履歴No, 赤黒区分, 営業見積日付, タイトル FROM R営業見積 "
             "ORDER BY 事業所コード, 番号基準日付, 営業見積No, 営業見積履歴No",
             [&](const Recordset& rs) {
                 m_history[keyOf(rs)].push_back(
                     {rs.text("営業見積履歴No"), rs.text("赤黒区分"), rs.text("営業見積日付"), rs.text("タイトル")});
             });
        each(std::string("SELECT 事業所コード, 番号基準日付, 営業見積No, 営業見積履歴No, 赤黒区分, ") + kLineSummary +
                 " FROM R営業見積明細 GROUP BY 事業所コード, 番号基準日付, 営業見積No, 営業見積履歴No, 赤黒区分",
             [&](const Recordset& rs) {
                 m_historyLines[keyOf(rs) + "#" + rs.text("営業見積履歴No") + rs.text("赤黒区分")] = lineGroupOf(rs);
             });
        each("SELECT 事業所コード, 番号基準日付, 伝票No, 履歴No, 赤黒区分 FROM 未集計情報 WHERE 番号ID = '16210'",
             [&](const Recordset& rs) {
                 m_notices.insert(keyOf(rs, "伝票No") + "#" + rs.text("履歴No") + rs.text("赤黒区分"));
             });
        each("SELECT 期日, 連番, 履歴連番 FROM A期日別番号情報 WHERE 番号ID = '16210'", [&](const Recordset& rs) {
            m_counters[rs.text("期日")] = {ValInteger(rs.text("連番")), ValInteger(rs.text("履歴連番"))};
        });
    }

    void fault(const std::string& text) { m_result.faults.push_back(text); }

    // The title, date and lines of one state under `key`.
    std::optional<SavedState> checkState(const std::string& where, const std::string& key, const std::string& title,
                                         const std::string& date, const LineGroup* lines) {
        std::optional<SavedState> s = ParseTitle(title);
        if (!s) {
            fault(where + ": title " + title);
            return s;
        }
        std::string base = key.substr(key.find('/') + 1, 8);
        int period = PeriodOfBaseDate(base);
        if (period < 0 || date != s->Date(period)) fault(where + ": " + title + " dated " + date + " under " + base);
        if (!lines) {
            fault(where + ": " + title + " has no lines");
            return s;
        }
        int n = s->Lines();
        if (lines->rows != n || lines->names != n || lines->firstName != s->LineName(0) ||
            lines->lastName != s->LineName(n - 1))
            fault(where + ": " + title + " should have " + std::to_string(n) + " lines, has " +
                  std::to_string(lines->rows) + " (" + std::to_string(lines->names) + " names, " + lines->firstName +
                  " to " + lines->lastName + ")");
        if (lines->firstDate != date || lines->lastDate != date)
            fault(where + ": " + title + " dated " + date + ", lines " + lines->firstDate + " to " + lines->lastDate);
        if (lines->firstPosition != "001" || lines->lastPosition != ThreeDigits(n))
            fault(where + ": " + title + " line positions " + lines->firstPosition + " to " + lines->lastPosition);
        return s;
    }

    bool other(const std::string& title) const { return m_other && !ParseTitle(title); }

    // What holds for the lines of any state: numbered 1 to n, dated as the header.
    void checkAnyState(const std::string& where, const std::string& date, const LineGroup* lines) {
        if (!lines) {
            fault(where + " has no lines");
            return;
        }
        if (lines->firstPosition != "001" || lines->lastPosition != ThreeDigits(static_cast<int>(lines->rows)))
            fault(where + ": " + std::to_string(lines->rows) + " lines at positions " + lines->firstPosition + " to " +
                  lines->lastPosition);
        if (lines->firstDate != date || lines->lastDate != date)
            fault(where + ": dated " + date + ", lines " + lines->firstDate + " to " + lines->lastDate);
    }

    void checkStored() {
        std::map<std::string, std::string> keyOfId;
        for (const auto& [key, header] : m_stored) {
            auto lines = m_storedLines.find(key);
            if (other(header.title)) {
                checkAnyState("stored " + key, header.date, lines == m_storedLines.end() ? nullptr : &lines->second);
                std::string id = m_other->identity ? m_other->identity(header.title) : "";
                if (id.empty()) continue;
                auto [at, first] = keyOfId.emplace(id, key);
                if (!first) fault(id + " stored twice: " + at->second + " and " + key);
                continue;
            }
            auto s = checkState("stored " + key, key, header.title, header.date,
                                lines == m_storedLines.end() ? nullptr : &lines->second);
            if (!s) continue;
            auto [at, first] = keyOfId.emplace(s->Id(), key);
            if (!first) fault(s->Id() + " stored twice: " + at->second + " and " + key);
            m_result.storedState[s->Id()] = s->state;
        }
        for (const auto& [key, lines] : m_storedLines)
            if (!m_stored.count(key)) fault("lines without a header: " + key);
    }

    void checkHistory() {
        std::map<std::string, int> keysOfId;
        std::set<std::string> endedRed;
        for (const auto& [key, rows] : m_history) {
            if (other(rows.front().title)) {
                checkOtherHistory(key, rows);
                continue;
            }
            std::string id;
            int last = -1;
            for (size_t i = 0; i < rows.size(); ++i) {
                const HeaderRow& row = rows[i];
                std::string at = "history " + key + "#" + row.historyNo + row.mark;
                ++m_result.historyRows;
                auto lines = m_historyLines.find(key + "#" + row.historyNo + row.mark);
                auto s = checkState(at, key, row.title, row.date,
                                    lines == m_historyLines.end() ? nullptr : &lines->second);
                if (lines != m_historyLines.end()) m_historyLinesUsed.insert(lines->first);
                ++m_rowsWithNotices;
                if (!m_notices.count(key + "#" + row.historyNo + row.mark)) fault(at + ": no notice");
                noteNumbers(key, row.historyNo);
                if (!s) continue;
                if (i == 0) id = s->Id();
                if (s->Id() != id) fault(at + ": " + s->Id() + " under the number of " + id);
                bool black = i % 2 == 0;
                if (row.mark != (black ? "1" : "0")) fault(at + ": expected " + (black ? "black" : "red"));
                if (black ? s->state <= last : s->state != last)
                    fault(at + ": state " + std::to_string(s->state) + " after " + std::to_string(last));
                last = s->state;
            }
            checkHistoryEnd(key, rows);
            if (id.empty()) continue;
            ++keysOfId[id];
            if (rows.back().mark == "0") endedRed.insert(id);
        }
        for (const auto& [key, header] : m_stored)
            if (!m_history.count(key)) fault("stored " + key + " has no history");
        for (const auto& [group, lines] : m_historyLines)
            if (!m_historyLinesUsed.count(group)) fault("history lines without a history row: " + group);
        for (const auto& [id, keys] : keysOfId) {
            if (keys > 1) ++m_result.moved;
            if (!m_result.storedState.count(id) && endedRed.count(id)) ++m_result.deleted;
        }
    }

    // The history of a key whose rows are not SavedStates: black, red, black …,
    // each red row the black one before it again, ending as the key is stored.
    void checkOtherHistory(const std::string& key, const std::vector<HeaderRow>& rows) {
        const std::string base = key.substr(key.find('/') + 1, 8);
        const auto from = m_other->noticesFrom.find(base);
        const long long noticesFrom = from == m_other->noticesFrom.end() ? 0 : from->second.second;
        const LineGroup* blackLines = nullptr;
        for (size_t i = 0; i < rows.size(); ++i) {
            const HeaderRow& row = rows[i];
            const std::string at = "history " + key + "#" + row.historyNo + row.mark;
            ++m_result.historyRows;
            auto lines = m_historyLines.find(key + "#" + row.historyNo + row.mark);
            const LineGroup* group = lines == m_historyLines.end() ? nullptr : &lines->second;
            if (group) m_historyLinesUsed.insert(lines->first);
            checkAnyState(at, row.date, group);
            // Rows written earlier may have theirs too; each notice belongs to one row.
            const bool notice = m_notices.count(key + "#" + row.historyNo + row.mark) != 0;
            if (notice || ValInteger(row.historyNo) > noticesFrom) ++m_rowsWithNotices;
            if (!notice && ValInteger(row.historyNo) > noticesFrom) fault(at + ": no notice");
            noteNumbers(key, row.historyNo);
            const bool black = i % 2 == 0;
            if (row.mark != (black ? "1" : "0")) fault(at + ": expected " + (black ? "black" : "red"));
            if (black) {
                blackLines = group;
            } else if (row.title != rows[i - 1].title || row.date != rows[i - 1].date || !group || !blackLines ||
                       group->rows != blackLines->rows || group->firstName != blackLines->firstName ||
                       group->lastName != blackLines->lastName) {
                fault(at + ": the red row is not the black row " + rows[i - 1].historyNo + " again");
            }
        }
        checkHistoryEnd(key, rows);
    }

    // A history ends black with the stored title while the key is stored, red once it is not.
    void checkHistoryEnd(const std::string& key, const std::vector<HeaderRow>& rows) {
        auto stored = m_stored.find(key);
        const HeaderRow& end = rows.back();
        if (stored != m_stored.end() && (end.mark != "1" || end.title != stored->second.title))
            fault("history of stored " + key + " ends with " + end.title + "#" + end.mark + ", stored " +
                  stored->second.title);
        if (stored == m_stored.end() && end.mark != "0")
            fault("history of " + key + " (not stored) ends black with " + end.title);
    }

    void noteNumbers(const std::string& key, const std::string& historyNo) {
        std::string base = key.substr(key.find('/') + 1, 8);
        m_numbers[base].insert(ValInteger(key.substr(key.rfind('/') + 1)));
        if (!m_historyNumbers[base].insert(ValInteger(historyNo)).second)
            fault("history number " + historyNo + " of " + base + " used twice");
    }

    void checkNotices() {
        if (static_cast<long long>(m_notices.size()) != m_rowsWithNotices)
            fault(std::to_string(m_notices.size()) + " notices for " + std::to_string(m_rowsWithNotices) +
                  " history rows");
    }

    // A set of positive numbers is exactly 1..n when it has n members and n is the largest.
    static bool oneTo(const std::set<long long>& numbers, long long n) {
        return static_cast<long long>(numbers.size()) == n && (n == 0 || (*numbers.begin() == 1 && *numbers.rbegin() == n));
    }

    void checkCounters() {
        for (const auto& [base, numbers] : m_numbers)
            if (!m_counters.count(base)) fault("numbers under " + base + " without a counter");
        for (const auto& [base, counter] : m_counters) {
            auto [number, history] = counter;
            if (!oneTo(m_numbers[base], number))
                fault(base + ": counter " + std::to_string(number) + ", " + std::to_string(m_numbers[base].size()) +
                      " numbers used");
            if (!oneTo(m_historyNumbers[base], history))
                fault(base + ": history counter " + std::to_string(history) + ", " +
                      std::to_string(m_historyNumbers[base].size()) + " history numbers used");
            auto mark = m_marks.find(base);
            if (mark != m_marks.end() && (number < mark->second.first || history < mark->second.second))
                fault(base + ": counters went back from " + std::to_string(mark->second.first) + "/" +
                      std::to_string(mark->second.second) + " to " + std::to_string(number) + "/" +
                      std::to_string(history));
            m_marks[base] = counter;
        }
    }

    DataAccess& m_access;
    CounterMarks& m_marks;
    const OtherTitles* m_other;
    StoreCheck m_result;
    long long m_rowsWithNotices = 0;
    std::map<std::string, HeaderRow> m_stored;
    std::map<std::string, LineGroup> m_storedLines;
    std::map<std::string, std::vector<HeaderRow>> m_history;
    std::map<std::string, LineGroup> m_historyLines;
    std::set<std::string> m_historyLinesUsed;
    std::set<std::string> m_notices;
    std::map<std::string, std::pair<long long, long long>> m_counters;
    std::map<std::string, std::set<long long>> m_numbers;
    std::map<std::string, std::set<long long>> m_historyNumbers;
};

}  // namespace

std::string SavedState::Id() const { return "W" + std::to_string(worker) + "Q" + std::to_string(serial); }
std::string SavedState::Title() const { return Id() + "S" + std::to_string(state); }
std::string SavedState::LineName(int index) const { return Title() + ":" + twoDigits(index + 1); }
std::string SavedState::Date(int period) const {
    return (period == 0 ? "202412" : "202506") + twoDigits(1 + state % 28);
}

std::optional<SavedState> ParseTitle(const std::string& title) {
    SavedState s;
    int consumed = 0;
    if (std::sscanf(title.c_str(), "W%dQ%dS%d%n", &s.worker, &s.serial, &s.state, &consumed) != 3 ||
        consumed != static_cast<int>(title.size()) || s.Title() != title)
        return std::nullopt;
    return s;
}

std::string BaseDateOfPeriod(int period) { return period == 0 ? "20250331" : "20260331"; }

int PeriodOfBaseDate(const std::string& baseDate) {
    for (int period : {0, 1})
        if (baseDate == BaseDateOfPeriod(period)) return period;
    return -1;
}

StoreCheck CheckSavedStates(DataAccess& access, CounterMarks& marks, const OtherTitles* otherTitles) {
    return Checker(access, marks, otherTitles).run();
}

}  // namespace velmora::test
