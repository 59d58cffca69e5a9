#include "quotation/column_table.h"

#include <type_traits>

#include "data/recordset.h"
#include "data/sql_text.h"
#include "pricing/company_settings.h"
#include "pricing/numeric_formats.h"

namespace velmora {

namespace {

// T営業見積 in the column order of its insert statement.
const ColumnDef kHeaderColumns[] = {
    {"事業所コード", ValueKind::Code, &QuotationHeader::事業所コード},
    {"番号基準日付", ValueKind::Code, &QuotationHeader::番号基準日付},
    {"営業見積No", ValueKind::Code, &QuotationHeader::営業見積No},
    {"参照営業見積事業所コード", ValueKind::Code, &QuotationHeader::参照営業見積事業所コード},
    {"参照営業見積番号基準日付", ValueKind::Code, &QuotationHeader::参照営業見積番号基準日付},
    {"参照営業見積No", ValueKind::Code, &QuotationHeader::参照営業見積No},
    {"参照営業引合事業所コード", ValueKind::Code, &QuotationHeader::参照営業引合事業所コード},
    {"参照営業引合番号基準日付", ValueKind::Code, &QuotationHeader::参照営業引合番号基準日付},
    {"参照営業引合No", ValueKind::Code, &QuotationHeader::参照営業引合No},
    {"営業見積日付", ValueKind::Code, &QuotationHeader::営業見積日付},
    {"得意先対応先区分", ValueKind::SmallCode, &QuotationHeader::得意先対応先区分},
    {"得意先コード", ValueKind::Code, &QuotationHeader::得意先コード},
    {"得意先名称A", ValueKind::FreeText, &QuotationHeader::得意先名称A},
    {"得意先名称B", ValueKind::FreeText, &QuotationHeader::得意先名称B},
    {"得意先御担当者コード", ValueKind::Code, &QuotationHeader::得意先御担当者コード},
    {"御担当者名", ValueKind::FreeText, &QuotationHeader::御担当者名},
    {"担当者コード", ValueKind::Code, &QuotationHeader::担当者コード},
    {"部門コード", ValueKind::Code, &QuotationHeader::部門コード},
    {"セクションコード", ValueKind::Code, &QuotationHeader::セクションコード},
    {"納品先対応先区分", ValueKind::SmallCode, &QuotationHeader::納品先対応先区分},
    {"納品先コード", ValueKind::Code, &QuotationHeader::納品先コード},
    {"納品先名称A", ValueKind::FreeText, &QuotationHeader::納品先名称A},
    {"納品先名称B", ValueKind::FreeText, &QuotationHeader::納品先名称B},
    {"定価掛率", ValueKind::Rate, &QuotationHeader::定価掛率},
    {"タイトル", ValueKind::FreeText, &QuotationHeader::タイトル},
    {"見積条件", ValueKind::FreeText, &QuotationHeader::見積条件},
    {"見積納期", ValueKind::FreeText, &QuotationHeader::見積納期},
    {"見積期限", ValueKind::FreeText, &QuotationHeader::見積期限},
    {"消費税表示区分", ValueKind::SmallCode, &QuotationHeader::消費税表示区分},
    {"合計表示区分", ValueKind::SmallCode, &QuotationHeader::合計表示区分},
    {"見積納期日付", ValueKind::Code, &QuotationHeader::見積納期日付},
    {"見積伝票備考A", ValueKind::FreeText, &QuotationHeader::見積伝票備考A},
    {"見積伝票備考B", ValueKind::FreeText, &QuotationHeader::見積伝票備考B},
    {"見積数量合計", ValueKind::SellingQuantity, &QuotationHeader::見積数量合計, kRecomputedOnLoad},
    {"見積金額合計", ValueKind::Amount, &QuotationHeader::見積金額合計, kRecomputedOnLoad},
    {"税抜見積金額合計", ValueKind::Amount, &QuotationHeader::税抜見積金額合計},
    {"見積消費税合計", ValueKind::Amount, &QuotationHeader::見積消費税合計},
    {"税込見積金額合計", ValueKind::Amount, &QuotationHeader::税込見積金額合計},
    {"仕入数量合計", ValueKind::PurchaseQuantity, &QuotationHeader::仕入数量合計, kRecomputedOnLoad},
    {"仕入金額合計", ValueKind::Amount, &QuotationHeader::仕入金額合計, kRecomputedOnLoad},
    {"税抜仕入金額合計", ValueKind::Amount, &QuotationHeader::税抜仕入金額合計},
    {"仕入消費税合計", ValueKind::Amount, &QuotationHeader::仕入消費税合計},
    {"税込仕入金額合計", ValueKind::Amount, &QuotationHeader::税込仕入金額合計},
    {"得意先消費税区分", ValueKind::SmallCode, &QuotationHeader::得意先消費税区分},
    {"得意先消費税算出区分", ValueKind::SmallCode, &QuotationHeader::得意先消費税算出区分},
    {"得意先消費税丸め方法", ValueKind::SmallCode, &QuotationHeader::得意先消費税丸め方法},
    {"得意先消費税丸め桁位置", ValueKind::SmallCode, &QuotationHeader::得意先消費税丸め桁位置},
    {"得意先消費税端数調整区分", ValueKind::SmallCode, &QuotationHeader::得意先消費税端数調整区分},
    {"得意先名称入力区分", ValueKind::SmallCode, &QuotationHeader::得意先名称入力区分},
    {"納品先名称入力区分", ValueKind::SmallCode, &QuotationHeader::納品先名称入力区分},
    {"伝票発行区分", ValueKind::SmallCode, &QuotationHeader::伝票発行区分},
    {"営業見積メモ", ValueKind::FreeText, &QuotationHeader::営業見積メモ},
    {"承認日付", ValueKind::Code, &QuotationHeader::承認日付},
    {"承認者コード", ValueKind::Code, &QuotationHeader::承認者コード},
    {"承認区分", ValueKind::Code, &QuotationHeader::承認区分},
    {"ユーザID", ValueKind::Code, &QuotationHeader::ユーザID},
    {"登録日付", ValueKind::Code, &QuotationHeader::登録日付},
    {"更新日付", ValueKind::Code, &QuotationHeader::更新日付},};

// T営業見積明細; the first columns repeat the header so lines can be queried alone.
const ColumnDef kLineColumns[] = {
    {"事業所コード", ValueKind::Code, &QuotationHeader::事業所コード},
    {"番号基準日付", ValueKind::Code, &QuotationHeader::番号基準日付},
    {"営業見積No", ValueKind::Code, &QuotationHeader::営業見積No},
    {"営業見積固有行No", ValueKind::Code, &QuotationLine::営業見積固有行No, kNewOnCopy},
    {"営業見積行No", ValueKind::Code, &QuotationLine::営業見積行No},
    {"営業見積日付", ValueKind::Code, &QuotationHeader::営業見積日付},
    {"得意先対応先区分", ValueKind::SmallCode, &QuotationHeader::得意先対応先区分},
    {"得意先コード", ValueKind::Code, &QuotationHeader::得意先コード},
    {"担当者コード", ValueKind::Code, &QuotationHeader::担当者コード},
    {"部門コード", ValueKind::Code, &QuotationHeader::部門コード},
    {"セクションコード", ValueKind::Code, &QuotationHeader::セクションコード},
    {"納品先対応先区分", ValueKind::SmallCode, &QuotationHeader::納品先対応先区分},
    {"納品先コード", ValueKind::Code, &QuotationHeader::納品先コード},
    {"行区分", ValueKind::SmallCode, &QuotationLine::行区分, kItem},
    {"商品コード", ValueKind::Code, &QuotationLine::商品コード, kItem},
    {"商品名", ValueKind::FreeText, &QuotationLine::商品名, kItem},
    {"見積数量", ValueKind::SellingQuantity, &QuotationLine::見積数量},
    {"見積単位", ValueKind::FreeText, &QuotationLine::見積単位, kItem},
    {"見積単価", ValueKind::SellingUnitPrice, &QuotationLine::見積単価, kItem},
    {"見積金額", ValueKind::Amount, &QuotationLine::見積金額},
    {"見積消費税", ValueKind::Amount, &QuotationLine::見積消費税},
    {"売上課税区分", ValueKind::SmallCode, &QuotationLine::売上課税区分, kItem},
    {"売上消費税区分", ValueKind::SmallCode, &QuotationLine::売上消費税区分, kItem},
    {"仕入先対応先区分", ValueKind::SmallCode, &QuotationLine::仕入先対応先区分},
    {"仕入先コード", ValueKind::Code, &QuotationLine::仕入先コード, kItem},
    {"仕入先名称A", ValueKind::FreeText, &QuotationLine::仕入先名称A, kItem},
    {"仕入数量", ValueKind::PurchaseQuantity, &QuotationLine::仕入数量},
    {"仕入単位", ValueKind::FreeText, &QuotationLine::仕入単位, kItem},
    {"仕入単価", ValueKind::PurchaseUnitPrice, &QuotationLine::仕入単価, kItem},
    {"仕入金額", ValueKind::Amount, &QuotationLine::仕入金額},
    {"仕入消費税", ValueKind::Amount, &QuotationLine::仕入消費税},
    {"仕入課税区分", ValueKind::SmallCode, &QuotationLine::仕入課税区分, kItem},
    {"仕入消費税区分", ValueKind::SmallCode, &QuotationLine::仕入消費税区分, kItem},
    {"計区分", ValueKind::SmallCode, &QuotationLine::計区分, kItem},
    {"商品売上課税区分", ValueKind::SmallCode, &QuotationLine::商品売上課税区分, kItem},
    {"商品売上消費税区分", ValueKind::SmallCode, &QuotationLine::商品売上消費税区分, kItem},
    {"商品仕入課税区分", ValueKind::SmallCode, &QuotationLine::商品仕入課税区分, kItem},
    {"商品仕入消費税区分", ValueKind::SmallCode, &QuotationLine::商品仕入消費税区分, kItem},
    {"商品税抜販売定価", ValueKind::SellingUnitPrice, &QuotationLine::商品税抜販売定価, kItem},
    {"商品税込販売定価", ValueKind::SellingUnitPrice, &QuotationLine::商品税込販売定価, kItem},
    {"商品税抜販売単価", ValueKind::SellingUnitPrice, &QuotationLine::商品税抜販売単価, kItem},
    {"商品税込販売単価", ValueKind::SellingUnitPrice, &QuotationLine::商品税込販売単価, kItem},
    {"商品税抜仕入単価", ValueKind::PurchaseUnitPrice, &QuotationLine::商品税抜仕入単価, kItem},
    {"商品税込仕入単価", ValueKind::PurchaseUnitPrice, &QuotationLine::商品税込仕入単価, kItem},
    {"商品名称入力区分", ValueKind::SmallCode, &QuotationLine::商品名称入力区分, kItem},
    {"仕入先消費税区分", ValueKind::SmallCode, &QuotationLine::仕入先消費税区分, kItem},
    {"仕入先消費税算出区分", ValueKind::SmallCode, &QuotationLine::仕入先消費税算出区分, kItem},
    {"仕入先消費税丸め方法", ValueKind::SmallCode, &QuotationLine::仕入先消費税丸め方法, kItem},
    {"仕入先消費税丸め桁位置", ValueKind::SmallCode, &QuotationLine::仕入先消費税丸め桁位置, kItem},
    {"仕入先消費税端数調整区分", ValueKind::SmallCode, &QuotationLine::仕入先消費税端数調整区分, kItem},
    {"仕入先名称入力区分", ValueKind::SmallCode, &QuotationLine::仕入先名称入力区分, kItem},
    {"明細メモ", ValueKind::FreeText, &QuotationLine::明細メモ, kNewOnCopy},
    {"承認日付", ValueKind::Code, &QuotationLine::承認日付, kNewOnCopy},
    {"承認者コード", ValueKind::Code, &QuotationLine::承認者コード, kNewOnCopy},
    {"承認区分", ValueKind::Code, &QuotationLine::承認区分, kNewOnCopy},
    {"ユーザID", ValueKind::Code, &QuotationLine::ユーザID},
    {"登録日付", ValueKind::Code, &QuotationLine::登録日付, kNewOnCopy},
    {"更新日付", ValueKind::Code, &QuotationLine::更新日付, kNewOnCopy},};

const QuotationTable kHeaderTable{"T営業見積", "R営業見積", kHeaderColumns};
const QuotationTable kLineTable{"T営業見積明細", "R営業見積明細", kLineColumns};

// Position after which history tables carry their two extra columns.
constexpr size_t kHistoryColumnsAfter = 2;

bool isUnquoted(ValueKind kind) {
    return kind != ValueKind::Code && kind != ValueKind::FreeText && kind != ValueKind::SmallCode;
}

std::string numberFormat(ValueKind kind, const CompanySettings& company) {
    switch (kind) {
        case ValueKind::SellingQuantity: return StorageFormat(company.売上数量少数以下桁数);
        case ValueKind::SellingUnitPrice: return StorageFormat(company.売上単価少数以下桁数);
        case ValueKind::PurchaseQuantity: return StorageFormat(company.仕入数量少数以下桁数);
        case ValueKind::PurchaseUnitPrice: return StorageFormat(company.仕入単価少数以下桁数);
        case ValueKind::Rate: return std::string(kRateStorageFormat);
        default: return std::string(kAmountStorageFormat);
    }
}

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// Codes are written exactly as held; an apostrophe (a login name in ユーザID,
// a typed number) is doubled so that it cannot end the literal.
std::string exactText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out.push_back(c);
        if (c == '\'') out.push_back('\'');
    }
    return out;
}

