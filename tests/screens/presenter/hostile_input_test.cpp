#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "../lookup/lookup_fakes.h"
#include "data/sql_text.h"
#include "screen_fixture.h"
#include "screens/entry/entry_fields.h"
#include "screens/entry/session_bridge.h"
#include "screens/lookup/lookup_data.h"
#include "text/byte_limit.h"
#include "text/control_chars.h"
#include "text/input_filters.h"
#include "text/utf8.h"

// What users paste into search and entry fields, typed into every search
// field of the lookup windows and every text field of the entry screen: no
// statement may fail, a search must find exactly the rows that hold the text,
// and a saved text must come back as stored.
namespace velmora::test {
namespace {

using namespace std::string_literals;

struct Hostile {
    const char* what;
    std::string text;
};

std::string Repeated(const std::string& unit, std::size_t chars) {
    std::string out;
    while (CharCount(out) + CharCount(unit) <= chars) out += unit;
    return out + std::string(LeftChars(unit, chars - CharCount(out)));
}

const std::vector<Hostile>& Inputs() {
    static const std::vector<Hostile> inputs = {
        {"apostrophe", "O'Brien"},
        {"apostrophe, other case", "o'BRIEN"},
        {"backslash apostrophe", "\\'"},
        {"backslash percent", "\\%"},
        {"percent", "100%"},
        {"brackets", "[A-Z]"},
        {"double quotes", "\"見積\""},
        {"always true", "' OR 1=1 --"},
        {"NUL", "見\0積"s},
        {"pasted lines", "LANケーブル\n3m\r\n\r\n青"},
        {"DEL", "ab\x7f"},
        {"emoji", "😀"},
        {"invalid bytes", "ｱ\xff\xfeｲ"},
        {"overlong apostrophe", "\xc0\xa7 OR 1=1"},
        {"half-width kana", "ｶﾞｽﾎﾞﾝﾍﾞ"},
        {"full-width letters", "ＵＳＢ"},
        {"byte order mark", "\xef\xbb\xbf見積"},
        {"blanks around", "  見積  "},
        {"only blanks and controls", " \t\r\n "},
        {"10,000 characters", Repeated("見積'ｶﾞ😀A\\", 10000)},
        {"10,000 wildcards", Repeated("%_'", 10000)},
    };
    return inputs;
}

// The LIKE of the lookup searches as both engines run it: "%" any run of
// characters, "_" one character, ASCII letters in either case, no escape.
std::u32string Folded(std::string_view text) {
    std::u32string out;
    for (const Utf8Char& c : CodePoints(text))
        out.push_back(c.code >= U'A' && c.code <= U'Z' ? c.code + 32 : c.code);
    return out;
}

bool Like(std::string_view text, std::string_view pattern) {
    const std::u32string t = Folded(text), p = Folded(pattern);
    std::size_t ti = 0, pi = 0, star = std::u32string::npos, mark = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] == U'%') {
            star = pi++;
            mark = ti;
        } else if (pi < p.size() && (p[pi] == U'_' || p[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (star != std::u32string::npos) {
            pi = star + 1;
            ti = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'%') ++pi;
    return pi == p.size();
}

std::string TableOf(const std::string& column) {
    const auto dot = column.find('.');
    return dot == std::string::npos ? std::string() : column.substr(0, dot);
}

std::string Bare(const std::string& column) {
    const auto dot = column.find('.');
    return dot == std::string::npos ? column : column.substr(dot + 1);
}

// Tables whose row count differs: "table +n; ".
std::string Delta(const std::map<std::string, long long>& before,
                  const std::map<std::string, long long>& after) {
    std::string out;
    for (const auto& [table, n] : after) {
        auto it = before.find(table);
        const long long was = it == before.end() ? 0 : it->second;
        if (n != was) out += table + (n > was ? " +" : " ") + std::to_string(n - was) + "; ";
    }
    for (const auto& [table, n] : before)
        if (!after.count(table)) out += table + " dropped; ";
    return out;
}

// The field whose condition a field's text goes into: the first word field
// for the second word.
const FieldDescription& Searched(const WindowDescription& w, const FieldDescription& f) {
    if (f.role == FieldRole::Part)
        for (const auto& first : w.fields)
            if (first.secondField == f.name) return first;
    return f;
}

class HostileInputTest : public ScreenTest {
protected:
    DataAccess& access() { return program->access(); }

    // The first column of a statement on the business database (or the program's own).
    std::vector<std::string> Column(const std::string& sql, bool config = false) {
        std::vector<std::string> values;
        std::unique_ptr<Recordset> rs;
        if (config ? access().OpenConfigRecordset(rs, sql) : access().OpenDataRecordset(rs, sql))
            for (; !rs->eof(); rs->moveNext()) values.push_back(rs->text(size_t{0}));
        if (rs) rs->close();
        return values;
    }

    // Rows in every business table, by table.
    std::map<std::string, long long> Counts() {
        const bool sqlite = access().dataEngine() == EngineKind::SQLite;
        std::map<std::string, long long> counts;
        for (const std::string& table :
             Column(sqlite ? "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'"
                           : "SELECT tablename FROM pg_tables WHERE schemaname = 'public'")) {
            const auto n = Column("SELECT COUNT(*) FROM " + table);
            counts[table] = n.empty() ? -1 : std::stoll(n[0]);
        }
        return counts;
    }

    // The error rows of the operation log so far.
    std::vector<std::string> ErrorRows() {
        return Column("SELECT 摘要 FROM プログラム稼動履歴 WHERE 摘要 LIKE 'エラー%'", true);
    }

    // Fails with the rows written since `before` held its rows.
    void ExpectNoNewErrorRows(std::size_t& before, const std::string& where) {
        const std::vector<std::string> rows = ErrorRows();
        for (std::size_t i = before; i < rows.size(); ++i)
            ADD_FAILURE() << where << ": error row " << rows[i].substr(0, 600);
        before = rows.size();
    }
};

// ---- the lookup windows -----------------------------------------------------

// One row of a window's list as the search sees it: its key and the values of
// the columns the searched field compares (nothing for a NULL).
struct SourceRow {
    std::string key;
    std::vector<std::optional<std::string>> values;
};

class HostileSearchTest : public HostileInputTest {
protected:
    // Puts the hostile texts, as they can be stored, into every second row of
    // each table whose text columns a window searches.
    void Seed() {
        struct Target {
            std::vector<std::string> keys;
            std::set<std::string> columns;
        };
        std::map<std::string, Target> targets;
        std::map<std::string, std::string> historyTables;  // table -> window, for the check below
        for (LookupWindowId id : AllLookupWindows()) {
            const WindowDescription& w = DescribeWindow(id);
            if (w.history) {
                for (const auto& c : w.history->textColumns)
                    targets[w.history->table].columns.insert(Bare(c));
                historyTables[w.history->table] = w.title;
                continue;
            }
            for (const FieldDescription& f : w.fields) {
                if (f.kind != FieldKind::Text || f.columns.empty()) continue;
                Target& t = targets[TableOf(f.columns.front())];
                for (const auto& c : f.columns) t.columns.insert(Bare(c));
                if (t.keys.empty()) t.keys = w.keyColumns;
            }
        }
        std::vector<std::string> seeds;
        for (const Hostile& input : Inputs()) {
            const std::string seed = TrimRight(FitToBytes(StripControlCharacters(input.text), 40));
            if (!TrimBlanks(seed).empty()) seeds.push_back(seed);
        }
        ASSERT_TRUE(access().BeginDataTransaction());
        for (const auto& [table, target] : targets) {
            ASSERT_FALSE(target.keys.empty())
                << table << " (" << historyTables[table] << ") has no window with its key";
            std::string keyList;
            for (std::size_t k = 0; k < target.keys.size(); ++k) keyList += (k ? ", " : "") + target.keys[k];
            std::unique_ptr<Recordset> rs;
            std::vector<std::vector<std::string>> keys;
            if (access().OpenDataRecordset(rs,
                                           "SELECT " + keyList + " FROM " + table + " ORDER BY " + keyList))
                for (; !rs->eof(); rs->moveNext()) {
                    keys.emplace_back();
                    for (std::size_t k = 0; k < target.keys.size(); ++k) keys.back().push_back(rs->text(k));
                }
            if (rs) rs->close();
            for (std::size_t row = 0; row < keys.size(); row += 2) {
                std::string sql = "UPDATE " + table + " SET ";
                std::size_t c = 0;
                for (const auto& column : target.columns) {
                    sql += (c ? ", " : "") + column + " = '" +
                           QuoteSql(seeds[(row / 2 + c * 5) % seeds.size()]) + "'";
                    ++c;
                }
                for (std::size_t k = 0; k < target.keys.size(); ++k)
                    sql += (k ? " AND " : " WHERE ") + target.keys[k] + " = '" + QuoteSql(keys[row][k]) + "'";
                ASSERT_TRUE(access().ExecuteData(sql)) << sql;
            }
        }
        ASSERT_TRUE(access().CommitDataTransaction());
    }

    // The rows a field's search compares, read straight from its table.
    std::vector<SourceRow> Sources(const WindowDescription& w, const FieldDescription& f) {
        struct Query {
            std::string sql;
            std::size_t keys, values;
        };
        std::vector<Query> queries;
        auto select = [](const std::vector<std::string>& keys, const std::vector<std::string>& values) {
            std::string sql = "SELECT ";
            for (std::size_t i = 0; i < keys.size(); ++i)
                sql += (i ? ", " : "") + keys[i] + " AS k" + std::to_string(i);
            for (std::size_t i = 0; i < values.size(); ++i)
                sql += ", " + values[i] + " AS v" + std::to_string(i);
            return sql;
        };
        if (w.history) {
            const HistoryDescription& h = *w.history;
            queries.push_back({select({h.column}, h.textColumns) + " FROM " + h.table + " WHERE " +
                                   h.dateColumn + " <> '' AND " + h.nonEmptyTest,
                               1, h.textColumns.size()});
        } else {
            const FieldDescription& searched = Searched(w, f);
            const std::string table = TableOf(searched.columns.front());
            std::vector<std::string> keys;
            for (const auto& k : w.keyColumns) keys.push_back(table + "." + k);
            std::vector<std::string> values = searched.columns;
            if (searched.form == ConditionForm::CodeAndBox) values.push_back(searched.boxColumn);
            queries.push_back({select(keys, values) + " FROM " + table, keys.size(), values.size()});
            if (searched.form == ConditionForm::Telephone)
                queries.push_back(
                    {select({searched.contactKey}, {"電話番号"}) + " FROM " + searched.contactTable, 1, 1});
        }
        std::vector<SourceRow> rows;
        for (const Query& q : queries) {
            std::unique_ptr<Recordset> rs;
            const bool found = access().OpenDataRecordset(rs, q.sql);
            // A master always has rows; its contacts need not.
            if (&q == &queries.front()) {
                EXPECT_TRUE(found) << q.sql;
            }
            for (; found && !rs->eof(); rs->moveNext()) {
                SourceRow row{"C", {}};
                for (std::size_t k = 0; k < q.keys; ++k) row.key += rs->text("k" + std::to_string(k));
                for (std::size_t v = 0; v < q.values; ++v)
                    row.values.push_back(rs->value("v" + std::to_string(v)));
                rows.push_back(std::move(row));
            }
            if (rs) rs->close();
        }
        return rows;
    }

    // Whether a row answers the field's search for the value the field holds.
    static bool Answers(const FieldDescription& f, const std::string& held, const SourceRow& row) {
        const auto& v = row.values;
        auto any = [&](const std::function<bool(const std::string&)>& test) {
            return std::any_of(v.begin(), v.end(), [&](const auto& value) { return value && test(*value); });
        };
        const std::string literal = TrimRight(held);
        switch (f.form) {
            case ConditionForm::Like:
            case ConditionForm::Words:
                return any(
                    [&](const std::string& value) { return Like(value, "%" + TrimBlanks(held) + "%"); });
            case ConditionForm::Onward:
                return any([&](const std::string& value) { return value >= literal; });
            case ConditionForm::Exact:
                return any([&](const std::string& value) { return value == literal; });
            case ConditionForm::ExactOrUnassigned:
                return any([&](const std::string& value) { return value == literal || value.empty(); });
            case ConditionForm::Telephone:
                return any([&](const std::string& value) {
                    return value.find(DigitsOnly(held)) != std::string::npos;
                });
            case ConditionForm::CodeAndBox:
                return v[0] && *v[0] == literal && v[1] && *v[1] == "0";
        }
        return false;
    }
};

std::set<std::string> Keys(const std::vector<LookupRow>& rows) {
    std::set<std::string> keys;
    for (const auto& row : rows) keys.insert(row.key);
    return keys;
}

std::string Difference(const std::set<std::string>& expected, const std::set<std::string>& found) {
    std::ostringstream out;
    out << "expected " << expected.size() << " rows, found " << found.size();
    for (const auto& k : expected)
        if (!found.count(k)) {
            out << "; missing " << k.substr(0, 80);
            break;
        }
    for (const auto& k : found)
        if (!expected.count(k)) {
            out << "; not expected " << k.substr(0, 80);
            break;
        }
    return out.str();
}

TEST_P(HostileSearchTest, EverySearchFieldFindsExactlyTheRowsHoldingTheText) {
    Seed();
    if (HasFatalFailure()) return;
    const auto countsBefore = Counts();
    std::size_t errors = ErrorRows().size();
    DataAccessLookupData data(access());
    LookupSession session = MakeLookupSession(program->session());
    FakeViewFactory views;
    LookupWindows windows(session, data, views);
    FakeHost entry;
    int narrowed = 0;
    for (LookupWindowId id : AllLookupWindows()) {
        const WindowDescription& w = DescribeWindow(id);
        if (w.fields.empty()) continue;
        windows.open(id, entry, "", "target", "next");
        FakeLookupView& view = *views.views.at(id);
        LookupPresenter& presenter = view.presenter;
        // The history windows list every period; what the window lists with
        // empty fields is what each search narrows.
        if (w.history) {
            presenter.onPeriodChanged(static_cast<int>(HistoryPeriods().size()) - 1);
            presenter.onButton(LookupPresenter::kCompoundButton);
        }
        const std::set<std::string> all = Keys(presenter.rows());
        ASSERT_FALSE(all.empty()) << w.title;
        ASSERT_LT(all.size(), static_cast<std::size_t>(LookupPresenter::kMaxRows)) << w.title;
        for (const FieldDescription& f : w.fields) {
            const std::vector<SourceRow> sources = Sources(w, f);
            const FieldDescription& searched = Searched(w, f);
            const std::string button = f.role == FieldRole::Search && !f.button.empty()
                                           ? f.button
                                           : LookupPresenter::kCompoundButton;
            for (const Hostile& input : Inputs()) {
                const std::string where = w.title + " " + f.name + " <" + input.what + ">";
                view.type(f.name, input.text);
                view.leave(f.name);
                // What the field searches with: never a control character or a
                // broken byte, which would cut or break the statement.
                const std::string held = presenter.values().field(f.name);
                EXPECT_EQ(held, StripControlCharacters(held)) << where;
                presenter.onButton(button);
                std::set<std::string> expected;
                const bool everything = searched.form == ConditionForm::Telephone ? DigitsOnly(held).empty()
                                                                                  : TrimBlanks(held).empty();
                for (const SourceRow& row : sources)
                    if (all.count(row.key) && (everything || Answers(searched, held, row)))
                        expected.insert(row.key);
                const std::set<std::string> found = Keys(presenter.rows());
                EXPECT_TRUE(found == expected) << where << ": " << Difference(expected, found) << "\n"
                                               << presenter.lastQuery().substr(0, 400);
                if (!expected.empty() && expected.size() < all.size()) ++narrowed;
                // The negative search of a history window lists the texts of
                // the rows that hold the text in none of their columns.
                if (w.history && !everything) {
                    presenter.onButton(LookupPresenter::kNegativeButton);
                    std::set<std::string> others;
                    for (const SourceRow& row : sources)
                        if (std::all_of(row.values.begin(), row.values.end(), [&](const auto& value) {
                                return value && !Like(*value, "%" + TrimBlanks(held) + "%");
                            }))
                            others.insert(row.key);
                    const std::set<std::string> negative = Keys(presenter.rows());
                    EXPECT_TRUE(negative == others) << where << " negative: " << Difference(others, negative);
                }
                ExpectNoNewErrorRows(errors, where);
                view.type(f.name, "");
                view.leave(f.name);
            }
        }
        presenter.onEscape();
    }
    const std::string changed = Delta(countsBefore, Counts());
    EXPECT_TRUE(changed.empty()) << "a search changed the database: " << changed;
    EXPECT_GT(narrowed, 0) << "no search found some rows and left others";
}

INSTANTIATE_TEST_SUITE_P(Engines, HostileSearchTest, testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         EngineName);

// ---- the entry screen -------------------------------------------------------

// The quotation's member behind each text field of the entry screen; the
// grid's fields on the first line.
std::string* Member(Quotation& q, const EntryField& f) {
    using H = QuotationHeader;
    using L = QuotationLine;
    static const std::map<std::string, std::string H::*> header = {
        {"得意先名称A", &H::得意先名称A},     {"得意先名称B", &H::得意先名称B},
        {"御担当者名", &H::御担当者名},       {"納品先名称A", &H::納品先名称A},
        {"納品先名称B", &H::納品先名称B},     {"タイトル", &H::タイトル},
        {"見積条件", &H::見積条件},           {"見積納期", &H::見積納期},
        {"見積期限", &H::見積期限},           {"見積伝票備考A", &H::見積伝票備考A},
        {"見積伝票備考B", &H::見積伝票備考B}, {"営業見積メモ", &H::営業見積メモ},
    };
    static const std::map<std::string, std::string L::*> line = {{"商品名", &L::商品名},
                                                                 {"見積単位", &L::見積単位},
                                                                 {"仕入先名称A", &L::仕入先名称A},
                                                                 {"仕入単位", &L::仕入単位}};
    if (f.region == EntryRegion::Row) {
        auto it = line.find(f.name);
        return it == line.end() ? nullptr : &(q.lines[0].*(it->second));
    }
    auto it = header.find(f.name);
    return it == header.end() ? nullptr : &(q.header.*(it->second));
}

std::vector<EntryField> TextFields() {
    std::vector<EntryField> fields;
    for (const auto* table : {&HeaderFields(), &RowFields(), &MemoFields(), &TailFields()})
        for (const EntryField& f : *table)
            if (f.kind == EntryFieldKind::Text || f.kind == EntryFieldKind::Memo) fields.push_back(f);
    return fields;
}

// What a field keeps of a typed text: no control character or broken byte
// (the memo keeps its line breaks), cut to the field's byte limit.
std::string Kept(const EntryField& f, const std::string& typed) {
    const std::string clean =
        StripControlCharacters(typed, f.kind == EntryFieldKind::Memo ? LineBreaks::Keep : LineBreaks::Remove);
    return f.maxBytes > 0 ? FitToBytes(clean, f.maxBytes) : clean;
}

class HostileEntryTest : public HostileInputTest {
protected:
    // A new quotation on one product line with the text in every text field;
    // saved, its number.
    std::string EnterAndSave(const std::string& text, const std::string& where) {
        EnterQuotation();
        for (const EntryField& f : TextFields()) {
            const Control control{f.name, f.region == EntryRegion::Row ? 0 : -1};
            if (f.region == EntryRegion::Row) presenter->PageChosen(f.page == 2 ? kPagePurchase : kPageSales);
            if (f.region == EntryRegion::Memo) presenter->PageChosen(kPageMemo);
            Fill(control, text);
            const std::string* member = Member(quotation(), f);
            if (!member) {
                ADD_FAILURE() << f.name << " has no member";
                continue;
            }
            EXPECT_EQ(*member, Kept(f, text)) << where << " " << f.name << " as it is left";
            EXPECT_EQ(Text(control), *member) << where << " " << f.name << " as shown";
        }
        presenter->PageChosen(kPageSales);
        const std::string number = Text({"営業見積No"});
        Save();
        EXPECT_TRUE(state().NewEntry && !state().Changed) << where << ": not saved: " << view.notice;
        return number;
    }

    // Opens the stored quotation and compares every text field with what was typed.
    void ExpectStored(const std::string& number, const std::string& text, const std::string& where) {
        Fill({"営業見積No"}, number);
        ASSERT_FALSE(state().NewEntry) << where << ": quotation " << number << " not found";
        for (const EntryField& f : TextFields()) {
            if (const std::string* member = Member(quotation(), f)) {
                EXPECT_EQ(*member, TrimRight(Kept(f, text))) << where << " " << f.name << " read back";
            }
        }
        Press("btn_画面クリア");
    }
};

TEST_P(HostileEntryTest, EveryTextFieldStoresWhatWasTypedAndNothingElse) {
    std::size_t errors = ErrorRows().size();
    // An ordinary quotation shows which rows a save writes (the first save of
    // the period also starts its numbering).
    ExpectStored(EnterAndSave("見積", "plain"), "見積", "plain");
    auto counts = Counts();
    ExpectStored(EnterAndSave("見積", "plain"), "見積", "plain");
    auto after = Counts();
    const std::string written = Delta(counts, after);
    ASSERT_FALSE(written.empty());
    ExpectNoNewErrorRows(errors, "plain");
    for (const Hostile& input : Inputs()) {
        const std::string where = "<"s + input.what + ">";
        counts = after;
        const std::string number = EnterAndSave(input.text, where);
        ExpectStored(number, input.text, where);
        after = Counts();
        const std::string delta = Delta(counts, after);
        EXPECT_TRUE(delta == written) << where << ": the save wrote " << delta << "instead of " << written;
        ExpectNoNewErrorRows(errors, where);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, HostileEntryTest, testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         EngineName);

}  // namespace
}  // namespace velmora::test
