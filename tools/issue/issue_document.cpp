#include "issue/issue_document.h"

#include "issue/form_texts.h"
#include "pricing/tax.h"
#include "pricing/totals.h"

namespace velmora {

namespace {

std::optional<Currency> withoutTax(Currency amount, Currency tax, std::int16_t kind) {
    return kind == kTaxIncluded ? Currency::Subtract(amount, tax) : std::optional<Currency>(amount);
}

}  // namespace

std::vector<std::optional<Currency>> LineMargins(const std::vector<QuotationLine>& lines) {
    // The subtotal rule itself sums the margins: it runs over copies whose
    // selling and purchase amounts are those without tax.
    std::vector<PricedLine> net(lines.begin(), lines.end());
    std::vector<bool> inRange(net.size(), true);
    for (std::size_t i = 0; i < net.size(); ++i) {
        PricedLine& line = net[i];
        if (line.行区分 != kLineOrdinary) continue;
        std::optional<Currency> selling = withoutTax(line.見積金額, line.見積消費税, line.売上消費税区分);
        std::optional<Currency> purchase = withoutTax(line.仕入金額, line.仕入消費税, line.仕入消費税区分);
        inRange[i] = selling && purchase;
        line.見積金額 = selling.value_or(Currency());
        line.仕入金額 = purchase.value_or(Currency());
    }
    PricedLines view(net.data(), net.size());
    std::vector<std::optional<Currency>> margins;
    for (std::size_t i = 0; i < net.size(); ++i) {
        if (net[i].行区分 > kLineOrdinary) inRange[i] = Subtotal(view, i);
        margins.push_back(inRange[i] ? Currency::Subtract(net[i].見積金額, net[i].仕入金額) : std::nullopt);
    }
    return margins;
}

IssueDocument PrepareDocument(const Letterhead& letterhead, IssuedQuotation quotation,
                              const TaxRateTable& rates, bool purchaseView) {
    IssueDocument document;
    document.letterhead = &letterhead;
    document.quotation = std::move(quotation);
    document.purchaseView = purchaseView;
    const QuotationHeader& header = document.quotation.header;
    const std::vector<QuotationLine>& lines = document.quotation.lines;
    if (document.showsTax())
        document.taxes = SummariseTaxes(header, lines, rates).value_or(std::vector<TaxSummaryRow>{});
    if (purchaseView) document.margins = LineMargins(lines);
    document.tail.totalRows = static_cast<int>(TotalRows(document).size());
    document.tail.taxRows = static_cast<int>(document.taxes.size());
    document.tail.remarkRows = static_cast<int>(RemarkLines(header).size());
    document.plan = PlanSheets(static_cast<int>(lines.size()), document.tail);
    return document;
}

}  // namespace velmora