template <class M>
constexpr bool kHeaderMember = std::is_same_v<M, std::string QuotationHeader::*> ||
                               std::is_same_v<M, std::int16_t QuotationHeader::*> ||
                               std::is_same_v<M, Currency QuotationHeader::*>;

// Calls fn with the member a column maps to, const as the record is; false
// when the column belongs to a line and there is none.
template <class Header, class Line, class Fn>
bool visitValue(const ColumnDef& column, Header& header, Line* line, Fn&& fn) {
    return std::visit(
        [&](auto member) {
            if constexpr (kHeaderMember<decltype(member)>) {
                fn(header.*member);
                return true;
            } else {
                if (line == nullptr) return false;
                fn(line->*member);
                return true;
            }
        },
        column.member);
}

// What a column writes, before quoting: free text without its trailing
// blanks, codes as held, code values and numbers in their formats.
template <class V>
std::string rawOf(const ColumnDef& column, const V& value, const CompanySettings& company) {
    if constexpr (std::is_same_v<V, std::string>) return column.kind == ValueKind::FreeText ? TrimRight(value) : value;
    if constexpr (std::is_same_v<V, std::int16_t>) return std::to_string(value);
    if constexpr (std::is_same_v<V, Currency>) return value.format(numberFormat(column.kind, company));
}

