#pragma once

#include <optional>
#include <string>
#include <vector>

#include "issue/issued_quotation.h"

// What each part of the form says, as text: the painter only places it.
// Figures are the stored ones in the formats the entry screen shows them
// with (amounts "#,###,###,##0", quantities and prices with the company's
// decimals).
namespace velmora {

struct IssueDocument;

std::string FormTitle(bool purchaseView);
// "2026年09月07日"; the text as it is when it is not a date.
std::string FormDate(const std::string& yyyymmdd);
std::string PageNumberText(int page, int pages);  // "n / N"

// The addressee: the name lines, the contact with "様", or "御中" after the
// name when there is no contact.
std::vector<std::string> CustomerLines(const QuotationHeader& header);
// The company, the office and how to reach it, the registration number and
// the staff member in charge.
std::vector<std::string> LetterheadLines(const Letterhead& letterhead, const QuotationHeader& header);

struct CaptionedText {
    std::string caption;
    std::string text;
};
// Subject, conditions, delivery terms, validity, and the delivery destination when there is one.
std::vector<CaptionedText> ConditionRows(const QuotationHeader& header);

// The amount quoted, for the box under the addressee: the total with tax
// (without, when taxes are not shown); nothing when totals are not shown.
struct QuotedAmount {
    std::string caption;
    std::string amount;
    std::string unit;
};
std::optional<QuotedAmount> QuotedAmountOf(const IssueDocument& document);

// The cells of one line in the order of the view's columns.
std::vector<std::string> LineCells(const IssueDocument& document, std::size_t index);

// The totals on the right of the tail.
std::vector<CaptionedText> TotalRows(const IssueDocument& document);

// The tax breakdown: caption ("10%対象", "8%対象（旧税率）", "非課税"), amount
// without tax, tax, amount with tax.
struct TaxRowTexts {
    std::string caption;
    std::string withoutTax;
    std::string tax;
    std::string withTax;
};
TaxRowTexts TaxHeaderTexts();
std::vector<TaxRowTexts> TaxRows(const IssueDocument& document);

std::vector<std::string> RemarkLines(const QuotationHeader& header);

// A subtotal line's caption without the ideographic spaces that right-align it on the screen.
std::string SubtotalCaption(const std::string& productName);

}  // namespace velmora
