#pragma once

#include <optional>
#include <vector>

#include "issue/issued_quotation.h"
#include "issue/sheet_layout.h"
#include "issue/tax_summary.h"

// One quotation ready to be set on paper: its stored figures, the tax
// breakdown, the purchase view's margins and the plan of its pages.
namespace velmora {

struct IssueDocument {
    const Letterhead* letterhead = nullptr;
    IssuedQuotation quotation;
    bool purchaseView = false;
    std::vector<TaxSummaryRow> taxes;
    // Per line: the selling amount less the purchase amount, both without tax;
    // for a subtotal line the margin of the lines it sums. None when out of range.
    std::vector<std::optional<Currency>> margins;
    TailContent tail;
    SheetPlan plan;

    bool showsTotals() const { return quotation.header.合計表示区分 != 0; }
    bool showsTax() const { return showsTotals() && quotation.header.消費税表示区分 != 0; }
};

IssueDocument PrepareDocument(const Letterhead& letterhead, IssuedQuotation quotation,
                              const TaxRateTable& rates, bool purchaseView);

// The margins of the purchase view (see IssueDocument::margins).
std::vector<std::optional<Currency>> LineMargins(const std::vector<QuotationLine>& lines);

}  // namespace velmora
