#include "issue/issued_quotation.h"

#include <memory>

#include "data/data_access.h"
#include "data/sql_text.h"
#include "quotation/column_table.h"
#include "quotation/document_sql.h"
#include "quotation/load.h"

namespace velmora {

namespace {

constexpr const char* kHeadOffice = "000";

std::string trimmed(const Recordset& row, const char* column) {
    return TrimBlanks(row.text(column));
}

// The office's address when it has one, else the company's.
void takeAddress(const Recordset& row, Letterhead& letterhead) {
    std::vector<std::string> address;
    for (const char* column : {"住所A", "住所B", "住所C"})
        if (row.hasColumn(column) && !trimmed(row, column).empty()) address.push_back(trimmed(row, column));
    if (address.empty()) return;
    letterhead.address = std::move(address);
    letterhead.postcode = trimmed(row, "郵便番号");
    letterhead.phone = trimmed(row, "電話");
    letterhead.fax = trimmed(row, "FAX");
}

bool readOffice(DataAccess& access, const std::string& code, std::unique_ptr<Recordset>& rs) {
    return RunQuery(access, rs, "SELECT * FROM M事業所 WHERE コード = " + Literal(code)) ==
           QueryOutcome::Found;
}

void addBound(std::string& sql, const char* column, const IssueRange& range) {
    if (!range.from.empty()) sql += std::string(" AND ") + column + " >= " + Literal(range.from);
    if (!range.to.empty()) sql += std::string(" AND ") + column + " <= " + Literal(range.to);
}

}  // namespace

bool ReadLetterhead(DataAccess& access, const std::string& office, Letterhead& letterhead) {
    std::unique_ptr<Recordset> rs;
    if (RunQuery(access, rs, "SELECT * FROM Mユーザ WHERE ID = '0001'") != QueryOutcome::Found) return false;
    ReadCompanySettings(*rs, letterhead.company);
    letterhead.company.名称 = TrimBlanks(letterhead.company.名称);
    takeAddress(*rs, letterhead);
    letterhead.imageFolder = trimmed(*rs, "帳票イメージフォルダ");
    letterhead.documentFolder = trimmed(*rs, "ドキュメントフォルダ");
    rs->close();

    letterhead.officeCode = office;
    if (readOffice(access, kHeadOffice, rs)) letterhead.registrationNumber = trimmed(*rs, "登録番号");
    if (rs) rs->close();
    if (office != kHeadOffice && readOffice(access, office, rs)) {
        letterhead.officeName = trimmed(*rs, "名称");
        takeAddress(*rs, letterhead);
        if (!trimmed(*rs, "登録番号").empty()) letterhead.registrationNumber = trimmed(*rs, "登録番号");
        if (!trimmed(*rs, "帳票イメージフォルダ").empty())
            letterhead.imageFolder = trimmed(*rs, "帳票イメージフォルダ");
    }
    if (rs) rs->close();
    return true;
}

std::string QuotationRangeQuery(const IssueRequest& request) {
    std::string sql = "SELECT 事業所コード, 番号基準日付, 営業見積No FROM T営業見積 WHERE 事業所コード = " +
                      Literal(request.office);
    addBound(sql, "営業見積日付", request.dates);
    addBound(sql, "営業見積No", request.numbers);
    addBound(sql, "得意先コード", request.customers);
    return sql + " ORDER BY 営業見積日付, 営業見積No, 番号基準日付";
}

FindOutcome FindQuotations(DataAccess& access, const IssueRequest& request, std::vector<QuotationKey>& keys) {
    std::unique_ptr<Recordset> rs;
    switch (RunQuery(access, rs, QuotationRangeQuery(request))) {
        case QueryOutcome::Failed:
            return FindOutcome::Failed;
        case QueryOutcome::Empty:
            return FindOutcome::None;
        case QueryOutcome::Found:
            break;
    }
    for (; !rs->eof(); rs->moveNext())
        keys.push_back({rs->text("事業所コード"), rs->text("番号基準日付"), rs->text("営業見積No")});
    rs->close();
    return FindOutcome::Found;
}

bool ReadIssuedQuotation(DataAccess& access, const QuotationKey& key, IssuedQuotation& quotation) {
    std::unique_ptr<Recordset> rs;
    if (RunQuery(access, rs, HeaderQuery(key.office, key.baseDate, key.number)) != QueryOutcome::Found)
        return false;
    ReadStoredHeader(*rs, quotation.header);
    // The loader recomputes these; the form shows them as stored.
    for (const ColumnDef& column : HeaderTable().columns)
        if (column.flags & kRecomputedOnLoad) ReadColumn(column, *rs, quotation.header, nullptr);
    rs->close();

    quotation.lines.clear();
    switch (RunQuery(access, rs, LinesQuery(key.office, key.baseDate, key.number))) {
        case QueryOutcome::Failed:
            return false;
        case QueryOutcome::Empty:
            return true;
        case QueryOutcome::Found:
            break;
    }
    for (; !rs->eof() && quotation.lines.size() < static_cast<std::size_t>(kMaxLinesInUse); rs->moveNext()) {
        QuotationLine& line = quotation.lines.emplace_back();
        for (const ColumnDef& column : LineTable().columns) ReadColumn(column, *rs, quotation.header, &line);
    }
    rs->close();
    return true;
}

}  // namespace velmora
