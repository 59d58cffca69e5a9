// Repricing a full quotation, as a customer change or a line edit does it.
#include <benchmark/benchmark.h>

#include "pricing/pricing_changes.h"
#include "pricing/totals.h"
#include "quotation/quotation_model.h"

namespace velmora {
namespace {

struct FullQuotation {
    CompanySettings company;
    TaxRateTable rates;
    Quotation quotation;

    FullQuotation() {
        rates.Assign({{"19890401", Units(3)}, {"19970401", Units(5)}, {"20140401", Units(8)}, {"20191001", Units(10)}});
        company.売上金額丸め方法 = 5;
        quotation.header.営業見積日付 = "20240515";
        quotation.header.得意先消費税算出区分 = kTaxPerDocument;
        quotation.header.得意先消費税端数調整区分 = 1;
        quotation.LastLine = kMaxLinesInUse - 1;
        for (int i = 0; i < kMaxLinesInUse; ++i) {
            QuotationLine& line = quotation.lines[static_cast<size_t>(i)];
            line.商品コード = "P" + std::to_string(i);
            line.商品売上課税区分 = i % 7 == 0 ? kTaxablePreviousRate : kTaxable;
            line.見積数量 = Units(1 + i % 9);
            line.見積単価 = Currency::FromScaled(3333333 + i);
            line.見積金額 = *Currency::Multiply(line.見積数量, line.見積単価);
            line.仕入数量 = line.見積数量;
            line.仕入単価 = Units(200 + i);
            line.仕入金額 = *Currency::Multiply(line.仕入数量, line.仕入単価);
        }
    }
};

void RepriceAfterCustomerChange(benchmark::State& state) {
    FullQuotation f;
    QuotationPricing pricing(f.company, f.rates);
    std::int16_t kind = kTaxAdded;
    for (auto _ : state) {
        kind = kind == kTaxAdded ? kTaxIncluded : kTaxAdded;
        f.quotation.header.得意先消費税区分 = kind;
        PricingOutcome outcome = pricing.TaxBasisChanged(f.quotation.header, f.quotation.linesInUse());
        benchmark::DoNotOptimize(outcome);
    }
    state.SetItemsProcessed(state.iterations() * kMaxLinesInUse);
}
BENCHMARK(RepriceAfterCustomerChange)->Unit(benchmark::kMicrosecond);

void TotalsOnly(benchmark::State& state) {
    FullQuotation f;
    QuotationPricing pricing(f.company, f.rates);
    for (auto _ : state) {
        PricingOutcome outcome = pricing.Totals(f.quotation.header, f.quotation.linesInUse());
        benchmark::DoNotOptimize(outcome);
    }
    state.SetItemsProcessed(state.iterations() * kMaxLinesInUse);
}
BENCHMARK(TotalsOnly)->Unit(benchmark::kMicrosecond);

// Subtotal lines make the totals walk back over the lines they sum.
void TotalsWithSubtotalEveryTenLines(benchmark::State& state) {
    FullQuotation f;
    for (size_t i = 9; i < kLineSlots - 1; i += 10) f.quotation.lines[i].行区分 = kLineSubtotal;
    f.quotation.lines[static_cast<size_t>(f.quotation.LastLine)].行区分 = kLineGrandTotal;
    QuotationPricing pricing(f.company, f.rates);
    for (auto _ : state) {
        PricingOutcome outcome = pricing.Totals(f.quotation.header, f.quotation.linesInUse());
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(TotalsWithSubtotalEveryTenLines)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
