#include "screens/lookup/condition_builder.h"

#include "data/clock.h"
#include "data/sql_text.h"
#include "text/input_filters.h"
#include "text/utf8.h"

namespace velmora {

std::string SearchValues::field(const std::string& name) const {
    auto it = fields.find(name);
    return it == fields.end() ? std::string() : it->second;
}

bool SearchValues::box(const std::string& name) const {
    auto it = boxes.find(name);
    return it != boxes.end() && it->second;
}

namespace {

// The query text and whether it already holds a WHERE clause; every piece
// after the base is appended in its AND or its WHERE form.
class Assembler {
public:
    Assembler(std::string base, bool whereStarted) : m_sql(std::move(base)), m_whereStarted(whereStarted) {}
    void add(const std::string& condition) {
        if (condition.empty()) return;
        m_sql += m_whereStarted ? " AND " : " WHERE ";
        m_sql += condition;
        m_whereStarted = true;
    }
    void append(const std::string& text) { m_sql += text; }
    std::string take() { return std::move(m_sql); }

private:
    std::string m_sql;
    bool m_whereStarted;
};

// Codes and dates are inserted as stored; their apostrophes are still
// doubled, because product codes are taken as typed.
std::string CodeLiteral(const std::string& value) { return QuoteSql(value); }
// Free text: trimmed and quoted.
std::string TextLiteral(const std::string& value) { return QuoteSql(TrimBlanks(value)); }

std::string LikeGroup(const std::vector<std::string>& columns, const std::string& x, bool negative) {
    const std::string op = negative ? " NOT LIKE '%" : " LIKE '%";
    const std::string joint = negative ? " AND " : " OR ";
    if (columns.size() == 1) return columns[0] + op + x + "%'";
    std::string out = "(";
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) out += joint;
        out += columns[i] + op + x + "%'";
    }
    return out + ")";
}

std::string TableOf(const std::string& column) {
    const auto dot = column.find('.');
    return dot == std::string::npos ? std::string() : column.substr(0, dot);
}

bool Blank(const std::string& value) { return TrimBlanks(value).empty(); }

// The condition of one field in its positive or negated form; empty when the
// field holds nothing.
std::string FieldCondition(const FieldDescription& f, const SearchValues& values, bool negative, bool compound) {
    if (f.columns.empty()) return {};
    const std::string x = values.field(f.name);
    if (f.form == ConditionForm::Words) {
        std::vector<std::string> words;
        if (!Blank(x)) words.push_back(TextLiteral(x));
        const std::string second = values.field(f.secondField);
        if (!Blank(second)) words.push_back(TextLiteral(second));
        if (words.empty()) return {};
        if (words.size() == 1) return LikeGroup(f.columns, words[0], negative);
        const bool narrow = negative || values.box(f.narrowBox);
        return "(" + LikeGroup(f.columns, words[0], negative) + (narrow ? " AND " : " OR ") +
               LikeGroup(f.columns, words[1], negative) + ")";
    }
    if (Blank(x)) return {};
    const std::string& col = f.columns.front();
    switch (f.form) {
        case ConditionForm::Onward:
            return col + (negative ? " < '" : " >= '") + CodeLiteral(x) + "'";
        case ConditionForm::Exact:
            return col + (negative ? " <> '" : " = '") + CodeLiteral(x) + "'";
        case ConditionForm::ExactOrUnassigned: {
            const std::string v = CodeLiteral(x);
            return negative ? "(" + col + " <> '" + v + "' AND " + col + " <> '')"
                            : "(" + col + " = '" + v + "' OR " + col + " = '')";
        }
        case ConditionForm::Like:
            return LikeGroup(f.columns, TextLiteral(x), negative);
        case ConditionForm::Telephone: {
            const std::string d = DigitsOnly(x);
            if (d.empty()) return {};
            const std::string table = TableOf(col);
            const std::string contacts = "EXISTS (SELECT * FROM " + f.contactTable + " WHERE " + f.contactKey +
                                         " = " + table + ".コード AND 電話番号 LIKE '%" + d + "%')";
            return negative ? "(" + col + " NOT LIKE '%" + d + "%' AND NOT " + contacts + ")"
                            : "(" + col + " LIKE '%" + d + "%' OR " + contacts + ")";
        }
        case ConditionForm::CodeAndBox: {
            const std::string v = CodeLiteral(x);
            const std::string b = values.box(f.box) ? "1" : "0";
            if (negative) return "(" + col + " <> '" + v + "' OR " + f.negativeBoxColumn + " <> '" + b + "')";
            if (compound && !f.boxInCompound) return col + " = '" + v + "'";
            return col + " = '" + v + "' AND " + f.boxColumn + " = '" + b + "'";
        }
        case ConditionForm::Words:
            break;
    }
    return {};
}