std::string modelRaw(const ColumnDef& column, const QuotationHeader& header, const QuotationLine* line,
                     const CompanySettings& company) {
    std::string raw = isUnquoted(column.kind) ? "0" : "";
    visitValue(column, header, line, [&](const auto& value) { raw = rawOf(column, value, company); });
    return raw;
}

std::string storedRaw(const ColumnDef& column, const Recordset& row, const CompanySettings& company) {
    switch (column.kind) {
        case ValueKind::Code: return row.text(column.name);
        case ValueKind::FreeText: return TrimRight(row.text(column.name));
        case ValueKind::SmallCode: return std::to_string(row.code(column.name));
        default: {
            std::optional<std::int64_t> scaled = row.scaled4(column.name);
            return Currency::FromScaled(scaled.value_or(0)).format(numberFormat(column.kind, company));
        }
    }
}

std::string literalOf(const ColumnDef& column, const std::string& raw) {
    return isUnquoted(column.kind) ? raw : quoted(exactText(raw));
}

void addHistory(StatementValues& values, const HistoryMark& history) {
    values.insert(values.begin() + static_cast<std::ptrdiff_t>(kHistoryColumnsAfter),
                  {history.historyNo, std::string(history.redBlack)});
}

}  // namespace

const QuotationTable& HeaderTable() { return kHeaderTable; }
const QuotationTable& LineTable() { return kLineTable; }

