#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "pricing/currency.h"
#include "pricing/tax_rates.h"
#include "quotation/quotation_model.h"

// The breakdown by tax rate a qualified invoice shows: for each rate the
// amount it applies to and the tax, taken from the stored lines so that the
// rows add up to the stored totals to the yen.
namespace velmora {

struct TaxSummaryRow {
    std::int16_t category = 0;     // 売上課税区分: 0 rate in force, 2 previous rate, 1 not taxable
    std::optional<Currency> rate;  // percent; none when not taxable or when no rate row applies
    Currency withoutTax;           // adds up to 税抜見積金額合計
    Currency tax;                  // adds up to 見積消費税合計
    Currency withTax;              // adds up to 税込見積金額合計
};

// The counted ordinary lines (those the header totals count) by category, in
// the order rate in force, previous rate, not taxable; a category without
// lines gives no row. A tax-included line contributes its amount less its tax
// as the amount without tax, as the totals do. Nothing when a sum leaves the
// currency range.
std::optional<std::vector<TaxSummaryRow>> SummariseTaxes(const QuotationHeader& header,
                                                         const std::vector<QuotationLine>& lines,
                                                         const TaxRateTable& rates);

}  // namespace velmora