std::string FilterCondition(const FilterDescription& f, const SearchValues& values, bool negative) {
    auto valueIt = values.filters.find(f.name);
    auto allIt = values.filterAll.find(f.name);
    if (valueIt == values.filters.end() || allIt == values.filterAll.end()) return {};
    const int n = valueIt->second;
    const int all = allIt->second;
    if (n != all) return f.column + (negative ? " <> '" : " = '") + std::to_string(n) + "'";
    if (negative && f.negativeAllAtOrAbove) return f.column + " >= '" + std::to_string(all) + "'";
    return {};
}

std::string OfficeCondition(const WindowDescription& w, const QueryContext& context) {
    const std::string head = ZeroCode(3);
    switch (w.office) {
        case OfficeRule::None:
            return {};
        case OfficeRule::CurrentOffice:
            if (context.currentOffice == head) return {};
            return w.officeColumn + " = '" + CodeLiteral(context.currentOffice) + "'";
        case OfficeRule::OperatingOrHead:
            if (context.operatingOffice == head) return {};
            return "(" + w.officeColumn + " = '" + CodeLiteral(context.operatingOffice) + "' OR " + w.officeColumn +
                   " = '" + head + "')";
    }
    return {};
}

std::string OrderBy(const WindowDescription& w, const std::string& own, const QueryContext& context) {
    std::string prefix;
    if (!w.sortPrefixTable.empty()) {
        if (context.condition.find("得意先コード") != std::string::npos)
            prefix = w.sortPrefixTable + ".得意先コード DESC,";
        else if (context.condition.find("仕入先コード") != std::string::npos)
            prefix = w.sortPrefixTable + ".仕入先コード DESC,";
    }
    return " ORDER BY " + prefix + own;
}

std::string HistoryQuery(const WindowDescription& w, const HistoryDescription& h, bool negative,
                         const SearchValues& values, const QueryContext& context) {
    const auto& periods = HistoryPeriods();
    const int option = values.period >= 0 && values.period < static_cast<int>(periods.size())
                           ? values.period
                           : static_cast<int>(periods.size()) - 1;
    const int months = periods[static_cast<size_t>(option)].months;
    std::string sql = w.select + w.fromJoin;
    if (months == 0) {
        sql += " WHERE " + h.dateColumn + " <> ''";
    } else {
        const std::string start = MonthsBefore(context.today, months);
        const std::string& end = context.today;
        if (negative)
            sql += " WHERE (" + h.dateColumn + " < '" + start + "' OR " + h.dateColumn + " > '" + end + "')";
        else
            sql += " WHERE " + h.dateColumn + " >= '" + start + "' AND " + h.dateColumn + " <= '" + end + "'";
    }
    sql += " AND " + h.nonEmptyTest;
    const std::string text = values.field("検索文字列");
    if (!Blank(text)) {
        const std::string x = TextLiteral(text);
        if (!negative) {
            sql += " AND " + LikeGroup(h.textColumns, x, false);
        } else {
            for (const auto& c : h.textColumns) sql += " AND " + c + " NOT LIKE '%" + x + "%'";
        }
    }
    return sql + " ORDER BY " + h.orderBy;
}

}  // namespace