std::vector<std::string_view> ColumnNames(const QuotationTable& table, bool history) {
    std::vector<std::string_view> names;
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (history && i == kHistoryColumnsAfter) {
            names.push_back(kHistoryNoColumn);
            names.push_back(kRedBlackColumn);
        }
        names.push_back(table.columns[i].name);
    }
    return names;
}

std::string ValueLiteral(const ColumnDef& column, const QuotationHeader& header, const QuotationLine* line,
                         const CompanySettings& company) {
    return literalOf(column, modelRaw(column, header, line, company));
}

std::string StoredValueLiteral(const ColumnDef& column, const Recordset& row, const CompanySettings& company) {
    return literalOf(column, storedRaw(column, row, company));
}

std::string InsertStatement(const QuotationTable& table, const std::vector<std::string>& literals,
                            const HistoryMark* history) {
    std::string sql = "INSERT INTO [" + std::string(history ? table.historyName : table.name) + "] ";
    std::string values = " VALUES (";
    std::vector<std::string_view> names = ColumnNames(table, history != nullptr);
    size_t literal = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        sql += (i == 0 ? "([" : ",[") + std::string(names[i]) + "]";
        if (i > 0) values += ",";
        if (history && names[i] == kHistoryNoColumn) {
            values += quoted(history->historyNo);
        } else if (history && names[i] == kRedBlackColumn) {
            values += quoted(history->redBlack);
        } else {
            values += literal < literals.size() ? literals[literal] : "''";
            ++literal;
        }
    }
    return sql + ")" + values + ")";
}

