#pragma once

#include <cstddef>
#include <string>

#include "pricing/pricing_rules.h"

// Subtotal lines (小計, 中計, 大計, 合計) and the header totals.
namespace velmora {

// The caption a subtotal line carries in 商品名: 25 characters of ideographic
// spaces and full-width asterisks around the word; empty for other kinds.
std::string SubtotalLabel(std::int16_t lineKind);

// After 行区分 of line i was chosen: an ordinary line counts; a subtotal line
// does not, takes its caption and tax categories and, far enough down to have
// lines of the level it sums, its figures.
bool SetLineKind(const PricedHeader& header, const PricedLines& lines, std::size_t i);

// The six figures of subtotal line i from the lines above it: 小計 sums the
// counted ordinary lines back to any subtotal, 中計 the 小計 lines back to a
// 中計 or higher, 大計 the 中計 lines back to a 大計 or 合計, 合計 every counted
// ordinary line. Other kinds keep their figures.
bool Subtotal(const PricedLines& lines, std::size_t i);

// Every subtotal line and every header total, the tax bases by category and
// kind, DocTax by the customer's calculation unit, and the quotation-level
// tax correction. False when a sum leaves the currency range; nothing is
// changed then.
bool ComputeTotals(const PricingRules& rules, PricedHeader& header, const PricedLines& lines);

// The correction alone: with 得意先消費税端数調整区分 1 the difference between
// DocTax and the sum of the line taxes goes onto the first counted ordinary
// line with an amount, and 見積消費税合計 becomes DocTax.
bool CorrectDocumentTax(PricedHeader& header, const PricedLines& lines);

// What the total fields show: nothing while 合計表示区分 is 0, the taxes only
// while 消費税表示区分 is not 0.
struct ShownTotals {
    Currency 見積数量合計;
    Currency 税抜見積金額合計;
    Currency 税込見積金額合計;
    Currency 見積消費税合計;
    Currency 仕入数量合計;
    Currency 税抜仕入金額合計;
    Currency 税込仕入金額合計;
    Currency 仕入消費税合計;
};
ShownTotals TotalsToShow(const PricedHeader& header);
// A line's tax as its row shows it; the stored tax is not touched.
Currency LineTaxToShow(const PricedHeader& header, Currency tax);

}  // namespace velmora