std::string BuildLookupQuery(const WindowDescription& w, const SearchMode& mode, const SearchValues& values,
                             const QueryContext& context) {
    const std::string& kind = context.databaseKind;
    const bool comma = kind == "O";
    if (kind != "A" && kind != "S" && !comma) return {};
    const bool negative = mode.kind == SearchMode::Kind::Negative;
    if (w.history) return HistoryQuery(w, *w.history, negative, values, context);

    Assembler query(w.select + (comma ? w.fromComma : w.fromJoin), comma && w.commaWhereStarted);
    const std::string opener =
        w.appendsCondition && !Blank(context.condition) ? "(" + context.condition + ")" : std::string();
    const std::string office = OfficeCondition(w, context);
    if (w.officeFirst) {
        query.add(office);
        query.add(opener);
    } else {
        query.add(opener);
        query.add(office);
    }

    std::string order = w.defaultOrder;
    if (mode.kind == SearchMode::Kind::Field) {
        // Only a field that searches columns of its own has a search of its
        // own; any other would list everything under its name.
        const FieldDescription* f = w.field(mode.field);
        if (!f || f->columns.empty()) return {};
        query.add(FieldCondition(*f, values, false, false));
        if (!f->orderBy.empty()) order = f->orderBy;
    } else {
        for (const auto& name : w.compoundOrder)
            if (const FieldDescription* f = w.field(name)) query.add(FieldCondition(*f, values, negative, true));
    }

    for (const auto& f : w.fields)
        if (f.role == FieldRole::Filter) query.add(FieldCondition(f, values, negative, false));
    for (const auto& f : w.filters) query.add(FilterCondition(f, values, negative));
    query.add(w.trailingCondition);
    query.append(OrderBy(w, order, context));
    return query.take();
}

namespace {

// A condition read as SQL: string literals are skipped whole (a doubled
// apostrophe stays inside), parentheses nest, and " AND ", " OR " and
// " WHERE " count only outside literals.
class ConditionText {
public:
    explicit ConditionText(const std::string& text) : m_text(text), m_depth(text.size() + 1, 0), m_quoted(text.size(), false) {
        int depth = 0;
        bool quoted = false;
        for (size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (quoted) {
                m_quoted[i] = true;
                if (c == '\'') {
                    if (i + 1 < text.size() && text[i + 1] == '\'') {
                        m_quoted[++i] = true;
                    } else {
                        quoted = false;
                    }
                }
            } else if (c == '\'') {
                quoted = true;
                m_quoted[i] = true;
            } else if (c == '(') {
                ++depth;
            } else if (c == ')') {
                m_depth[i] = depth;  // a closing parenthesis belongs to its group
                if (depth > 0) --depth;
                continue;
            }
            m_depth[i] = depth;
        }
        m_depth[text.size()] = depth;
    }

    // The first place outside literals where the text occurs.
    size_t find(std::string_view what, size_t from = 0) const {
        for (size_t at = m_text.find(what, from); at != std::string::npos; at = m_text.find(what, at + 1))
            if (!m_quoted[at]) return at;
        return std::string::npos;
    }
    // Where the literal opened at `open` ends (its closing apostrophe), or npos.
    size_t literalEnd(size_t open) const {
        for (size_t i = open + 1; i < m_text.size(); ++i) {
            if (m_text[i] != '\'') continue;
            if (i + 1 < m_text.size() && m_text[i + 1] == '\'') {
                ++i;
                continue;
            }
            return i;
        }
        return std::string::npos;
    }

