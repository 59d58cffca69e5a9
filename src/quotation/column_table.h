#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "quotation/quotation_model.h"

// The four quotation tables described once: each column with the kind of
// value it holds and the member it maps to. Insert, history copy, load and
// clear all walk these descriptions, so a column cannot be written by one and
// forgotten by another.
namespace velmora {

struct CompanySettings;
class Recordset;

enum class ValueKind : std::uint8_t {
    Code,               // code, date or time stamp: written as held (apostrophes doubled), between apostrophes
    FreeText,           // names and texts: through QuoteSql, between apostrophes
    SmallCode,          // 16-bit code value: format "0", between apostrophes
    SellingQuantity,    // unquoted, storage format of 売上数量少数以下桁数
    SellingUnitPrice,   // unquoted, storage format of 売上単価少数以下桁数
    PurchaseQuantity,   // unquoted, storage format of 仕入数量少数以下桁数
    PurchaseUnitPrice,  // unquoted, storage format of 仕入単価少数以下桁数
    Amount,             // unquoted, "##########0"
    Rate,               // unquoted, "##0.00"
};

// Columns that some paths pass over.
enum ColumnFlag : std::uint8_t {
    kRecomputedOnLoad = 1,  // not read when a quotation is loaded: the totals recompute it
    kNewOnCopy = 2,         // a line copied from another quotation starts without it
    kItem = 4,              // the item of a line: what taking a stored line's item copies
};

using ColumnMember = std::variant<std::string QuotationHeader::*, std::int16_t QuotationHeader::*,
                                  Currency QuotationHeader::*, std::string QuotationLine::*,
                                  std::int16_t QuotationLine::*, Currency QuotationLine::*>;

struct ColumnDef {
    std::string_view name;
    ValueKind kind;
    ColumnMember member;  // a line table's header copies map to header members
    std::uint8_t flags = 0;

    bool fromHeader() const { return member.index() < 3; }
};

struct QuotationTable {
    std::string_view name;         // T営業見積 or T営業見積明細
    std::string_view historyName;  // R営業見積 or R営業見積明細
    std::span<const ColumnDef> columns;
};

const QuotationTable& HeaderTable();
const QuotationTable& LineTable();

// History rows carry these two after 番号基準日付.
inline constexpr std::string_view kHistoryNoColumn = "営業見積履歴No";
inline constexpr std::string_view kRedBlackColumn = "赤黒区分";
inline constexpr std::string_view kRed = "0";
inline constexpr std::string_view kBlack = "1";

// The column names in insert order, for the document or its history table.
std::vector<std::string_view> ColumnNames(const QuotationTable& table, bool history);

// The statement literal of one column: from the model (line is null for the
// header table) or from a stored row (for the red history copy).
std::string ValueLiteral(const ColumnDef& column, const QuotationHeader& header, const QuotationLine* line,
                         const CompanySettings& company);
std::string StoredValueLiteral(const ColumnDef& column, const Recordset& row, const CompanySettings& company);

// "INSERT INTO [table] ([a],[b],...) VALUES ('x',1,...)". For a history row
// the history number and red/black mark go in after 番号基準日付.
struct HistoryMark {
    std::string historyNo;
    std::string_view redBlack;
};
std::string InsertStatement(const QuotationTable& table, const std::vector<std::string>& literals,
                            const HistoryMark* history = nullptr);
// The literals of the model's header, or of one line, in column order.
std::vector<std::string> ModelLiterals(const QuotationTable& table, const QuotationHeader& header,
                                       const QuotationLine* line, const CompanySettings& company);
std::vector<std::string> StoredLiterals(const QuotationTable& table, const Recordset& row,
                                        const CompanySettings& company);

// The same values unquoted (free text without trailing blanks, numbers in
// their storage formats), for a prepared statement that writes many lines;
// with a history mark its two values go in after 番号基準日付.
using StatementValues = std::vector<std::optional<std::string>>;
StatementValues ModelValues(const QuotationTable& table, const QuotationHeader& header, const QuotationLine* line,
                            const CompanySettings& company, const HistoryMark* history = nullptr);
StatementValues StoredValues(const QuotationTable& table, const Recordset& row, const CompanySettings& company,
                             const HistoryMark* history = nullptr);
// "INSERT INTO table (a,b,...) VALUES (?,?,...)" in every engine's dialect.
std::string PreparedInsert(const QuotationTable& table, bool history);

// Reads one column of the current row into the model; a Null column leaves
// the member as it was. Header copies are not read into a line.
void ReadColumn(const ColumnDef& column, const Recordset& row, QuotationHeader& header, QuotationLine* line);

// Sets every described member of the header (line null) or of one line back
// to its new-quotation default.
void ResetColumns(const QuotationTable& table, QuotationHeader& header, QuotationLine* line);

// True when every column a line stores of its own (not the header copies)
// holds what a cleared line holds, free text compared as it is stored
// (without trailing blanks): nothing of the line would be kept.
bool LineIsCleared(const QuotationLine& line);

}  // namespace velmora
