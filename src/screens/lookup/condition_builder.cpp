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
        if (const FieldDescription* f = w.field(mode.field)) {
            query.add(FieldCondition(*f, values, false, false));
            if (!f->orderBy.empty()) order = f->orderBy;
        }
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

std::u32string Wide(std::string_view text) {
    std::u32string out;
    for (Utf8Char c : CodePoints(text)) out.push_back(c.code);
    return out;
}

std::string Narrow(std::u32string_view text) {
    std::string out;
    for (char32_t c : text) AppendUtf8(out, c);
    return out;
}

// InStr: 1-based position of the pattern at or after start, 0 when absent.
size_t InStr(size_t start, const std::u32string& text, std::u32string_view pattern) {
    if (start < 1) start = 1;
    if (start > text.size() + 1) return 0;
    const auto pos = text.find(pattern, start - 1);
    return pos == std::u32string::npos ? 0 : pos + 1;
}

// Whether the pattern begins right after 1-based position q.
bool FollowsAt(const std::u32string& text, size_t q, std::u32string_view pattern) {
    return q <= text.size() && text.compare(q, pattern.size(), pattern) == 0;
}

}  // namespace

std::string ExtractCondition(std::string_view column, std::string& condition) {
    const std::u32string text = Wide(condition);
    const std::u32string col = Wide(column);
    static const std::u32string operators[] = {U" >= '", U" <= '", U" = '", U" > '", U" < '", U" LIKE '"};
    size_t p = 0;
    size_t s = 0;
    bool like = false;
    for (const auto& op : operators) {
        p = InStr(1, text, col + op);
        if (p != 0) {
            s = p + col.size() + op.size();
            like = op == U" LIKE '";
            break;
        }
    }
    if (p == 0) return {};
    size_t q = InStr(s, text, U"'");
    if (q == 0) q = text.size() + 1;
    std::string value = Narrow(text.substr(s - 1, q - s));
    if (like) value = StripPercent(value);

    size_t r = 1;
    size_t e = q;
    auto overConnector = [&] {
        if (FollowsAt(text, q, U" AND "))
            e = q + 5;
        else if (FollowsAt(text, q, U" OR "))
            e = q + 4;
    };
    auto fromConnectorBefore = [&] {
        r = InStr(p - 5, text, U" AND ");
        if (r == 0) r = InStr(p - 4, text, U" OR ");
        if (r == 0) r = 1;
    };
    if (p == 1) {
        overConnector();
    } else if (p <= 4) {
        r = 1;
    } else if (p == 5) {
        r = InStr(1, text, U" OR ");
        if (r == 0) r = 1;
    } else if (p <= 7) {
        fromConnectorBefore();
    } else if (InStr(p - 7, text, U" WHERE ") != 0) {
        r = p;
        overConnector();
    } else {
        fromConnectorBefore();
    }

    const auto after = [&](size_t position) { return position >= text.size() ? std::u32string() : text.substr(position); };
    std::u32string rest;
    if (r == 1) {
        rest = after(e);
    } else {
        const size_t paren = InStr(r + 1, text, U"(");
        if (paren == 0 || paren >= e) {
            rest = text.substr(0, r - 1) + after(e);
        } else {
            const size_t close = InStr(e, text, U")");
            rest = text.substr(0, r - 1) + (close == 0 ? std::u32string() : after(close));
        }
    }
    condition = Narrow(rest);
    return value;
}

std::string MonthsBefore(const std::string& today, int months) {
    CalendarDate date;
    if (!CalendarDate::Parse(today, date)) return today;
    return AddMonths(date, -months).Text();
}

}  // namespace velmora