    // The stretch of the group the position stands in: after its "(" or
    // " WHERE " (or the start), up to its ")" (or the end).
    std::pair<size_t, size_t> group(size_t at) const {
        // An operand that is itself a parenthesised group stands one level out.
        const bool opens = at < m_text.size() && !m_quoted[at] && m_text[at] == '(';
        const int depth = m_depth[at] - (opens ? 1 : 0);
        size_t begin = at;
        while (begin > 0) {
            const size_t i = begin - 1;
            if (!m_quoted[i] && m_text[i] == '(' && m_depth[i] == depth) break;
            if (!m_quoted[i] && m_depth[i] == depth && m_text.compare(i, kWhere.size(), kWhere) == 0 &&
                i + kWhere.size() <= at) {
                begin = i + kWhere.size();
                break;
            }
            begin = i;
        }
        size_t end = at;
        while (end < m_text.size() && !(!m_quoted[end] && m_text[end] == ')' && m_depth[end] == depth)) ++end;
        return {begin, end};
    }
    // The connector (" AND " / " OR ") of this group that ends right at
    // `at` or begins right at it; npos when none.
    size_t connectorEndingAt(size_t at, size_t groupBegin) const {
        for (std::string_view c : {kAnd, kOr})
            if (at >= groupBegin + c.size() && m_text.compare(at - c.size(), c.size(), c) == 0 &&
                !m_quoted[at - c.size()])
                return at - c.size();
        return std::string::npos;
    }
    size_t connectorLengthAt(size_t at) const {
        for (std::string_view c : {kAnd, kOr})
            if (at < m_text.size() && !m_quoted[at] && m_text.compare(at, c.size(), c) == 0) return c.size();
        return 0;
    }

    static constexpr std::string_view kAnd = " AND ";
    static constexpr std::string_view kOr = " OR ";
    static constexpr std::string_view kWhere = " WHERE ";

private:
    const std::string& m_text;
    std::vector<int> m_depth;
    std::vector<bool> m_quoted;
};

std::string Undouble(std::string_view literal) {
    std::string out;
    for (size_t i = 0; i < literal.size(); ++i) {
        out += literal[i];
        if (literal[i] == '\'' && i + 1 < literal.size() && literal[i + 1] == '\'') ++i;
    }
    return out;
}

// Takes the stretch [begin, end) out of the condition together with one
// connector of its group: the one before it, or when it stands first, the
// one after it. A group left empty goes with its parentheses, as an operand
// of the group around it.
void RemoveOperand(std::string& condition, size_t begin, size_t end) {
    const ConditionText text(condition);
    const auto [groupBegin, groupEnd] = text.group(begin);
    if (const size_t before = text.connectorEndingAt(begin, groupBegin); before != std::string::npos) {
        condition.erase(before, end - before);
        return;
    }
    if (const size_t after = text.connectorLengthAt(end); after != 0) {
        condition.erase(begin, end + after - begin);
        return;
    }
    const bool parenthesised = groupBegin > 0 && condition[groupBegin - 1] == '(' && groupEnd < condition.size() &&
                               begin == groupBegin && end == groupEnd;
    if (parenthesised) {
        RemoveOperand(condition, groupBegin - 1, groupEnd + 1);
        return;
    }
    // The only comparison after a WHERE takes the WHERE with it.
    const size_t where = ConditionText::kWhere.size();
    if (begin == groupBegin && end == groupEnd && groupBegin >= where &&
        condition.compare(groupBegin - where, where, ConditionText::kWhere) == 0) {
        condition.erase(groupBegin - where, end - groupBegin + where);
        return;
    }
    condition.erase(begin, end - begin);
}

}  // namespace

std::string ExtractCondition(std::string_view column, std::string& condition) {
    const ConditionText text(condition);
    static constexpr std::string_view operators[] = {" >= '", " <= '", " = '", " > '", " < '", " LIKE '"};
    for (std::string_view op : operators) {
        const std::string comparison = std::string(column) + std::string(op);
        for (size_t p = text.find(comparison); p != std::string::npos; p = text.find(comparison, p + 1)) {
            // The column must stand as a name of its own, not as the tail of a longer one.
            if (p > 0 && condition[p - 1] != ' ' && condition[p - 1] != '(') continue;
            const size_t open = p + comparison.size() - 1;
            const size_t close = text.literalEnd(open);
            if (close == std::string::npos) continue;
            std::string value = Undouble(std::string_view(condition).substr(open + 1, close - open - 1));
            if (op == " LIKE '") value = StripPercent(value);
            RemoveOperand(condition, p, close + 1);
            return value;
        }
    }
    return {};
}

std::string MonthsBefore(const std::string& today, int months) {
    CalendarDate date;
    if (!CalendarDate::Parse(today, date)) return today;
    return AddMonths(date, -months).Text();
}

}  // namespace velmora
