#pragma once

#include <string>
#include <vector>

#include "issue/issue_command.h"
#include "pricing/company_settings.h"
#include "quotation/quotation_model.h"

// What the issuing program reads: the company and the issuing office for the
// letterhead, and the stored quotations a command line names, exactly as
// stored (nothing is priced again: the form shows the figures the customer
// was quoted).
namespace velmora {

class DataAccess;

struct Letterhead {
    CompanySettings company;  // name, and the decimals quantities and prices are shown with
    std::string officeCode;
    std::string officeName;  // empty for the head office, which speaks for the company
    std::string postcode;
    std::vector<std::string> address;  // 住所A, 住所B, 住所C as far as they are filled
    std::string phone;
    std::string fax;
    // 登録番号 of the office, else the head office's: the company's number
    // as a qualified invoice issuer.
    std::string registrationNumber;
    // Where form images go: 帳票イメージフォルダ of the office when it has one,
    // else the company's; documentFolder holds the attachments' stored copies.
    std::string imageFolder;
    std::string documentFolder;
};

// Reads Mユーザ and the office (and the head office). False when there is no
// company record; an office that does not exist leaves the company's own
// address and folders.
bool ReadLetterhead(DataAccess& access, const std::string& office, Letterhead& letterhead);

struct QuotationKey {
    std::string office;
    std::string baseDate;
    std::string number;
};

// "SELECT 事業所コード, 番号基準日付, 営業見積No FROM T営業見積 WHERE ..." for
// the office and the bounds that are set, by date and number.
std::string QuotationRangeQuery(const IssueRequest& request);

enum class FindOutcome { Found, None, Failed };
FindOutcome FindQuotations(DataAccess& access, const IssueRequest& request, std::vector<QuotationKey>& keys);

struct IssuedQuotation {
    QuotationHeader header;
    std::vector<QuotationLine> lines;  // in line order
};

// The stored header (totals as stored) and every line. False when there is
// no such quotation or a read failed.
bool ReadIssuedQuotation(DataAccess& access, const QuotationKey& key, IssuedQuotation& quotation);

}  // namespace velmora
