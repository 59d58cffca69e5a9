// ExtractCondition, the take-over of an opener's condition by a lookup
// window. The last input byte chooses the form: odd bytes make a condition
// the way the screens write them (comparisons of one table's columns joined
// by AND and OR, parenthesised OR groups, EXISTS subqueries, values quoted
// with QuoteSql), even bytes hand over the remaining bytes as they are.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "data/sql_text.h"
#include "fuzz_support.h"
#include "screens/lookup/condition_builder.h"
#include "screens/lookup/window_description.h"

namespace velmora::fuzz {
namespace {

constexpr std::string_view kExists = "EXISTS (SELECT * FROM X";
// Longer operators first, so that " <> " is not read as " < ".
const std::vector<std::string> kOperators = {
    " NOT LIKE ", " LIKE ", " >= ", " <= ", " <> ", " = ", " > ", " < "};

// The columns of each window's extractions, and of the conditions its opener writes.
std::vector<std::vector<std::string>> ColumnSets() {
    std::vector<std::vector<std::string>> sets;
    for (LookupWindowId id : AllLookupWindows()) {
        std::set<std::string> columns;
        for (const Extraction& x : DescribeWindow(id).extractions) columns.insert(x.column);
        if (columns.empty()) continue;
        const std::string table = columns.begin()->substr(0, columns.begin()->find('.'));
        columns.insert(table + ".番号基準日付");
        columns.insert(table + ".在庫場所区分");
        sets.emplace_back(columns.begin(), columns.end());
    }
    return sets;
}

const std::vector<std::vector<std::string>>& Columns() {
    static const auto sets = ColumnSets();
    return sets;
}

struct Comparison {
    std::string column;
    std::string op;
    std::string literal;  // with its quotes
    friend bool operator==(const Comparison&, const Comparison&) = default;
};

// Reads a condition of the grammar the generator writes; an empty text is
// the empty condition.
class ConditionReader {
  public:
    ConditionReader(std::string_view text, const std::vector<std::string>& columns)
        : m_text(text), m_columns(columns) {}

    bool read(std::vector<Comparison>& comparisons) {
        eat(" ");
        if (m_pos == m_text.size()) return true;
        return condition(comparisons) && m_pos == m_text.size();
    }

  private:
    bool eat(std::string_view token) {
        if (m_text.substr(m_pos, token.size()) != token) return false;
        m_pos += token.size();
        return true;
    }
    bool condition(std::vector<Comparison>& out) {
        if (!term(out)) return false;
        while (eat(" AND ") || eat(" OR "))
            if (!term(out)) return false;
        return true;
    }
    bool term(std::vector<Comparison>& out) {
        if (eat("(")) return condition(out) && eat(")");
        // A subquery may lose its only comparison, and its WHERE with it.
        if (eat(kExists)) return (eat(")") || (eat(" WHERE ") && condition(out) && eat(")")));
        Comparison c;
        for (const auto& column : m_columns)
            if (column.size() > c.column.size() && m_text.substr(m_pos, column.size()) == column)
                c.column = column;
        if (c.column.empty()) return false;
        m_pos += c.column.size();
        for (const auto& op : kOperators)
            if (eat(op)) {
                c.op = op;
                break;
            }
        if (c.op.empty() || !eat("'")) return false;
        const std::size_t start = m_pos - 1;
        while (m_pos < m_text.size()) {
            if (eat("''")) continue;
            if (eat("'")) {
                c.literal = std::string(m_text.substr(start, m_pos - start));
                out.push_back(c);
                return true;
            }
            ++m_pos;
        }
        return false;
    }

    std::string_view m_text;
    const std::vector<std::string>& m_columns;
    std::size_t m_pos = 0;
};

// The value a comparison carries, as ExtractCondition hands it back.
std::string ValueOf(const Comparison& c) {
    std::string value;
    for (std::size_t i = 1; i + 1 < c.literal.size(); ++i) {
        if (c.literal[i] == '\'') ++i;
        value += c.literal[i];
    }
    if (c.op == " LIKE ") value.erase(std::remove(value.begin(), value.end(), '%'), value.end());
    return value;
}

// Values as typed into code and name fields, with the characters that
// matter to statements: quotes, percents, parentheses, connectors.
std::string Value(FuzzedDataProvider& in) {
    static const char* const kPieces[] = {"0", "1", "9", "A", "z", "ｱ",     "漢",   "'", "%",
                                          "(", ")", " ", "=", "<", " AND ", " OR ", "_"};
    std::string value;
    const int n = in.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < n; ++i)
        value += kPieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];
    return value;
}