std::vector<std::string> ModelLiterals(const QuotationTable& table, const QuotationHeader& header,
                                       const QuotationLine* line, const CompanySettings& company) {
    std::vector<std::string> literals;
    literals.reserve(table.columns.size());
    for (const ColumnDef& column : table.columns) literals.push_back(ValueLiteral(column, header, line, company));
    return literals;
}

std::vector<std::string> StoredLiterals(const QuotationTable& table, const Recordset& row,
                                        const CompanySettings& company) {
    std::vector<std::string> literals;
    literals.reserve(table.columns.size());
    for (const ColumnDef& column : table.columns) literals.push_back(StoredValueLiteral(column, row, company));
    return literals;
}

StatementValues ModelValues(const QuotationTable& table, const QuotationHeader& header, const QuotationLine* line,
                            const CompanySettings& company, const HistoryMark* history) {
    StatementValues values;
    values.reserve(table.columns.size() + 2);
    for (const ColumnDef& column : table.columns) values.emplace_back(modelRaw(column, header, line, company));
    if (history) addHistory(values, *history);
    return values;
}

StatementValues StoredValues(const QuotationTable& table, const Recordset& row, const CompanySettings& company,
                             const HistoryMark* history) {
    StatementValues values;
    values.reserve(table.columns.size() + 2);
    for (const ColumnDef& column : table.columns) values.emplace_back(storedRaw(column, row, company));
    if (history) addHistory(values, *history);
    return values;
}

std::string PreparedInsert(const QuotationTable& table, bool history) {
    std::string columns, marks;
    for (std::string_view name : ColumnNames(table, history)) {
        columns += (columns.empty() ? "" : ",") + std::string(name);
        marks += marks.empty() ? "?" : ",?";
    }
    return "INSERT INTO " + std::string(history ? table.historyName : table.name) + " (" + columns + ") VALUES (" +
           marks + ")";
}

void ReadColumn(const ColumnDef& column, const Recordset& row, QuotationHeader& header, QuotationLine* line) {
    if (line != nullptr && column.fromHeader()) return;
    if (row.isNull(column.name)) return;
    visitValue(column, header, line, [&](auto& value) {
        using V = std::remove_reference_t<decltype(value)>;
        if constexpr (std::is_same_v<V, std::string>) value = row.text(column.name);
        if constexpr (std::is_same_v<V, std::int16_t>) value = row.code(column.name);
        if constexpr (std::is_same_v<V, Currency>) {
            if (std::optional<std::int64_t> scaled = row.scaled4(column.name)) value = Currency::FromScaled(*scaled);
        }
    });
}

void ResetColumns(const QuotationTable& table, QuotationHeader& header, QuotationLine* line) {
    static const QuotationHeader kNewHeader;
    static const QuotationLine kNewLine;
    for (const ColumnDef& column : table.columns) {
        if (line != nullptr && column.fromHeader()) continue;
        visitValue(column, header, line, [&](auto& to) {
            visitValue(column, kNewHeader, &kNewLine, [&](const auto& from) {
                if constexpr (std::is_same_v<std::remove_cvref_t<decltype(to)>, std::remove_cvref_t<decltype(from)>>)
                    to = from;
            });
        });
    }
}

bool LineIsCleared(const QuotationLine& line) {
    static const QuotationHeader kNewHeader;
    static const QuotationLine kNewLine;
    for (const ColumnDef& column : LineTable().columns) {
        if (column.fromHeader()) continue;
        bool same = true;
        visitValue(column, kNewHeader, &line, [&](const auto& value) {
            visitValue(column, kNewHeader, &kNewLine, [&](const auto& cleared) {
                using V = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_same_v<V, std::remove_cvref_t<decltype(cleared)>>) {
                    if constexpr (std::is_same_v<V, std::string>)
                        same = column.kind == ValueKind::FreeText ? TrimRight(value) == TrimRight(cleared)
                                                                  : value == cleared;
                    else
                        same = value == cleared;
                }
            });
        });
        if (!same) return false;
    }
    return true;
}

}  // namespace velmora
