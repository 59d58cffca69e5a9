#include "issue/tax_summary.h"

#include <array>

#include "pricing/tax.h"

namespace velmora {

namespace {

// Where a line's category puts it in the summary; categories the totals do
// not tax count with the lines that are not taxable.
int slotOf(std::int16_t category) {
    switch (category) {
        case kTaxable:
            return 0;
        case kTaxablePreviousRate:
            return 1;
        default:
            return 2;
    }
}

constexpr std::array<std::int16_t, 3> kCategories = {kTaxable, kTaxablePreviousRate, kNotTaxable};

}  // namespace

std::optional<std::vector<TaxSummaryRow>> SummariseTaxes(const QuotationHeader& header,
                                                         const std::vector<QuotationLine>& lines,
                                                         const TaxRateTable& rates) {
    std::array<TaxSummaryRow, 3> sums;
    std::array<bool, 3> used{};
    for (const QuotationLine& line : lines) {
        if (line.行区分 != kLineOrdinary || line.計区分 != 1) continue;
        const int slot = slotOf(line.売上課税区分);
        TaxSummaryRow& row = sums[static_cast<std::size_t>(slot)];
        used[static_cast<std::size_t>(slot)] = true;
        bool ok = row.tax.add(line.見積消費税);
        // The same split as the header totals: a line of a kind that is
        // neither added nor included counts in neither.
        if (line.売上消費税区分 == kTaxAdded) {
            ok = ok && row.withoutTax.add(line.見積金額);
            std::optional<Currency> gross = Currency::Add(line.見積金額, line.見積消費税);
            ok = ok && gross && row.withTax.add(*gross);
        } else if (line.売上消費税区分 == kTaxIncluded) {
            std::optional<Currency> net = Currency::Subtract(line.見積金額, line.見積消費税);
            ok = ok && net && row.withoutTax.add(*net);
            ok = ok && row.withTax.add(line.見積金額);
        }
        if (!ok) return std::nullopt;
    }
    std::vector<TaxSummaryRow> rows;
    for (std::size_t slot = 0; slot < sums.size(); ++slot) {
        if (!used[slot]) continue;
        TaxSummaryRow row = sums[slot];
        row.category = kCategories[slot];
        if (row.category != kNotTaxable)
            row.rate = rates.RateOn(header.TaxDate(), row.category == kTaxablePreviousRate);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace velmora