std::string ComparisonText(FuzzedDataProvider& in, const std::string& column) {
    const std::string& op = kOperators[in.ConsumeIntegralInRange<std::size_t>(0, kOperators.size() - 1)];
    const bool like = op.find("LIKE") != std::string::npos;
    const std::string value = QuoteSql(Value(in));
    return column + op + "'" + (like ? "%" + value + "%" : value) + "'";
}

std::string ConditionText(FuzzedDataProvider& in, const std::vector<std::string>& columns, int depth) {
    const auto column = [&] {
        return columns[in.ConsumeIntegralInRange<std::size_t>(0, columns.size() - 1)];
    };
    std::string text;
    const int terms = in.ConsumeIntegralInRange(1, 4);
    for (int t = 0; t < terms; ++t) {
        if (t > 0) text += in.ConsumeIntegralInRange(0, 3) == 0 ? " OR " : " AND ";
        switch (depth < 2 ? in.ConsumeIntegralInRange(0, 5) : 0) {
            case 4: {  // (col = 'x' OR col = '')
                const std::string c = column();
                text += "(" + ComparisonText(in, c) + " OR " + c + " = '')";
                break;
            }
            case 5:
                text += in.ConsumeBool()
                            ? "(" + ConditionText(in, columns, depth + 1) + ")"
                            : std::string(kExists) + " WHERE " + ConditionText(in, columns, depth + 1) + ")";
                break;
            default:
                text += ComparisonText(in, column());
        }
    }
    return text;
}

void CheckGenerated(FuzzedDataProvider& in) {
    const auto& sets = Columns();
    const auto& columns = sets[in.ConsumeIntegralInRange<std::size_t>(0, sets.size() - 1)];
    const std::string column = columns[in.ConsumeIntegralInRange<std::size_t>(0, columns.size() - 1)];
    const std::string given =
        (in.ConsumeIntegralInRange(0, 5) == 0 ? " " : "") + ConditionText(in, columns, 0);

    std::vector<Comparison> before;
    Check(ConditionReader(given, columns).read(before), "the generated condition reads back", given);
    std::string condition = given;
    const std::string value = ExtractCondition(column, condition);

    std::vector<Comparison> after;
    Check(ConditionReader(condition, columns).read(after), "what is left is a whole condition or nothing",
          given + "  ->  " + condition);
    Check(SplitSql(condition, false).balanced, "parentheses stay paired", condition);
    auto next = before.begin();
    for (const Comparison& c : after) {
        next = std::find(next, before.end(), c);
        Check(next != before.end(), "what is left are comparisons of the condition, in order", condition);
        ++next;
    }

    std::vector<std::string> values;
    for (const Comparison& c : before)
        if (c.column == column && c.op != " <> " && c.op != " NOT LIKE ") values.push_back(ValueOf(c));
    if (values.empty()) {
        Check(value.empty() && condition == given, "a condition without the column stays as it was",
              condition);
        return;
    }
    Check(std::find(values.begin(), values.end(), value) != values.end(), "the value is one of the column's",
          given + "  ->  " + value);
    const auto ofColumn = [&](const std::vector<Comparison>& list) {
        return std::count_if(list.begin(), list.end(),
                             [&](const Comparison& c) { return c.column == column; });
    };
    Check(ofColumn(after) < ofColumn(before), "the comparison taken is gone", condition);
}

void CheckRaw(FuzzedDataProvider& in) {
    const auto& sets = Columns();
    const auto& columns = sets[in.ConsumeIntegralInRange<std::size_t>(0, sets.size() - 1)];
    const std::string column = columns[in.ConsumeIntegralInRange<std::size_t>(0, columns.size() - 1)];
    const std::string given = in.ConsumeRemainingBytesAsString();
    std::string condition = given;
    const std::string value = ExtractCondition(column, condition);
    if (given.find(column) == std::string::npos)
        Check(value.empty() && condition == given, "a condition without the column stays as it was",
              condition);
    if (IsWellFormedUtf8(given)) {
        Check(IsWellFormedUtf8(condition) && IsWellFormedUtf8(value), "well-formed text stays well-formed");
        Check(condition.size() + value.size() <= given.size(),
              "the value and the rest come out of the condition");
    }
}

}  // namespace
}  // namespace velmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeIntegral<std::uint8_t>() % 2 == 1)
        velmora::fuzz::CheckGenerated(input);
    else
        velmora::fuzz::CheckRaw(input);
    return 0;
}
